#include "editing/EditingCommands.h"

#include "EditingTestSupport.h"

#include <gtest/gtest.h>

using namespace plumeo;
using namespace Qt::Literals::StringLiterals;
using namespace plumeo::test;
namespace E = plumeo::EditingCommands;

namespace {

const IndentStyle spaces4{false, 4};
const IndentStyle tabs{true, 4};

QString newline(const QString &marked, const IndentStyle &style = spaces4)
{
    return run(marked,
               [&](QStringView t, TextRange s) { return std::optional(E::newline(t, s, style)); });
}

QString tab(const QString &marked, const IndentStyle &style = spaces4)
{
    return run(marked, [&](QStringView t, TextRange s) { return E::insertTab(t, s, style); });
}

QString indent(const QString &marked, const IndentStyle &style = spaces4)
{
    return run(marked, [&](QStringView t, TextRange s) { return E::indentLines(t, s, style); });
}

QString outdent(const QString &marked, const IndentStyle &style = spaces4)
{
    return run(marked, [&](QStringView t, TextRange s) { return E::outdentLines(t, s, style); });
}

QString duplicate(const QString &marked)
{
    return run(marked, E::duplicateLines);
}

QString remove(const QString &marked)
{
    return run(marked, E::deleteLines);
}

QString up(const QString &marked)
{
    return run(marked, E::moveLinesUp);
}

QString down(const QString &marked)
{
    return run(marked, E::moveLinesDown);
}

} // namespace

TEST(LineRange, CoversWholeLinesAndStopsAtAnLFThatEndsTheRange)
{
    const QString text = u"ab\ncd\nef"_s;
    EXPECT_EQ(E::lineRange(text, {0, 0}), (TextRange{0, 3}));
    EXPECT_EQ(E::lineRange(text, {2, 0}), (TextRange{0, 3})); // the LF belongs to its line
    EXPECT_EQ(E::lineRange(text, {3, 0}), (TextRange{3, 3}));
    EXPECT_EQ(E::lineRange(text, {1, 3}), (TextRange{0, 6}));
    EXPECT_EQ(E::lineRange(text, {0, 3}), (TextRange{0, 3})); // ends just after an LF
    EXPECT_EQ(E::lineRange(text, {7, 0}), (TextRange{6, 2})); // last line, no LF

    const QString ending = u"ab\n"_s;
    EXPECT_EQ(E::lineRange(ending, {3, 0}), (TextRange{3, 0})); // the empty last line
    EXPECT_EQ(E::lineRange(u""_s, {0, 0}), (TextRange{0, 0}));
    EXPECT_EQ(E::lineRange(u"\n\n"_s, {1, 0}), (TextRange{1, 1}));

    // Out of range selections are kept within the text rather than trusted.
    EXPECT_EQ(E::lineRange(text, {50, 10}), (TextRange{6, 2}));
    EXPECT_EQ(E::lineRange(text, {-4, 2}), (TextRange{0, 3}));
}

