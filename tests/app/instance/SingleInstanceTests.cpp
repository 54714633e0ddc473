#include "AppDelegate.h"
#include "SingleInstance.h"
#include "io/NativePath.h"

#include <atomic>
#include <cstring>
#include <optional>
#include <thread>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace plumeo;
using namespace std::chrono_literals;

namespace {

constexpr uid_t nobody = 65534;

// Sets environment variables for one test and restores them after.
class Environment
{
public:
    ~Environment()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->second)
                qputenv(it->first.constData(), *it->second);
            else
                qunsetenv(it->first.constData());
        }
    }
    void set(const QByteArray &name, const std::optional<QByteArray> &value)
    {
        m_saved.emplace_back(name, qEnvironmentVariableIsSet(name.constData())
                                       ? std::optional(qgetenv(name.constData()))
                                       : std::nullopt);
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }

private:
    std::vector<std::pair<QByteArray, std::optional<QByteArray>>> m_saved;
};

QByteArray bytes(const QTemporaryDir &dir)
{
    return QFile::encodeName(dir.path());
}

sockaddr_un addressOf(const QByteArray &path)
{
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return address;
}

int listeningSocket(const QByteArray &path)
{
    const sockaddr_un address = addressOf(path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || ::listen(fd, 4) != 0)
        return -1;
    return fd;
}

int connectedSocket(const QByteArray &path)
{
    const sockaddr_un address = addressOf(path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
        return -1;
    return fd;
}

ino_t inodeOf(const QByteArray &path)
{
    struct stat status;
    return ::lstat(path.constData(), &status) == 0 ? status.st_ino : 0;
}

// Runs work on another thread while this one serves the event loop, as a second launch would.
template <typename Work> auto whileServing(Work work)
{
    std::atomic<bool> done = false;
    decltype(work()) result{};
    std::thread thread([&] {
        result = work();
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 30000));
    thread.join();
    return result;
}

// An instance serving a channel in a private folder, recording what it receives.
class ChannelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        path = bytes(folder) + "/channel";
    }

    void becomeInstance()
    {
        const SingleInstance::Launch launch = SingleInstance::join(path, {}, 1s);
        ASSERT_EQ(launch.outcome, SingleInstance::Outcome::listening) << qPrintable(launch.problem);
        ASSERT_TRUE(instance.serve(launch, path, [this](const QByteArrayList &arguments) {
            received.append(arguments);
            if (onReceive)
                onReceive();
        }));
    }

    SingleInstance::Outcome sendFromAnotherLaunch(const QByteArrayList &arguments,
                                                  std::chrono::milliseconds patience = 10s)
    {
        const qsizetype before = received.size();
        const SingleInstance::Outcome outcome =
            whileServing([&] { return SingleInstance::join(path, arguments, patience).outcome; });
        // The instance acts on the launch's confirmation, which may still be on its way.
        if (outcome == SingleInstance::Outcome::delivered) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() > before; }, 10000));
        }
        return outcome;
    }

    QTemporaryDir folder;
    QByteArray path;
    SingleInstance instance;
    QList<QByteArrayList> received;
    std::function<void()> onReceive;
};

} // namespace

