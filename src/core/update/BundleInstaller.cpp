#include "update/BundleInstaller.h"

#include "io/SystemError.h"
#include "update/BundleSignature.h"

#include <cerrno>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plumeo {

namespace {

using Outcome = Result<void, UpdaterError>;

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

UpdaterError systemFailure(int error, const QString &path)
{
    return UpdaterError::installation(SystemError::describe(error) + u' ' + path);
}

bool exists(const QString &path)
{
    struct stat st;
    return ::lstat(native(path).constData(), &st) == 0;
}

void removeTree(const QString &path)
{
    if (!exists(path))
        return;
    QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

bool syncPath(const QString &path)
{
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

Outcome copyFile(const QString &from, const QString &to, mode_t mode)
{
    const int in = ::open(native(from).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0)
        return systemFailure(errno, from);
    const int out =
        ::open(native(to).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return systemFailure(error, to);
    }
    char buffer[64 * 1024];
    int error = 0;
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            error = got < 0 ? errno : 0;
            break;
        }
        for (ssize_t done = 0; done < got && !error;) {
            const ssize_t put = ::write(out, buffer + done, size_t(got - done));
            if (put < 0 && errno != EINTR)
                error = errno;
            else if (put > 0)
                done += put;
        }
        if (error)
            break;
    }
    if (!error && (::fchmod(out, mode) != 0 || ::fsync(out) != 0))
        error = errno;
    ::close(in);
    if (::close(out) != 0 && !error)
        error = errno;
    if (error)
        return systemFailure(error, to);
    return {};
}

// Copies a tree of folders and regular files, modes kept; anything else is refused.
Outcome copyTree(const QString &from, const QString &to)
{
    struct stat st;
    if (::lstat(native(from).constData(), &st) != 0)
        return systemFailure(errno, from);
    if (!S_ISDIR(st.st_mode))
        return systemFailure(ENOTDIR, from);
    if (::mkdir(native(to).constData(), 0700) != 0)
        return systemFailure(errno, to);
    const QStringList names =
        QDir(from).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const QString source = from + u'/' + name;
        const QString target = to + u'/' + name;
        struct stat entry;
        if (::lstat(native(source).constData(), &entry) != 0)
            return systemFailure(errno, source);
        Outcome copied = S_ISDIR(entry.st_mode)   ? copyTree(source, target)
                         : S_ISREG(entry.st_mode) ? copyFile(source, target, entry.st_mode & 0777)
                                                  : Outcome(systemFailure(EINVAL, source));
        if (!copied)
            return copied;
    }
    if (::chmod(native(to).constData(), st.st_mode & 0777) != 0 || !syncPath(to))
        return systemFailure(errno, to);
    return {};
}

} // namespace

BundleInstaller::BundleInstaller(QString destination)
    : m_destination(QDir::cleanPath(QFileInfo(destination).absoluteFilePath()))
{}

QString BundleInstaller::stagingPath() const
{
    const QFileInfo info(m_destination);
    return info.path() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".update-new");
}

QString BundleInstaller::backupPath() const
{
    const QFileInfo info(m_destination);
    return info.path() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".update-old");
}

void BundleInstaller::reach(Step step) const
{
    if (m_checkpoint)
        m_checkpoint(step);
}

void BundleInstaller::recover(const QString &destination)
{
    const BundleInstaller installer(destination);
    const QString target = installer.destination();
    if (!exists(target) && exists(installer.backupPath())) {
        // Died between moving the old bundle aside and moving the new one in.
        if (::rename(native(installer.backupPath()).constData(), native(target).constData()) != 0)
            return;
        syncPath(QFileInfo(target).path());
    }
    if (exists(target)) {
        removeTree(installer.stagingPath());
        removeTree(installer.backupPath());
    } else {
        // A first installation that never completed: no bundle to keep.
        removeTree(installer.stagingPath());
    }
}

Result<void, UpdaterError> BundleInstaller::install(const QString &newBundle,
                                                    const std::optional<QByteArray> &requiredSigner)
{
    recover(m_destination);
    const QString parent = QFileInfo(m_destination).path();
    errno = 0;
    if (!QDir().mkpath(parent))
        return systemFailure(errno ? errno : EACCES, parent);
    const QString staging = stagingPath();
    if (Outcome copied = copyTree(newBundle, staging); !copied) {
        removeTree(staging);
        return copied;
    }
    // What goes in place is the copy, checked once more: nothing changed it on the way.
    if (const auto verified = BundleSignature::verify(staging, requiredSigner); !verified) {
        removeTree(staging);
        return verified.error();
    }
    syncPath(parent);
    reach(Step::staged);

    const QByteArray target = native(m_destination);
    if (!exists(m_destination)) {
        if (::rename(native(staging).constData(), target.constData()) != 0) {
            const int error = errno;
            removeTree(staging);
            return systemFailure(error, m_destination);
        }
        syncPath(parent);
        reach(Step::swapped);
        reach(Step::done);
        return {};
    }

    QString old = backupPath();
    if (m_atomicExchange
        && ::renameat2(AT_FDCWD, native(staging).constData(), AT_FDCWD, target.constData(),
                       RENAME_EXCHANGE)
               == 0) {
        old = staging; // the exchange left the old bundle under the staging name
    } else {
        if (::rename(target.constData(), native(old).constData()) != 0) {
            const int error = errno;
            removeTree(staging);
            return systemFailure(error, m_destination);
        }
        reach(Step::oldMovedAside);
        if (::rename(native(staging).constData(), target.constData()) != 0) {
            const int error = errno;
            ::rename(native(old).constData(), target.constData());
            removeTree(staging);
            return systemFailure(error, m_destination);
        }
    }
    syncPath(parent);
    reach(Step::swapped);
    removeTree(old);
    reach(Step::done);
    return {};
}

} // namespace plumeo
