#include "syntax/CSSLexer.h"

#include "LexerTestSupport.h"

#include <gtest/gtest.h>

using namespace plumeo;
using plumeo::test::lexed;
using plumeo::test::state;

TEST(CSSLexer, selectorsAtTopLevel)
{
    const CSSLexer css;
    LexState s;
    EXPECT_EQ(lexed(css, "a:hover { color: #fff !important; }", s),
              "tag:a attributeName::hover punctuation:{ property:color punctuation:: number:#fff "
              "keyword:!important punctuation:; punctuation:}");
    EXPECT_EQ(s, LexState());
    EXPECT_EQ(lexed(css, "#main .item > li"), "attribute:#main type:.item operator:> tag:li");
    EXPECT_EQ(lexed(css, "input[type=\"text\"]:not(.a):first-child, a::before"),
              "tag:input attributeName:[type=\"text\"] attributeName::not(.a) "
              "attributeName::first-child punctuation:, tag:a attributeName:::before");
    // An argument without its ")" is left out of the pseudo-class.
    EXPECT_EQ(lexed(css, "a:nth-child(2"), "tag:a attributeName::nth-child number:2");
    EXPECT_EQ(lexed(css, "[open"), "attributeName:[open");
    EXPECT_EQ(lexed(css, "@media screen and (max-width: 600px) {"),
              "keyword:@media tag:screen function:and tag:max-width attributeName:: number:600px "
              "punctuation:{");
    EXPECT_EQ(lexed(css, "ul ~ p + h1 * {}"),
              "tag:ul operator:~ tag:p operator:+ tag:h1 operator:* punctuation:{ punctuation:}");
}

TEST(CSSLexer, declarationsInsideABlock)
{
    const CSSLexer css;
    LexState s = state(1, 1);
    EXPECT_EQ(lexed(css, "width: calc(100% - 2px);", s),
              "property:width punctuation:: function:calc number:100% constant:- number:2px "
              "punctuation:;");
    EXPECT_EQ(lexed(css, "margin: -1.5em .5rem 0 auto; font: 'A b', serif;", s),
              "property:margin punctuation:: number:-1.5em number:.5rem number:0 constant:auto "
              "punctuation:; property:font punctuation:: string:'A b' punctuation:, "
              "constant:serif punctuation:;");
    EXPECT_EQ(lexed(css, "content: \"open", s), "property:content punctuation:: string:\"open");
    EXPECT_EQ(s, state(1, 1)); // strings never continue on the next line
    EXPECT_EQ(lexed(css, "x: 1 ! important // no", s),
              "property:x punctuation:: number:1 constant:important operator:/ operator:/ "
              "constant:no");
    EXPECT_EQ(lexed(css, "}", s), "punctuation:}");
    EXPECT_EQ(s, LexState());
    EXPECT_EQ(lexed(css, "}", s), "punctuation:}"); // a stray "}" at depth 0 stays at depth 0
    EXPECT_EQ(s, LexState());
    s = state(1, 0xFFFF);
    lexed(css, "{", s);
    EXPECT_EQ(s, state(1, 0xFFFF)); // the depth saturates
}

TEST(CSSLexer, nestedRulesAndScss)
{
    for (const bool isScss : {false, true}) {
        const CSSLexer lexer(isScss);
        LexState s;
        lexed(lexer, ".a {", s);
        EXPECT_EQ(s, state(1, 1));
        // In a block, but "{" without ";": a nested rule's selector line.
        EXPECT_EQ(lexed(lexer, ".b {", s), "type:.b punctuation:{");
        EXPECT_EQ(s, state(1, 2));
        lexed(lexer, "}", s);
        EXPECT_EQ(s, isScss ? state(1, 1) : state(0, 1));
    }
    const CSSLexer scss(true);
    EXPECT_EQ(lexed(scss, "$main-color: #333; // note"),
              "variable:$main-color attributeName:: attribute:#333 punctuation:; comment:// note");
    EXPECT_EQ(lexed(CSSLexer(false), "$x"), "tag:x");
    LexState s = state(1, 1);
    EXPECT_EQ(lexed(scss, "&:hover {", s), "operator:& attributeName::hover punctuation:{");
    EXPECT_EQ(s, state(1, 2));
    // A nested rule that shares its line with a declaration reads as declarations (the line has a
    // ";"), so its pseudo-class is a property-style colon and a value word.
    EXPECT_EQ(lexed(scss, "&:hover { color: $c; }", s),
              "operator:& punctuation:: constant:hover punctuation:{ property:color punctuation:: "
              "variable:$c punctuation:; punctuation:}");
    EXPECT_EQ(s, state(1, 2));
}

TEST(CSSLexer, commentsResumeWhatTheyInterrupted)
{
    const CSSLexer css;
    LexState s;
    EXPECT_EQ(lexed(css, "a /* x */ b /* open", s), "tag:a comment:/* x */ tag:b comment:/* open");
    EXPECT_EQ(s, state(2, 0));
    EXPECT_EQ(lexed(css, "", s), ""); // an empty line gives nothing, even in a comment
    EXPECT_EQ(lexed(css, "end */ p", s), "comment:end */ tag:p");
    EXPECT_EQ(s, LexState());

    lexed(css, "p {", s);
    EXPECT_EQ(lexed(css, "  color: red; /* first", s),
              "property:color punctuation:: constant:red punctuation:; comment:/* first");
    EXPECT_EQ(s, state(2, 1));
    EXPECT_EQ(lexed(css, "  second */ margin: 0;", s),
              "comment:  second */ property:margin punctuation:: number:0 punctuation:;");
    EXPECT_EQ(s, state(1, 1));
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
