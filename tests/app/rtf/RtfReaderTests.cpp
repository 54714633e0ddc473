#include "RtfTestSupport.h"
#include "rtf/RtfFormatTable.h"
#include "rtf/RtfReader.h"

#include <tuple>

#include <QColor>
#include <QFont>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::rtftest;

namespace {

QString read(const QByteArray &rtf)
{
    QTextDocument document;
    return readText(document, rtf);
}

} // namespace

TEST(RtfReader, refusesDataThatIsNotRtfAndLeavesTheDocumentAlone)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("kept"));
    for (const QByteArray &data :
         {QByteArray(), QByteArray("hello"), QByteArray("{ \\rtf1 x}"), QByteArray("{\"key\": 1}"),
          QByteArray("\\rtf1 x}"), QByteArray("{{\\rtf1 x}}"), QByteArray("{\\")}) {
        const auto result = RtfReader::read(data, document);
        ASSERT_FALSE(result.hasValue()) << data.constData();
        EXPECT_EQ(result.error(), RtfReadError::notRtf);
        EXPECT_EQ(document.toPlainText(), QStringLiteral("kept"));
    }
    EXPECT_EQ(read("\xEF\xBB\xBF \r\n{\\rtf1 ok}"), QStringLiteral("ok"));
    EXPECT_TRUE(RtfReader::hasRtfSignature("\xEF\xBB\xBF\n{\\rtf1"));
    EXPECT_FALSE(RtfReader::hasRtfSignature("x{\\rtf1"));
    EXPECT_FALSE(RtfReader::hasRtfSignature("{\\pard x}"));
}

TEST(RtfReader, replacesTheWholeContentAndReadsFragmentsToTheirEnd)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("old\nlines"));
    // Without the document group, reading goes to the end of the data, past unbalanced braces.
    auto result = RtfReader::read("{\\pard\\qc A\\par}\n{\\b B}} C", document);
    ASSERT_TRUE(result.hasValue());
    EXPECT_TRUE(result.value().complete);
    EXPECT_EQ(text(document), QStringLiteral("A\nB C"));
    EXPECT_EQ(blockOf(document, "A").alignment(), Qt::AlignHCenter);
    EXPECT_EQ(formatOf(document, "B").fontWeight(), QFont::Bold);
    EXPECT_FALSE(RtfReader::read("{\\pard {A", document).value().complete);

    result = RtfReader::read("{\\rtf1 {\\b cut", document);
    ASSERT_TRUE(result.hasValue());
    EXPECT_FALSE(result.value().complete);
    EXPECT_EQ(text(document), QStringLiteral("cut"));
    EXPECT_EQ(document.blockCount(), 1);
}

TEST(RtfReader, unicodeEscapesAndTheirFallbacks)
{
    // \uc1 by default: one fallback character after each \u, which may be an escape.
    EXPECT_EQ(read(R"({\rtf1 caf\u233?s \u8220\'93x\u8221\'94})"), QStringLiteral("cafés “x”"));
    EXPECT_EQ(read(R"({\rtf1 {\uc2\u228\'e8a}b})"), QStringLiteral("äb"));
    EXPECT_EQ(read(R"({\rtf1\uc0 \u8226 x})"), QStringLiteral("•x"));
    // Negative values are the signed reading of 16 bits; a surrogate pair gives one character.
    EXPECT_EQ(read(R"({\rtf1 \u-3913?\u-10179?\u-8704?})"), QStringLiteral("\uF0B7😀"));
    // Halves without their partner, and values out of range, become U+FFFD.
    EXPECT_EQ(read(R"({\rtf1 a\u-10179?b\u-8704?c\u-10179?})"),
              QStringLiteral("a\uFFFDb\uFFFDc\uFFFD"));
    EXPECT_EQ(read(R"({\rtf1 \u1114112?x\u-40000?y})"), QStringLiteral("\uFFFDx\uFFFDy"));
    // The fallback ends at a brace; control words neither count nor get dropped (LibreOffice too).
    EXPECT_EQ(read(R"({\rtf1 {\u8226}x{\uc3\u8226\tab ab}c})"), QStringLiteral("•x•\tc"));
    // \uc belongs to the group.
    EXPECT_EQ(read(R"({\rtf1 {\uc0 \u233}\u233?e})"), QStringLiteral("éée"));
}

