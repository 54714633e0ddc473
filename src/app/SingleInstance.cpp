#include "SingleInstance.h"

#include "io/SystemError.h"
#include "text/Localization.h"
#include "text/UserDefaults.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QtEndian>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace plumeo {

namespace {

using Clock = std::chrono::steady_clock;

// The instance's answer once it holds the message, and the launch's confirmation that it then
// leaves the files to the instance.
constexpr QByteArrayView acknowledgement = "ok";
constexpr char confirmation = 'g';
constexpr int headerSize = 4;

// A descriptor closed when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

QString displayPath(const QByteArray &path)
{
    return QFile::decodeName(path);
}

// Whether folder is a real folder (not a symbolic link) of this user that no one else may enter.
bool isPrivateFolder(const QByteArray &folder, QString *problem)
{
    struct stat status;
    if (::lstat(folder.constData(), &status) != 0) {
        *problem = L(QStringLiteral("Le dossier %1 est inaccessible. %2"),
                     QStringLiteral("The folder %1 cannot be used. %2"))
                       .arg(displayPath(folder), SystemError::describe(errno));
        return false;
    }
    if (S_ISLNK(status.st_mode) || !S_ISDIR(status.st_mode)) {
        *problem = L(QStringLiteral("%1 n’est pas un dossier mais un lien ou un fichier."),
                     QStringLiteral("%1 is not a folder but a link or a file."))
                       .arg(displayPath(folder));
        return false;
    }
    if (status.st_uid != ::geteuid()) {
        *problem = L(QStringLiteral("Le dossier %1 appartient à un autre utilisateur."),
                     QStringLiteral("The folder %1 belongs to another user."))
                       .arg(displayPath(folder));
        return false;
    }
    if ((status.st_mode & 077) != 0) {
        *problem = L(QStringLiteral("D’autres utilisateurs ont accès au dossier %1."),
                     QStringLiteral("Other users have access to the folder %1."))
                       .arg(displayPath(folder));
        return false;
    }
    return true;
}

bool socketAddress(const QByteArray &path, sockaddr_un *address)
{
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    if (path.size() >= qsizetype(sizeof address->sun_path))
        return false;
    std::memcpy(address->sun_path, path.constData(), path.size());
    return true;
}

// The user id of the process at the other end of a connected socket, or -1.
qint64 peerUser(int fd)
{
    ucred credentials;
    socklen_t length = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0)
        return -1;
    return credentials.uid;
}

int remainingMs(Clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return int(std::max<qint64>(0, left.count()));
}

// Waits until fd is ready for events or the deadline passed.
bool waitFor(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, remainingMs(deadline));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

enum class Delivery { delivered, absent, refused, unanswered, foreign, failed };

struct Attempt
{
    Delivery delivery;
    int error = 0;
};

