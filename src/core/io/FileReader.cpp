#include "io/FileReader.h"

#include "io/NativePath.h"

#include <algorithm>
#include <cerrno>
#include <new>

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plumeo::FileReader {

namespace {

constexpr qint64 minimumLimit = qint64(16) << 20;
constexpr qint64 maximumLimit = qint64(1) << 30;

// MemAvailable of /proc/meminfo, in bytes; 0 when it cannot be read.
qint64 availableMemory()
{
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (!meminfo.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = meminfo.readAll();
    const qsizetype at = text.indexOf("MemAvailable:");
    if (at < 0)
        return 0;
    const qsizetype end = text.indexOf('\n', at);
    const QByteArray field = text.mid(at + 13, end - at - 13).trimmed();
    const qsizetype space = field.indexOf(' ');
    bool ok = false;
    const qint64 kib = field.left(space < 0 ? field.size() : space).toLongLong(&ok);
    return ok ? kib * 1024 : 0;
}

} // namespace

qint64 sizeLimit()
{
    bool ok = false;
    const qint64 forced = qEnvironmentVariable("PLUMEO_MAX_FILE_SIZE").toLongLong(&ok);
    if (ok && forced > 0)
        return forced;
    const qint64 available = availableMemory();
    if (available <= 0)
        return maximumLimit;
    return std::clamp(available / 16, minimumLimit, maximumLimit);
}

Result<OpenedFile, FileReadError> open(const QString &path)
{
    const QByteArray native = NativePath::encode(path);
    // O_NONBLOCK: a FIFO without a writer would otherwise block open() until one comes.
    // O_NOCTTY: a terminal named on the command line must not become our controlling terminal.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        struct stat info
        {};
        // A socket in the file system cannot be opened at all; say what it is.
        if (error == ENXIO && ::stat(native.constData(), &info) == 0 && S_ISSOCK(info.st_mode))
            return FileReadError{FileReadError::Kind::socket, error, 0, 0};
        return FileReadError::fromErrno(error);
    }
    const auto identity = FileIdentity::ofDescriptor(fd);
    if (!identity) {
        const int error = errno;
        ::close(fd);
        return FileReadError::fromErrno(error);
    }
    const mode_t mode = identity->mode;
    FileReadError refusal{FileReadError::Kind::ioError, 0, 0, 0};
    if (S_ISREG(mode)) {
        // Regular files never block; plain blocking reads restart cleanly after signals.
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        return OpenedFile(fd, *identity, OpenedFile::Kind::regular);
    }
    if (S_ISFIFO(mode))
        return OpenedFile(fd, *identity, OpenedFile::Kind::stream);
    if (S_ISDIR(mode))
        refusal.kind = FileReadError::Kind::isDirectory;
    else if (S_ISSOCK(mode))
        refusal.kind = FileReadError::Kind::socket;
    else
        refusal.kind = FileReadError::Kind::device;
    ::close(fd);
    return refusal;
}

Result<QByteArray, FileReadError> readAll(OpenedFile &file, qint64 limit)
{
    Q_ASSERT(file.kind() == OpenedFile::Kind::regular);
    const qint64 announced = file.identity().size;
    if (announced > limit)
        return FileReadError::tooLargeFile(announced, limit);
    QByteArray bytes;
    try {
        // One byte more than announced, to see a file that grew since fstat without a second
        // allocation for the common case.
        bytes.resize(announced + 1);
        qint64 filled = 0;
        for (;;) {
            if (filled == bytes.size()) {
                if (bytes.size() > limit)
                    return FileReadError::tooLargeFile(bytes.size(), limit);
                bytes.resize(std::min(limit + 1, std::max<qint64>(bytes.size() * 2, 4096)));
            }
            const ssize_t got =
                ::read(file.descriptor(), bytes.data() + filled, size_t(bytes.size() - filled));
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                return FileReadError::fromErrno(errno);
            }
            if (got == 0)
                break;
            filled += got;
        }
        if (filled > limit)
            return FileReadError::tooLargeFile(filled, limit);
        bytes.truncate(filled);
    } catch (const std::bad_alloc &) {
        return FileReadError::tooLargeFile(std::max<qint64>(announced, bytes.size()), limit);
    }
    return bytes;
}

Result<QByteArray, FileReadError>
readRegularFile(const QString &path, FileIdentity *identity, qint64 limit)
{
    auto opened = open(path);
    if (!opened)
        return opened.error();
    if (opened.value().kind() != OpenedFile::Kind::regular)
        return FileReadError{FileReadError::Kind::device, 0, 0, 0};
    if (identity)
        *identity = opened.value().identity();
    return readAll(opened.value(), limit);
}

} // namespace plumeo::FileReader