TEST(RtfReader, eightBitTextFollowsTheCodePageInForce)
{
    // No \ansicpg: Windows-1252.
    EXPECT_EQ(read(R"({\rtf1\ansi \'93hi\'94 \'80})"), QStringLiteral("“hi” €"));
    EXPECT_EQ(read(R"({\rtf1\ansi\ansicpg1251 \'cf\'f0\'e8})"), QStringLiteral("При"));
    EXPECT_EQ(read(R"({\rtf1\mac \'8e})"), QStringLiteral("é"));
    // A font's charset overrides the document's page; charset 0 is Western whatever \ansicpg says;
    // a font without charset uses the document's page.
    EXPECT_EQ(read(R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0\fcharset0 Arial;}{\f1\fcharset238 A;})"
                   R"({\f2 Tahoma;}}\f0\'e9\f1\'e8\f2\'e9})"),
              QStringLiteral("éčй"));
    // Raw 8-bit bytes are text in the same page.
    EXPECT_EQ(read("{\\rtf1\\ansi\\ansicpg1253 \xe1\xe2}"), QStringLiteral("αβ"));
    // Undecodable bytes become U+FFFD; an unknown page reads as Windows-1252.
    EXPECT_EQ(read(R"({\rtf1\ansicpg1253 \'ff})"), QStringLiteral("\uFFFD"));
    EXPECT_EQ(read(R"({\rtf1\ansicpg99999 \'e9})"), QStringLiteral("é"));
}

TEST(RtfReader, doubleByteCodePages)
{
    // Escaped pairs, in Shift-JIS through \fcharset128 and GBK through \ansicpg936.
    EXPECT_EQ(read(R"({\rtf1{\fonttbl{\f1\fcharset128 MS Mincho;}}\f1\'82\'a0\'83\'5c})"),
              QStringLiteral("あソ"));
    EXPECT_EQ(read(R"({\rtf1\ansi\ansicpg936 \'d6\'d0\'ce\'c4})"), QStringLiteral("中文"));
    // Raw Shift-JIS: the trail byte 0x5C of "ソ" is not a backslash, 0x7B/0x7D not braces.
    EXPECT_EQ(read("{\\rtf1{\\fonttbl{\\f1\\fcharset128 MS Mincho;}}\\f1 \x83\x5c\x83\x7b!}"),
              QStringLiteral("ソボ!"));
    // A lead byte cut off by a control word is undecodable, not a crash.
    EXPECT_EQ(read(R"({\rtf1\ansicpg932 \'82\b\'a0})"), QStringLiteral("\uFFFD\uFFFD"));
}

TEST(RtfReader, symbolFontsMapToUnicode)
{
    EXPECT_EQ(read(R"({\rtf1{\fonttbl{\f0 Times;}{\f2 Symbol;}}{\f2\'b7 ab}\f0 ab})"),
              QStringLiteral("• αβab"));
    EXPECT_EQ(
        read(
            R"({\rtf1{\fonttbl{\f3\fcharset2 Wingdings;}{\f4\fcharset2 Marlett;}}\f3\'a7\f4\'a7})"),
        QStringLiteral("▪\uF0A7"));
}

