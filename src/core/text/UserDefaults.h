#pragma once

#include <mutex>
#include <optional>

#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QStringList>

namespace plumeo {

// The per-user settings store: a JSON object in a file, with a layer of registered defaults kept in
// memory only. Every change is written at once, atomically (a temporary file renamed over the old
// one), so a crash never leaves a half-written settings file.
//
// A settings file that cannot be read or parsed never stops the program: the store starts empty,
// the damaged file is moved aside as a backup and the problem is reported on standard error. If the
// backup cannot be made, the store keeps changes in memory rather than overwrite the file.
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

    // Where the damaged settings file was moved, if loading found one.
    QString backupPath() const;

Q_SIGNALS:
    void changed(const QString &key);

private:
    void load();
    bool write(const QJsonObject &values);

    QString m_filePath;
    mutable std::mutex m_lock;
    QJsonObject m_values;
    QJsonObject m_defaults;
    QString m_backupPath;
    bool m_fileIsProtected = false; // a damaged file we could not move aside: never overwrite it
};

} // namespace plumeo
