#include "syntax/Chars.h"
#include "syntax/Slice.h"

#include <QString>

#include <gtest/gtest.h>

using namespace plumeo;

// The lexers' goldens exercise the ASCII classes; these are the rules for everything else.
TEST(Chars, onlyBlankAndTabAreSpacesAndEveryUnitFrom128IsALetter)
{
    for (char16_t u : {u'\r', u'\n', u'\f', u'\v', u'\u00A0', u'\u3000'})
        EXPECT_FALSE(Chars::isSpace(u)) << int(u);
    EXPECT_FALSE(Chars::isDigit(u'\u0663')); // Arabic-Indic three
    EXPECT_FALSE(Chars::isUpper(u'\u00C9'));
    // Accented letters, CJK, both halves of a surrogate pair.
    for (char16_t u : {u'\u0080', u'\u00E9', u'\u4E2D', u'\xD83D', u'\xDE00', u'\xFFFF'}) {
        EXPECT_TRUE(Chars::isLetter(u)) << int(u);
        EXPECT_TRUE(Chars::isWord(u)) << int(u);
    }
    EXPECT_FALSE(Chars::isLetter(u'_') || Chars::isLetter(u'7') || Chars::isWord(u'$'));
    EXPECT_FALSE(Chars::isLetter(u'\u007F') || Chars::isLetter(u'@') || Chars::isLetter(u'['));
}

TEST(Slice, helpersStayInsideTheSliceAndUseItsIndices)
{
    // The line "b-->c" cut out of a longer text keeps the text's indices 2..7.
    const QString text = QStringLiteral("a\nb-->c\n-->");
    const LineSlice line = LineSlice::of(text, 2, 7);

    EXPECT_EQ(Slice::find(line, u"-->", 4), std::nullopt);
    EXPECT_EQ(Slice::find(line, u"-->", 0), 3); // a start before the slice is clamped
    EXPECT_EQ(Slice::find(line, u"", 2), std::nullopt);
    EXPECT_EQ(Slice::find(line, u"c\n", 2), std::nullopt); // must fit inside the slice
    EXPECT_EQ(Slice::find(line, u"c", 2), 6);

    EXPECT_TRUE(Slice::startsWith(line, u"-->", 3));
    EXPECT_TRUE(Slice::startsWith(line, u"", 7));
    EXPECT_FALSE(Slice::startsWith(line, u"c\n", 6)); // the line feed is not part of the line
    EXPECT_FALSE(Slice::startsWith(line, u"a", 0));   // before the slice
    EXPECT_FALSE(Slice::startsWith(line, u"-", 8));   // past it

    EXPECT_EQ(Slice::at(line, 2), u'b');
    EXPECT_EQ(Slice::at(line, 7), 0); // the line feed
    EXPECT_EQ(Slice::at(line, 1), 0);
    EXPECT_EQ(Slice::at(line, 100), 0);

    const QString blanks = QStringLiteral(" \t x \t");
    EXPECT_EQ(Slice::firstNonBlank(LineSlice::of(blanks), 0), 3);
    EXPECT_EQ(Slice::firstNonBlank(LineSlice::of(blanks), 4), 6);
    EXPECT_EQ(Slice::firstNonBlank(LineSlice::of(blanks), 50), 6);
    EXPECT_EQ(Slice::firstNonBlank(LineSlice::of(QStringLiteral("\r")), 0), 0);
}
