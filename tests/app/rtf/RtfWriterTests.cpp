#include "RtfTestSupport.h"
#include "rtf/RtfWriter.h"

#include <QColor>
#include <QFont>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::rtftest;

namespace {

QByteArray writePlain(const QString &content)
{
    QTextDocument document;
    QTextCursor(&document).insertText(content);
    return RtfWriter::write(document);
}

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
}

} // namespace

TEST(RtfWriter, escapesTextAndWritesUnicodeAsSignedSixteenBitEscapes)
{
    const QByteArray rtf =
        writePlain(QStringLiteral("a\\{b};\tc\u2028d\u00A0e\u00ADf\u2011g café 😀 \uFFFF"));
    EXPECT_TRUE(isAscii(rtf));
    EXPECT_TRUE(rtf.contains(
        R"(a\\\{b\};\tab c\line d\~e\-f\_g caf\u233\'3f \u-10179\'3f\u-8704\'3f \u-1\'3f)"))
        << rtf.constData();
    // A lone surrogate is written as U+FFFD rather than as half a character.
    QString lone = QStringLiteral("x");
    lone.append(QChar(0xD800));
    EXPECT_TRUE(writePlain(lone).contains("x\\u-3\\'3f"));
}

TEST(RtfWriter, textWithoutColourGetsNoColourWord)
{
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Sans"), 12));
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("none "));
    QTextCharFormat black;
    black.setForeground(QColor(Qt::black));
    cursor.insertText(QStringLiteral("black "), black);
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    red.setBackground(QColor(0, 0, 255));
    cursor.insertText(QStringLiteral("red"), red);
    const QByteArray rtf = RtfWriter::write(document);
    EXPECT_TRUE(rtf.contains(
        R"({\colortbl;\red0\green0\blue0;\red255\green0\blue0;\red0\green0\blue255;})"))
        << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\plain\\f0\\fs24 none \\plain")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\cf1 black ")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\cf2\\chcbpat3\\cb3 red")) << rtf.constData();

    EXPECT_FALSE(writePlain(QStringLiteral("plain")).contains("\\cf"));
}

// Paragraph properties and sizes are pinned by the reader's tests and the round trip.
TEST(RtfWriter, headerFontTableAndTheDefaultFont)
{
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Default Family"), 11));
    QTextCursor cursor(&document);
    QTextCharFormat serif;
    serif.setFontFamilies(QStringList{QStringLiteral("Noto Serif"), QStringLiteral("Fallback")});
    serif.setFontPointSize(10.5);
    serif.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("serif"), serif);
    cursor.insertText(QStringLiteral(" default"), QTextCharFormat());
    cursor.insertBlock(QTextBlockFormat());
    QTextCharFormat odd;
    odd.setFontFamilies(QStringList{QStringLiteral("Semi;colon ÿ")});
    cursor.insertText(QStringLiteral("odd"), odd);

    const QByteArray rtf = RtfWriter::write(document);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl"));
    EXPECT_TRUE(rtf.contains(R"({\f0\fnil\fcharset0 Noto Serif;})")) << rtf.constData();
    EXPECT_TRUE(rtf.contains(R"({\f1\fnil\fcharset0 Default Family;})")) << rtf.constData();
    EXPECT_TRUE(rtf.contains(R"({\f2\fnil\fcharset0 Semi\'3bcolon \u255\'3f;})"))
        << rtf.constData();
    EXPECT_TRUE(rtf.contains(R"(\plain\f0\fs21\b serif)")) << rtf.constData();
    EXPECT_TRUE(rtf.contains(R"(\plain\f1\fs22  default)")) << rtf.constData();
    EXPECT_TRUE(rtf.endsWith("}\n"));
}