Attempt
deliver(const QByteArray &path, const QByteArray &message, std::chrono::milliseconds patience)
{
    sockaddr_un address;
    if (!socketAddress(path, &address))
        return {Delivery::failed, ENAMETOOLONG};
    const Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (socket.get() < 0)
        return {Delivery::failed, errno};

    const Clock::time_point deadline = Clock::now() + patience;
    // A full backlog (an instance that accepts nothing for a while) answers EAGAIN: the instance is
    // there, only busy.
    while (::connect(socket.get(), reinterpret_cast<const sockaddr *>(&address), sizeof address)
           != 0) {
        const int error = errno;
        if (error == ENOENT)
            return {Delivery::absent, error};
        if (error == ECONNREFUSED)
            return {Delivery::refused, error};
        if (error != EAGAIN && error != EINTR)
            return {Delivery::failed, error};
        if (Clock::now() >= deadline)
            return {Delivery::unanswered, error};
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (peerUser(socket.get()) != ::geteuid())
        return {Delivery::foreign, 0};

    qsizetype written = 0;
    while (written < message.size()) {
        const ssize_t count = ::send(socket.get(), message.constData() + written,
                                     message.size() - written, MSG_NOSIGNAL);
        if (count > 0) {
            written += count;
        } else if (errno == EAGAIN) {
            if (!waitFor(socket.get(), POLLOUT, deadline))
                return {Delivery::unanswered, 0};
        } else if (errno != EINTR) {
            return {Delivery::unanswered, errno};
        }
    }

    QByteArray answer;
    while (answer.size() < acknowledgement.size()) {
        char buffer[8];
        const ssize_t count = ::recv(socket.get(), buffer, sizeof buffer, 0);
        if (count > 0) {
            answer.append(buffer, count);
        } else if (count == 0) {
            return {Delivery::unanswered, 0};
        } else if (errno == EAGAIN) {
            if (!waitFor(socket.get(), POLLIN, deadline))
                return {Delivery::unanswered, 0};
        } else if (errno != EINTR) {
            return {Delivery::unanswered, errno};
        }
    }
    if (!answer.startsWith(acknowledgement))
        return {Delivery::unanswered, 0};
    // One byte into an empty socket buffer: it cannot block.
    if (::send(socket.get(), &confirmation, 1, MSG_NOSIGNAL) != 1)
        return {Delivery::unanswered, errno};
    return {Delivery::delivered, 0};
}

// Whether nothing listens on path any more: connecting is refused by the kernel.
bool isStale(const QByteArray &path)
{
    sockaddr_un address;
    if (!socketAddress(path, &address))
        return false;
    const Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (socket.get() < 0)
        return false;
    return ::connect(socket.get(), reinterpret_cast<const sockaddr *>(&address), sizeof address)
               != 0
           && errno == ECONNREFUSED;
}

// A listening socket at path, or -1 with errno set (EADDRINUSE when the path is taken).
int bindAndListen(const QByteArray &path)
{
    sockaddr_un address;
    if (!socketAddress(path, &address)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.get() < 0)
        return -1;
    if (::bind(socket.get(), reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
        return -1;
    if (::listen(socket.get(), SOMAXCONN) != 0) {
        const int error = errno;
        ::unlink(path.constData());
        errno = error;
        return -1;
    }
    return socket.release();
}

QString unansweredProblem(std::chrono::milliseconds patience)
{
    const QString seconds = QString::number(patience.count() / 1000.0);
    return L(QStringLiteral("Le Plumeo déjà ouvert n’a pas répondu en %1 s."),
             QStringLiteral("The running Plumeo did not answer within %1 s."))
        .arg(seconds);
}

} // namespace

QByteArray SingleInstance::channelName(const QByteArray &waylandDisplay,
                                       const QByteArray &x11Display,
                                       const QByteArray &settingsFolder)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QByteArray &part : {waylandDisplay, x11Display, settingsFolder}) {
        hash.addData(part);
        hash.addData(QByteArrayView("\0", 1));
    }
    return "plumeo-" + hash.result().toHex().left(24);
}

std::optional<QByteArray> SingleInstance::channelPath(QString *problem)
{
    QByteArray folder = qgetenv("XDG_RUNTIME_DIR");
    if (!folder.startsWith('/')) {
        QByteArray temporary = qgetenv("TMPDIR");
        if (!temporary.startsWith('/'))
            temporary = "/tmp";
        while (temporary.size() > 1 && temporary.endsWith('/'))
            temporary.chop(1);
        folder = temporary + "/plumeo-" + QByteArray::number(::geteuid());
        // Earlier versions put their socket itself at this name: one of ours left there by a
        // Plumeo that has since been updated would keep every later launch from being shared.
        struct stat left;
        if (::lstat(folder.constData(), &left) == 0 && S_ISSOCK(left.st_mode)
            && left.st_uid == ::geteuid())
            ::unlink(folder.constData());
        if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST) {
            *problem = L(QStringLiteral("Le dossier %1 n’a pas pu être créé. %2"),
                         QStringLiteral("The folder %1 couldn’t be created. %2"))
                           .arg(displayPath(folder), SystemError::describe(errno));
            return std::nullopt;
        }
    }
    if (!isPrivateFolder(folder, problem))
        return std::nullopt;
    const QString settings = QFileInfo(UserDefaults::standardFilePath()).absolutePath();
    return folder + '/'
           + channelName(qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"),
                         QFile::encodeName(settings));
}

QByteArray SingleInstance::frame(const QByteArrayList &arguments)
{
    QByteArray payload;
    for (const QByteArray &argument : arguments) {
        payload += argument;
        payload += '\0';
    }
    QByteArray message(headerSize, Qt::Uninitialized);
    qToBigEndian<quint32>(quint32(payload.size()), message.data());
    return message + payload;
}