TEST(SingleInstanceChannel, LivesInAFolderOnlyThisUserMayEnter)
{
    QTemporaryDir temporary;
    Environment environment;
    environment.set("XDG_RUNTIME_DIR", std::nullopt);
    environment.set("TMPDIR", bytes(temporary));
    const QByteArray ownFolder = bytes(temporary) + "/plumeo-" + QByteArray::number(::geteuid());

    QString problem;
    std::optional<QByteArray> path = SingleInstance::channelPath(&problem);
    ASSERT_TRUE(path) << qPrintable(problem);
    EXPECT_TRUE(path->startsWith(ownFolder + "/plumeo-"));
    struct stat status;
    ASSERT_EQ(::lstat(ownFolder.constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);

    // Open to others: anyone could have put a socket there first.
    ASSERT_EQ(::chmod(ownFolder.constData(), 0777), 0);
    problem.clear();
    EXPECT_FALSE(SingleInstance::channelPath(&problem));
    EXPECT_FALSE(problem.isEmpty());
    ASSERT_EQ(::chmod(ownFolder.constData(), 0700), 0);

    // A symbolic link to a private folder of ours is still someone's choice of folder.
    QTemporaryDir target;
    ASSERT_EQ(::rmdir(ownFolder.constData()), 0);
    ASSERT_EQ(::symlink(bytes(target).constData(), ownFolder.constData()), 0);
    EXPECT_FALSE(SingleInstance::channelPath(&problem));
    ASSERT_EQ(::unlink(ownFolder.constData()), 0);

    // $XDG_RUNTIME_DIR is held to the same rule.
    QTemporaryDir runtime;
    environment.set("XDG_RUNTIME_DIR", bytes(runtime));
    path = SingleInstance::channelPath(&problem);
    ASSERT_TRUE(path) << qPrintable(problem);
    EXPECT_TRUE(path->startsWith(bytes(runtime) + "/plumeo-"));
    ASSERT_EQ(::chmod(bytes(runtime).constData(), 0755), 0);
    EXPECT_FALSE(SingleInstance::channelPath(&problem));

    // The socket an earlier version kept at the folder's name gives way to the folder.
    environment.set("XDG_RUNTIME_DIR", std::nullopt);
    const int old = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, ownFolder.constData(), sizeof address.sun_path);
    ASSERT_EQ(::bind(old, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ::close(old);
    path = SingleInstance::channelPath(&problem);
    ASSERT_TRUE(path) << qPrintable(problem);
    EXPECT_TRUE(path->startsWith(ownFolder + "/plumeo-"));

    // A folder of another user at our folder's name.
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to make a folder of another user";
    ASSERT_EQ(::chown(ownFolder.constData(), nobody, nobody), 0);
    problem.clear();
    EXPECT_FALSE(SingleInstance::channelPath(&problem));
    EXPECT_TRUE(problem.contains(QFile::decodeName(ownFolder))) << qPrintable(problem);
}

TEST(SingleInstanceChannel, IsOneChannelPerDisplayAndSettingsFolder)
{
    QTemporaryDir runtime;
    Environment environment;
    environment.set("XDG_RUNTIME_DIR", bytes(runtime));
    environment.set("WAYLAND_DISPLAY", std::nullopt);
    environment.set("DISPLAY", ":1");
    environment.set("PLUMEO_CONFIG_DIR", "/home/someone/.config/plumeo");
    QString problem;
    const auto first = SingleInstance::channelPath(&problem);
    ASSERT_TRUE(first) << qPrintable(problem);
    EXPECT_EQ(SingleInstance::channelPath(&problem), first);

    environment.set("DISPLAY", ":2");
    const auto otherDisplay = SingleInstance::channelPath(&problem);
    EXPECT_NE(otherDisplay, first);

    environment.set("DISPLAY", ":1");
    environment.set("WAYLAND_DISPLAY", "wayland-0");
    EXPECT_NE(SingleInstance::channelPath(&problem), first);

    environment.set("WAYLAND_DISPLAY", std::nullopt);
    environment.set("PLUMEO_CONFIG_DIR", "/tmp/other-settings");
    EXPECT_NE(SingleInstance::channelPath(&problem), first);

    EXPECT_NE(SingleInstance::channelName("", ":1", "/a"),
              SingleInstance::channelName(":1", "", "/a"));
}

TEST_F(ChannelTest, ALargeMessageArrivesWhole)
{
    becomeInstance();
    QByteArrayList arguments = {"--lang", "fr"};
    for (int at = 0; at < 1300; ++at)
        arguments.append("/home/someone/projects/" + QByteArray(200, 'a' + at % 26) + "/caf\xe9-"
                         + QByteArray::number(at) + ".txt");
    ASSERT_GT(SingleInstance::frame(arguments).size(), 300'000);

    EXPECT_EQ(sendFromAnotherLaunch(arguments), SingleInstance::Outcome::delivered);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0], arguments);
}

TEST_F(ChannelTest, AMessageWrittenInPiecesArrivesWhole)
{
    becomeInstance();
    const QByteArrayList arguments = {"/tmp/first.txt", "/tmp/second \xff.txt", ""};
    const QByteArray message = SingleInstance::frame(arguments);
    const QByteArray answer = whileServing([&] {
        const int fd = connectedSocket(path);
        qsizetype from = 0;
        // The length split in two, then the payload in three, with pauses between.
        for (const qsizetype cut :
             {qsizetype(2), qsizetype(4), qsizetype(9), message.size() - 3, message.size()}) {
            if (::write(fd, message.constData() + from, size_t(cut - from)) != cut - from)
                return QByteArray("write failed");
            from = cut;
            std::this_thread::sleep_for(100ms);
        }
        char buffer[8] = {};
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        (void)::write(fd, "g", 1);
        ::close(fd);
        return QByteArray(buffer, int(std::max<ssize_t>(count, 0)));
    });
    EXPECT_EQ(answer, "ok");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !received.isEmpty(); }, 10000));
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0], arguments);
}

