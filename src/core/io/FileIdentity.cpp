#include "io/FileIdentity.h"

#include "io/NativePath.h"

#include <sys/stat.h>

namespace plumeo {

namespace {

qint64 nanoseconds(const struct timespec &time)
{
    return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

} // namespace

FileIdentity FileIdentity::fromStat(const struct stat &info)
{
    FileIdentity identity;
    identity.device = quint64(info.st_dev);
    identity.inode = quint64(info.st_ino);
    identity.size = qint64(info.st_size);
    identity.modifiedNs = nanoseconds(info.st_mtim);
    identity.changedNs = nanoseconds(info.st_ctim);
    identity.mode = quint32(info.st_mode);
    identity.linkCount = quint32(info.st_nlink);
    return identity;
}

std::optional<FileIdentity> FileIdentity::of(const QString &path)
{
    struct stat info
    {};
    if (::stat(NativePath::encode(path).constData(), &info) != 0)
        return std::nullopt;
    return fromStat(info);
}

std::optional<FileIdentity> FileIdentity::ofDescriptor(int fd)
{
    struct stat info
    {};
    if (::fstat(fd, &info) != 0)
        return std::nullopt;
    return fromStat(info);
}

bool FileIdentity::isRegularFile() const
{
    return S_ISREG(mode);
}

} // namespace plumeo
