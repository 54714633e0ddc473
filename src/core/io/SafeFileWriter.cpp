#include "io/SafeFileWriter.h"

#include "io/NativePath.h"
#include "text/Localization.h"

#include <cerrno>
#include <cstring>

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plumeo {

FileWriteError FileWriteError::fromErrno(int error, const QString &path)
{
    FileWriteError result;
    result.systemError = error;
    result.path = path;
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        result.kind = Kind::diskFull;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        result.kind = Kind::notPermitted;
        break;
    case ENAMETOOLONG:
        result.kind = Kind::nameTooLong;
        break;
    case EISDIR:
        result.kind = Kind::isDirectory;
        break;
    default:
        result.kind = Kind::other;
        break;
    }
    return result;
}

QString FileWriteError::reason() const
{
    switch (kind) {
    case Kind::notRegularFile:
        return L(QStringLiteral("Ce n’est pas un fichier ordinaire (c’est un périphérique, un tube "
                                "ou une socket)."),
                 QStringLiteral("It isn’t a regular file (it is a device, a pipe or a socket)."));
    case Kind::notPermitted:
        if (systemError == EROFS)
            return L(QStringLiteral("Le disque est en lecture seule."),
                     QStringLiteral("The disk is read-only."));
        return L(QStringLiteral("Vous n’avez pas l’autorisation d’écrire ce fichier."),
                 QStringLiteral("You don’t have permission to write this file."));
    case Kind::diskFull:
        return L(QStringLiteral("Le disque est plein."), QStringLiteral("The disk is full."));
    case Kind::nameTooLong:
        return L(QStringLiteral("Le nom du fichier est trop long."),
                 QStringLiteral("The file name is too long."));
    case Kind::changedOnDisk:
        return L(QStringLiteral("Le fichier a été remplacé sur le disque par un autre programme."),
                 QStringLiteral("The file was replaced on disk by another program."));
    case Kind::isDirectory:
        return L(QStringLiteral("C’est un dossier, pas un fichier."),
                 QStringLiteral("It is a folder, not a file."));
    case Kind::other:
        break;
    }
    if (systemError == ENOENT)
        return L(QStringLiteral("Le dossier n’existe pas."),
                 QStringLiteral("The folder doesn’t exist."));
    return QString::fromLocal8Bit(std::strerror(systemError));
}

namespace SafeFileWriter {

namespace {

// The file a write to path really changes: the end of a chain of symbolic links.
QByteArray resolvedTarget(const QString &path)
{
    QFileInfo info(path);
    int hops = 0;
    while (info.isSymLink() && hops++ < 32) {
        const QString target = info.symLinkTarget();
        if (target.isEmpty())
            break;
        info = QFileInfo(target);
    }
    return NativePath::encode(info.absoluteFilePath());
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

Result<FileWriteOutcome, FileWriteError>
write(const QString &path, QByteArrayView bytes, const FileWriteOptions &)
{
    const QByteArray targetPath = resolvedTarget(path);
    const QString target = NativePath::decode(targetPath);
    const auto fail = [&](int error) { return FileWriteError::fromErrno(error, target); };
    struct stat existing
    {};
    const bool exists = ::stat(targetPath.constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return fail(EISDIR);

    const qsizetype slash = targetPath.lastIndexOf('/');
    const QByteArray folder = targetPath.left(slash);
    QByteArray temporary = folder + "/." + targetPath.mid(slash + 1) + ".plumeo-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return fail(errno);

    const auto discard = [&](int error) {
        ::close(fd);
        ::unlink(temporary.constData());
        return fail(error);
    };

    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        return discard(errno);
    if (exists) {
        if (::fchmod(fd, existing.st_mode & 07777) != 0)
            return discard(errno);
        // Keeping the owner needs privileges we usually lack; the permissions are what matters.
        [[maybe_unused]] const int ignored = ::fchown(fd, existing.st_uid, existing.st_gid);
    } else {
        // mkstemp creates files only the owner can read; a new file gets the usual mode instead.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::fchmod(fd, 0666 & ~mask) != 0)
            return discard(errno);
    }
    FileWriteOutcome outcome;
    outcome.method =
        exists ? FileWriteOutcome::Method::replaced : FileWriteOutcome::Method::created;
    outcome.identity = FileIdentity::ofDescriptor(fd).value_or(FileIdentity());
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return fail(error);
    }
    if (::rename(temporary.constData(), targetPath.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return fail(error);
    }
    // Make the rename itself durable.
    const int directory = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
    return outcome;
}

void removeStaleTemporaries(const QString &) {}

Result<FileIdentity, FileWriteError> move(const QString &source, const QString &target)
{
    QFile file(QFile::decodeName(NativePath::encode(source)));
    if (!file.rename(QFile::decodeName(NativePath::encode(target))))
        return FileWriteError{FileWriteError::Kind::other, 0, target};
    return FileIdentity::of(target).value_or(FileIdentity());
}

} // namespace SafeFileWriter

} // namespace plumeo
