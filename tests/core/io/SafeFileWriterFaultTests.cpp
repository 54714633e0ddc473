// Saves against real faults: devices and pipes, folders and files the user may not write, hard
// links, other users' files, extended attributes, a link swapped in by another user, saves killed
// half way, names at the length limit.
#include "IoTestSupport.h"
#include "io/SafeFileWriter.h"

#include <csignal>

#include <QDirIterator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/file.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>

using namespace plumeo;
using namespace plumeo::testing;
using Method = FileWriteOutcome::Method;
using Kind = FileWriteError::Kind;

namespace {

// A folder every user may enter and write, and a private state folder for in-place backups.
class WriterFaults : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ::chmod(nativeBytes(dir.path()).constData(), 0777);
        stateFolder = dir.filePath(QStringLiteral("state"));
        QDir().mkpath(stateFolder);
        ::chmod(nativeBytes(stateFolder).constData(), 0777);
        previousState = qgetenv("PLUMEO_STATE_DIR");
        qputenv("PLUMEO_STATE_DIR", nativeBytes(stateFolder));
    }
    void TearDown() override { qputenv("PLUMEO_STATE_DIR", previousState); }

    QString file(const QString &name, const QByteArray &bytes, mode_t mode = 0644)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(writeBytes(path, bytes));
        ::chmod(nativeBytes(path).constData(), mode);
        return path;
    }
    // The in-place backups left in the state folder.
    QStringList backups() const
    {
        QStringList found;
        QDirIterator it(stateFolder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        return found;
    }
    static bool isRoot() { return ::geteuid() == 0; }

    QTemporaryDir dir;
    QString stateFolder;
    QByteArray previousState;
};

} // namespace

TEST_F(WriterFaults, OnlyRegularFilesAreWrittenOrReplaced)
{
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(nativeBytes(fifo).constData(), 0644), 0);
    const auto toFifo = SafeFileWriter::write(fifo, "text\n");
    ASSERT_FALSE(toFifo);
    EXPECT_EQ(toFifo.error().kind, Kind::notRegularFile);
    EXPECT_TRUE(S_ISFIFO(statOf(fifo).st_mode));

    // A document read from a character device through a link: the device stays, the link too.
    const QString device = dir.filePath(QStringLiteral("null"));
    if (::mknod(nativeBytes(device).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        const QString link = dir.filePath(QStringLiteral("to-null"));
        ASSERT_EQ(::symlink(nativeBytes(device).constData(), nativeBytes(link).constData()), 0);
        const auto toDevice = SafeFileWriter::write(link, "text\n");
        ASSERT_FALSE(toDevice);
        EXPECT_EQ(toDevice.error().kind, Kind::notRegularFile);
        EXPECT_TRUE(S_ISCHR(statOf(device).st_mode));
        EXPECT_TRUE(S_ISLNK(statOf(link).st_mode));
    }
    EXPECT_EQ(entries(dir.path()).filter(QStringLiteral(".plumeo-")), QStringList());
}

TEST_F(WriterFaults, HardLinksKeepSharingTheFile)
{
    const QString path = file(QStringLiteral("shared.txt"), "old contents\n");
    const QString other = dir.filePath(QStringLiteral("other-name.txt"));
    ASSERT_EQ(::link(nativeBytes(path).constData(), nativeBytes(other).constData()), 0);
    const ino_t inode = statOf(path).st_ino;

    const auto written = SafeFileWriter::write(path, "new\n");
    ASSERT_TRUE(written);
    EXPECT_EQ(written.value().method, Method::inPlace);
    EXPECT_EQ(readBytes(other), "new\n");
    EXPECT_EQ(statOf(path).st_ino, inode);
    EXPECT_EQ(statOf(path).st_nlink, 2u);
    EXPECT_EQ(written.value().identity.inode, quint64(inode));
    EXPECT_EQ(written.value().identity.size, 4);
    EXPECT_EQ(backups(), QStringList()); // the kept copy goes once the write succeeded

    // A plain file is still replaced, and a missing one created.
    EXPECT_EQ(SafeFileWriter::write(file(QStringLiteral("plain.txt"), "a"), "b").value().method,
              Method::replaced);
    EXPECT_EQ(SafeFileWriter::write(dir.filePath(QStringLiteral("new.txt")), "c").value().method,
              Method::created);
}

