#include "io/FileIdentity.h"
#include "io/NativePath.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace plumeo;

TEST(NativePath, EveryByteStringComesBackExactly)
{
    const QByteArray cases[] = {
        "",
        "plain/ascii.txt",
        "caf\xc3\xa9.txt",
        "caf\xe9.txt",
        "a\xff"
        "b.txt",
        "\xed\xa0\x80",     // an encoded surrogate is not UTF-8
        "\xc0\xaf",         // overlong '/'
        "\xf4\x90\x80\x80", // above U+10FFFF
        "\xe2\x82",         // cut short
        "\xf0\x9f\x98\x80 emoji",
        "\x80\x81\xfe\xff",
    };
    for (const QByteArray &bytes : cases)
        EXPECT_EQ(NativePath::encode(NativePath::decode(bytes)), bytes)
            << bytes.toHex().constData();

    // Every single byte and every pair, including the boundaries of the escape range.
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; b += 7) {
            const QByteArray bytes{char(a), char(b)};
            ASSERT_EQ(NativePath::encode(NativePath::decode(bytes)), bytes) << a << ' ' << b;
        }
    }
}

TEST(NativePath, ValidUtf8IsPlainTextAndEscapesShowAsHex)
{
    EXPECT_EQ(NativePath::decode("caf\xc3\xa9.txt"), QStringLiteral("café.txt"));
    EXPECT_FALSE(NativePath::hasEscapes(NativePath::decode("caf\xc3\xa9.txt")));

    const QString latin1 = NativePath::decode("/tmp/caf\xe9.txt");
    EXPECT_TRUE(NativePath::hasEscapes(latin1));
    EXPECT_TRUE(latin1.endsWith(u".txt"));
    EXPECT_EQ(NativePath::display(latin1), QStringLiteral("/tmp/caf\\xE9.txt"));
    EXPECT_EQ(NativePath::display(NativePath::decode("a\xff"
                                                     "b")),
              QStringLiteral("a\\xFFb"));
    // A lone surrogate that is not an escape has no byte of its own.
    EXPECT_EQ(NativePath::encode(QString(QChar(0xD800))), QByteArray("\xef\xbf\xbd"));
}

TEST(NativePath, ReachesTheFileSystemUnderItsOwnBytes)
{
    QTemporaryDir dir;
    const QByteArray name = QFile::encodeName(dir.path()) + "/caf\xe9.txt";
    const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "abc", 3), 3);
    ::close(fd);

    const auto identity = FileIdentity::of(NativePath::decode(name));
    ASSERT_TRUE(identity.has_value());
    EXPECT_TRUE(identity->isRegularFile());
    EXPECT_EQ(identity->size, 3);
    // Qt's own decoding loses the byte and names another file…
    const QString lossy = QFile::decodeName(name);
    EXPECT_FALSE(FileIdentity::of(lossy).has_value());
    // …which is found again when only one name of the folder decodes that way.
    EXPECT_EQ(NativePath::encode(NativePath::recoverLossy(lossy)), name);
    const QByteArray twin = QFile::encodeName(dir.path()) + "/caf\xe8.txt";
    ::close(::open(twin.constData(), O_CREAT | O_WRONLY, 0644));
    EXPECT_EQ(NativePath::recoverLossy(lossy), lossy);
    ::unlink(twin.constData());
    ::unlink(name.constData());
}

TEST(FileIdentity, TellsAReplacedOrRewrittenFileFromTheSameOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    const auto write = [](const QString &target, const QByteArray &bytes) {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    };
    write(path, "one");
    const FileIdentity first = *FileIdentity::of(path);
    EXPECT_TRUE(first.isUnchanged(*FileIdentity::of(path)));

    write(path, "two"); // same size, same inode, rewritten in place
    const FileIdentity rewritten = *FileIdentity::of(path);
    EXPECT_TRUE(first.isSameFile(rewritten));
    EXPECT_FALSE(first.isUnchanged(rewritten));

    const QString other = dir.filePath(QStringLiteral("b.txt"));
    write(other, "two");
    ASSERT_EQ(::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()),
              0);
    EXPECT_FALSE(rewritten.isSameFile(*FileIdentity::of(path)));

    const QString link = dir.filePath(QStringLiteral("link.txt"));
    ASSERT_EQ(::symlink("a.txt", QFile::encodeName(link).constData()), 0);
    EXPECT_TRUE(FileIdentity::of(link)->isSameFile(*FileIdentity::of(path)));
}