TEST_F(ChannelTest, AnOversizedMessageIsRefused)
{
    becomeInstance();
    const QByteArray answer = whileServing([&] {
        const int fd = connectedSocket(path);
        char header[4];
        qToBigEndian<quint32>(SingleInstance::maximumMessageSize + 1, header);
        (void)::write(fd, header, sizeof header);
        char buffer[8] = {};
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        ::close(fd);
        return QByteArray(buffer, int(std::max<ssize_t>(count, 0)));
    });
    EXPECT_EQ(answer, "");
    EXPECT_TRUE(received.isEmpty());
}

TEST_F(ChannelTest, ABusyInstanceIsWaitedForNotReplaced)
{
    becomeInstance();
    const ino_t socketFile = inodeOf(path);
    std::atomic<SingleInstance::Outcome> second = SingleInstance::Outcome::alone;
    std::thread secondLaunch;
    // The first message keeps the instance busy for 2 s (a large file, a FIFO), during which a
    // second launch arrives.
    onReceive = [&] {
        if (received.size() != 1)
            return;
        secondLaunch =
            std::thread([&] { second = SingleInstance::join(path, {"/tmp/second.txt"}).outcome; });
        std::this_thread::sleep_for(2s);
    };
    EXPECT_EQ(sendFromAnotherLaunch({"/tmp/first.txt"}), SingleInstance::Outcome::delivered);
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() == 2; }, 15000));
    secondLaunch.join();

    EXPECT_EQ(second.load(), SingleInstance::Outcome::delivered);
    ASSERT_EQ(received.size(), 2);
    EXPECT_EQ(received[1], QByteArrayList{"/tmp/second.txt"});
    EXPECT_EQ(inodeOf(path), socketFile);
}

TEST_F(ChannelTest, FilesOfALaunchThatGaveUpAreNotOpenedByTheInstanceToo)
{
    becomeInstance();
    SingleInstance::Outcome late = SingleInstance::Outcome::delivered;
    // The instance stays busy with the first message until a second launch has given up on it
    // and opened its files itself.
    onReceive = [&] {
        if (received.size() == 1)
            std::thread([&] {
                late = SingleInstance::join(path, {"/tmp/late.txt"}, 300ms).outcome;
            }).join();
    };
    EXPECT_EQ(sendFromAnotherLaunch({"/tmp/first.txt"}), SingleInstance::Outcome::delivered);
    EXPECT_EQ(late, SingleInstance::Outcome::alone);
    // A third launch, served after the one that gave up.
    EXPECT_EQ(sendFromAnotherLaunch({"/tmp/third.txt"}), SingleInstance::Outcome::delivered);
    EXPECT_EQ(received, (QList<QByteArrayList>{{"/tmp/first.txt"}, {"/tmp/third.txt"}}));
}

TEST_F(ChannelTest, AnInstanceThatNeverAnswersKeepsItsChannel)
{
    // Listens but never accepts: connections wait in its backlog.
    const int silent = listeningSocket(path);
    ASSERT_GE(silent, 0);
    const ino_t socketFile = inodeOf(path);

    const SingleInstance::Launch launch = SingleInstance::join(path, {"/tmp/a.txt"}, 300ms);
    EXPECT_EQ(launch.outcome, SingleInstance::Outcome::alone);
    EXPECT_FALSE(launch.problem.isEmpty());
    EXPECT_EQ(inodeOf(path), socketFile);
    ::close(silent);
}

TEST_F(ChannelTest, ASocketNobodyListensOnIsReplaced)
{
    // What a crashed instance leaves: the file, and nothing behind it.
    ::close(listeningSocket(path));
    ASSERT_NE(inodeOf(path), ino_t(0));
    becomeInstance();
    EXPECT_EQ(sendFromAnotherLaunch({"/tmp/a.txt"}), SingleInstance::Outcome::delivered);
    ASSERT_EQ(received.size(), 1);
}

