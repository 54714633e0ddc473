#include "UpdateTestSupport.h"
#include "ZipBuilder.h"
#include "update/ArchiveExtractor.h"
#include "update/BundleLocator.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace plumeo;

namespace {

class ArchiveExtractorTest : public ::testing::Test
{
protected:
    QString zipPath() const { return dir.filePath(QStringLiteral("update.zip")); }
    QString destination() const { return dir.filePath(QStringLiteral("work/extracted")); }

    Result<void, UpdaterError> extract(const ZipBuilder &zip, ArchiveExtractor extractor = {})
    {
        EXPECT_TRUE(zip.write(zipPath()));
        return extractor.extract(zipPath(), destination());
    }

    // Refused with extractionFailed, nothing left in the destination and nothing written beside it.
    void expectRefused(const Result<void, UpdaterError> &result)
    {
        ASSERT_FALSE(result.hasValue());
        EXPECT_EQ(result.error().kind(), UpdaterError::extractionFailed)
            << result.error().text().toStdString();
        EXPECT_TRUE(
            QDir(destination())
                .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System));
        EXPECT_EQ(QDir(dir.filePath(QStringLiteral("work")))
                      .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("extracted")});
        EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/plumeo-escaped")));
    }

    QTemporaryDir dir;
};

mode_t modeOf(const QString &path)
{
    struct stat st;
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st.st_mode;
}

} // namespace