TEST(RtfReader, specialCharactersAndBreaks)
{
    EXPECT_EQ(
        read(
            R"({\rtf1 a\tab b\line c\par d\emdash\endash\lquote\rquote\ldblquote\rdblquote\bullet})"),
        QStringLiteral("a\tb\u2028c\nd—–‘’“”•"));
    EXPECT_EQ(read(R"({\rtf1 a\~b\-c\_d \\ \{ \}})"),
              QStringLiteral("a\u00A0b\u00ADc\u2011d \\ { }"));
    // Line breaks in the file are not text; a backslash before one is a paragraph mark.
    EXPECT_EQ(read("{\\rtf1 a\r\nb\\\r\nc\\\nd}"), QStringLiteral("ab\nc\nd"));
    // Only the space right after a control word is its delimiter.
    EXPECT_EQ(read(R"({\rtf1 \b  x\b0\par  y})"), QStringLiteral(" x\n y"));
    // Characters Qt would take for paragraph breaks become paragraph breaks; NUL is dropped.
    EXPECT_EQ(read(R"({\rtf1 a\u8233?b\u13?c\'0ad\'00e})"), QStringLiteral("a\nb\nc\nde"));
    // A page or section break ends a paragraph that has text, and adds none between paragraphs.
    EXPECT_EQ(read(R"({\rtf1 one\page two\par\page three\sect\sectd})"),
              QStringLiteral("one\ntwo\nthree\n"));
}

TEST(RtfReader, skipsDestinationsThatAreNotBodyText)
{
    const QByteArray rtf =
        R"({\rtf1\ansi{\fonttbl{\f0\fswiss{\*\panose 020b}Arial{\*\falt Helv};}})"
        R"({\colortbl;\red255\green0\blue0;}{\stylesheet{\s1 Heading 1;}})"
        R"({\info{\title T}{\author A}}{\*\generator G;}{\header H}{\footer F})"
        R"({\*\unknownthing x{y}z}A{\pict\pngblip 89504e47}B{\*\bkmkstart b}C)"
        R"({\footnote N}D{\field{\*\fldinst HYPERLINK "u"}{\fldrslt E}}F)"
        R"({\field{\fldinst PAGE}{\fldrslt 1}}{\pict\bin4 }{}x}G)"
        R"({\upr{x}{\*\ud{H}}}{\nonesttables I}{\*\shpinst J}K})";
    EXPECT_EQ(read(rtf), QStringLiteral("ABCDEF1GHK"));
}

TEST(RtfReader, tableCellsBecomeParagraphs)
{
    // Word's layout, two empty cells included.
    EXPECT_EQ(read(R"({\rtf1 x\par\trowd\cellx100\cellx200\pard\intbl A\cell B\cell\row)"
                   R"(\trowd\pard\intbl\cell\cell\row\pard y})"),
              QStringLiteral("x\nA\nB\n\n\ny"));
    // pandoc ends each cell's paragraph with \par inside the cell: no extra empty paragraph.
    EXPECT_EQ(
        read(R"({\rtf1\trowd\pard\intbl{\pard\intbl A\par}\cell{\pard\intbl B\par}\cell\row z})"),
        QStringLiteral("A\nB\nz"));
}

TEST(RtfReader, fontsAndSizes)
{
    QTextDocument document;
    readText(document, R"({\rtf1\deff1{\fonttbl\f0\froman Times New Roman;\f1\fswiss Helvetica;)"
                       R"({\f2{\*\fname X;}Courier New;}{\f3\fnil\fcharset0  Spaced Name ;}})"
                       R"(a\f0\fs30 b\f2\fs17 c\plain d{\f3 e}\f9 f\fs0 g})");
    EXPECT_EQ(text(document), QStringLiteral("abcdefg"));
    for (const auto &[at, family, size] :
         {std::tuple{"a", "Helvetica", 12.0}, std::tuple{"b", "Times New Roman", 15.0},
          std::tuple{"c", "Courier New", 8.5}, std::tuple{"d", "Helvetica", 12.0},
          std::tuple{"e", "Spaced Name", 12.0}}) {
        EXPECT_EQ(formatOf(document, at).fontFamilies().toStringList(),
                  QStringList{QString::fromUtf8(family)})
            << at;
        EXPECT_EQ(formatOf(document, at).fontPointSize(), size) << at;
    }
    // An unknown font number gives no family (the view's default applies); \fs0 means the default.
    EXPECT_FALSE(formatOf(document, "f").hasProperty(QTextFormat::FontFamilies));
    EXPECT_EQ(formatOf(document, "g").fontPointSize(), 12.0);
}

