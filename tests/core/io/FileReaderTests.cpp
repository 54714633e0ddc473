#include "io/FileReader.h"
#include "io/NativePath.h"
#include "io/StreamReader.h"

#include <csignal>
#include <thread>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace plumeo;

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// Waits for the reader's result, keeping the event loop turning.
struct StreamResult
{
    QByteArray bytes;
    StreamReader::Outcome outcome = StreamReader::Outcome::failed;
};
StreamResult waitFor(StreamReader &reader, int timeoutMs = 20000)
{
    StreamResult result;
    bool done = false;
    QObject::connect(&reader, &StreamReader::finished, &reader,
                     [&](const QByteArray &bytes, StreamReader::Outcome outcome, int) {
                         result = {bytes, outcome};
                         done = true;
                     });
    QElapsedTimer timer;
    timer.start();
    while (!done && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(done) << "the stream reader never finished";
    return result;
}

QByteArray numberedLines(int count)
{
    QByteArray bytes;
    for (int k = 0; k < count; ++k)
        bytes += "line " + QByteArray::number(k) + '\n';
    return bytes;
}

} // namespace

TEST(FileReader, RefusesWhatIsNotAFileBeforeReadingIt)
{
    QTemporaryDir dir;
    EXPECT_EQ(FileReader::open(dir.path()).error().kind, FileReadError::Kind::isDirectory);
    EXPECT_EQ(FileReader::open(QStringLiteral("/dev/null")).error().kind,
              FileReadError::Kind::device);
    EXPECT_EQ(FileReader::open(QStringLiteral("/dev/zero")).error().kind,
              FileReadError::Kind::device);
    EXPECT_EQ(FileReader::open(dir.filePath(QStringLiteral("missing"))).error().kind,
              FileReadError::Kind::notFound);

    const QString socketPath = dir.filePath(QStringLiteral("s"));
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, native(socketPath).constData(), sizeof address.sun_path);
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    EXPECT_EQ(FileReader::open(socketPath).error().kind, FileReadError::Kind::socket);
    ::close(server);
}

TEST(FileReader, SizeIsCheckedBeforeAnyAllocation)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sparse.log"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("header line\n");
        ASSERT_TRUE(file.resize(qint64(2) << 30)); // 2 GiB, nearly all of it a hole
    }
    const auto refused = FileReader::readRegularFile(path);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().kind, FileReadError::Kind::tooLarge);
    EXPECT_EQ(refused.error().size, qint64(2) << 30);
    EXPECT_LE(refused.error().limit, qint64(1) << 30);
    EXPECT_GE(FileReader::sizeLimit(), qint64(16) << 20);

    // Under an explicit limit: exactly the limit is fine, one byte more is not.
    const QString small = dir.filePath(QStringLiteral("small.txt"));
    {
        QFile file(small);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(1000, 'x'));
    }
    FileIdentity identity;
    const auto read = FileReader::readRegularFile(small, &identity, 1000);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value().size(), 1000);
    EXPECT_EQ(identity.size, 1000);
    EXPECT_EQ(FileReader::readRegularFile(small, nullptr, 999).error().kind,
              FileReadError::Kind::tooLarge);
}

TEST(FileReader, AFifoWithoutAWriterOpensAtOnceAndIsReadWholeOffTheMainThread)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(native(fifo).constData(), 0600), 0);

    auto opened = FileReader::open(fifo); // would block forever without O_NONBLOCK
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened.value().kind(), OpenedFile::Kind::stream);

    StreamReader reader(std::move(opened.value()), 1 << 30);
    reader.start();
    // The writer comes late and writes in pieces, pausing: nothing is lost and the first pause is
    // not taken for the end.
    const QByteArray expected = numberedLines(20000); // about 200 KB, more than a pipe holds
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const int fd = ::open(native(fifo).constData(), O_WRONLY);
        for (qsizetype at = 0; at < expected.size(); at += 7000) {
            const QByteArray piece = expected.mid(at, 7000);
            qsizetype done = 0;
            while (done < piece.size())
                done += ::write(fd, piece.constData() + done, size_t(piece.size() - done));
            if (at == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        ::close(fd);
    });
    const StreamResult result = waitFor(reader);
    writer.join();
    EXPECT_EQ(result.outcome, StreamReader::Outcome::complete);
    EXPECT_EQ(result.bytes, expected);
}

TEST(FileReader, APipeNamedByPathLosesNothing)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const QByteArray expected = numberedLines(12000); // over 100 KB
    std::thread writer([&] {
        qsizetype done = 0;
        while (done < expected.size())
            done += ::write(ends[1], expected.constData() + done, size_t(expected.size() - done));
        ::close(ends[1]);
    });
    // What `plumeo /dev/stdin` and `plumeo <(cmd)` are given.
    auto opened = FileReader::open(QStringLiteral("/proc/self/fd/%1").arg(ends[0]));
    ASSERT_TRUE(opened);
    StreamReader reader(std::move(opened.value()), 1 << 30);
    reader.start();
    const StreamResult result = waitFor(reader);
    writer.join();
    ::close(ends[0]);
    EXPECT_EQ(result.outcome, StreamReader::Outcome::complete);
    EXPECT_EQ(result.bytes.size(), expected.size());
    EXPECT_EQ(result.bytes, expected);
}

TEST(FileReader, AnEndlessStreamStopsAtTheLimitAndCancelEndsAWait)
{
    std::signal(SIGPIPE, SIG_IGN); // the endless writer's last write hits a closed pipe
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        const QByteArray yes = QByteArray("y\n").repeated(4096);
        while (!stop && ::write(ends[1], yes.constData(), size_t(yes.size())) > 0) {
        }
    });
    {
        auto opened = FileReader::open(QStringLiteral("/proc/self/fd/%1").arg(ends[0]));
        ASSERT_TRUE(opened);
        StreamReader reader(std::move(opened.value()), 3 << 20);
        reader.start();
        const StreamResult result = waitFor(reader);
        EXPECT_EQ(result.outcome, StreamReader::Outcome::limitReached);
        EXPECT_EQ(result.bytes.size(), 3 << 20);
        EXPECT_TRUE(result.bytes.startsWith("y\ny\n"));
    }
    stop = true;
    ::close(ends[0]); // the writer gets EPIPE and ends
    writer.join();
    ::close(ends[1]);

    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("silent"));
    ASSERT_EQ(::mkfifo(native(fifo).constData(), 0600), 0);
    auto opened = FileReader::open(fifo);
    ASSERT_TRUE(opened);
    StreamReader reader(std::move(opened.value()), 1 << 20);
    reader.start();
    QTimer::singleShot(100, &reader, [&] { reader.cancel(); });
    const StreamResult cancelled = waitFor(reader);
    EXPECT_EQ(cancelled.outcome, StreamReader::Outcome::cancelled);
    EXPECT_TRUE(cancelled.bytes.isEmpty());
}
