#include "io/StreamReader.h"

#include <cerrno>
#include <new>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace plumeo {

StreamReader::StreamReader(OpenedFile file, qint64 limit, QObject *parent)
    : QObject(parent)
    , m_file(std::move(file))
    , m_limit(limit)
{
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        m_wake[0] = m_wake[1] = -1;
}

StreamReader::~StreamReader()
{
    cancel();
    if (m_worker.joinable())
        m_worker.join();
    for (int fd : m_wake)
        if (fd >= 0)
            ::close(fd);
}

void StreamReader::start()
{
    Q_ASSERT(!m_worker.joinable());
    m_worker = std::thread([this] { run(); });
}

void StreamReader::cancel()
{
    if (m_wake[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t ignored = ::write(m_wake[1], &byte, 1);
    }
}

void StreamReader::run()
{
    QByteArray bytes;
    Outcome outcome = Outcome::complete;
    int error = 0;
    const int fd = m_file.descriptor();
    try {
        qint64 filled = 0;
        for (;;) {
            // Linux reports no hang-up on a FIFO that never had a writer, so this waits for the
            // first one instead of taking the empty FIFO for an empty file.
            pollfd fds[2] = {{fd, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            const int ready = ::poll(fds, m_wake[0] >= 0 ? 2 : 1, -1);
            if (ready < 0) {
                if (errno == EINTR)
                    continue;
                error = errno;
                outcome = Outcome::failed;
                break;
            }
            if (m_wake[0] >= 0 && (fds[1].revents & POLLIN)) {
                outcome = Outcome::cancelled;
                break;
            }
            if (fds[0].revents & POLLNVAL) {
                error = EBADF;
                outcome = Outcome::failed;
                break;
            }
            bool ended = false;
            // Drain what is there; a read of 0 after a readiness report is the end of the data.
            for (;;) {
                if (filled == m_limit) {
                    outcome = Outcome::limitReached;
                    ended = true;
                    break;
                }
                if (bytes.size() - filled < 65536)
                    bytes.resize(
                        std::min<qint64>(m_limit, std::max<qint64>(bytes.size() * 2, 65536)));
                const ssize_t got =
                    ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
                if (got > 0) {
                    filled += got;
                    m_bytesRead.store(filled, std::memory_order_relaxed);
                    continue;
                }
                if (got == 0) {
                    ended = true;
                } else if (errno == EINTR) {
                    continue;
                } else if (errno != EAGAIN) {
                    error = errno;
                    outcome = Outcome::failed;
                    ended = true;
                }
                break;
            }
            if (ended)
                break;
        }
        bytes.truncate(filled);
    } catch (const std::bad_alloc &) {
        bytes.truncate(m_bytesRead.load());
        outcome = Outcome::limitReached;
    }
    m_file = OpenedFile(-1, {}, OpenedFile::Kind::stream);
    QMetaObject::invokeMethod(
        this,
        [this, bytes = std::move(bytes), outcome, error] {
            Q_EMIT finished(bytes, outcome, error);
        },
        Qt::QueuedConnection);
}

} // namespace plumeo