TEST(RtfReader, characterStylesToggle)
{
    QTextDocument document;
    readText(document, R"({\rtf1 \b a\b0 b\i c\i0\ul d\ul0\uldb e\ulnone f\strike g\strike0)"
                       R"(\striked1 h\plain i\super j\nosupersub\sub k\plain\caps l\caps0\scaps m)"
                       R"(\plain\v n\v0 o})");
    EXPECT_EQ(text(document), QStringLiteral("abcdefghijklmno"));
    EXPECT_EQ(formatOf(document, "a").fontWeight(), QFont::Bold);
    EXPECT_EQ(formatOf(document, "b").fontWeight(), QFont::Normal);
    EXPECT_TRUE(formatOf(document, "c").fontItalic());
    EXPECT_TRUE(formatOf(document, "d").fontUnderline());
    EXPECT_FALSE(formatOf(document, "d").fontItalic());
    EXPECT_TRUE(formatOf(document, "e").fontUnderline());
    EXPECT_FALSE(formatOf(document, "f").fontUnderline());
    EXPECT_TRUE(formatOf(document, "g").fontStrikeOut());
    EXPECT_TRUE(formatOf(document, "h").fontStrikeOut());
    EXPECT_FALSE(formatOf(document, "i").fontStrikeOut());
    EXPECT_EQ(formatOf(document, "j").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatOf(document, "k").verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(formatOf(document, "l").fontCapitalization(), QFont::AllUppercase);
    EXPECT_EQ(formatOf(document, "m").fontCapitalization(), QFont::SmallCaps);
    // Hidden text is kept, marked, so that it is not lost when the file is saved again.
    EXPECT_TRUE(formatOf(document, "n").boolProperty(RtfFormatTable::hiddenTextProperty));
    EXPECT_FALSE(formatOf(document, "o").hasProperty(RtfFormatTable::hiddenTextProperty));
}

TEST(RtfReader, noColourIsNotBlack)
{
    QTextDocument document;
    readText(document, R"({\rtf1{\colortbl;\red0\green0\blue0;\red255\green0\blue0;})"
                       R"(a\cf0 b\cf1 c\cf2 d\cf99 e\cf2\plain f{\cf2 g}h\cb2 i\cb0 j)"
                       R"(\highlight1 k\highlight0 l\chcbpat2 m\chcbpat0 n})");
    EXPECT_EQ(text(document), QStringLiteral("abcdefghijklmn"));
    for (const char *plain : {"a", "b", "e", "f", "h"})
        EXPECT_FALSE(formatOf(document, plain).hasProperty(QTextFormat::ForegroundBrush)) << plain;
    EXPECT_EQ(formatOf(document, "c").foreground().color(), QColor(Qt::black));
    EXPECT_EQ(formatOf(document, "d").foreground().color(), QColor(Qt::red));
    EXPECT_EQ(formatOf(document, "g").foreground().color(), QColor(Qt::red));
    EXPECT_EQ(formatOf(document, "i").background().color(), QColor(Qt::red));
    EXPECT_EQ(formatOf(document, "k").background().color(), QColor(Qt::black));
    EXPECT_EQ(formatOf(document, "m").background().color(), QColor(Qt::red));
    for (const char *plain : {"a", "j", "l", "n"})
        EXPECT_FALSE(formatOf(document, plain).hasProperty(QTextFormat::BackgroundBrush)) << plain;

    // A table whose first entry is a real colour makes \cf0 that colour.
    readText(document, R"({\rtf1{\colortbl\red0\green0\blue255;}\cf0 x})");
    EXPECT_EQ(formatOf(document, "x").foreground().color(), QColor(Qt::blue));
}

TEST(RtfReader, paragraphAlignmentAndIndents)
{
    QTextDocument document;
    readText(document,
             R"({\rtf1\qc centred\par right\qr\par\pard\qj\li720\ri360\fi-360\sb120\sa240 )"
             R"(justified\par left\pard\par {\qc inner\par}last\qr})");
    EXPECT_EQ(text(document), QStringLiteral("centred\nright\njustified\nleft\ninner\nlast"));
    EXPECT_EQ(blockOf(document, "centred").alignment(), Qt::AlignHCenter);
    // Properties hold for the paragraph they are in at its \par, wherever they appear in it.
    EXPECT_EQ(blockOf(document, "right").alignment(), Qt::AlignRight);
    const QTextBlockFormat justified = blockOf(document, "justified");
    EXPECT_EQ(justified.alignment(), Qt::AlignJustify);
    EXPECT_DOUBLE_EQ(justified.leftMargin(), 48.0);
    EXPECT_DOUBLE_EQ(justified.rightMargin(), 24.0);
    EXPECT_DOUBLE_EQ(justified.textIndent(), -24.0);
    EXPECT_DOUBLE_EQ(justified.topMargin(), 8.0);
    EXPECT_DOUBLE_EQ(justified.bottomMargin(), 16.0);
    // \pard before the \par of "left" resets it.
    EXPECT_EQ(blockOf(document, "left").alignment(), Qt::AlignLeft);
    EXPECT_FALSE(blockOf(document, "left").hasProperty(QTextFormat::BlockLeftMargin));
    EXPECT_EQ(blockOf(document, "inner").alignment(), Qt::AlignHCenter);
    // The last paragraph, without \par, takes what is in force at the end.
    EXPECT_EQ(blockOf(document, "last").alignment(), Qt::AlignRight);
}

TEST(RtfReader, emptyParagraphsKeepTheirMarkFormat)
{
    QTextDocument document;
    readText(document, R"({\rtf1 a\par\fs40\par b})");
    ASSERT_EQ(document.blockCount(), 3);
    EXPECT_EQ(document.findBlockByNumber(1).charFormat().fontPointSize(), 20.0);
}

TEST(RtfReader, documentPartEndsAtTheBraceThatClosesTheDocument)
{
    const auto part = [](const QByteArray &data) {
        return RtfReader::documentPart(data).toByteArray();
    };
    EXPECT_EQ(part(QByteArray("{\\rtf1 a}\0", 10)), "{\\rtf1 a}");
    EXPECT_EQ(part(QByteArray("\xEF\xBB\xBF\r\n{\\rtf1 a}\r\n\0\0", 17)),
              "\xEF\xBB\xBF\r\n{\\rtf1 a}");
    // Escaped braces, hex escapes and binary payloads are not group boundaries.
    EXPECT_EQ(part("{\\rtf1 \\} \\{ \\'7d {\\b x}\\bin3 }}}y} tail"),
              "{\\rtf1 \\} \\{ \\'7d {\\b x}\\bin3 }}}y}");
    // Not a document, or a document that never closes: everything.
    EXPECT_EQ(part(QByteArray("{\\rtf1 {a}\0", 11)), QByteArray("{\\rtf1 {a}\0", 11));
    EXPECT_EQ(part("{\\pard a} b"), "{\\pard a} b");
    EXPECT_EQ(part("plain}"), "plain}");
    EXPECT_EQ(part(""), "");
}

TEST(RtfReader, frameMarkersAreParagraphBreaksUnlessStoredAsGivenUnits)
{
    const QByteArray rtf = "{\\rtf1\\uc1 a\\u-560?b\\u64977?c}";
    QTextDocument document;
    auto result = RtfReader::read(rtf, document);
    ASSERT_TRUE(result.hasValue());
    EXPECT_TRUE(result.value().hasFrameMarkers);
    EXPECT_EQ(text(document), QStringLiteral("a\nb\nc"));

    result = RtfReader::read(rtf, document, RtfFrameMarkers{u'\uE000', u'\uE001'});
    ASSERT_TRUE(result.hasValue());
    EXPECT_EQ(text(document), QStringLiteral("a\uE000b\uE001c"));
    EXPECT_TRUE(RtfReader::read("{\\rtf1 plain\\u-559?}", document).value().hasFrameMarkers);
    EXPECT_FALSE(RtfReader::read("{\\rtf1 plain}", document).value().hasFrameMarkers);
}