SingleInstance::Launch SingleInstance::join(const QByteArray &path,
                                            const QByteArrayList &arguments,
                                            std::chrono::milliseconds patience)
{
    const QByteArray message = frame(arguments);
    if (message.size() - headerSize > qsizetype(maximumMessageSize))
        return {Outcome::alone, -1,
                L(QStringLiteral("Trop d’arguments pour le Plumeo déjà ouvert."),
                  QStringLiteral("Too many arguments for the running Plumeo."))};
    // Two rounds: a launch that finds the channel free may lose it to a launch started at the
    // same moment, and then hands its arguments to that one.
    for (int round = 0; round < 2; ++round) {
        const Attempt attempt = deliver(path, message, patience);
        switch (attempt.delivery) {
        case Delivery::delivered:
            return {Outcome::delivered, -1, {}};
        case Delivery::unanswered:
            return {Outcome::alone, -1, unansweredProblem(patience)};
        case Delivery::foreign:
            return {Outcome::alone, -1,
                    L(QStringLiteral("Le canal %1 est tenu par un autre utilisateur ; il n’est pas "
                                     "utilisé."),
                      QStringLiteral("The channel %1 is held by another user; it is not used."))
                        .arg(displayPath(path))};
        case Delivery::failed:
            return {Outcome::alone, -1,
                    L(QStringLiteral("Le canal %1 est inutilisable. %2"),
                      QStringLiteral("The channel %1 cannot be used. %2"))
                        .arg(displayPath(path), SystemError::describe(attempt.error))};
        case Delivery::absent:
        case Delivery::refused:
            break;
        }

        // Deciding who takes the channel happens under a lock, so that two launches finding the
        // same stale socket do not remove each other's fresh one.
        const Descriptor lock(
            ::open((path + ".lock").constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (lock.get() >= 0)
            while (::flock(lock.get(), LOCK_EX) != 0 && errno == EINTR) {
            }
        if (attempt.delivery == Delivery::refused && isStale(path))
            ::unlink(path.constData());
        const int listening = bindAndListen(path);
        if (listening >= 0)
            return {Outcome::listening, listening, {}};
        if (errno != EADDRINUSE)
            return {Outcome::alone, -1,
                    L(QStringLiteral("Le canal %1 n’a pas pu être ouvert. %2"),
                      QStringLiteral("The channel %1 couldn’t be opened. %2"))
                        .arg(displayPath(path), SystemError::describe(errno))};
    }
    return {Outcome::alone, -1, unansweredProblem(patience)};
}

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
{}

SingleInstance::~SingleInstance()
{
    close();
}

void SingleInstance::close()
{
    m_server->close();
    // Qt may already have removed the file; a socket another instance has since made at the same
    // path is not ours to remove.
    struct stat status;
    if (!m_path.isEmpty() && ::lstat(m_path.constData(), &status) == 0
        && quint64(status.st_dev) == m_device && quint64(status.st_ino) == m_inode)
        ::unlink(m_path.constData());
    m_path.clear();
}

bool SingleInstance::serve(const Launch &launch, const QByteArray &path, Receiver receiver)
{
    if (launch.outcome != Outcome::listening || launch.descriptor < 0)
        return false;
    struct stat status;
    if (::lstat(path.constData(), &status) == 0) {
        m_device = status.st_dev;
        m_inode = status.st_ino;
        m_path = path;
    }
    m_receiver = std::move(receiver);
    if (!m_server->listen(launch.descriptor))
        return false;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
    return true;
}

void SingleInstance::accept()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (peerUser(int(socket->socketDescriptor())) != ::geteuid()) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        struct Exchange
        {
            QByteArray buffer;
            std::optional<QByteArrayList> arguments;
        };
        auto exchange = std::make_shared<Exchange>();
        const auto read = [this, socket, exchange] {
            QByteArray &buffer = exchange->buffer;
            buffer.append(socket->readAll());
            if (!exchange->arguments) {
                if (buffer.size() < headerSize)
                    return;
                const quint32 length = qFromBigEndian<quint32>(buffer.constData());
                if (length > maximumMessageSize) {
                    socket->abort();
                    return;
                }
                if (buffer.size() < headerSize + qsizetype(length))
                    return;
                QByteArrayList arguments =
                    QByteArrayView(buffer).sliced(headerSize, length).toByteArray().split('\0');
                // Every argument ends with a NUL, so the split leaves one empty piece at the end.
                arguments.removeLast();
                exchange->arguments = std::move(arguments);
                buffer.remove(0, headerSize + length);
                socket->write(acknowledgement.data(), acknowledgement.size());
                socket->flush();
            }
            // The files are opened only once the launch confirms that it counts on this instance:
            // a launch that gave up waiting opens them itself, and they must not open twice.
            if (buffer.isEmpty())
                return;
            if (buffer.front() != confirmation) {
                socket->abort();
                return;
            }
            disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
            const QByteArrayList arguments = std::move(*exchange->arguments);
            socket->disconnectFromServer();
            if (m_receiver)
                m_receiver(arguments);
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        if (socket->bytesAvailable() > 0)
            read();
    }
}

} // namespace plumeo
