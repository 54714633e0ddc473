#include "session/AutosaveRecord.h"
#include "text/Encoding.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

AutosaveRecord plainRecord()
{
    AutosaveRecord record;
    record.filePath = QStringLiteral("/home/user/notes été.txt");
    record.encoding = Encoding::isoLatin1Raw;
    record.hasBOM = false;
    record.lineEnding = LineEnding::crlf;
    record.savedAt = QDateTime(QDate(2026, 12, 7), QTime(13, 45, 1, 250), Qt::UTC);
    // Characters Qt's text classes alter or drop, a stray CR, and no final line break.
    record.text = QStringLiteral("café\nline\r two\u2028\u2029\u00A0\uFDD0 end");
    return record;
}

// The bytes of record with its header changed by edit (the checksum left as it was made).
QByteArray withHeader(const AutosaveRecord &record, const std::function<void(QJsonObject &)> &edit)
{
    const QByteArray bytes = record.toBytes();
    const qsizetype start = bytes.indexOf('\n') + 1;
    const qsizetype end = bytes.indexOf('\n', start);
    QJsonObject header = QJsonDocument::fromJson(bytes.mid(start, end - start)).object();
    edit(header);
    return bytes.left(start) + QJsonDocument(header).toJson(QJsonDocument::Compact)
           + bytes.mid(end);
}

} // namespace

TEST(AutosaveRecord, EveryFieldAndEveryCharacterComesBackExactly)
{
    const AutosaveRecord plain = plainRecord();
    auto back = AutosaveRecord::fromBytes(plain.toBytes());
    ASSERT_TRUE(back) << back.error().toStdString();
    EXPECT_EQ(back.value(), plain);

    AutosaveRecord untitled;
    untitled.untitledName = QStringLiteral("Untitled 3");
    untitled.encoding = Encoding::utf16LittleEndianRaw;
    untitled.hasBOM = true;
    untitled.savedAt = QDateTime::currentDateTimeUtc();
    // A lone surrogate cannot travel as UTF-8: the content falls back to UTF-16.
    untitled.text = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b\n");
    back = AutosaveRecord::fromBytes(untitled.toBytes());
    ASSERT_TRUE(back) << back.error().toStdString();
    EXPECT_EQ(back.value().text, untitled.text);
    EXPECT_EQ(back.value().encoding, Encoding::utf16LittleEndianRaw);

    AutosaveRecord rich;
    rich.richText = true;
    rich.savedAt = QDateTime::currentDateTimeUtc();
    rich.rtf = QByteArray("{\\rtf1\\ansi {\\b bold} \\'e9t\\'e9}");
    back = AutosaveRecord::fromBytes(rich.toBytes());
    ASSERT_TRUE(back) << back.error().toStdString();
    EXPECT_EQ(back.value().rtf, rich.rtf);
    EXPECT_TRUE(back.value().richText);

    // Large texts go through unchanged too.
    AutosaveRecord large = plainRecord();
    large.text = QStringLiteral("ligne numérotée\n").repeated(200000);
    back = AutosaveRecord::fromBytes(large.toBytes());
    ASSERT_TRUE(back);
    EXPECT_EQ(back.value().text, large.text);
}

TEST(AutosaveRecord, DamagedBytesAreRefusedWhole)
{
    const QByteArray good = plainRecord().toBytes();
    // Cut anywhere: in the magic line, in the header, in the text, one byte short.
    for (const qsizetype length : {qsizetype(0), qsizetype(5), qsizetype(20), qsizetype(60),
                                   good.size() / 2, good.size() - 1})
        EXPECT_FALSE(AutosaveRecord::fromBytes(good.left(length))) << length;
    // One byte of text changed, one byte too many.
    QByteArray altered = good;
    altered[altered.size() - 2] = 'X';
    EXPECT_FALSE(AutosaveRecord::fromBytes(altered));
    EXPECT_FALSE(AutosaveRecord::fromBytes(good + "!"));
    // Not ours, not JSON, a header without end, binary noise.
    EXPECT_FALSE(AutosaveRecord::fromBytes("{\"text\": \"hello\"}"));
    EXPECT_FALSE(AutosaveRecord::fromBytes("PLUMEO-AUTOSAVE 1\nnot json\nhello"));
    EXPECT_FALSE(AutosaveRecord::fromBytes("PLUMEO-AUTOSAVE 1\n" + QByteArray(100000, '{')));
    EXPECT_FALSE(AutosaveRecord::fromBytes(QByteArray("PLUMEO-AUTOSAVE 1\n\0\xff\xfe\n", 22)));
    // A header whose fields have the wrong types or values.
    const AutosaveRecord record = plainRecord();
    for (const auto &edit : std::vector<std::function<void(QJsonObject &)>>{
             [](QJsonObject &h) { h.remove(u"contentSHA256"); },
             [](QJsonObject &h) { h[u"contentSize"] = 12; },
             [](QJsonObject &h) { h[u"lineEnding"] = QStringLiteral("LFCR"); },
             [](QJsonObject &h) { h[u"encoding"] = QStringLiteral("utf-8"); },
             [](QJsonObject &h) { h[u"hasBOM"] = QStringLiteral("yes"); },
             [](QJsonObject &h) { h[u"savedAt"] = QStringLiteral("yesterday"); },
             [](QJsonObject &h) { h[u"contentEncoding"] = QStringLiteral("EBCDIC"); },
             [](QJsonObject &h) { h[u"richText"] = true; },
         })
        EXPECT_FALSE(AutosaveRecord::fromBytes(withHeader(record, edit)));

    // Bytes that are not UTF-8 under a header that says they are, with a matching checksum.
    AutosaveRecord forged = plainRecord();
    forged.text = QStringLiteral("x");
    QByteArray bytes = withHeader(forged, [](QJsonObject &h) {
        h[u"contentSHA256"] = QString::fromLatin1(
            QCryptographicHash::hash(QByteArray("\xff"), QCryptographicHash::Sha256).toHex());
    });
    bytes[bytes.size() - 1] = '\xff';
    EXPECT_FALSE(AutosaveRecord::fromBytes(bytes));
    bytes[bytes.size() - 1] = 'x';
    EXPECT_FALSE(AutosaveRecord::fromBytes(bytes)); // and the checksum does not fit "x"
}

TEST(AutosaveRecord, PathsIntoTheSystemsOwnFoldersAreRefused)
{
    for (const QString &path :
         {QStringLiteral("/proc/self/mem"), QStringLiteral("/sys/kernel/notes"),
          QStringLiteral("/dev/sda"), QStringLiteral("/run/user/0/bus"),
          QStringLiteral("relative/notes.txt"), QStringLiteral("/home/user/../../dev/zero"),
          QStringLiteral("/home/user/line\nbreak"), QStringLiteral("/proc")}) {
        EXPECT_FALSE(AutosaveRecord::isAcceptablePath(path)) << path.toStdString();
        AutosaveRecord record = plainRecord();
        record.filePath = path;
        EXPECT_FALSE(AutosaveRecord::fromBytes(record.toBytes())) << path.toStdString();
    }
    for (const QString &path :
         {QStringLiteral("/home/user/notes.txt"), QStringLiteral("/etc/hosts"),
          QStringLiteral("/procedures/a.md"), QStringLiteral("/tmp/dev/x")})
        EXPECT_TRUE(AutosaveRecord::isAcceptablePath(path)) << path.toStdString();
}
