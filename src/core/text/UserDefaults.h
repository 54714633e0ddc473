#pragma once

#include "base/Result.h"
#include "io/SafeFileWriter.h"

#include <mutex>
#include <optional>

#include <QFileSystemWatcher>
#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QStringList>

namespace plumeo {

// The per-user settings store: a JSON object in a file, with a layer of registered defaults kept in
// memory only. Every change is written at once through SafeFileWriter (a complete, flushed file
// renamed over the old one), so neither a crash nor a full disk leaves a damaged settings file.
//
// Several Plumeo processes may share the file. A change is written by reading the file again under
// a lock file beside it (settings.json.lock), applying only the keys this store changed, and
// writing the result, so no process loses another's changes. Changes other processes make are
// picked up while an event loop runs (the file and its folder are watched) and announced by
// changed() like local ones.
//
// A settings file that cannot be parsed never stops the program: the store starts empty, the
// damaged file is moved aside as a backup and the problem is reported on standard error. If the
// backup cannot be made, the store keeps changes in memory rather than overwrite the file. A file
// the user may not read is not damaged: it is left alone, the defaults are used for this run, it is
// never written over, and loadProblem() says why.
//
// Reads and writes are thread-safe; changed() is emitted on the thread that made the change.
class UserDefaults : public QObject
{
    Q_OBJECT
public:
    // The process's store: settings.json in $PLUMEO_CONFIG_DIR when set, else in the XDG config
    // folder ($XDG_CONFIG_HOME/plumeo, usually ~/.config/plumeo).
    static UserDefaults &standard();
    static QString standardFilePath();

    explicit UserDefaults(QString filePath, QObject *parent = nullptr);

    QString filePath() const { return m_filePath; }

    // The stored value, else the registered default, else an undefined value.
    QJsonValue value(const QString &key) const;
    // Whether a value is stored (registered defaults do not count).
    bool contains(const QString &key) const;

    // Typed reads: nothing when the key has no value or holds another type.
    std::optional<QString> string(const QString &key) const;
    std::optional<double> number(const QString &key) const;
    std::optional<qint64> integer(const QString &key) const;
    std::optional<bool> boolean(const QString &key) const;
    std::optional<QStringList> stringList(const QString &key) const;

    // Stores a value and writes the file; an undefined or null value removes the key.
    void set(const QString &key, const QJsonValue &value);
    void remove(const QString &key);
    // Values answered for keys that have nothing stored. Never written to the file.
    void registerDefaults(const QJsonObject &defaults);

    // Starts watching the file for other processes' changes; needs the application object, and
    // happens by itself when the store is made after it.
    void watchForChanges();

    // Where the damaged settings file was moved, if loading found one.
    QString backupPath() const;
    // Why the settings file is not used for this run (it may not be read), in the interface
    // language; empty when it was read or did not exist yet.
    QString loadProblem() const;

Q_SIGNALS:
    void changed(const QString &key);
    // A change could not be written (the disk is full, the folder may not be written): it is
    // kept for this run and written with the next change that succeeds. reason is in the
    // interface language.
    void writeFailed(const QString &reason);

private:
    // A stored change (a value, or nothing for a removal) not yet in the file.
    using Change = std::optional<QJsonValue>;

    void load();
    // Reads the file: nothing when it does not exist; error is the errno of a file that could not
    // be read, problem the reason of one that could not be parsed.
    std::optional<QJsonObject> readFile(int *error, QString *problem) const;
    // Records key's change and writes every unsaved change merged into the file's current
    // contents; answers the keys another process changed, or why the file could not be written
    // (the change is kept, to be written with the next one).
    Result<QStringList, FileWriteError> store(const QString &key, const Change &change);
    // Signals a change of key, and the other keys found changed or a failure to write.
    void announce(const QString &key, const Result<QStringList, FileWriteError> &stored);
    // Takes in what other processes wrote.
    void reload();
    // The keys whose value differs between the stored values and values, unsaved ones excepted.
    QStringList adopt(const QJsonObject &values);

    QString m_filePath;
    mutable std::mutex m_lock;
    QJsonObject m_values;
    QJsonObject m_defaults;
    QHash<QString, Change> m_unsaved;
    QString m_backupPath;
    int m_loadError = 0;            // errno of a file that may not be read
    bool m_fileIsProtected = false; // a file we could not read or move aside: never overwrite it
    QFileSystemWatcher *m_watcher = nullptr;
};

} // namespace plumeo
