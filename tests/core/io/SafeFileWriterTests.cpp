#include "io/SafeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace plumeo;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

mode_t modeOf(const QString &path)
{
    struct stat info
    {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

} // namespace

TEST(SafeFileWriter, ReplacesContentsKeepingPermissionsAndLinks)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("script.sh"));
    ASSERT_TRUE(SafeFileWriter::write(path, "echo one\n"));
    EXPECT_EQ(contents(path), "echo one\n");
    EXPECT_NE(modeOf(path) & 0044, 0u); // a new file is readable by others, as usual, not 0600

    ::chmod(QFile::encodeName(path).constData(), 0750);
    ASSERT_TRUE(SafeFileWriter::write(path, "echo two\n"));
    EXPECT_EQ(contents(path), "echo two\n");
    EXPECT_EQ(modeOf(path), 0750u);

    // Writing through a symbolic link changes the file it points to and keeps the link.
    const QString link = dir.filePath(QStringLiteral("link.sh"));
    ASSERT_TRUE(QFile::link(path, link));
    ASSERT_TRUE(SafeFileWriter::write(link, "echo three\n"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contents(path), "echo three\n");

    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
}

TEST(SafeFileWriter, FailureLeavesTheTargetUntouched)
{
    QTemporaryDir dir;
    // A folder in the way.
    const QString folder = dir.filePath(QStringLiteral("folder"));
    QDir().mkpath(folder);
    EXPECT_FALSE(SafeFileWriter::write(folder, "x"));
    EXPECT_TRUE(QFileInfo(folder).isDir());

    // A parent folder that does not exist.
    EXPECT_FALSE(SafeFileWriter::write(dir.filePath(QStringLiteral("missing/file.txt")), "x"));

    // Nothing was left behind by either attempt.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"folder"});
}
