#pragma once

#include <optional>

#include <QString>
#include <QtGlobal>

struct stat;

namespace plumeo {

// What Plumeo remembers of a file it read or wrote, to tell later whether the file on disk is still
// that one. Two questions are asked of it:
// - isSameFile: the same file system object (device and inode), whatever its contents now. A
//   symbolic link and the file it names are the same file; a file replaced by rename is not.
// - isUnchanged: the same object with the same size, modification time and change time. Watchers
//   miss some changes (a file rewritten in place within the same second on a coarse file system
//   still changes ctime at nanosecond resolution on Linux file systems), so a save compares this
//   right before writing.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0; // st_mtim, nanoseconds since the epoch
    qint64 changedNs = 0;  // st_ctim
    quint32 mode = 0;      // st_mode: type and permission bits
    quint32 linkCount = 0;

    static FileIdentity fromStat(const struct stat &info);
    // The identity of the file path names, following symbolic links (path in NativePath form);
    // nothing when it does not exist or cannot be examined.
    static std::optional<FileIdentity> of(const QString &path);
    // The identity of an open file descriptor.
    static std::optional<FileIdentity> ofDescriptor(int fd);

    bool isRegularFile() const;
    bool isSameFile(const FileIdentity &other) const
    {
        return device == other.device && inode == other.inode;
    }
    bool isUnchanged(const FileIdentity &other) const
    {
        return isSameFile(other) && size == other.size && modifiedNs == other.modifiedNs
               && changedNs == other.changedNs;
    }
};

} // namespace plumeo
