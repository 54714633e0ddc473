#pragma once

#include "base/Result.h"
#include "io/FileIdentity.h"

#include <optional>

#include <QByteArray>
#include <QString>

namespace plumeo {

// Why a write or a move failed. kind is what the caller acts on (offer Save As, say the disk is
// full); systemError is the errno behind it (0 when the refusal is ours); path is the file the
// failure concerns, in NativePath form.
struct FileWriteError
{
    enum class Kind {
        notRegularFile, // a device, a FIFO, a socket: never written nor replaced
        notPermitted,   // the user may not write the file (or the folder, for a new file)
        diskFull,
        nameTooLong,
        changedOnDisk, // the file at the path is no longer the one the caller read or wrote
        isDirectory,
        other
    };
    Kind kind = Kind::other;
    int systemError = 0;
    QString path;

    static FileWriteError fromErrno(int error, const QString &path);
    // The reason in the interface language: a text about writing where there is one, else what
    // SystemError::describe says of systemError.
    QString reason() const;
};

struct FileWriteOptions
{
    // The identity the caller last read or wrote. When the file at the path is another file
    // (device or inode differ) at write time, the write is refused with changedOnDisk.
    std::optional<FileIdentity> expected;
};

struct FileWriteOutcome
{
    enum class Method {
        created,  // there was no file: a new one was made
        replaced, // a complete new file was renamed over the old one
        inPlace   // the file itself was rewritten, its old contents kept aside until done
    };
    Method method = Method::created;
    FileIdentity identity; // of the file after writing
};

// How Plumeo writes a file without ever leaving it damaged.
//
// Only regular files are written or replaced. A symbolic link is resolved once, when the target is
// looked up; from then on the target is opened with O_NOFOLLOW and compared with what was found,
// so a link swapped in meanwhile (in a shared sticky folder) is never followed.
//
// The normal way is to replace: the bytes go to a temporary file beside the target (".NAME.plumeo-
// XXXXXX", the NAME part shortened so the whole stays within NAME_MAX), flushed to disk, given the
// target's owner, group, mode (setuid and setgid included) and extended attributes (ACLs too), and
// renamed over the target. When the replacement could not keep all of those, when the target has
// other hard links (which a rename would split from it), or when no temporary file can be made
// beside it (a folder the user may not write), the file is written in place instead: its old
// contents are first copied to the state folder (see StateFolder), the new bytes written without
// truncating first, the file cut to its new size and flushed; a failed write puts the old
// contents back. The copy is removed once the write has succeeded.
//
// A file the user may not write, or that nobody may write (mode without write bits, even for
// root), is refused with notPermitted: the caller offers to save elsewhere.
//
// While a temporary file is being written it is locked (flock); a temporary file that can be
// locked belongs to a save that was killed, and is removed by the next save or open of its file.
namespace SafeFileWriter {

Result<FileWriteOutcome, FileWriteError>
write(const QString &path, QByteArrayView bytes, const FileWriteOptions &options = {});
// mkdir -p: makes path and the folders above it that are missing, private to the user (0700).
Result<void, FileWriteError> createFolder(const QString &path);
// Removes the temporary files killed saves of path left beside it, never one a running save holds.
void removeStaleTemporaries(const QString &path);
// Moves source to target, which must not exist: a rename, or across file systems a copy (keeping
// mode, times and extended attributes) then the removal of source. A failed copy is removed and
// source stays. The identity is that of the moved file.
Result<FileIdentity, FileWriteError> move(const QString &source, const QString &target);

} // namespace SafeFileWriter

} // namespace plumeo
