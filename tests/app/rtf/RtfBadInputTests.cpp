#include "RtfTestSupport.h"
#include "rtf/RtfReader.h"

#include <QTextDocument>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::rtftest;

namespace {

struct Reading
{
    QString text;
    bool complete = false;
};

Reading readDamaged(const QByteArray &rtf)
{
    QTextDocument document;
    const auto result = RtfReader::read(rtf, document);
    if (!result.hasValue())
        return {QStringLiteral("<refused>"), false};
    return {text(document), result.value().complete};
}

QByteArray repeated(const char *piece, int count)
{
    return QByteArray(piece).repeated(count);
}

} // namespace

TEST(RtfBadInput, unbalancedBracesKeepTheTextRead)
{
    // Text after the document's closing brace is not part of it.
    EXPECT_EQ(readDamaged("{\\rtf1 a}b}").text, QStringLiteral("a"));
    EXPECT_TRUE(readDamaged("{\\rtf1 a}}}}").complete);
    const Reading open = readDamaged("{\\rtf1 {{{a{\\b b");
    EXPECT_EQ(open.text, QStringLiteral("ab"));
    EXPECT_FALSE(open.complete);
    EXPECT_EQ(readDamaged("{\\rtf1 a{\\*\\skipped {never closed").text, QStringLiteral("a"));
}

TEST(RtfBadInput, everyTruncationOfADocumentReads)
{
    const QByteArray full =
        R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss\fcharset0 Arial;})"
        R"({\f1\fcharset128 MS Mincho;}}{\colortbl;\red255\green0\blue0;})"
        R"({\*\generator x;}\pard\qc\li720 {\b\cf1 Bold red} caf\'e9 \u8364?)"
        R"( \uc2\u20013\'d6\'d0{\f1\'82\'a0}\tab{\field{\*\fldinst HYPERLINK "x"})"
        R"({\fldrslt link}}{\pict\bin3 abc}\par\trowd\pard\intbl A\cell\row end})";
    const QString complete = readDamaged(full).text;
    EXPECT_EQ(complete, QStringLiteral("Bold red café € 中あ\tlink\nA\nend"));
    for (qsizetype length = 0; length < full.size(); ++length) {
        const Reading reading = readDamaged(full.left(length));
        if (length < 3) {
            EXPECT_EQ(reading.text, QStringLiteral("<refused>"));
            continue;
        }
        EXPECT_FALSE(reading.complete) << length;
        // What a truncated file gives is what the whole file gives up to that point, give or take
        // the escape or character cut in two.
        EXPECT_TRUE(
            complete.startsWith(reading.text.chopped(std::min<qsizetype>(2, reading.text.size()))))
            << length << ": " << qPrintable(reading.text);
    }
}

TEST(RtfBadInput, malformedEscapesAndLoneBackslashes)
{
    EXPECT_EQ(readDamaged("{\\rtf1 a\\'zzb\\'4}").text, QStringLiteral("azzb4"));
    EXPECT_EQ(readDamaged("{\\rtf1 a\\").text, QStringLiteral("a"));
    EXPECT_EQ(readDamaged("{\\rtf1 a\\'").text, QStringLiteral("a"));
    EXPECT_EQ(readDamaged("{\\rtf1 a\\'4").text, QStringLiteral("a4"));
    EXPECT_EQ(readDamaged("{\\rtf1 a\\u").text, QStringLiteral("a"));
    EXPECT_EQ(readDamaged("{\\rtf1 a\\u-").text, QStringLiteral("a-"));
    EXPECT_EQ(readDamaged("{\\rtf1{\\fonttbl{\\f0 Ari").text, QString());
    EXPECT_EQ(readDamaged("{\\rtf1{\\colortbl;\\red").text, QString());
    // Raw NUL and control bytes do not stop reading.
    EXPECT_EQ(readDamaged(QByteArray("{\\rtf1 a\0b\x01}", 12)).text, QStringLiteral("ab\x01"));
}