TEST_F(WriterFaults, FullDiskDuringAnInPlaceWriteKeepsTheOldContents)
{
    if (!isRoot())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    TinyFileSystem tiny(dir.filePath(QStringLiteral("tiny")), 64);
    if (!tiny.isMounted())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    const QString path = dir.filePath(QStringLiteral("tiny/linked.txt"));
    const QByteArray old(6000, 'o');
    ASSERT_TRUE(writeBytes(path, old));
    ASSERT_EQ(::link(nativeBytes(path).constData(),
                     nativeBytes(dir.filePath(QStringLiteral("tiny/second"))).constData()),
              0);
    tiny.fill();

    const auto written = SafeFileWriter::write(path, QByteArray(200'000, 'n'));
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().kind, Kind::diskFull);
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(statOf(path).st_nlink, 2u);
    EXPECT_EQ(written.error().reason(), FileWriteError::fromErrno(ENOSPC, {}).reason());
}

TEST_F(WriterFaults, AFileInAFolderTheUserMayNotWriteIsWrittenInPlace)
{
    if (!isRoot())
        GTEST_SKIP() << "needs root to act as another user";
    const QString folder = dir.filePath(QStringLiteral("locked"));
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/notes.txt");
    ASSERT_TRUE(writeBytes(path, "before\n"));
    ::chown(nativeBytes(path).constData(), nobodyUid(), nobodyGid());
    ::chmod(nativeBytes(folder).constData(), 0755); // root's folder: nobody cannot add a file

    const int result = runAsNobody([&] {
        const auto written = SafeFileWriter::write(path, "after, and longer\n");
        if (!written)
            return 10 + int(written.error().kind);
        return written.value().method == Method::inPlace ? 0 : 2;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readBytes(path), "after, and longer\n");
    EXPECT_EQ(statOf(path).st_uid, nobodyUid());
    EXPECT_EQ(entries(folder), QStringList{"notes.txt"});
}

TEST_F(WriterFaults, FilesTheUserMayNotWriteAreNeverReplaced)
{
    // Read-only, even for root: the mode says nobody is meant to write it.
    const QString readOnly = file(QStringLiteral("read-only.txt"), "keep\n", 0444);
    const auto refused = SafeFileWriter::write(readOnly, "lost\n");
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().kind, Kind::notPermitted);
    EXPECT_EQ(readBytes(readOnly), "keep\n");

    if (!isRoot())
        return;
    // Another user's file in a folder everybody may write: renaming over it would work, and
    // would hand the file to the writer.
    const QString theirs = file(QStringLiteral("theirs.txt"), "root's\n", 0644);
    EXPECT_EQ(runAsNobody([&] {
                  const auto written = SafeFileWriter::write(theirs, "nobody's\n");
                  return written ? 1 : int(written.error().kind);
              }),
              int(Kind::notPermitted));
    EXPECT_EQ(readBytes(theirs), "root's\n");
    EXPECT_EQ(statOf(theirs).st_uid, 0u);

    // A file everybody may write keeps its owner and mode: it is written in place.
    const QString open = file(QStringLiteral("open.txt"), "root's\n", 0666);
    EXPECT_EQ(runAsNobody([&] {
                  const auto written = SafeFileWriter::write(open, "nobody's\n");
                  return written && written.value().method == Method::inPlace ? 0 : 1;
              }),
              0);
    EXPECT_EQ(readBytes(open), "nobody's\n");
    EXPECT_EQ(statOf(open).st_uid, 0u);
    EXPECT_EQ(statOf(open).st_mode & 07777, 0666u);
}

TEST_F(WriterFaults, ReplacementKeepsOwnerModeAndExtendedAttributes)
{
    const QString path = file(QStringLiteral("tool"), "#!/bin/sh\n", 0755);
    const QByteArray native = nativeBytes(path);
    if (::setxattr(native.constData(), "user.origin", "download", 8, 0) != 0)
        GTEST_SKIP() << "no user extended attributes on this file system";
    if (isRoot()) {
        ASSERT_EQ(::chown(native.constData(), nobodyUid(), nobodyGid()), 0);
        ASSERT_EQ(::chmod(native.constData(), 06755), 0);
    }
    const mode_t mode = statOf(path).st_mode & 07777;

    const auto written = SafeFileWriter::write(path, "#!/bin/sh\necho hi\n");
    ASSERT_TRUE(written);
    EXPECT_EQ(readBytes(path), "#!/bin/sh\necho hi\n");
    EXPECT_EQ(statOf(path).st_mode & 07777, mode);
    char value[32] = {};
    EXPECT_EQ(::getxattr(native.constData(), "user.origin", value, sizeof value), 8);
    EXPECT_STREQ(value, "download");
    if (isRoot()) {
        EXPECT_EQ(statOf(path).st_uid, nobodyUid());
        EXPECT_EQ(statOf(path).st_gid, nobodyGid());
    }
}

TEST_F(WriterFaults, ALinkSwappedInAfterOpeningIsNeverFollowed)
{
    // Another user's shared sticky folder: the document was read, then its name was replaced by
    // a link to a file the writer must not touch.
    const QString shared = dir.filePath(QStringLiteral("shared"));
    QDir().mkpath(shared);
    ::chmod(nativeBytes(shared).constData(), 01777);
    const QString document = shared + QStringLiteral("/report.txt");
    ASSERT_TRUE(writeBytes(document, "report\n"));
    const auto read = FileIdentity::of(document);
    ASSERT_TRUE(read);
    const QString victim = file(QStringLiteral("victim"), "precious\n", 0600);
    ASSERT_EQ(::unlink(nativeBytes(document).constData()), 0);
    ASSERT_EQ(::symlink(nativeBytes(victim).constData(), nativeBytes(document).constData()), 0);

    const auto written = SafeFileWriter::write(document, "attack\n", {read});
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().kind, Kind::changedOnDisk);
    EXPECT_EQ(readBytes(victim), "precious\n");
    EXPECT_TRUE(S_ISLNK(statOf(document).st_mode));

    // The identity a save answers is the one the next save expects.
    const QString plain = file(QStringLiteral("plain.txt"), "one\n");
    const auto first = SafeFileWriter::write(plain, "two\n", {FileIdentity::of(plain)});
    ASSERT_TRUE(first);
    EXPECT_TRUE(SafeFileWriter::write(plain, "three\n", {first.value().identity}));
    EXPECT_EQ(readBytes(plain), "three\n");
}

