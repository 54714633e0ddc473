#include "editing/TextSearch.h"

#include <gtest/gtest.h>

using namespace plumeo;
using namespace Qt::Literals::StringLiterals;
namespace S = plumeo::TextSearch;

TEST(TextSearch, FindsForwardAndBackwardWithWrapAround)
{
    const QString text = u"Cat cat CAT dog"_s;
    EXPECT_EQ(S::findNext(text, u"cat", 0, false), (TextRange{0, 3}));
    EXPECT_EQ(S::findNext(text, u"cat", 1, false), (TextRange{4, 3}));
    EXPECT_EQ(S::findNext(text, u"cat", 9, false), (TextRange{0, 3})); // wraps
    EXPECT_EQ(S::findNext(text, u"cat", 1, true), (TextRange{4, 3}));
    EXPECT_EQ(S::findNext(text, u"cat", 5, true), (TextRange{4, 3})); // the only one, by wrapping
    EXPECT_EQ(S::findNext(text, u"CAT", 100, true), (TextRange{8, 3}));
    EXPECT_FALSE(S::findNext(text, u"bird", 0, false));
    EXPECT_FALSE(S::findNext(text, u"", 0, false));
    EXPECT_FALSE(S::findNext(u"ab", u"abc", 0, false));

    EXPECT_EQ(S::findPrevious(text, u"cat", 8, false), (TextRange{4, 3}));
    EXPECT_EQ(S::findPrevious(text, u"cat", 4, false), (TextRange{0, 3}));
    EXPECT_EQ(S::findPrevious(text, u"cat", 0, false), (TextRange{8, 3})); // wraps
    EXPECT_EQ(S::findPrevious(text, u"cat", 15, false), (TextRange{8, 3}));
    EXPECT_EQ(S::findPrevious(text, u"dog", 3, false), (TextRange{12, 3}));
    EXPECT_EQ(S::findPrevious(text, u"Cat", 4, true), (TextRange{0, 3}));
    EXPECT_EQ(S::findPrevious(text, u"Cat", 0, true), (TextRange{0, 3}));
    EXPECT_FALSE(S::findPrevious(text, u"", 5, false));

    // Case folding beyond ASCII, and needles outside the BMP.
    EXPECT_EQ(S::findNext(u"Été", u"éTÉ", 0, false), (TextRange{0, 3}));
    EXPECT_FALSE(S::findNext(u"Été", u"été", 0, true));
    EXPECT_EQ(S::findNext(u"a😀b😀", u"😀", 2, false), (TextRange{4, 2}));
    EXPECT_EQ(S::findNext(u"x𐐀", u"𐐨", 0, false), (TextRange{1, 2}));
}

TEST(TextSearch, CountsNonOverlappingMatchesAndPlacesTheCurrentOne)
{
    EXPECT_EQ(S::countMatches(u"aaaa", u"aa", false).total, 2);
    EXPECT_EQ(S::countMatches(u"aaaaa", u"aa", false).total, 2);
    const auto count = S::countMatches(u"x X x", u"x", false, {2, 1});
    EXPECT_EQ(count.total, 3);
    EXPECT_EQ(count.ordinal, 2);
    EXPECT_FALSE(S::countMatches(u"x X x", u"x", true, {2, 1}).ordinal);
    EXPECT_FALSE(S::countMatches(u"aaaa", u"aa", false, {1, 2}).ordinal); // overlapping: not one
    EXPECT_EQ(S::countMatches(u"", u"a", false).total, 0);
    EXPECT_EQ(S::countMatches(u"abc", u"", false).total, 0);
    EXPECT_EQ(S::matches(u"ab ab", u"AB", false), (std::vector<TextRange>{{0, 2}, {3, 2}}));
}

TEST(TextSearch, ReplacesOneMatchThenSelectsTheNext)
{
    const QString text = u"one two one two"_s;
    // The selection is a match: it is replaced and the next match selected.
    auto edit = S::replaceOne(text, {4, 3}, u"TWO", u"2"_s, false);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->appliedTo(text), u"one 2 one two"_s);
    EXPECT_EQ(edit->selection, (TextRange{10, 3}));
    // Not a match: the next match after the selection's start is replaced.
    edit = S::replaceOne(text, {1, 0}, u"one", u"1"_s, false);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->appliedTo(text), u"one two 1 two"_s);
    EXPECT_EQ(edit->selection, (TextRange{0, 3})); // wrapped to the first
    // The last match: the replacement is selected when nothing else matches.
    edit = S::replaceOne(u"a b", {2, 1}, u"b", u"cc"_s, true);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->appliedTo(u"a b"), u"a cc"_s);
    EXPECT_EQ(edit->selection, (TextRange{2, 2}));
    EXPECT_FALSE(S::replaceOne(text, {0, 0}, u"three", u"3"_s, false));
    EXPECT_FALSE(S::replaceOne(text, {0, 0}, u"ONE", u"1"_s, true));
}