TEST_F(ArchiveExtractorTest, UnpacksFilesFoldersAndInnerLinksWithSafeModes)
{
    ZipBuilder zip;
    zip.folder(QStringLiteral("Plumeo.app/"));
    zip.folder(QStringLiteral("Plumeo.app/bin/"));
    zip.file(QStringLiteral("Plumeo.app/bin/plumeo"), "#!/bin/sh\n", 04777);
    zip.file(QStringLiteral("./Plumeo.app/share/readme"), "hello", 0666);
    zip.symlink(QStringLiteral("Plumeo.app/current"), QStringLiteral("share/readme"));
    const auto result = extract(zip);
    ASSERT_TRUE(result.hasValue()) << result.error().errorDescription().toStdString();
    const QString app = destination() + QStringLiteral("/Plumeo.app");
    EXPECT_EQ(modeOf(app + QStringLiteral("/bin/plumeo")) & 07777, 0755u);
    EXPECT_EQ(modeOf(app + QStringLiteral("/share/readme")) & 07777, 0644u);
    EXPECT_TRUE(S_ISLNK(modeOf(app + QStringLiteral("/current"))));
    QFile readme(app + QStringLiteral("/current"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    EXPECT_EQ(readme.readAll(), "hello");
    EXPECT_EQ(BundleLocator::findAppBundle(destination()).value(), app);

    // The default limits.
    const ArchiveExtractor defaults;
    EXPECT_EQ(defaults.maxEntries, 20'000);
    EXPECT_EQ(defaults.maxBytes, 512LL * 1024 * 1024);
}

TEST_F(ArchiveExtractorTest, RefusesPathsThatLeaveTheFolder)
{
    for (const QString &path :
         {QStringLiteral("../plumeo-escaped"), QStringLiteral("a/../../plumeo-escaped"),
          QStringLiteral("/tmp/plumeo-escaped"), QStringLiteral("a\\..\\..\\x"),
          QStringLiteral("a/b\nc")}) {
        SCOPED_TRACE(path.toStdString());
        ZipBuilder zip;
        zip.file(QStringLiteral("Plumeo.app/ok"), "fine");
        zip.file(path, "evil");
        expectRefused(extract(zip));
    }
}

TEST_F(ArchiveExtractorTest, RefusesLinksThatLeaveAndWritesThroughLinks)
{
    {
        ZipBuilder zip;
        zip.symlink(QStringLiteral("Plumeo.app/etc"), QStringLiteral("../../../../../etc"));
        expectRefused(extract(zip));
    }
    {
        ZipBuilder zip;
        zip.symlink(QStringLiteral("Plumeo.app/abs"), QStringLiteral("/tmp"));
        expectRefused(extract(zip));
    }
    {
        // Each link looks inside on its own; together they lead out.
        ZipBuilder zip;
        zip.folder(QStringLiteral("Plumeo.app/a/b/"));
        zip.symlink(QStringLiteral("Plumeo.app/a/b/up"), QStringLiteral("../.."));
        zip.symlink(QStringLiteral("Plumeo.app/a/b/out"), QStringLiteral("up/../.."));
        expectRefused(extract(zip));
    }
    {
        // A harmless-looking inner link, then a file written through it.
        ZipBuilder zip;
        zip.folder(QStringLiteral("Plumeo.app/real/"));
        zip.symlink(QStringLiteral("Plumeo.app/link"), QStringLiteral("real"));
        zip.file(QStringLiteral("Plumeo.app/link/x"), "through");
        expectRefused(extract(zip));
    }
    {
        ZipBuilder zip;
        zip.file(QStringLiteral("Plumeo.app/x"), "one");
        zip.symlink(QStringLiteral("Plumeo.app/x"), QStringLiteral("y"));
        expectRefused(extract(zip));
    }
}

TEST_F(ArchiveExtractorTest, NeverCreatesDevicesOrFifos)
{
    for (unsigned type : {unsigned(S_IFCHR), unsigned(S_IFBLK), unsigned(S_IFSOCK)}) {
        SCOPED_TRACE(type);
        ZipBuilder zip;
        zip.file(QStringLiteral("Plumeo.app/ok"), "fine");
        zip.special(QStringLiteral("Plumeo.app/dev"), type);
        expectRefused(extract(zip));
    }
    // libarchive's ZIP reader already reads a FIFO claim as a plain file: whatever happens, no
    // FIFO reaches the disk.
    ZipBuilder zip;
    zip.special(QStringLiteral("Plumeo.app/fifo"), S_IFIFO);
    const auto result = extract(zip);
    const QString fifo = destination() + QStringLiteral("/Plumeo.app/fifo");
    if (result.hasValue())
        EXPECT_TRUE(S_ISREG(modeOf(fifo)));
    else
        EXPECT_FALSE(QFileInfo::exists(fifo));
}

TEST_F(ArchiveExtractorTest, RefusesTooManyEntriesAndZipBombs)
{
    {
        ZipBuilder zip;
        for (int i = 0; i < 100'000; ++i)
            zip.file(QStringLiteral("f%1").arg(i), {});
        expectRefused(extract(zip));
    }
    ArchiveExtractor small;
    small.maxBytes = 1024 * 1024;
    {
        ZipBuilder zip;
        zip.file(QStringLiteral("Plumeo.app/bomb"), QByteArray(4 * 1024 * 1024, '\0'));
        expectRefused(extract(zip, small));
    }
    {
        // Many honest-looking small entries adding up past the limit.
        ZipBuilder zip;
        for (int i = 0; i < 8; ++i)
            zip.file(QStringLiteral("Plumeo.app/part%1").arg(i), QByteArray(200 * 1024, 'a'));
        expectRefused(extract(zip, small));
    }
    {
        // Sizes that lie: only the bytes really written count.
        ZipBuilder zip;
        zip.file(QStringLiteral("Plumeo.app/liar"), QByteArray(4 * 1024 * 1024, '\0'));
        ASSERT_TRUE(zip.write(zipPath()));
        ASSERT_TRUE(ZipBuilder::claimSize(zipPath(), 10));
        expectRefused(small.extract(zipPath(), destination()));
    }
}

TEST_F(ArchiveExtractorTest, RefusesWhatIsNotAZip)
{
    QFile file(zipPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not an archive");
    file.close();
    expectRefused(ArchiveExtractor().extract(zipPath(), destination()));
}

TEST(BundleLocatorTest, FindsTheBundleAtTheTopOrBelow)
{
    QTemporaryDir dir;
    QDir root(dir.path());
    EXPECT_EQ(BundleLocator::findAppBundle(dir.path()).error(), UpdaterError::noAppBundle());
    root.mkpath(QStringLiteral(".hidden/Hidden.app"));
    root.mkpath(QStringLiteral("release/Outer.app/Inner.app"));
    EXPECT_EQ(BundleLocator::findAppBundle(dir.path()).value(),
              dir.filePath(QStringLiteral("release/Outer.app")));
    root.mkpath(QStringLiteral("B.APP"));
    root.mkpath(QStringLiteral("C.app"));
    EXPECT_EQ(BundleLocator::findAppBundle(dir.path()).value(),
              dir.filePath(QStringLiteral("B.APP")));
}
