#include "io/SafeFileWriter.h"

#include "io/NativePath.h"
#include "io/StateFolder.h"
#include "io/SystemError.h"
#include "text/Localization.h"

#include <cerrno>
#include <climits>
#include <cstdio>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
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
            return SystemError::describe(systemError);
        return L(QStringLiteral("Vous n’avez pas l’autorisation d’écrire ce fichier."),
                 QStringLiteral("You don’t have permission to write this file."));
    case Kind::changedOnDisk:
        return L(QStringLiteral("Le fichier a été remplacé sur le disque par un autre programme."),
                 QStringLiteral("The file was replaced on disk by another program."));
    case Kind::diskFull:
    case Kind::nameTooLong:
    case Kind::isDirectory:
    case Kind::other:
        break;
    }
    if (systemError == ENOENT)
        return L(QStringLiteral("Le dossier n’existe pas."),
                 QStringLiteral("The folder doesn’t exist."));
    return SystemError::describe(systemError);
}

namespace SafeFileWriter {

namespace {

constexpr qsizetype nameMax = NAME_MAX;
constexpr char temporaryMarker[] = ".plumeo-";
constexpr qsizetype randomLength = 6; // mkstemp's XXXXXX

// Closes its descriptor when it goes.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    // Closes now, answering the error close reports (a delayed write failure on some file systems).
    int close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

QByteArray absolute(const QByteArray &path)
{
    if (path.startsWith('/'))
        return path;
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer))
        return path;
    return QByteArray(buffer) + '/' + path;
}

// The file a write to path really changes: the end of its chain of symbolic links, resolved once.
QByteArray resolveLinks(QByteArray path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info
        {};
        if (::lstat(path.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        QByteArray link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.constData(), link.data(), size_t(link.size()));
        if (length <= 0)
            return path;
        link.truncate(length);
        path = link.startsWith('/') ? link : folderOf(path) + '/' + link;
    }
    return path;
}

// ".NAME.plumeo-": NAME shortened (at a character boundary) so the temporary name, random part
// included, stays within NAME_MAX.
QByteArray temporaryPrefix(const QByteArray &name)
{
    const qsizetype room = nameMax - 1 - qsizetype(sizeof temporaryMarker - 1) - randomLength;
    QByteArray kept = name.left(room);
    if (kept.size() < name.size()) {
        qsizetype lead = kept.size() - 1;
        while (lead > 0 && (uchar(kept[lead]) & 0xC0) == 0x80)
            --lead;
        const uchar first = uchar(kept[lead]);
        const qsizetype length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
        if (kept.size() - lead < length)
            kept.truncate(lead);
    }
    return '.' + kept + temporaryMarker;
}

bool writeAll(int fd, QByteArrayView bytes, off_t offset)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::pwrite(fd, data, size_t(left), offset);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
        offset += written;
    }
    return true;
}

// Copies every byte of from (from its start) to the start of to. errno tells why it failed.
bool copyContents(int from, int to)
{
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    off_t offset = 0;
    for (;;) {
        const ssize_t got = ::pread(from, buffer.data(), size_t(buffer.size()), offset);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        if (!writeAll(to, QByteArrayView(buffer.constData(), got), offset))
            return false;
        offset += got;
    }
}

// Gives to every extended attribute of from (user ones, ACLs, security labels).
bool copyExtendedAttributes(int from, int to)
{
    ssize_t size = ::flistxattr(from, nullptr, 0);
    if (size < 0)
        return errno == ENOTSUP; // a file system without them: nothing to keep
    if (size == 0)
        return true;
    QByteArray names(size, '\0');
    size = ::flistxattr(from, names.data(), size_t(names.size()));
    if (size < 0)
        return false;
    names.truncate(size);
    for (const QByteArray &name : names.split('\0')) {
        if (name.isEmpty())
            continue;
        const ssize_t length = ::fgetxattr(from, name.constData(), nullptr, 0);
        if (length < 0)
            return false;
        QByteArray value(length, '\0');
        const ssize_t got = ::fgetxattr(from, name.constData(), value.data(), size_t(length));
        if (got < 0 || ::fsetxattr(to, name.constData(), value.constData(), size_t(got), 0) != 0)
            return false;
    }
    return true;
}