TEST(RtfBadInput, binaryPayloadsAreBoundedByTheData)
{
    EXPECT_EQ(readDamaged("{\\rtf1 a\\bin2147483647 xyz}").text, QStringLiteral("a"));
    EXPECT_EQ(readDamaged("{\\rtf1 a\\bin99999999999999999999 xyz}").text, QStringLiteral("a"));
    EXPECT_EQ(readDamaged("{\\rtf1 a\\bin-5 xyz}").text, QStringLiteral("axyz"));
    EXPECT_EQ(readDamaged("{\\rtf1 a\\bin2 {}b}").text, QStringLiteral("ab"));
}

TEST(RtfBadInput, absurdParametersAreClamped)
{
    QTextDocument document;
    ASSERT_TRUE(
        RtfReader::read(
            R"({\rtf1\deff99999999999999999{\fonttbl{\f2000000000 Big;}{\f-2147483648 Neg;}})"
            R"({\colortbl;\red99999\green-5\blue256;}\ansicpg2147483647\uc99999999999 )"
            R"(\f2000000000\fs99999999999999999999\li-99999999999\fi2147483648\cf1 a\'e9)"
            R"(\f-2147483648\fs-3\cf-2147483648\highlight99999999999 b\u99999999999 c)"
            R"(\u-99999999999 d})",
            document)
            .hasValue());
    // \uc99999999999 made each \u swallow the text after it up to the end of the group.
    EXPECT_EQ(text(document), QStringLiteral("aéb\uFFFD\uFFFD"));
    const QTextCharFormat a = formatOf(document, "a");
    EXPECT_EQ(a.fontFamilies().toStringList(), QStringList{QStringLiteral("Big")});
    EXPECT_EQ(a.fontPointSize(), 1638.0);
    EXPECT_EQ(a.foreground().color(), QColor(255, 0, 255));
    EXPECT_DOUBLE_EQ(document.begin().blockFormat().leftMargin(), -31680 / 15.0);
    EXPECT_DOUBLE_EQ(document.begin().blockFormat().textIndent(), 31680 / 15.0);
    const QTextCharFormat b = formatOf(document, "b");
    // Negative font numbers name no font, and the default font number named none either.
    EXPECT_FALSE(b.hasProperty(QTextFormat::FontFamilies));
    EXPECT_EQ(b.fontPointSize(), 12.0);
    EXPECT_FALSE(b.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(b.hasProperty(QTextFormat::BackgroundBrush));
}

TEST(RtfBadInput, deepNestingNeedsNoRecursionAndLittleMemory)
{
    constexpr int depth = 100000;
    // Equal states at every level.
    Reading reading =
        readDamaged("{\\rtf1 " + repeated("{", depth) + "x" + repeated("}", depth) + "y}");
    EXPECT_EQ(reading.text, QStringLiteral("xy"));
    EXPECT_TRUE(reading.complete);
    // …each of which is restored in turn.
    QTextDocument document;
    readText(document, "{\\rtf1 " + repeated("{\\b ", 3) + "x" + repeated("}", 3) + "y}");
    EXPECT_EQ(formatOf(document, "x").fontWeight(), QFont::Bold);
    EXPECT_EQ(formatOf(document, "y").fontWeight(), QFont::Normal);
    // A different state at every level: each closing brace restores the one before.
    reading = readDamaged("{\\rtf1 " + repeated("{\\b a{\\b0 ", depth) + "x" + repeated("}}", depth)
                          + "y}");
    EXPECT_EQ(reading.text.size(), depth + 2);
    EXPECT_TRUE(reading.complete);
    // Past the limit of distinct saved states, reading goes on.
    reading = readDamaged("{\\rtf1 " + repeated("{\\fs30 {\\fs20 ", 150000) + "x");
    EXPECT_EQ(reading.text, QStringLiteral("x"));
    EXPECT_FALSE(reading.complete);
    // Nesting inside skipped destinations and never closed.
    reading = readDamaged("{\\rtf1 a{\\*\\x " + repeated("{", depth));
    EXPECT_EQ(reading.text, QStringLiteral("a"));
    EXPECT_FALSE(reading.complete);
}
