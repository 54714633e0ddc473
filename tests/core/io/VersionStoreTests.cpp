// The history of saved files: contents kept once, bounds, histories that follow a file, and an
// index nobody can trust.
#include "IoTestSupport.h"
#include "io/VersionStore.h"

#include <QCryptographicHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::testing;

namespace {

std::vector<QByteArray> contentsOf(const VersionStore &store, const QString &file)
{
    std::vector<QByteArray> all;
    const auto versions = store.versions(file);
    if (!versions)
        return {"<damaged>"};
    for (const StoredVersion &version : versions.value()) {
        const auto bytes = store.contents(file, version);
        all.push_back(bytes ? bytes.value() : QByteArray("<missing>"));
    }
    return all;
}

class VersionStoreTest : public ::testing::Test
{
protected:
    QString keyFolder(const QString &file) const
    {
        return dir.filePath(QStringLiteral("versions/") + VersionStore::keyOf(file));
    }
    QString index(const QString &file) const
    {
        return keyFolder(file) + QStringLiteral("/index.json");
    }

    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("notes.txt"));
    VersionStore store{dir.filePath(QStringLiteral("versions")), {5, 100}};
};

} // namespace

TEST_F(VersionStoreTest, KeepsEachContentOnceNewestFirst)
{
    EXPECT_TRUE(store.versions(file).value().empty());
    ASSERT_TRUE(store.keep(file, "first\r\n\xff", 1000));
    ASSERT_TRUE(store.keep(file, "second", 2000));
    ASSERT_TRUE(store.keep(file, "first\r\n\xff", 3000));
    EXPECT_EQ(contentsOf(store, file), (std::vector<QByteArray>{"first\r\n\xff", "second"}));
    const auto versions = store.versions(file).value();
    EXPECT_EQ(versions[0].modifiedMs, 3000);
    EXPECT_EQ(versions[0].size, 8);
    EXPECT_EQ(versions[0].sha256,
              QCryptographicHash::hash("first\r\n\xff", QCryptographicHash::Sha256).toHex());
    // Two contents, one index: nothing stored twice.
    EXPECT_EQ(entries(keyFolder(file)).size(), 3);
    // Another file has its own history; a relative path names the same file as its absolute one.
    EXPECT_TRUE(store.versions(dir.filePath(QStringLiteral("other.txt"))).value().empty());
    EXPECT_EQ(VersionStore::keyOf(file),
              VersionStore::keyOf(dir.path() + QStringLiteral("/./sub/../notes.txt")));
}

TEST_F(VersionStoreTest, CountAndSizeBoundsDropTheOldest)
{
    for (int i = 1; i <= 7; ++i)
        ASSERT_TRUE(store.keep(file, QByteArray::number(i), i));
    EXPECT_EQ(contentsOf(store, file), (std::vector<QByteArray>{"7", "6", "5", "4", "3"}));
    EXPECT_EQ(entries(keyFolder(file)).size(), 6); // the dropped contents are gone too

    // 100 bytes in all: a 60-byte version pushes out all but the newest 40 bytes.
    const QString big = dir.filePath(QStringLiteral("big.txt"));
    ASSERT_TRUE(store.keep(big, QByteArray(30, 'a'), 1));
    ASSERT_TRUE(store.keep(big, QByteArray(30, 'b'), 2));
    ASSERT_TRUE(store.keep(big, QByteArray(40, 'c'), 3));
    ASSERT_TRUE(store.keep(big, QByteArray(60, 'd'), 4));
    EXPECT_EQ(contentsOf(store, big),
              (std::vector<QByteArray>{QByteArray(60, 'd'), QByteArray(40, 'c')}));
    // Larger than the whole bound: not kept, and the history stays as it was.
    ASSERT_TRUE(store.keep(big, QByteArray(101, 'e'), 5));
    EXPECT_EQ(store.versions(big).value().size(), 2u);
    EXPECT_FALSE(store.snapshot(big)); // no file there
    ASSERT_TRUE(writeBytes(big, QByteArray(101, 'e')));
    EXPECT_FALSE(store.snapshot(big)); // too large to keep
    ASSERT_TRUE(writeBytes(big, "small"));
    ASSERT_TRUE(store.snapshot(big));
    EXPECT_EQ(store.snapshot(big)->bytes, "small");
}

TEST_F(VersionStoreTest, HistoryFollowsAMoveAndIsSharedByACopy)
{
    const QString moved = dir.filePath(QStringLiteral("moved.txt"));
    const QString copy = dir.filePath(QStringLiteral("copy.txt"));
    ASSERT_TRUE(store.keep(file, "one", 1));
    ASSERT_TRUE(store.keep(file, "two", 2));
    ASSERT_TRUE(store.follow(file, moved));
    EXPECT_TRUE(store.versions(file).value().empty());
    EXPECT_FALSE(QFileInfo::exists(keyFolder(file)));
    EXPECT_EQ(contentsOf(store, moved), (std::vector<QByteArray>{"two", "one"}));

    // A copy that had a history of its own: both, by date.
    ASSERT_TRUE(store.keep(copy, "own", 3));
    ASSERT_TRUE(store.keep(copy, "two", 0));
    ASSERT_TRUE(store.share(moved, copy));
    EXPECT_EQ(contentsOf(store, moved), (std::vector<QByteArray>{"two", "one"}));
    EXPECT_EQ(contentsOf(store, copy), (std::vector<QByteArray>{"own", "two", "one"}));
    EXPECT_EQ(store.versions(copy).value()[1].modifiedMs, 2);
    // A file with no history carries none.
    ASSERT_TRUE(store.follow(dir.filePath(QStringLiteral("none.txt")), file));
    EXPECT_TRUE(store.versions(file).value().empty());
}

