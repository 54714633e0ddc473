#include "core/io/IoTestSupport.h"
#include "session/AutosaveStore.h"

#include <csignal>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>

using namespace plumeo;
using plumeo::testing::entries;
using plumeo::testing::readBytes;
using plumeo::testing::writeBytes;

namespace {

class AutosaveStoreTest : public ::testing::Test
{
protected:
    QString root() const { return dir.filePath(QStringLiteral("state/autosave")); }

    std::unique_ptr<AutosaveStore> claim()
    {
        auto claimed = AutosaveStore::claimNew(root());
        EXPECT_TRUE(claimed);
        return claimed ? std::move(claimed.value()) : nullptr;
    }

    QTemporaryDir dir;
};

// A child process that claims a folder under root, writes one autosave holding text, tells the
// parent (one byte on a pipe) and waits to be killed: another running Plumeo.
pid_t startOtherProcess(const QString &root, const QByteArray &text)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        auto store = AutosaveStore::claimNew(root);
        if (!store || !store.value()->write(QStringLiteral("document-1"), text))
            ::_exit(1);
        if (::write(ready[1], "r", 1) != 1)
            ::_exit(1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char byte = 0;
    const bool started = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    if (!started && child > 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        return -1;
    }
    return child;
}

} // namespace

TEST_F(AutosaveStoreTest, WritesWholeFilesOfItsOwnAndLeavesNothingBehind)
{
    auto store = claim();
    ASSERT_TRUE(store);
    EXPECT_TRUE(store->folder().startsWith(root() + u'/'));
    EXPECT_EQ(plumeo::testing::statOf(store->folder()).st_mode & 0777, 0700u);
    ASSERT_TRUE(store->write(QStringLiteral("document-1"), "first"));
    ASSERT_TRUE(store->write(QStringLiteral("document-1"), "second, longer"));
    EXPECT_EQ(readBytes(store->pathFor(QStringLiteral("document-1"))), "second, longer");
    EXPECT_EQ(plumeo::testing::statOf(store->pathFor(QStringLiteral("document-1"))).st_mode & 0777,
              0600u);
    // The lock and the one file: no temporary file is left.
    EXPECT_EQ(entries(store->folder()), QStringList({QStringLiteral("document-1.plumeo-autosave"),
                                                     QStringLiteral("owner.lock")}));
    store->remove(QStringLiteral("document-1"));
    EXPECT_TRUE(store->entries().isEmpty());

    // A folder left empty goes with its owner; one with autosaves stays for recovery.
    const QString emptyFolder = store->folder();
    store.reset();
    EXPECT_FALSE(QFileInfo::exists(emptyFolder));
    auto keeper = claim();
    ASSERT_TRUE(keeper->write(QStringLiteral("document-2"), "kept"));
    const QString kept = keeper->folder();
    keeper.reset();
    EXPECT_EQ(readBytes(kept + QStringLiteral("/document-2.plumeo-autosave")), "kept");
}

TEST_F(AutosaveStoreTest, TwoProcessesNeverShareOrOfferEachOthersFiles)
{
    auto mine = claim();
    ASSERT_TRUE(mine->write(QStringLiteral("document-1"), "mine"));
    const pid_t other = startOtherProcess(root(), "theirs");
    ASSERT_GT(other, 0);

    // Both live: each has its own folder, and nothing is an orphan.
    const QStringList folders = entries(root());
    EXPECT_EQ(folders.size(), 2);
    EXPECT_TRUE(AutosaveStore::claimOrphans(root()).empty());
    EXPECT_EQ(readBytes(mine->pathFor(QStringLiteral("document-1"))), "mine");

    // Once it is killed, its file (and only its) is offered, to one claimant at a time.
    ::kill(other, SIGKILL);
    ::waitpid(other, nullptr, 0);
    auto orphans = AutosaveStore::claimOrphans(root());
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_NE(orphans[0]->folder(), mine->folder());
    ASSERT_EQ(orphans[0]->entries().size(), 1);
    EXPECT_EQ(readBytes(orphans[0]->entries()[0]), "theirs");
    EXPECT_TRUE(AutosaveStore::claimOrphans(root()).empty());

    // Recovered and removed: the dead process's folder goes with its claim.
    const QString theirs = orphans[0]->folder();
    AutosaveStore::removeFile(orphans[0]->entries()[0]);
    orphans.clear();
    EXPECT_FALSE(QFileInfo::exists(theirs));
}

TEST_F(AutosaveStoreTest, HostileFoldersAreBoundedAndNeverFollowed)
{
    QDir().mkpath(root());
    // Many dead owners, a name of another form, a link to a folder elsewhere.
    for (int i = 0; i < AutosaveStore::folderLimit + 10; ++i)
        QDir().mkpath(root() + QStringLiteral("/%1-%2").arg(1000 + i).arg(i, 16, 16, QChar(u'0')));
    QDir().mkpath(root() + QStringLiteral("/not-an-owner"));
    QDir().mkpath(dir.filePath(QStringLiteral("elsewhere")));
    ::symlink(
        plumeo::testing::nativeBytes(dir.filePath(QStringLiteral("elsewhere"))).constData(),
        plumeo::testing::nativeBytes(root() + QStringLiteral("/1-0000000000000001")).constData());
    // Folders without a lock file are not claimed (there is nothing to hold).
    EXPECT_TRUE(AutosaveStore::claimOrphans(root()).empty());

    // One dead owner with ten thousand files, a link posing as an autosave, a cut-short write.
    auto store = claim();
    const QString folder = store->folder();
    store.reset();
    QDir().mkpath(folder);
    writeBytes(folder + QStringLiteral("/owner.lock"), {});
    for (int i = 0; i < 10000; ++i)
        writeBytes(folder + QStringLiteral("/d%1.plumeo-autosave").arg(i, 5, 10, QChar(u'0')), "x");
    ::symlink(
        "/etc/passwd",
        plumeo::testing::nativeBytes(folder + QStringLiteral("/a.plumeo-autosave")).constData());
    writeBytes(folder + QStringLiteral("/b.plumeo-autosave.tmp-1234"), "half");
    auto orphans = AutosaveStore::claimOrphans(root());
    ASSERT_EQ(orphans.size(), 1u);
    const QStringList listed = orphans[0]->entries();
    EXPECT_EQ(listed.size(), AutosaveStore::entryLimit);
    EXPECT_FALSE(listed.contains(folder + QStringLiteral("/a.plumeo-autosave")));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/b.plumeo-autosave.tmp-1234")));
    EXPECT_TRUE(QFileInfo(QStringLiteral("/etc/passwd")).exists());
}

TEST_F(AutosaveStoreTest, AFullDiskFailsTheWriteAndKeepsThePreviousAutosave)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a tmpfs needs root";
    const QString tiny = dir.filePath(QStringLiteral("tiny"));
    const plumeo::testing::TinyFileSystem fileSystem(tiny, 64);
    if (!fileSystem.isMounted())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    auto claimed = AutosaveStore::claimNew(tiny + QStringLiteral("/autosave"));
    ASSERT_TRUE(claimed);
    const auto &store = claimed.value();
    ASSERT_TRUE(store->write(QStringLiteral("document-1"), "small"));
    const auto failed = store->write(QStringLiteral("document-1"), QByteArray(200 * 1024, 'a'));
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().kind, FileWriteError::Kind::diskFull);
    EXPECT_EQ(readBytes(store->pathFor(QStringLiteral("document-1"))), "small");
    EXPECT_EQ(entries(store->folder()).size(), 2); // no temporary file left filling the disk
}
