#include "document/SafeFileWriter.h"

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plumeo::SafeFileWriter {

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The file a write to path really changes: the end of a chain of symbolic links.
QString resolvedTarget(const QString &path)
{
    QFileInfo info(path);
    int hops = 0;
    while (info.isSymLink() && hops++ < 32) {
        const QString target = info.symLinkTarget();
        if (target.isEmpty())
            break;
        info = QFileInfo(target);
    }
    return info.absoluteFilePath();
}

bool writeAll(int fd, QByteArrayView bytes)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

} // namespace

std::optional<QString> write(const QString &path, QByteArrayView bytes)
{
    const QString target = resolvedTarget(path);
    const QByteArray targetPath = QFile::encodeName(target);
    struct stat existing
    {};
    const bool exists = ::stat(targetPath.constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return systemError(EISDIR);

    const QFileInfo info(target);
    QByteArray temporary = QFile::encodeName(info.absolutePath() + QStringLiteral("/.")
                                             + info.fileName() + QStringLiteral(".plumeo-XXXXXX"));
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return systemError(errno);

    const auto fail = [&](int error) -> std::optional<QString> {
        ::close(fd);
        ::unlink(temporary.constData());
        return systemError(error);
    };

    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        return fail(errno);
    if (exists) {
        if (::fchmod(fd, existing.st_mode & 07777) != 0)
            return fail(errno);
        // Keeping the owner needs privileges we usually lack; the permissions are what matters.
        [[maybe_unused]] const int ignored = ::fchown(fd, existing.st_uid, existing.st_gid);
    } else {
        // mkstemp creates files only the owner can read; a new file gets the usual mode instead.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::fchmod(fd, 0666 & ~mask) != 0)
            return fail(errno);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return systemError(error);
    }
    if (::rename(temporary.constData(), targetPath.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return systemError(error);
    }
    // Make the rename itself durable.
    const int directory =
        ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
    return std::nullopt;
}

} // namespace plumeo::SafeFileWriter
