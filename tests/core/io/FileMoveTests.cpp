// Moving a file, within a file system and onto another one that may be full.
#include "IoTestSupport.h"
#include "io/SafeFileWriter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/time.h>

using namespace plumeo;
using namespace plumeo::testing;

TEST(FileMove, RenamesWithinAFileSystemAndNeverOverwrites)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("a.txt"));
    ASSERT_TRUE(writeBytes(source, "a"));
    const ino_t inode = statOf(source).st_ino;
    const QString target = dir.filePath(QStringLiteral("b.txt"));
    const auto moved = SafeFileWriter::move(source, target);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved.value().inode, quint64(inode));
    EXPECT_EQ(readBytes(target), "a");
    EXPECT_FALSE(QFile::exists(source));

    const QString taken = dir.filePath(QStringLiteral("c.txt"));
    ASSERT_TRUE(writeBytes(taken, "c"));
    EXPECT_FALSE(SafeFileWriter::move(target, taken));
    EXPECT_EQ(readBytes(taken), "c");
    EXPECT_EQ(readBytes(target), "a");
}

TEST(FileMove, AcrossFileSystemsCopiesWithModeAndTimesOrLeavesNothingWhenTheDiskIsFull)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a tmpfs needs root";
    QTemporaryDir dir;
    TinyFileSystem tiny(dir.filePath(QStringLiteral("tiny")), 64);
    if (!tiny.isMounted())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";

    const QString source = dir.filePath(QStringLiteral("script.sh"));
    ASSERT_TRUE(writeBytes(source, "#!/bin/sh\n"));
    const QByteArray native = nativeBytes(source);
    ::chmod(native.constData(), 0750);
    const struct timeval times[2] = {{1'000'000'000, 0}, {1'000'000'123, 0}};
    ASSERT_EQ(::utimes(native.constData(), times), 0);
    const QString target = dir.filePath(QStringLiteral("tiny/script.sh"));
    const auto moved = SafeFileWriter::move(source, target);
    ASSERT_TRUE(moved);
    EXPECT_EQ(readBytes(target), "#!/bin/sh\n");
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_EQ(statOf(target).st_mode & 07777, 0750u);
    EXPECT_EQ(statOf(target).st_mtim.tv_sec, 1'000'000'123);
    EXPECT_EQ(moved.value().inode, quint64(statOf(target).st_ino));

    // A file larger than the space left.
    const QString large = dir.filePath(QStringLiteral("large.txt"));
    const QByteArray contents(200'000, 'l');
    ASSERT_TRUE(writeBytes(large, contents));
    const auto full = SafeFileWriter::move(large, dir.filePath(QStringLiteral("tiny/large.txt")));
    ASSERT_FALSE(full);
    EXPECT_EQ(full.error().kind, FileWriteError::Kind::diskFull);
    EXPECT_EQ(full.error().reason(), FileWriteError::fromErrno(ENOSPC, {}).reason());
    EXPECT_EQ(readBytes(large), contents);
    EXPECT_EQ(entries(dir.filePath(QStringLiteral("tiny"))), QStringList{"script.sh"});
}
