#include "editing/TextDiff.h"

#include <gtest/gtest.h>

using namespace plumeo;
using namespace Qt::Literals::StringLiterals;
using Change = TextDiff::Change;

TEST(TextDiff, NarrowsToTheChangedMiddle)
{
    EXPECT_EQ(TextDiff::narrowed(u"abcdef", u"abXYef"), (Change{{2, 2}, u"XY"_s}));
    EXPECT_EQ(TextDiff::narrowed(u"abc", u"abc"), (Change{{3, 0}, u""_s}));
    EXPECT_EQ(TextDiff::narrowed(u"abc", u"    abc"), (Change{{0, 0}, u"    "_s}));
    EXPECT_EQ(TextDiff::narrowed(u"aaa", u"aaaa"), (Change{{3, 0}, u"a"_s}));
    EXPECT_EQ(TextDiff::narrowed(u"abc", u""), (Change{{0, 3}, u""_s}));
    EXPECT_EQ(TextDiff::narrowed(u"", u"x"), (Change{{0, 0}, u"x"_s}));
    // 😀 and 😁 share their high surrogate, 😀 and 🙀 their low one: neither is split.
    EXPECT_EQ(TextDiff::narrowed(u"a😀", u"a😁"), (Change{{1, 2}, u"😁"_s}));
    EXPECT_EQ(TextDiff::narrowed(u"😀b", u"🙀b"), (Change{{0, 2}, u"🙀"_s}));
}

TEST(TextDiff, ChangesLineByLineWhenTheLineCountIsKept)
{
    EXPECT_EQ(TextDiff::lineChanges(u"a\nb\nc\n", u"    a\nb\n    c\n"),
              (std::vector<Change>{{{0, 0}, u"    "_s}, {{4, 0}, u"    "_s}}));
    EXPECT_EQ(TextDiff::lineChanges(u"// a\n\n// b", u"a\n\nb"),
              (std::vector<Change>{{{0, 3}, u""_s}, {{6, 3}, u""_s}}));
    EXPECT_TRUE(TextDiff::lineChanges(u"same\n", u"same\n").empty());
    // Another number of lines: one narrowed change.
    EXPECT_EQ(TextDiff::lineChanges(u"a\nb", u"a\nb\nb"),
              (std::vector<Change>{{{3, 0}, u"\nb"_s}}));
}
