// The goldens (tests/data/lexers/CSS and SCSS) hold ordinary selectors, declarations, nesting and
// comments; the cases here pin the corners no sample file reaches.
#include "syntax/CSSLexer.h"

#include "LexerTestSupport.h"

#include <gtest/gtest.h>

using namespace plumeo;
using plumeo::test::lexed;
using plumeo::test::state;

TEST(CSSLexer, selectorsAndDeclarations)
{
    const CSSLexer css;
    // An argument without its ")" is left out of the pseudo-class.
    EXPECT_EQ(lexed(css, "a:nth-child(2"), "tag:a attributeName::nth-child number:2");
    EXPECT_EQ(lexed(css, "[open"), "attributeName:[open");
    EXPECT_EQ(lexed(css, "ul ~ p + h1 * {}"),
              "tag:ul operator:~ tag:p operator:+ tag:h1 operator:* punctuation:{ punctuation:}");
    EXPECT_EQ(lexed(CSSLexer(false), "$x"), "tag:x"); // variables are SCSS only

    LexState s = state(1, 1);
    // "! important" apart is no keyword, and "//" starts no comment in CSS.
    EXPECT_EQ(lexed(css, "x: 1 ! important // no", s),
              "property:x punctuation:: number:1 constant:important operator:/ operator:/ "
              "constant:no");
    EXPECT_EQ(lexed(css, "}", s), "punctuation:}");
    EXPECT_EQ(lexed(css, "}", s), "punctuation:}"); // a stray "}" at depth 0 stays at depth 0
    EXPECT_EQ(s, LexState());
    s = state(1, 0xFFFF);
    lexed(css, "{", s);
    EXPECT_EQ(s, state(1, 0xFFFF)); // the depth saturates
}

TEST(CSSLexer, nestedRulesAndComments)
{
    for (const bool isScss : {false, true}) {
        const CSSLexer lexer(isScss);
        LexState s = state(1, 1);
        // In a block, but "{" without ";": a nested rule's selector line.
        EXPECT_EQ(lexed(lexer, ".b {", s), "type:.b punctuation:{");
        EXPECT_EQ(s, state(1, 2));
        lexed(lexer, "}", s);
        EXPECT_EQ(s, isScss ? state(1, 1) : state(0, 1));
    }
    // A nested rule that shares its line with a declaration reads as declarations (the line has a
    // ";"), so its pseudo-class is a property-style colon and a value word.
    LexState s = state(1, 1);
    EXPECT_EQ(lexed(CSSLexer(true), "&:hover { color: $c; }", s),
              "operator:& punctuation:: constant:hover punctuation:{ property:color punctuation:: "
              "variable:$c punctuation:; punctuation:}");
    EXPECT_EQ(s, state(1, 1));

    const CSSLexer css;
    s = state(2, 0);
    EXPECT_EQ(lexed(css, "", s), ""); // an empty line gives nothing, even in a comment
    // A nested rule's selector line after the comment is still lexed as a selector.
    s = state(2, 1);
    EXPECT_EQ(lexed(css, "*/ .b:hover {", s),
              "comment:*/ type:.b attributeName::hover punctuation:{");
    EXPECT_EQ(s, state(1, 2));
}

TEST(CSSLexer, longLinesOfUnclosedArgumentsStayLinear)
{
    // Every pseudo-class looks for the ")" of its argument; the search is not repeated per opener,
    // which on this line would take minutes.
    LexState s;
    const std::vector<Token> tokens = CSSLexer().tokenizeLine(QString(":a(").repeated(100000), s);
    ASSERT_EQ(tokens.size(), 100000u);
    EXPECT_EQ(tokens.back(), (Token{TokenKind::attributeName, {299997, 299999}}));
}