TEST(Newline, KeepsIndentationAndOpensBrackets)
{
    EXPECT_EQ(newline(u"    if (x) {¦"_s), u"    if (x) {\n        ¦"_s);
    EXPECT_EQ(newline(u"    f() {¦}"_s), u"    f() {\n        ¦\n    }"_s);
    EXPECT_EQ(newline(u"    call(¦)"_s), u"    call(\n        ¦\n    )"_s);
    // Any closing bracket moves down, matching or not; other characters stay.
    EXPECT_EQ(newline(u"(¦]"_s), u"(\n    ¦\n]"_s);
    EXPECT_EQ(newline(u"{¦x}"_s), u"{\n    ¦x}"_s);
    // A closing bracket without an opening one before the caret changes nothing.
    EXPECT_EQ(newline(u"  a¦}"_s), u"  a\n  ¦}"_s);
    // Blanks after the bracket are trimmed when looking for it, including a no-break space.
    EXPECT_EQ(newline(u"{ \t\u00A0¦"_s), u"{ \t\u00A0\n    ¦"_s);
    // Only the indentation before the caret is copied.
    EXPECT_EQ(newline(u"  ¦  x"_s), u"  \n  ¦  x"_s);
    EXPECT_EQ(newline(u"\t \tx¦"_s), u"\t \tx\n\t \t¦"_s);
    // Tabs as the unit; a selection is replaced and the character after it decides.
    EXPECT_EQ(newline(u"\tif {¦"_s, tabs), u"\tif {\n\t\t¦"_s);
    EXPECT_EQ(newline(u"a{«xyz»}"_s), u"a{\n    ¦\n}"_s);
    EXPECT_EQ(newline(u"  {«x\ny»)"_s), u"  {\n      ¦\n  )"_s);
    // Boundaries: empty text, the first and the last line, after a final LF.
    EXPECT_EQ(newline(u"¦"_s), u"\n¦"_s);
    EXPECT_EQ(newline(u"a\n  b¦"_s), u"a\n  b\n  ¦"_s);
    EXPECT_EQ(newline(u"  a\n¦"_s), u"  a\n\n¦"_s);
    // A blank line has no last character.
    EXPECT_EQ(newline(u"    ¦"_s), u"    \n    ¦"_s);
    // Odd widths are honoured, absurd ones bounded.
    EXPECT_EQ(newline(u"[¦"_s, IndentStyle(false, 2)), u"[\n  ¦"_s);
    EXPECT_EQ(E::newline(u"{"_s, {1, 0}, IndentStyle(false, 1'000'000'000)).replacement.size(),
              257);
}

TEST(Tab, InsertsToTheNextStopOrIndentsSpannedLines)
{
    EXPECT_EQ(tab(u"abcdef¦"_s), u"abcdef  ¦"_s); // column 6, width 4
    EXPECT_EQ(tab(u"¦x"_s), u"    ¦x"_s);
    EXPECT_EQ(tab(u"x\nab¦"_s), u"x\nab  ¦"_s); // the column counts from the caret's line
    EXPECT_EQ(tab(u"\t¦"_s), u"\t   ¦"_s);      // a tab counts as one unit
    EXPECT_EQ(tab(u"😀¦"_s), u"😀  ¦"_s);         // a surrogate pair counts as two
    EXPECT_EQ(tab(u"abcdef¦"_s, tabs), u"abcdef\t¦"_s);
    // A selection within one line is replaced; its start gives the column.
    EXPECT_EQ(tab(u"a«bc»d"_s), u"a   ¦d"_s);
    // A selection spanning a line break indents its lines and selects them.
    EXPECT_EQ(tab(u"a«b\nc»d\ne"_s), u"«    ab\n    cd\n»e"_s);
    EXPECT_EQ(tab(u"«a\n»b"_s), u"«    a\n»b"_s);
}

TEST(IndentAndOutdent, TransformTheSelectedLines)
{
    EXPECT_EQ(indent(u"«a\n\nb»"_s), u"«    a\n\n    b»"_s);
    // Selections ending just after an LF leave the next line alone.
    EXPECT_EQ(indent(u"«a\nb\n»c"_s), u"«    a\n    b\n»c"_s);
    EXPECT_EQ(indent(u"x\n«a\n»"_s), u"x\n«    a\n»"_s);
    // A caret keeps its place in the text: column 5 becomes column 9.
    EXPECT_EQ(indent(u"abcde¦fg"_s), u"    abcde¦fg"_s);
    EXPECT_EQ(indent(u"¦"_s), u"¦"_s);
    EXPECT_EQ(indent(u"a\n¦"_s), u"a\n¦"_s); // the empty last line stays empty

    EXPECT_EQ(outdent(u"«\ta\n  b\n      c\n d\ne»"_s), u"«a\nb\n  c\nd\ne»"_s);
    EXPECT_EQ(outdent(u"«\t\ta\n \tb»"_s), u"«\ta\n\tb»"_s); // one tab, or spaces only
    EXPECT_EQ(outdent(u"x\n ¦ y"_s), u"x\n¦y"_s);            // never onto the previous line
    EXPECT_EQ(outdent(u"   ab¦c"_s, IndentStyle(false, 2)), u" ab¦c"_s);
    EXPECT_EQ(outdent(u"a¦bc"_s), u"a¦bc"_s);               // nothing to remove
    EXPECT_EQ(outdent(u"    a\n    b¦"_s), u"    a\nb¦"_s); // last line, no final LF
}

TEST(TransformLines, SelectsTheWholeResultOrMovesTheCaretWithItsLine)
{
    const auto shout = [](QStringView line) { return line.toString().toUpper() + u'!'; };
    EXPECT_EQ(run(u"a\nb«c\nd»e\nf"_s,
                  [&](QStringView t, TextRange s) { return E::transformLines(t, s, shout); }),
              u"a\n«BC!\nDE!\n»f"_s);
    EXPECT_EQ(
        run(u"ab¦c"_s, [&](QStringView t, TextRange s) { return E::transformLines(t, s, shout); }),
        u"ABC¦!"_s); // the first line grew by 1 unit
    const auto drop = [](QStringView line) {
        return line.sliced(std::min<qsizetype>(3, line.size())).toString();
    };
    EXPECT_EQ(run(u"x\nab¦cdef"_s,
                  [&](QStringView t, TextRange s) { return E::transformLines(t, s, drop); }),
              u"x\n¦def"_s);
}

TEST(DuplicateLines, PutsTheSelectionOnTheLowerCopy)
{
    EXPECT_EQ(duplicate(u"a\nb¦"_s), u"a\nb\nb¦"_s); // last line, no final LF
    EXPECT_EQ(duplicate(u"a¦b\nc"_s), u"ab\na¦b\nc"_s);
    EXPECT_EQ(duplicate(u"a«b\nc»d\ne"_s), u"ab\ncd\na«b\nc»d\ne"_s);
    EXPECT_EQ(duplicate(u"«a\n»b"_s), u"a\n«a\n»b"_s);
    EXPECT_EQ(duplicate(u"¦"_s), u"\n¦"_s);
    EXPECT_EQ(duplicate(u"a\n¦"_s), u"a\n\n¦"_s);
    EXPECT_EQ(duplicate(u"😀¦"_s), u"😀\n😀¦"_s);
}

TEST(DeleteLines, RemovesWholeLinesAndTheLFBeforeTheLastOne)
{
    EXPECT_EQ(remove(u"a\nb¦"_s), u"a¦"_s);
    EXPECT_EQ(remove(u"a¦"_s), u"¦"_s);
    EXPECT_EQ(remove(u"a¦\nb\n"_s), u"¦b\n"_s);
    EXPECT_EQ(remove(u"a\n«b\nc»\nd"_s), u"a\n¦d"_s);
    EXPECT_EQ(remove(u"a\n«b\n»c"_s), u"a\n¦c"_s);
    EXPECT_EQ(remove(u"a\nb\n¦"_s), u"a\nb¦"_s); // the empty last line takes the LF before it
    EXPECT_EQ(remove(u"«a\nb»"_s), u"¦"_s);
}

TEST(MoveLines, SwapWithTheNeighbourAndKeepTheSelection)
{
    EXPECT_EQ(up(u"a\nb\nc¦"_s), u"a\nc¦\nb"_s); // still no final LF
    EXPECT_EQ(up(u"a\nb¦x\nc\n"_s), u"b¦x\na\nc\n"_s);
    EXPECT_EQ(up(u"a\n«b\nc»\nd"_s), u"«b\nc»\na\nd"_s);
    EXPECT_EQ(up(u"a¦\nb"_s), u"a¦\nb"_s);
    EXPECT_EQ(up(u"a\n¦"_s), u"¦\na"_s);

    EXPECT_EQ(down(u"a¦\nb"_s), u"b\na¦"_s);
    EXPECT_EQ(down(u"«a\nb»\nc\n"_s), u"c\n«a\nb»\n"_s);
    EXPECT_EQ(down(u"a\nb¦"_s), u"a\nb¦"_s);
    EXPECT_EQ(down(u"a\n¦"_s), u"a\n¦"_s);
    EXPECT_EQ(down(u"😀¦\nb"_s), u"b\n😀¦"_s);

    // Moving down then up restores the text.
    const QString text = u"one\ntwo\nthree"_s;
    const auto moved = E::moveLinesDown(text, {5, 0});
    ASSERT_TRUE(moved);
    const QString after = moved->appliedTo(text);
    EXPECT_EQ(after, u"one\nthree\ntwo"_s);
    const auto back = E::moveLinesUp(after, moved->selection);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->appliedTo(after), text);
    EXPECT_EQ(back->selection, (TextRange{5, 0}));
}

TEST(Whitespace, HorizontalBlanksAreSpaceSeparatorsAndTab)
{
    for (char16_t c :
         {u' ', u'\t', char16_t(0x00A0), char16_t(0x2003), char16_t(0x3000), char16_t(0x202F)})
        EXPECT_TRUE(E::isHorizontalWhitespace(c)) << int(c);
    for (char16_t c : {u'\n', u'\r', char16_t(0x2028), char16_t(0x2029), u'x', char16_t(0x200B)})
        EXPECT_FALSE(E::isHorizontalWhitespace(c)) << int(c);
}

namespace {

QString closing(const QString &marked, QChar bracket, const IndentStyle &style = spaces4)
{
    return run(marked, [&](QStringView t, TextRange s) {
        return E::typeClosingBracket(t, s, bracket, style);
    });
}

} // namespace

// A closing bracket typed on a blank line gives back one level of indentation.
TEST(ClosingBracket, OutdentsABlankLineByOneLevel)
{
    EXPECT_EQ(closing(u"if (x) {\n        ¦"_s, u'}'), u"if (x) {\n    }¦"_s);
    EXPECT_EQ(closing(u"{\n    ¦\nnext"_s, u'}'), u"{\n}¦\nnext"_s);
    EXPECT_EQ(closing(u"[\n\t\t¦"_s, u']', tabs), u"[\n\t]¦"_s);
    // To the previous multiple of the width, whatever the line held.
    EXPECT_EQ(closing(u"f(\n      ¦"_s, u')'), u"f(\n    )¦"_s);
    EXPECT_EQ(closing(u"  ¦"_s, u'}'), u"}¦"_s);
    // Mixed indentation: tabs count to their stop.
    EXPECT_EQ(closing(u"  \t¦"_s, u'}'), u"}¦"_s);
    EXPECT_EQ(closing(u"\t  ¦"_s, u'}'), u"\t}¦"_s);
    EXPECT_EQ(closing(u"\t\t¦"_s, u'}', IndentStyle(true, 8)), u"\t}¦"_s);
    // Text after the caret stays after the bracket.
    EXPECT_EQ(closing(u"        ¦x"_s, u'}'), u"    }¦x"_s);
}

TEST(ClosingBracket, LeavesEveryOtherLineToPlainTyping)
{
    EXPECT_EQ(closing(u"    x¦"_s, u'}'), u"    x¦"_s); // text before the caret
    EXPECT_EQ(closing(u"¦"_s, u'}'), u"¦"_s);           // no indentation to take
    EXPECT_EQ(closing(u"a\n¦"_s, u'}'), u"a\n¦"_s);
    EXPECT_EQ(closing(u"    «  »"_s, u'}'), u"    «  »"_s);           // a selection
    EXPECT_EQ(closing(u"\u00A0\u00A0¦"_s, u'}'), u"\u00A0\u00A0¦"_s); // not spaces or tabs
}

// A block opener told by the caller indents the next line like an opening bracket.
TEST(Newline, IndentsOneLevelMoreAfterABlockOpener)
{
    const auto opener = [](const QString &marked, const IndentStyle &style) {
        return run(marked, [&](QStringView t, TextRange s) {
            return std::optional(E::newline(t, s, style, true));
        });
    };
    EXPECT_EQ(opener(u"    if x:¦"_s, spaces4), u"    if x:\n        ¦"_s);
    EXPECT_EQ(opener(u"\tdef f():¦"_s, tabs), u"\tdef f():\n\t\t¦"_s);
    // Never twice for one line, even after a bracket.
    EXPECT_EQ(opener(u"x = {¦"_s, spaces4), u"x = {\n    ¦"_s);
    EXPECT_EQ(newline(u"    if x:¦"_s), u"    if x:\n    ¦"_s);
}
