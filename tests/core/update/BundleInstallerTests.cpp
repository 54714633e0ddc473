#include "UpdateTestSupport.h"
#include "update/BundleInstaller.h"
#include "update/BundleSignature.h"
#include "update/SigningKey.h"
#include "update/UpdateInstallation.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <pwd.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace plumeo;

namespace {

class BundleInstallerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        key = SigningKey::generate();
        ASSERT_TRUE(key);
        installed = dir.filePath(QStringLiteral("Applications/Plumeo.app"));
        incoming = dir.filePath(QStringLiteral("work/extracted/Plumeo.app"));
        makeBundle(installed, bundleFiles("1.0"), key);
        makeBundle(incoming, bundleFiles("2.0"), key);
        before = snapshotOf(installed);
    }

    QByteArray versionAt(const QString &bundle) const
    {
        QFile file(bundle + QStringLiteral("/share/plumeo/version"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Nothing left beside the destination but the destination itself.
    void expectNoLeftovers(const QString &destination) const
    {
        const QFileInfo info(destination);
        EXPECT_EQ(
            QDir(info.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList{info.fileName()});
    }

    QTemporaryDir dir;
    std::optional<SigningKey> key;
    QString installed, incoming;
    QMap<QString, QByteArray> before;
};

} // namespace

TEST_F(BundleInstallerTest, ReplacesTheBundleWholeBothWays)
{
    for (bool exchange : {true, false}) {
        SCOPED_TRACE(exchange);
        makeBundle(installed, bundleFiles("1.0"), key);
        BundleInstaller installer(installed);
        installer.setAtomicExchange(exchange);
        const auto result = installer.install(incoming, key->publicKey());
        ASSERT_TRUE(result.hasValue()) << result.error().errorDescription().toStdString();
        EXPECT_EQ(versionAt(installed), "2.0");
        EXPECT_TRUE(BundleSignature::verify(installed, key->publicKey()).hasValue());
        expectNoLeftovers(installed);
    }
    // A first installation, into a folder that does not exist yet.
    const QString fresh = dir.filePath(QStringLiteral("home/Applications/Plumeo.app"));
    ASSERT_TRUE(BundleInstaller(fresh).install(incoming, key->publicKey()).hasValue());
    EXPECT_EQ(versionAt(fresh), "2.0");
}

TEST_F(BundleInstallerTest, RefusesABundleChangedAfterItsCheck)
{
    const std::optional<SigningKey> other = SigningKey::generate();
    makeBundle(incoming, bundleFiles("2.0"), other);
    const auto result = BundleInstaller(installed).install(incoming, key->publicKey());
    ASSERT_FALSE(result.hasValue());
    EXPECT_EQ(result.error().kind(), UpdaterError::teamIdentifierMismatch);
    EXPECT_EQ(snapshotOf(installed), before);
    expectNoLeftovers(installed);
}

TEST_F(BundleInstallerTest, HostileDestinationNamesReachNoShell)
{
    // Quotes, $, back-quotes, a newline and a command that would leave a trace if a shell ever
    // read the name.
    const QString trace = dir.filePath(QStringLiteral("pwned"));
    const QString name =
        QStringLiteral("A b'\"$(touch %1)`touch %1`$HOME\n;touch %1;.app").arg(trace);
    const QString destination = dir.filePath(QStringLiteral("Apps/") + name);
    makeBundle(destination, bundleFiles("1.0"), key);
    const QString marker = dir.filePath(QStringLiteral("relaunched"));
    // The new bundle's program records the path it was started as.
    makeBundle(incoming,
               {{QStringLiteral("bin/plumeo"),
                 "#!/bin/sh\nprintf '%s' \"$0\" > '" + marker.toUtf8() + "'\n"}},
               key);
    ASSERT_TRUE(BundleInstaller(destination).install(incoming, key->publicKey()).hasValue());
    ASSERT_TRUE(UpdateInstallation::startDetached(destination));
    ASSERT_TRUE(waitUntil([&] { return QFileInfo(marker).size() > 0; }));
    QFile recorded(marker);
    ASSERT_TRUE(recorded.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(recorded.readAll()), destination + QStringLiteral("/bin/plumeo"));
    EXPECT_FALSE(QFileInfo::exists(trace));
    expectNoLeftovers(destination);
}

TEST_F(BundleInstallerTest, NoWritePermissionLeavesTheBundleUntouched)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as the user nobody";
    const passwd *nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    // nobody may read everything but write nowhere near the destination.
    for (const QString &path : {dir.path(), dir.filePath(QStringLiteral("work")),
                                dir.filePath(QStringLiteral("work/extracted"))})
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOther | QFile::ReadOther);
    // The child must not need the settings file, which nobody may not read.
    Localization::current();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setresgid(nobody->pw_gid, nobody->pw_gid, nobody->pw_gid) != 0
            || ::setresuid(nobody->pw_uid, nobody->pw_uid, nobody->pw_uid) != 0)
            ::_exit(3);
        const auto result = BundleInstaller(installed).install(incoming, std::nullopt);
        ::_exit(result.hasValue()                                           ? 0
                : result.error().kind() == UpdaterError::installationFailed ? 1
                                                                            : 2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(snapshotOf(installed), before);
    expectNoLeftovers(installed);
}

