#include "syntax/Syntax.h"

#include "LexerTestSupport.h"
#include "syntax/GenericLexer.h"
#include "syntax/WordTable.h"

#include <gtest/gtest.h>

using namespace plumeo;
using plumeo::test::lexed;

TEST(Syntax, constructionSortsStablyLowerCasesKeywordsAndDropsEmptyDelimiters)
{
    const Syntax syntax({
        .lineComments = {u"", u";"},
        .blockComment = {{u"", u"*/"}},
        .strings = {StringRule(u"a", u"a"), StringRule(u"bb", u"b"), StringRule(u"c", u"c"),
                    StringRule(u"", u"x"), StringRule(u"dd", u"d"), StringRule(u"e", u"")},
        .keywords = {u"SELECT", u"From"},
        .types = {u"Int"},
        .constants = {u"NULL"},
        .caseInsensitiveKeywords = true,
    });
    std::vector<std::u16string> openers;
    for (const StringRule &rule : syntax.strings)
        openers.push_back(rule.open);
    EXPECT_EQ(openers, (std::vector<std::u16string>{u"bb", u"dd", u"a", u"c"}));
    EXPECT_EQ(syntax.lineComments, std::vector<std::u16string>{u";"});
    EXPECT_FALSE(syntax.blockComment);
    EXPECT_EQ(syntax.keywords, (QSet<QString>{QStringLiteral("select"), QStringLiteral("from")}));
    // Types and constants are kept as written, so with the word lower-cased they never match.
    EXPECT_EQ(syntax.types, QSet<QString>{QStringLiteral("Int")});

    const GenericLexer lexer(std::make_shared<const Syntax>(syntax));
    EXPECT_EQ(lexed(lexer, "FROM Int NULL"), "keyword:FROM plain:Int plain:NULL");
}

TEST(Syntax, aLineLexesWithNoRulesAtAll)
{
    // Words, numbers, operators, punctuation; calls are on by default.
    const GenericLexer lexer(Syntax::Rules{});
    EXPECT_EQ(lexed(lexer, "f(1) // x"),
              "function:f punctuation:( number:1 punctuation:) operator:// plain:x");
}

// LexerRegistry.everyListedWordLexesAsOneWordOfItsClass looks up every word of the real lists.
TEST(WordTable, firstEntryWinsAndLookupsCompareWholeWords)
{
    const WordTable table({{u"if", TokenKind::keyword},
                           {u"true", TokenKind::constant},
                           {u"if", TokenKind::type},
                           {u"int", TokenKind::type},
                           {u"\u00E9t\u00E9", TokenKind::keyword}},
                          false);
    EXPECT_EQ(table.size(), 4);
    EXPECT_EQ(table.find(u"if"), TokenKind::keyword);
    EXPECT_EQ(table.find(u"int"), TokenKind::type);
    EXPECT_EQ(table.find(u"\u00E9t\u00E9"), TokenKind::keyword);
    for (std::u16string_view miss : {u"i", u"in", u"intt", u"If", u"tru", u"", u"\u00C9T\u00C9"})
        EXPECT_EQ(table.find(miss), std::nullopt);
}

TEST(WordTable, caseFoldingFollowsFullLowerCasing)
{
    const WordTable ascii({{u"key", TokenKind::keyword}, {u"in", TokenKind::keyword}}, true);
    EXPECT_EQ(ascii.find(u"KEY"), TokenKind::keyword);
    EXPECT_EQ(ascii.find(u"\u212Aey"), TokenKind::keyword); // the Kelvin sign lower-cases to "k"
    EXPECT_EQ(ascii.find(u"\u0130n"), std::nullopt);        // "İ" lower-cases to "i" + a dot
    EXPECT_EQ(ascii.find(u"k\u00E9y"), std::nullopt);

    // A table with non-ASCII entries lower-cases non-ASCII words fully.
    const WordTable wide({{u"\u00E9t\u00E9", TokenKind::keyword}, {u"i\u0307n", TokenKind::type}},
                         true);
    EXPECT_EQ(wide.find(u"\u00C9T\u00C9"), TokenKind::keyword);
    EXPECT_EQ(wide.find(u"\u0130N"), TokenKind::type);
    EXPECT_EQ(wide.find(u"ETE"), std::nullopt);
}