void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void removeStale(const QByteArray &folder, const QByteArray &prefix)
{
    DIR *directory = ::opendir(folder.constData());
    if (!directory)
        return;
    const int folderFd = ::dirfd(directory);
    while (const dirent *entry = ::readdir(directory)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith(prefix) || name.size() != prefix.size() + randomLength)
            continue;
        Descriptor fd(
            ::openat(folderFd, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat opened
        {
        }, named{};
        // A running save holds its temporary file locked; one nobody holds was left by a save
        // that died.
        if (!fd.isValid() || ::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode)
            || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        if (::fstatat(folderFd, name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0
            && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
            ::unlinkat(folderFd, name.constData(), 0);
    }
    ::closedir(directory);
}

// mkdir -p, private to the user: 0 or the errno of the folder that could not be made.
int makeFolders(const QByteArray &path)
{
    for (qsizetype end = path.indexOf('/', 1);; end = path.indexOf('/', end + 1)) {
        const QByteArray folder = end < 0 ? path : path.left(end);
        if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST)
            return errno;
        if (end < 0)
            return 0;
    }
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

bool isSame(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// One write, from looking up the target to the renamed or rewritten file.
class Write
{
public:
    Write(const QString &path, QByteArrayView bytes, const FileWriteOptions &options)
        : m_target(resolveLinks(absolute(NativePath::encode(path))))
        , m_folder(folderOf(m_target))
        , m_bytes(bytes)
        , m_options(options)
    {}

    Result<FileWriteOutcome, FileWriteError> run();

private:
    // Where replacing the file by a renamed temporary one left the write.
    enum class Step { done, writeInPlace };

    FileWriteError error(int systemError) const
    {
        return FileWriteError::fromErrno(systemError, NativePath::decode(m_target));
    }
    FileWriteError refusal(FileWriteError::Kind kind, int systemError = 0) const
    {
        return {kind, systemError, NativePath::decode(m_target)};
    }
    Result<void, FileWriteError> examineTarget();
    Result<Step, FileWriteError> replace();
    Result<FileWriteOutcome, FileWriteError> writeInPlace();
    Result<void, FileWriteError> restore(int target, int backup, off_t size);

    QByteArray m_target;
    QByteArray m_folder;
    QByteArrayView m_bytes;
    const FileWriteOptions &m_options;

    bool m_exists = false;
    struct stat m_existing
    {};
    Descriptor m_current; // the target, opened for reading (not when it may not be read)
    FileWriteOutcome m_outcome;
};

Result<void, FileWriteError> Write::examineTarget()
{
    if (::lstat(m_target.constData(), &m_existing) != 0) {
        if (errno == ENOENT)
            return {};
        return error(errno);
    }
    m_exists = true;
    if (S_ISDIR(m_existing.st_mode))
        return refusal(FileWriteError::Kind::isDirectory, EISDIR);
    if (S_ISLNK(m_existing.st_mode)) // appeared since the links were resolved
        return refusal(FileWriteError::Kind::changedOnDisk);
    if (!S_ISREG(m_existing.st_mode))
        return refusal(FileWriteError::Kind::notRegularFile);
    if (m_options.expected
        && (quint64(m_existing.st_dev) != m_options.expected->device
            || quint64(m_existing.st_ino) != m_options.expected->inode))
        return refusal(FileWriteError::Kind::changedOnDisk);
    // A mode without any write bit says the file is not meant to change, whoever saves.
    if ((m_existing.st_mode & 0222) == 0
        || ::faccessat(AT_FDCWD, m_target.constData(), W_OK, AT_EACCESS) != 0)
        return refusal(FileWriteError::Kind::notPermitted, EACCES);

    m_current.reset(::open(m_target.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!m_current.isValid()) {
        if (errno == ELOOP)
            return refusal(FileWriteError::Kind::changedOnDisk);
        if (errno != EACCES) // a file one may write but not read can still be replaced
            return error(errno);
    } else {
        struct stat opened
        {};
        if (::fstat(m_current.get(), &opened) != 0)
            return error(errno);
        if (!isSame(opened, m_existing))
            return refusal(FileWriteError::Kind::changedOnDisk);
    }
    return {};
}

Result<FileWriteOutcome, FileWriteError> Write::run()
{
    if (nameOf(m_target).size() > nameMax)
        return refusal(FileWriteError::Kind::nameTooLong, ENAMETOOLONG);
    if (auto examined = examineTarget(); !examined)
        return examined.error();
    removeStale(m_folder, temporaryPrefix(nameOf(m_target)));

    // Renaming over a file with other names would leave those names on the old contents.
    if (!m_exists || m_existing.st_nlink <= 1) {
        const auto replaced = replace();
        if (!replaced)
            return replaced.error();
        if (replaced.value() == Step::done)
            return m_outcome;
    }
    return writeInPlace();
}

Result<Write::Step, FileWriteError> Write::replace()
{
    QByteArray temporary = m_folder + '/' + temporaryPrefix(nameOf(m_target)) + "XXXXXX";
    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.isValid()) {
        const int failure = errno;
        // A folder the user may not write: the file itself may still be written.
        if (m_exists && (failure == EACCES || failure == EPERM))
            return Step::writeInPlace;
        return error(failure);
    }
    // Saves of the same file elsewhere leave a locked temporary file alone.
    ::flock(fd.get(), LOCK_EX);
    const auto discard = [&](std::optional<int> failure) -> Result<Step, FileWriteError> {
        ::unlink(temporary.constData());
        if (!failure)
            return Step::writeInPlace;
        return error(*failure);
    };

    if (!writeAll(fd.get(), m_bytes, 0))
        return discard(errno);
    if (m_exists) {
        // Owner first: changing it clears setuid and setgid, which the mode then restores.
        struct stat made
        {};
        if (::fstat(fd.get(), &made) != 0)
            return discard(errno);
        if ((made.st_uid != m_existing.st_uid || made.st_gid != m_existing.st_gid)
            && ::fchown(fd.get(), m_existing.st_uid, m_existing.st_gid) != 0)
            return discard(std::nullopt);
        if (::fchmod(fd.get(), m_existing.st_mode & 07777) != 0)
            return discard(std::nullopt);
        const bool attributesKept = m_current.isValid()
                                        ? copyExtendedAttributes(m_current.get(), fd.get())
                                        : ::llistxattr(m_target.constData(), nullptr, 0) == 0;
        if (!attributesKept)
            return discard(std::nullopt);
        // The system may have refused a bit silently (setgid for a group the user is not in).
        if (::fstat(fd.get(), &made) != 0)
            return discard(errno);
        if ((made.st_mode & 07777) != (m_existing.st_mode & 07777)
            || made.st_uid != m_existing.st_uid || made.st_gid != m_existing.st_gid)
            return discard(std::nullopt);
    } else if (::fchmod(fd.get(), 0666 & ~currentUmask()) != 0) {
        // mkstemp makes files only their owner may read; a new file gets the usual mode.
        return discard(errno);
    }
    if (::fsync(fd.get()) != 0)
        return discard(errno);

    if (m_exists) {
        // The name must still be the file examined: never rename over what someone put there.
        struct stat now
        {};
        if (::lstat(m_target.constData(), &now) != 0 || !isSame(now, m_existing)) {
            ::unlink(temporary.constData());
            return refusal(FileWriteError::Kind::changedOnDisk);
        }
        if (::rename(temporary.constData(), m_target.constData()) != 0)
            return discard(errno);
    } else if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, m_target.constData(),
                           RENAME_NOREPLACE)
               != 0) {
        const int failure = errno;
        if (failure == EEXIST) {
            ::unlink(temporary.constData());
            return refusal(FileWriteError::Kind::changedOnDisk, failure);
        }
        // A file system without the flag.
        if (failure != EINVAL || ::rename(temporary.constData(), m_target.constData()) != 0)
            return discard(failure == EINVAL ? errno : failure);
    }
    syncFolder(m_folder);
    m_outcome.method =
        m_exists ? FileWriteOutcome::Method::replaced : FileWriteOutcome::Method::created;
    m_outcome.identity = FileIdentity::ofDescriptor(fd.get()).value_or(FileIdentity());
    if (const int failure = fd.close())
        return error(failure);
    return Step::done;
}

Result<FileWriteOutcome, FileWriteError> Write::writeInPlace()
{
    // The old contents are kept first: without that copy, a failure half way would lose them.
    if (!m_current.isValid())
        return refusal(FileWriteError::Kind::notPermitted, EACCES);
    Descriptor target(::open(m_target.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!target.isValid())
        return errno == ELOOP ? refusal(FileWriteError::Kind::changedOnDisk) : error(errno);
    struct stat opened
    {};
    if (::fstat(target.get(), &opened) != 0)
        return error(errno);
    if (!isSame(opened, m_existing))
        return refusal(FileWriteError::Kind::changedOnDisk);

    const QByteArray backups = NativePath::encode(StateFolder::path()) + "/backups";
    if (const int failure = makeFolders(backups))
        return error(failure);
    QByteArray backupPath = backups + '/' + temporaryPrefix(nameOf(m_target)).mid(1) + "XXXXXX";
    Descriptor backup(::mkostemp(backupPath.data(), O_CLOEXEC));
    if (!backup.isValid())
        return error(errno);
    const auto dropBackup = [&] { ::unlink(backupPath.constData()); };
    if (!copyContents(m_current.get(), backup.get()) || ::fsync(backup.get()) != 0) {
        const int failure = errno;
        dropBackup();
        return error(failure);
    }

    // Reserving the space first makes a full disk fail before anything changed.
    const off_t newSize = off_t(m_bytes.size());
    if (newSize > opened.st_size && ::fallocate(target.get(), 0, 0, newSize) != 0
        && errno != EOPNOTSUPP) {
        const int failure = errno;
        dropBackup();
        return error(failure);
    }
    if (!writeAll(target.get(), m_bytes, 0) || ::ftruncate(target.get(), newSize) != 0
        || ::fsync(target.get()) != 0) {
        const int failure = errno;
        if (restore(target.get(), backup.get(), opened.st_size))
            dropBackup(); // otherwise the copy in the state folder is all that is left
        return error(failure);
    }
    dropBackup();
    m_outcome.method = FileWriteOutcome::Method::inPlace;
    m_outcome.identity = FileIdentity::ofDescriptor(target.get()).value_or(FileIdentity());
    if (const int failure = target.close())
        return error(failure);
    return m_outcome;
}

Result<void, FileWriteError> Write::restore(int target, int backup, off_t size)
{
    if (copyContents(backup, target) && ::ftruncate(target, size) == 0 && ::fsync(target) == 0)
        return {};
    return error(errno);
}

} // namespace

Result<FileWriteOutcome, FileWriteError>
write(const QString &path, QByteArrayView bytes, const FileWriteOptions &options)
{
    return Write(path, bytes, options).run();
}

Result<void, FileWriteError> createFolder(const QString &path)
{
    const QByteArray folder = absolute(NativePath::encode(path));
    if (const int failure = makeFolders(folder))
        return FileWriteError::fromErrno(failure, path);
    return {};
}

void removeStaleTemporaries(const QString &path)
{
    const QByteArray target = resolveLinks(absolute(NativePath::encode(path)));
    removeStale(folderOf(target), temporaryPrefix(nameOf(target)));
}

Result<FileIdentity, FileWriteError> move(const QString &source, const QString &target)
{
    const QByteArray from = absolute(NativePath::encode(source));
    const QByteArray to = absolute(NativePath::encode(target));
    const auto fail = [&](int error) { return FileWriteError::fromErrno(error, target); };
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        syncFolder(folderOf(to));
        return FileIdentity::of(NativePath::decode(to)).value_or(FileIdentity());
    }
    if (errno == EINVAL) { // a file system without the flag
        struct stat taken
        {};
        if (::lstat(to.constData(), &taken) == 0)
            return fail(EEXIST);
        if (::rename(from.constData(), to.constData()) == 0)
            return FileIdentity::of(NativePath::decode(to)).value_or(FileIdentity());
    }
    if (errno != EXDEV)
        return fail(errno);

    // Another file system: copy, then remove the original once the copy is complete on disk.
    Descriptor in(::open(from.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info
    {};
    if (!in.isValid() || ::fstat(in.get(), &info) != 0)
        return FileWriteError::fromErrno(errno, source);
    if (!S_ISREG(info.st_mode))
        return FileWriteError{FileWriteError::Kind::notRegularFile, 0, source};
    Descriptor out(::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!out.isValid())
        return fail(errno);
    const auto discard = [&](int error) {
        out.reset();
        ::unlink(to.constData());
        return fail(error);
    };
    if ((info.st_size > 0 && ::fallocate(out.get(), 0, 0, info.st_size) != 0 && errno != EOPNOTSUPP)
        || !copyContents(in.get(), out.get()))
        return discard(errno);
    // Owner where allowed (root), then the mode (changing the owner clears setuid and setgid).
    [[maybe_unused]] const int owned = ::fchown(out.get(), info.st_uid, info.st_gid);
    copyExtendedAttributes(in.get(), out.get()); // best effort: the contents are what matters
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    if (::fchmod(out.get(), info.st_mode & 07777) != 0 || ::futimens(out.get(), times) != 0
        || ::fsync(out.get()) != 0)
        return discard(errno);
    const FileIdentity identity = FileIdentity::ofDescriptor(out.get()).value_or(FileIdentity());
    if (const int failure = out.close())
        return discard(failure);
    syncFolder(folderOf(to));
    if (::unlink(from.constData()) != 0) {
        const int failure = errno;
        ::unlink(to.constData());
        return FileWriteError::fromErrno(failure, source);
    }
    return identity;
}

} // namespace SafeFileWriter

} // namespace plumeo