TEST_F(BundleInstallerTest, FullDiskDuringTheCopyLeavesTheBundleUntouched)
{
    const QString mountPoint = dir.filePath(QStringLiteral("small"));
    QDir().mkpath(mountPoint);
    if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    struct Unmount
    {
        QByteArray path;
        ~Unmount() { ::umount2(path.constData(), MNT_DETACH); }
    } unmount{QFile::encodeName(mountPoint)};

    const QString destination = mountPoint + QStringLiteral("/Plumeo.app");
    makeBundle(destination, bundleFiles("1.0"), key);
    const QMap<QString, QByteArray> small = snapshotOf(destination);
    QByteArray big(300 * 1024, '\0');
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char((i * 7919) >> 3);
    makeBundle(incoming, {{QStringLiteral("share/plumeo/big"), big}}, key);

    const auto result = BundleInstaller(destination).install(incoming, key->publicKey());
    ASSERT_FALSE(result.hasValue());
    EXPECT_EQ(result.error().kind(), UpdaterError::installationFailed);
    EXPECT_EQ(snapshotOf(destination), small);
    expectNoLeftovers(destination);
}

TEST_F(BundleInstallerTest, AProcessKilledAnywhereLeavesOneCompleteBundle)
{
    using Step = BundleInstaller::Step;
    for (bool exchange : {true, false}) {
        for (Step stop : {Step::staged, Step::oldMovedAside, Step::swapped, Step::done}) {
            SCOPED_TRACE(testing::Message() << "exchange " << exchange << ", step " << int(stop));
            makeBundle(installed, bundleFiles("1.0"), key);
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                BundleInstaller installer(installed);
                installer.setAtomicExchange(exchange);
                installer.setCheckpoint([stop](Step step) {
                    if (step == stop)
                        ::kill(::getpid(), SIGKILL);
                });
                const auto result = installer.install(incoming, key->publicKey());
                ::_exit(result.hasValue() ? 0 : 1);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            // With the exchange there is no moment with the old bundle aside: that step never
            // comes.
            const bool reached = !(exchange && stop == Step::oldMovedAside);
            EXPECT_EQ(WIFSIGNALED(status), reached);

            // The next launch.
            BundleInstaller::recover(installed);
            const QByteArray version = versionAt(installed);
            EXPECT_TRUE(version == "1.0" || version == "2.0") << version.constData();
            EXPECT_EQ(version == "2.0", stop == Step::swapped || stop == Step::done || !reached);
            EXPECT_TRUE(BundleSignature::verify(installed, key->publicKey()).hasValue());
            expectNoLeftovers(installed);
        }
    }
    // Killed while copying: a half-made staging folder beside an intact bundle.
    makeBundle(installed, bundleFiles("1.0"), key);
    makeBundle(BundleInstaller(installed).stagingPath(), {{QStringLiteral("bin/plum"), "#!"}},
               std::nullopt);
    BundleInstaller::recover(installed);
    EXPECT_EQ(versionAt(installed), "1.0");
    expectNoLeftovers(installed);
}