TEST_F(WriterFaults, NamesUpToTheLimitCanBeSaved)
{
    for (const QString &name :
         {QString(255, u'a'), QString(241, u'b') + QStringLiteral(".txt"),
          QString(127, u'é') + QStringLiteral("x"), QString(120, u'é') + QStringLiteral(".txt")}) {
        ASSERT_LE(name.toUtf8().size(), 255);
        const QString path = dir.filePath(name);
        const auto written = SafeFileWriter::write(path, "x");
        ASSERT_TRUE(written) << name.size();
        EXPECT_EQ(readBytes(path), "x");
        EXPECT_TRUE(SafeFileWriter::write(path, "yy")); // and replaced, not only created
        EXPECT_EQ(readBytes(path), "yy");
    }
    const auto tooLong = SafeFileWriter::write(dir.filePath(QString(256, u'c')), "x");
    ASSERT_FALSE(tooLong);
    EXPECT_EQ(tooLong.error().kind, Kind::nameTooLong);
}

TEST_F(WriterFaults, TemporariesOfKilledSavesAreRemovedButNotThoseOfRunningSaves)
{
    const QString path = file(QStringLiteral("big.txt"), "small\n");
    const QByteArray big(16 << 20, 'b');
    const auto temporaries = [&] { return entries(dir.path()).filter(QStringLiteral(".plumeo-")); };

    // Kill a process that saves over and over until one dies with its temporary file beside.
    for (int attempt = 0; attempt < 20 && temporaries().isEmpty(); ++attempt) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (;;) // killed while writing: no outcome is ever read
                static_cast<void>(SafeFileWriter::write(path, big));
        }
        for (int wait = 0; wait < 20'000 && temporaries().isEmpty(); ++wait)
            ::usleep(1000);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
    ASSERT_FALSE(temporaries().isEmpty());

    // A save in progress elsewhere holds its temporary file locked.
    const QString running = dir.filePath(QStringLiteral(".big.txt.plumeo-Rn1ng0"));
    ASSERT_TRUE(writeBytes(running, "in progress"));
    const int held = ::open(nativeBytes(running).constData(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    // Another file's temporary is not this file's business.
    const QString unrelated = file(QStringLiteral(".other.txt.plumeo-abcdef"), "x");

    SafeFileWriter::removeStaleTemporaries(path);
    EXPECT_EQ(temporaries(), QStringList({".big.txt.plumeo-Rn1ng0", ".other.txt.plumeo-abcdef"}));

    // The next save of the file cleans up too.
    file(QStringLiteral(".big.txt.plumeo-Kll3d0"), "stale");
    ASSERT_TRUE(SafeFileWriter::write(path, "done\n"));
    EXPECT_EQ(temporaries(), QStringList({".big.txt.plumeo-Rn1ng0", ".other.txt.plumeo-abcdef"}));
    ::close(held);
    EXPECT_EQ(readBytes(path).left(4), "done");
}
