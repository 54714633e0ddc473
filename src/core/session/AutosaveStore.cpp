#include "session/AutosaveStore.h"

#include "io/NativePath.h"

#include <algorithm>
#include <cerrno>

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plumeo {

Q_LOGGING_CATEGORY(logAutosave, "plumeo.autosave")

namespace {

const QString lockName = QStringLiteral("owner.lock");
const QString suffix = QStringLiteral(".plumeo-autosave");
const QString temporaryMark = QStringLiteral(".tmp-");

QByteArray encoded(const QString &path)
{
    return NativePath::encode(path);
}

bool makeFolder(const QString &path, int *error)
{
    if (::mkdir(encoded(path).constData(), 0700) == 0 || errno == EEXIST) {
        struct stat info;
        if (::lstat(encoded(path).constData(), &info) == 0 && S_ISDIR(info.st_mode))
            return true;
        *error = ENOTDIR;
        return false;
    }
    *error = errno;
    return false;
}

// Opens and locks folder's lock file without waiting: the descriptor, or -1 when another process
// holds it (or it cannot be opened).
int lockFolder(const QString &folder, bool create)
{
    const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT : 0);
    const int descriptor = ::open(encoded(folder + u'/' + lockName).constData(), flags, 0600);
    if (descriptor < 0)
        return -1;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

bool writeAll(int descriptor, QByteArrayView bytes)
{
    const char *at = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, at, size_t(std::min<qsizetype>(left, 1 << 20)));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        at += written;
        left -= written;
    }
    return true;
}

void syncFolder(const QString &folder)
{
    const int descriptor = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

} // namespace

AutosaveStore::AutosaveStore(QString folder, int lockDescriptor)
    : m_folder(std::move(folder))
    , m_lockDescriptor(lockDescriptor)
{}

AutosaveStore::~AutosaveStore()
{
    if (entries().isEmpty()) {
        ::unlink(encoded(m_folder + u'/' + lockName).constData());
        ::rmdir(encoded(m_folder).constData());
    }
    ::close(m_lockDescriptor);
}

Result<std::unique_ptr<AutosaveStore>, FileWriteError> AutosaveStore::claimNew(const QString &root)
{
    int error = 0;
    const QString parent = QFileInfo(root).absolutePath();
    if (!QDir().mkpath(parent) || !makeFolder(root, &error))
        return FileWriteError::fromErrno(error ? error : EACCES, root);
    const QString folder =
        root
        + QStringLiteral("/%1-%2")
              .arg(::getpid())
              .arg(QRandomGenerator::system()->generate64(), 16, 16, QChar(u'0'));
    if (::mkdir(encoded(folder).constData(), 0700) != 0)
        return FileWriteError::fromErrno(errno, folder);
    const int descriptor = lockFolder(folder, true);
    if (descriptor < 0) {
        const int reason = errno;
        ::rmdir(encoded(folder).constData());
        return FileWriteError::fromErrno(reason, folder + u'/' + lockName);
    }
    return std::unique_ptr<AutosaveStore>(new AutosaveStore(folder, descriptor));
}

std::vector<std::unique_ptr<AutosaveStore>> AutosaveStore::claimOrphans(const QString &root)
{
    static const QRegularExpression ownerName(QStringLiteral("^[0-9]{1,10}-[0-9a-f]{16}$"));
    std::vector<std::unique_ptr<AutosaveStore>> claimed;
    QStringList names =
        QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
    int looked = 0;
    for (const QString &name : names) {
        const QString folder = root + u'/' + name;
        if (!ownerName.match(name).hasMatch() || !QFileInfo::exists(folder + u'/' + lockName))
            continue;
        if (++looked > folderLimit) {
            qCWarning(logAutosave) << "more autosave folders than" << folderLimit << "in" << root
                                   << "; the rest wait for a later start";
            break;
        }
        const int descriptor = lockFolder(folder, false);
        if (descriptor >= 0)
            claimed.push_back(
                std::unique_ptr<AutosaveStore>(new AutosaveStore(folder, descriptor)));
    }
    return claimed;
}

QString AutosaveStore::pathFor(const QString &name) const
{
    return m_folder + u'/' + name + suffix;
}

QStringList AutosaveStore::entries() const
{
    QStringList found;
    const QStringList names =
        QDir(m_folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &name : names) {
        const QString path = m_folder + u'/' + name;
        if (name.contains(temporaryMark)) {
            // A write that was cut short: the file it was to replace is still whole.
            ::unlink(encoded(path).constData());
            continue;
        }
        struct stat info;
        if (!name.endsWith(suffix) || ::lstat(encoded(path).constData(), &info) != 0
            || !S_ISREG(info.st_mode))
            continue;
        if (found.size() == entryLimit) {
            qCWarning(logAutosave) << "more autosaves than" << entryLimit << "in" << m_folder
                                   << "; the rest are left unread";
            break;
        }
        found.append(path);
    }
    return found;
}

Result<void, FileWriteError> AutosaveStore::write(const QString &name, QByteArrayView bytes) const
{
    return writeFile(pathFor(name), bytes);
}

Result<void, FileWriteError> AutosaveStore::writeFile(const QString &target, QByteArrayView bytes)
{
    const QString temporary =
        target + temporaryMark + QString::number(QRandomGenerator::system()->generate(), 16);
    const int descriptor = ::open(encoded(temporary).constData(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0)
        return FileWriteError::fromErrno(errno, temporary);
    const bool written = writeAll(descriptor, bytes) && ::fsync(descriptor) == 0;
    const int writeError = errno;
    if (::close(descriptor) != 0 || !written) {
        const int error = written ? errno : writeError;
        ::unlink(encoded(temporary).constData());
        return FileWriteError::fromErrno(error, target);
    }
    if (::rename(encoded(temporary).constData(), encoded(target).constData()) != 0) {
        const int error = errno;
        ::unlink(encoded(temporary).constData());
        return FileWriteError::fromErrno(error, target);
    }
    syncFolder(QFileInfo(target).absolutePath());
    return {};
}

void AutosaveStore::remove(const QString &name) const
{
    removeFile(pathFor(name));
}

void AutosaveStore::removeFile(const QString &path)
{
    if (::unlink(encoded(path).constData()) == 0)
        syncFolder(QFileInfo(path).absolutePath());
}

} // namespace plumeo
