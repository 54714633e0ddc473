#pragma once

#include "base/Result.h"
#include "io/SafeFileWriter.h"

#include <memory>
#include <vector>

#include <QLoggingCategory>
#include <QString>
#include <QStringList>

namespace plumeo {

Q_DECLARE_LOGGING_CATEGORY(logAutosave) // plumeo.autosave: autosaves, recovery, the session

// A folder of autosaves that one process owns, under ROOT (StateFolder::path() + "/autosave").
//
// Each running Plumeo claims a folder of its own, ROOT/<pid>-<random>, and holds an exclusive
// flock on its "owner.lock" for as long as it runs, so two processes (on two displays, say) never
// write each other's files. The kernel releases the lock when the process dies, however it dies:
// a folder whose lock can be taken belongs to a process that is gone, and its files are what
// recovery offers. Claiming such a folder takes its lock, so two Plumeos starting together never
// offer the same files twice.
//
// Files are NAME.plumeo-autosave, written whole (a temporary file in the same folder, flushed to
// disk, renamed over the old one, the folder flushed too): a crash at any moment leaves the
// previous autosave or the new one, never a mix. Folders are 0700 and files 0600: they hold the
// user's unsaved text.
//
// write() and remove() may be called from any thread; the rest from one thread.
class AutosaveStore
{
public:
    // At most this many files of a dead process are offered, and this many dead folders looked at:
    // a folder filled by something else is not walked to its end.
    static constexpr int entryLimit = 64;
    static constexpr int folderLimit = 64;

    // A new folder of this process's own under root (root is created as needed), or why not.
    static Result<std::unique_ptr<AutosaveStore>, FileWriteError> claimNew(const QString &root);
    // The folders under root whose owner is gone, each claimed (locked) for this process. Anything
    // that is not such a folder (a file, a link, a name of another form) is left alone.
    static std::vector<std::unique_ptr<AutosaveStore>> claimOrphans(const QString &root);

    // Releases the lock. A folder left without autosaves goes too; one with autosaves stays for
    // recovery.
    ~AutosaveStore();
    AutosaveStore(const AutosaveStore &) = delete;
    AutosaveStore &operator=(const AutosaveStore &) = delete;

    QString folder() const { return m_folder; }
    QString pathFor(const QString &name) const;
    // The autosave files in the folder (full paths), oldest name first, at most entryLimit of them;
    // links and other non-regular files are not listed. Temporary files of writes cut short are
    // removed on the way.
    QStringList entries() const;

    Result<void, FileWriteError> write(const QString &name, QByteArrayView bytes) const;
    // Writes bytes to path the same way, whole or not at all (any folder; used for the session).
    static Result<void, FileWriteError> writeFile(const QString &path, QByteArrayView bytes);
    // Removes the file name (nothing when there is none).
    void remove(const QString &name) const;
    // Removes an entry listed by entries().
    static void removeFile(const QString &path);

private:
    AutosaveStore(QString folder, int lockDescriptor);

    QString m_folder;
    int m_lockDescriptor;
};

} // namespace plumeo