TEST_F(VersionStoreTest, ADamagedOrHostileIndexIsIgnoredAndNothingOutsideIsRead)
{
    ASSERT_TRUE(store.keep(file, "kept", 1));
    const QByteArray good = readBytes(index(file));
    const QString hash = QString::fromLatin1(store.versions(file).value()[0].sha256);
    const QString secret = dir.filePath(QStringLiteral("secret.txt"));
    ASSERT_TRUE(writeBytes(secret, "secret"));
    const QByteArray secretHash =
        QCryptographicHash::hash("secret", QCryptographicHash::Sha256).toHex();

    const std::vector<QByteArray> damaged{
        good.left(good.size() / 2),
        "not json at all",
        "[]",
        R"({"versions": {"sha256": "x"}})",
        R"({"versions": [{"sha256": "../../secret.txt", "size": 6, "modified": 1}]})",
        R"({"versions": [{"sha256": ")" + secretHash.toUpper()
            + R"(", "size": 6, "modified": 1}]})",
        R"({"versions": [{"sha256": ")" + hash.toLatin1() + R"(", "size": -4, "modified": 1}]})",
        R"({"versions": [{"sha256": ")" + hash.toLatin1() + R"(", "size": 1e300, "modified": 1}]})",
        R"({"versions": [{"sha256": ")" + hash.toLatin1() + R"(", "size": 4, "modified": 0.5}]})",
        "{\"versions\": [" + QByteArray(70'000, ' ') + "]}",
    };
    for (const QByteArray &bytes : damaged) {
        ASSERT_TRUE(writeBytes(index(file), bytes));
        const auto versions = store.versions(file);
        ASSERT_FALSE(versions) << bytes.left(80).constData();
        EXPECT_EQ(versions.error().kind, VersionStoreError::Kind::damagedIndex);
        EXPECT_FALSE(versions.error().description().isEmpty());
    }

    // An entry for a content that is not there is left out.
    QByteArray huge = R"({"versions": [)";
    for (int i = 0; i < 300; ++i)
        huge += R"({"sha256": ")" + QByteArray::number(i).rightJustified(64, '0')
                + R"(", "size": 1, "modified": 1},)";
    huge.chop(1);
    ASSERT_TRUE(writeBytes(index(file), huge + "]}"));
    EXPECT_TRUE(store.versions(file).value().empty());

    // Links out of the store are not followed, for the index or for a content.
    ASSERT_TRUE(QFile::remove(index(file)));
    ASSERT_EQ(::symlink(nativeBytes(secret).constData(), nativeBytes(index(file)).constData()), 0);
    EXPECT_FALSE(store.versions(file));
    ASSERT_TRUE(QFile::remove(index(file)));
    ASSERT_TRUE(writeBytes(index(file), good));
    const QString content = keyFolder(file) + u'/' + hash;
    ASSERT_TRUE(QFile::remove(content));
    ASSERT_EQ(::symlink(nativeBytes(secret).constData(), nativeBytes(content).constData()), 0);
    EXPECT_TRUE(store.versions(file).value().empty());
    // Contents changed behind the store's back are refused, not shown.
    ASSERT_TRUE(QFile::remove(content));
    ASSERT_TRUE(writeBytes(content, "KEPT"));
    const auto versions = store.versions(file).value();
    ASSERT_EQ(versions.size(), 1u);
    const auto bytes = store.contents(file, versions[0]);
    ASSERT_FALSE(bytes);
    EXPECT_EQ(bytes.error().kind, VersionStoreError::Kind::missingContents);

    // The next keep starts the history again, rewriting the bad content.
    ASSERT_TRUE(writeBytes(index(file), "garbage"));
    ASSERT_TRUE(store.keep(file, "kept", 5));
    ASSERT_TRUE(store.keep(file, "new", 6));
    EXPECT_EQ(contentsOf(store, file), (std::vector<QByteArray>{"new", "kept"}));
    EXPECT_EQ(readBytes(secret), "secret");
}

TEST_F(VersionStoreTest, AStoreThatCannotBeWrittenSaysSoAndChangesNothing)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "running as another user needs root";
    ASSERT_TRUE(store.keep(file, "kept", 1));
    // Readable and searchable by everyone, writable by nobody but root.
    const QByteArray root = nativeBytes(dir.path());
    ::chmod(root.constData(), 0755);
    ::chmod(nativeBytes(dir.filePath(QStringLiteral("versions"))).constData(), 0555);
    ::chmod(nativeBytes(keyFolder(file)).constData(), 0555);
    const int result = runAsNobody([&] {
        const auto kept = store.keep(file, "more", 2);
        if (kept || kept.error().kind != VersionStoreError::Kind::cannotWrite)
            return 1;
        const auto other = store.keep(dir.filePath(QStringLiteral("other.txt")), "x", 2);
        if (other || other.error().kind != VersionStoreError::Kind::cannotWrite)
            return 2;
        return 0;
    });
    ::chmod(nativeBytes(keyFolder(file)).constData(), 0700);
    ::chmod(nativeBytes(dir.filePath(QStringLiteral("versions"))).constData(), 0700);
    if (result < 0)
        GTEST_SKIP() << "could not run as nobody";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(contentsOf(store, file), (std::vector<QByteArray>{"kept"}));
}