TEST_F(ChannelTest, AnotherUsersListenerGetsNothing)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to run a process as another user";
    ASSERT_EQ(::chmod(folder.path().toLocal8Bit().constData(), 0777), 0);
    int ready[2];
    int report[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(report), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A squatter of another user listening on the channel, counting what it is sent.
        if (::setresgid(nobody, nobody, nobody) != 0 || ::setresuid(nobody, nobody, nobody) != 0)
            ::_exit(2);
        const int fd = listeningSocket(path);
        (void)::write(ready[1], "r", 1);
        const int connection = ::accept(fd, nullptr, nullptr);
        long total = 0;
        char buffer[4096];
        for (ssize_t count; (count = ::read(connection, buffer, sizeof buffer)) > 0;)
            total += count;
        (void)::write(report[1], &total, sizeof total);
        ::_exit(0);
    }
    char byte;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);

    const SingleInstance::Launch launch = SingleInstance::join(path, {"/home/secret.txt"}, 2s);
    EXPECT_EQ(launch.outcome, SingleInstance::Outcome::alone);
    EXPECT_FALSE(launch.problem.isEmpty());
    long total = -1;
    ASSERT_EQ(::read(report[0], &total, sizeof total), ssize_t(sizeof total));
    EXPECT_EQ(total, 0);
    int status = 0;
    ::waitpid(child, &status, 0);
    for (const int fd : {ready[0], ready[1], report[0], report[1]})
        ::close(fd);
}

TEST_F(ChannelTest, AnotherUsersLaunchIsDropped)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to run a process as another user";
    ASSERT_EQ(::chmod(folder.path().toLocal8Bit().constData(), 0777), 0);
    becomeInstance();
    ASSERT_EQ(::chmod(path.constData(), 0777), 0);
    const QByteArray message = SingleInstance::frame({"/tmp/planted.txt"});
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setresgid(nobody, nobody, nobody) != 0 || ::setresuid(nobody, nobody, nobody) != 0)
            ::_exit(2);
        const int fd = connectedSocket(path);
        if (fd < 0)
            ::_exit(3);
        (void)::write(fd, message.constData(), size_t(message.size()));
        char buffer[8];
        ::_exit(::read(fd, buffer, sizeof buffer) > 0 ? 4 : 0);
    }
    int status = -1;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 10000));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(received.isEmpty());
}

TEST(LaunchArguments, FileNamesBecomeAbsoluteAndOptionsStay)
{
    const QString latin1 = NativePath::decode("caf\xe9.txt");
    const QStringList arguments = {
        QStringLiteral("--lang"),   QStringLiteral("fr"),         latin1,
        QStringLiteral("../b.txt"), QStringLiteral("/etc/hosts"), QStringLiteral("--snapshot"),
        QStringLiteral("out.png"),  QStringLiteral("in.txt")};
    const QString folder = NativePath::decode("/home/\xff");
    const QStringList absolute = AppDelegate::withAbsoluteFiles(arguments, folder);
    EXPECT_EQ(absolute, (QStringList{QStringLiteral("--lang"), QStringLiteral("fr"),
                                     folder + u'/' + latin1, QStringLiteral("/home/b.txt"),
                                     QStringLiteral("/etc/hosts"), QStringLiteral("--snapshot"),
                                     QStringLiteral("out.png"), QStringLiteral("in.txt")}));
    EXPECT_EQ(NativePath::encode(absolute[2]), QByteArray("/home/\xff/caf\xe9.txt"));
}

TEST(LaunchArguments, DescriptorsOfTheLaunchingProcessStayWithIt)
{
    const auto owns = [](const QStringList &arguments) {
        return AppDelegate::namesOwnDescriptors(arguments);
    };
    EXPECT_TRUE(owns({QStringLiteral("/dev/stdin")}));
    EXPECT_TRUE(owns({QStringLiteral("/tmp/a.txt"), QStringLiteral("/dev/fd/63")}));
    EXPECT_TRUE(owns({QStringLiteral("/proc/self/fd/0")}));
    EXPECT_TRUE(owns({QStringLiteral("/proc/%1/fd/5").arg(QCoreApplication::applicationPid())}));
    // A named FIFO is a file anyone may open: the running instance reads it.
    EXPECT_FALSE(owns({QStringLiteral("/tmp/feed")}));
    EXPECT_FALSE(owns({QStringLiteral("/proc/1/status")}));
    // Option values are not files.
    EXPECT_FALSE(owns({QStringLiteral("--lang"), QStringLiteral("/dev/stdin")}));
}

// An instance that is ending closes its channel before starting its successor (an update): the
// successor must become the instance, not hand its launch to the one going away.
TEST_F(ChannelTest, AClosedInstanceLetsTheNextLaunchTakeTheChannel)
{
    becomeInstance();
    instance.close();
    EXPECT_EQ(inodeOf(path), ino_t(0));
    const SingleInstance::Launch next = SingleInstance::join(path, {"/tmp/a.txt"}, 1s);
    EXPECT_EQ(next.outcome, SingleInstance::Outcome::listening) << qPrintable(next.problem);
    EXPECT_TRUE(received.isEmpty());
    if (next.descriptor >= 0)
        ::close(next.descriptor);
}
