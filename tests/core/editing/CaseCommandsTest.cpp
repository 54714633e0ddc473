#include "editing/CaseCommands.h"

#include "EditingTestSupport.h"

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::test;
using namespace Qt::Literals::StringLiterals;
namespace K = plumeo::CaseCommands;

TEST(CaseCommands, WorkOnTheSelectionOrTheWordAtTheCaret)
{
    EXPECT_EQ(run(u"hello wor¦ld!"_s, K::uppercase), u"hello «WORLD»!"_s);
    EXPECT_EQ(run(u"¦foo_bar2 x"_s, K::uppercase), u"«FOO_BAR2» x"_s);
    EXPECT_EQ(run(u"foo¦.bar"_s, K::uppercase), u"«FOO».bar"_s); // touching the word's end
    EXPECT_EQ(run(u"a ¦ b"_s, K::uppercase), u"a ¦ b"_s);        // no word: nothing
    EXPECT_EQ(run(u"¦"_s, K::lowercase), u"¦"_s);
    EXPECT_EQ(run(u"«MiXeD Case»"_s, K::lowercase), u"«mixed case»"_s);
    EXPECT_EQ(run(u"«done»"_s, K::lowercase), u"«done»"_s); // unchanged: no edit at all
    EXPECT_FALSE(K::lowercase(u"done", {0, 4}));

    // Unicode's own mappings, whatever the locale: ß grows, dotted I has no Turkish twist.
    EXPECT_EQ(run(u"«straße»"_s, K::uppercase), u"«STRASSE»"_s);
    EXPECT_EQ(run(u"«istanbul»"_s, K::uppercase), u"«ISTANBUL»"_s);
    EXPECT_EQ(run(u"«ÉTÉ»"_s, K::lowercase), u"«été»"_s);

    // Words made of combining marks and characters outside the BMP (Deseret letters).
    EXPECT_EQ(run(u"x e\u0301t¦ y"_s, K::uppercase), u"x «E\u0301T» y"_s);
    EXPECT_EQ(run(u"x 𐐨𐐩¦ y"_s, K::uppercase), u"x «𐐀𐐁» y"_s);
    EXPECT_EQ(run(u"x 𐐨¦𐐩 y"_s, K::uppercase), u"x «𐐀𐐁» y"_s);
    EXPECT_EQ(K::wordAt(u"ab 😀 cd", 4), (TextRange{4, 0})); // an emoji is no word
}

TEST(CaseCommands, CapitalizeTitlesTheFirstLetterOfEachBlankSeparatedWord)
{
    EXPECT_EQ(run(u"«hello wORLD (x) l'été 2nd»"_s, K::capitalize),
              u"«Hello World (X) L'été 2nd»"_s);
    EXPECT_EQ(run(u"«one\ttwo\nthree»"_s, K::capitalize), u"«One\tTwo\nThree»"_s);
    EXPECT_EQ(run(u"«ǆungla»"_s, K::capitalize), u"«ǅungla»"_s); // title case, not upper case
    EXPECT_EQ(run(u"«𐐨𐐨 𐐀𐐀»"_s, K::capitalize), u"«𐐀𐐨 𐐀𐐨»"_s);
    EXPECT_EQ(run(u"some wo¦rd"_s, K::capitalize), u"some «Word»"_s);
    EXPECT_EQ(K::capitalized(u""), u""_s);
    EXPECT_EQ(K::capitalized(u"  -- "), u"  -- "_s);
}
