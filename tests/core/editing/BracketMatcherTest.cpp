#include "editing/BracketMatcher.h"

#include "EditingTestSupport.h"
#include "syntax/Lexers.h"

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::test;
using namespace Qt::Literals::StringLiterals;
namespace B = plumeo::BracketMatcher;

namespace {

// The text with the caret marked, the pair found shown as ⟨ ⟩ around the two brackets.
QString matched(const QString &marked,
                const char *languageName = nullptr,
                qsizetype distance = B::maximumDistance)
{
    const Marked input = parse(marked);
    std::vector<TokenRange> ignored;
    if (languageName)
        ignored = B::stringsAndComments(input.text, *Lexers::lexer(QString::fromUtf8(languageName)),
                                        LexState::initial());
    const std::optional<B::Match> match =
        B::find(input.text, input.selection.location, ignored, distance);
    if (!match)
        return input.text;
    QString result = input.text;
    const qsizetype first = std::min(match->bracket, match->partner);
    const qsizetype second = std::max(match->bracket, match->partner);
    result.insert(second + 1, u'⟩');
    result.insert(second, u'⟨');
    result.insert(first + 1, u'⟩');
    result.insert(first, u'⟨');
    return result;
}

} // namespace

TEST(BracketMatcher, PairsTheBracketBesideTheCaret)
{
    EXPECT_EQ(matched(u"f¦(a(b)c)"_s), u"f⟨(⟩a(b)c⟨)⟩"_s); // after the caret
    EXPECT_EQ(matched(u"f(a(b)c)¦"_s), u"f⟨(⟩a(b)c⟨)⟩"_s); // before it
    EXPECT_EQ(matched(u"f(a(b¦)c)"_s), u"f(a⟨(⟩b⟨)⟩c)"_s);
    EXPECT_EQ(matched(u"x = [1, {2: (3)}¦]"_s), u"x = ⟨[⟩1, {2: (3)}⟨]⟩"_s); // after wins
    EXPECT_EQ(matched(u"{\n  a[0];\n¦}"_s), u"⟨{⟩\n  a[0];\n⟨}⟩"_s);
    // Nothing without a bracket beside the caret, or without a partner.
    EXPECT_EQ(matched(u"(a ¦ b)"_s), u"(a  b)"_s);
    EXPECT_EQ(matched(u"¦(a(b)"_s), u"(a(b)"_s);
    EXPECT_EQ(matched(u"a)¦"_s), u"a)"_s);
    EXPECT_EQ(matched(u"¦(]"_s), u"(]"_s); // kinds do not mix
    EXPECT_EQ(matched(u"¦([)]"_s), u"([)]"_s);
    EXPECT_EQ(matched(u""_s), u""_s);
}

TEST(BracketMatcher, SkipsStringsAndCommentsTheLexerFinds)
{
    EXPECT_EQ(matched(u"f¦(\")\", x)"_s, "C"), u"f⟨(⟩\")\", x⟨)⟩"_s);
    EXPECT_EQ(matched(u"¦{ /* } */ }"_s, "C"), u"⟨{⟩ /* } */ ⟨}⟩"_s);
    EXPECT_EQ(matched(u"¦{ // }\n}"_s, "JavaScript"), u"⟨{⟩ // }\n⟨}⟩"_s);
    EXPECT_EQ(matched(u"x = ¦('''\n)''')"_s, "Python"), u"x = ⟨(⟩'''\n)'''⟨)⟩"_s);
    // Inside a string, brackets pair with the string's own.
    EXPECT_EQ(matched(u"s = \"¦(a)\" + (b)"_s, "C"), u"s = \"⟨(⟩a⟨)⟩\" + (b)"_s);
    EXPECT_EQ(matched(u"s = \"¦(\" + (b)"_s, "C"), u"s = \"(\" + (b)"_s);
    // Without the lexer's ranges, every bracket counts.
    EXPECT_EQ(matched(u"f¦(\")\", x)"_s), u"f⟨(⟩\"⟨)⟩\", x)"_s);
}

TEST(BracketMatcher, StopsAtTheDistance)
{
    const QString far = u"¦("_s + QString(100, u'x') + u")"_s;
    EXPECT_EQ(matched(far, nullptr, 101),
              QString(far).remove(u'¦').replace(u"("_s, u"⟨(⟩"_s).replace(u")"_s, u"⟨)⟩"_s));
    EXPECT_EQ(matched(far, nullptr, 100), QString(far).remove(u'¦'));
    const QString back = u"("_s + QString(100, u'x') + u")¦"_s;
    EXPECT_EQ(matched(back, nullptr, 100), QString(back).remove(u'¦'));
}

TEST(BracketMatcher, MergesStringAndCommentRanges)
{
    const QString text = u"a \"b\\n\" /* c */ d // e"_s;
    const std::vector<TokenRange> ranges =
        B::stringsAndComments(text, *Lexers::lexer(u"C"), LexState::initial());
    // The string with its escape in one range; the two comments each in one.
    ASSERT_EQ(ranges.size(), 3u);
    EXPECT_EQ(text.sliced(ranges[0].lower, ranges[0].length()), u"\"b\\n\""_s);
    EXPECT_EQ(text.sliced(ranges[1].lower, ranges[1].length()), u"/* c */"_s);
    EXPECT_EQ(text.sliced(ranges[2].lower, ranges[2].length()), u"// e"_s);
}
