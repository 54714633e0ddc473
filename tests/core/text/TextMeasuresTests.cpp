#include "text/IndentStyle.h"
#include "text/TextStatistics.h"

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

TextStatistics measure(const QString &text)
{
    return TextStatistics::measure(text);
}

QString repeated(const QString &line, int times)
{
    QString text;
    for (int i = 0; i < times; ++i)
        text += line;
    return text;
}

} // namespace

TEST(TextStatistics, CountsScalarsWordsAndLines)
{
    EXPECT_EQ(measure(""), (TextStatistics{1, 0, 0}));
    EXPECT_EQ(measure("one two\n"), (TextStatistics{2, 2, 8}));
    EXPECT_EQ(measure("  \t "), (TextStatistics{1, 0, 4}));
    EXPECT_EQ(measure("a,b"), (TextStatistics{1, 1, 3}));
    EXPECT_EQ(measure("a , b"), (TextStatistics{1, 3, 5}));
    // Every White_Space character separates words, the no-break and ideographic spaces included.
    EXPECT_EQ(measure(QStringLiteral("a\u00A0b")).words, 2);
    EXPECT_EQ(measure(QStringLiteral("a\u3000b\u2028c\u202Fd\u0085e\u1680f")).words, 6);
    // …and nothing else does: zero-width space and word joiner are not White_Space.
    EXPECT_EQ(measure(QStringLiteral("a\u200Bb\u2060c")).words, 1);
    // A base letter and a combining mark are two characters; an emoji is one, though two units.
    EXPECT_EQ(measure(QStringLiteral("e\u0301")).characters, 2);
    EXPECT_EQ(measure(QStringLiteral("😀 😀")), (TextStatistics{1, 2, 3}));
    // A CR is a separator but not a line break.
    EXPECT_EQ(measure("a\rb"), (TextStatistics{1, 2, 3}));
    EXPECT_EQ(measure("\n\n"), (TextStatistics{3, 0, 2}));
}

TEST(IndentStyle, DetectionFromTheSmallestIndentation)
{
    const IndentStyle fallback(false, 4);
    const IndentStyle tabFallback(true, 3);
    EXPECT_EQ(IndentStyle::detect(u"a\n    b\n        c\n", fallback), IndentStyle(false, 4));
    EXPECT_EQ(IndentStyle::detect(u"a\n  b\n   c\n", tabFallback), IndentStyle(false, 2));
    EXPECT_EQ(IndentStyle::detect(u"a\n        b\n", tabFallback), IndentStyle(false, 8));
    // Six, or no indentation at all, gives no width of its own.
    EXPECT_EQ(IndentStyle::detect(u"a\n      b\n", tabFallback), tabFallback);
    EXPECT_EQ(IndentStyle::detect(u"x\ny\n", tabFallback), tabFallback);

    // A tab in a line's indentation decides at once, with the fallback's width.
    EXPECT_EQ(IndentStyle::detect(u"a\n\tb\n  c\n", IndentStyle(false, 2)), IndentStyle(true, 2));
    EXPECT_EQ(IndentStyle::detect(u"a\n  \tb\n", IndentStyle(false, 5)), IndentStyle(true, 5));
    EXPECT_EQ(IndentStyle::detect(u"a\n\t\n", fallback), IndentStyle(true, 4));
    // A tab after the first non-blank character is not indentation.
    EXPECT_EQ(IndentStyle::detect(u"a\tb\n  c\n", fallback), IndentStyle(false, 2));

    // Lines of nothing but spaces are not sampled, whatever ends them.
    EXPECT_EQ(IndentStyle::detect(u"a\n \n    b\n", fallback), IndentStyle(false, 4));
    EXPECT_EQ(IndentStyle::detect(u"a\n \r\n    b\n", fallback), IndentStyle(false, 4));

    // Only the first 200 indented lines are read: a later tab is never reached…
    const QString spaces = repeated(QStringLiteral("    x\n"), 300) + QStringLiteral("\ty\n");
    EXPECT_EQ(IndentStyle::detect(spaces, tabFallback), IndentStyle(false, 4));
    // …and neither is a later, smaller indentation (the 200th line still counts).
    const QString atLimit = repeated(QStringLiteral("    x\n"), 199) + QStringLiteral("  y\n  z\n");
    EXPECT_EQ(IndentStyle::detect(atLimit, fallback), IndentStyle(false, 2));
    const QString pastLimit = repeated(QStringLiteral("    x\n"), 200) + QStringLiteral("  y\n");
    EXPECT_EQ(IndentStyle::detect(pastLimit, fallback), IndentStyle(false, 4));
}

TEST(IndentStyle, UnitHasAtLeastOneColumn)
{
    EXPECT_EQ(IndentStyle(false, -4).unit(), u" ");
    EXPECT_EQ(IndentStyle(false, 3).unit(), u"   ");
}