TEST(TextSearch, ReplacesAllMatchesInOneEdit)
{
    const QString text = u"xa-A-a-b"_s;
    const auto all = S::replaceAll(text, u"a", u"<a>"_s, false, {6, 0});
    ASSERT_TRUE(all);
    EXPECT_EQ(all->count, 3);
    EXPECT_EQ(all->edit.range, (TextRange{1, 5}));
    EXPECT_EQ(all->edit.appliedTo(text), u"x<a>-<a>-<a>-b"_s);
    EXPECT_EQ(all->edit.selection, (TextRange{12, 0})); // the caret stays before "-b"
    EXPECT_EQ(S::replaceAll(text, u"a", u"<a>"_s, false, {0, 0})->edit.selection,
              (TextRange{0, 0}));
    const auto exact = S::replaceAll(text, u"A", u""_s, true, {3, 1});
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->count, 1);
    EXPECT_EQ(exact->edit.appliedTo(text), u"xa--a-b"_s);
    EXPECT_EQ(exact->edit.selection, (TextRange{3, 0})); // the replaced match, now empty
    EXPECT_FALSE(S::replaceAll(text, u"z", u"y"_s, false, {}));
    EXPECT_FALSE(S::replaceAll(text, u"", u"y"_s, false, {}));
    // Non-overlapping, left to right.
    EXPECT_EQ(S::replaceAll(u"aaa", u"aa", u"b"_s, false, {})->edit.appliedTo(u"aaa"), u"ba"_s);
}

TEST(TextSearch, ASelectionStaysOnItsTextThroughReplacements)
{
    // "ab ab ab": each "ab" (2 units) becomes 4 units, growing the text by 2 each time.
    const std::vector<TextRange> matches{{0, 2}, {3, 2}, {6, 2}};
    const auto after = [&](TextRange selection) {
        return S::selectionAfterReplacing(matches, 4, selection);
    };
    EXPECT_EQ(after({0, 0}), (TextRange{0, 0}));  // before the first match
    EXPECT_EQ(after({2, 0}), (TextRange{4, 0}));  // right after it
    EXPECT_EQ(after({3, 0}), (TextRange{5, 0}));  // before the second
    EXPECT_EQ(after({8, 0}), (TextRange{14, 0})); // at the end
    EXPECT_EQ(after({4, 0}), (TextRange{9, 0}));  // inside: after the replacement
    EXPECT_EQ(after({3, 2}), (TextRange{5, 4}));  // a match selected: its replacement
    EXPECT_EQ(after({4, 3}), (TextRange{5, 9}));  // from inside one into another: both whole
    EXPECT_EQ(after({2, 1}), (TextRange{4, 1}));  // the space between two matches
    // Shrinking replacements, down to nothing.
    EXPECT_EQ(S::selectionAfterReplacing(matches, 0, {7, 1}), (TextRange{2, 0}));
    EXPECT_EQ(S::selectionAfterReplacing(matches, 0, {2, 4}), (TextRange{0, 2}));
    EXPECT_EQ(S::selectionAfterReplacing({}, 3, {5, 2}), (TextRange{5, 2}));
}

TEST(TextSearch, FindsTheMatchesOfAPieceThatOverlapAWindow)
{
    // The piece "cat cat cat" starts at 100 of its text; the window covers 105…109.
    const QString piece = u"cat cat cat"_s;
    EXPECT_EQ(S::matchesOverlapping(piece, 100, {105, 4}, u"CAT", false),
              (std::vector<TextRange>{{104, 3}, {108, 3}}));
    EXPECT_EQ(S::matchesOverlapping(piece, 100, {107, 1}, u"cat", true),
              (std::vector<TextRange>{}));
    EXPECT_EQ(S::matchesOverlapping(piece, 100, {100, 11}, u"CAT", true),
              (std::vector<TextRange>{}));
    EXPECT_EQ(S::matchesOverlapping(piece, 100, {0, 1000}, u"cat", true).size(), 3u);
    EXPECT_TRUE(S::matchesOverlapping(piece, 100, {104, 0}, u"cat", true).empty());
    EXPECT_TRUE(S::matchesOverlapping(piece, 100, {0, 1000}, u"", true).empty());
}
