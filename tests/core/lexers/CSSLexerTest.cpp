#include "syntax/CSSLexer.h"

#include "LexerTestSupport.h"

#include <gtest/gtest.h>

namespace plumeo::test {
namespace {

using K = TokenKind;
using V = std::vector<Lexed>;

TEST(CSSLexer, RuleOnOneLine)
{
    const CSSLexer css;
    LexState state;
    EXPECT_EQ(lexLine(css, "a:hover { color: #fff !important; }", state),
              (V{{K::tag, "a"},
                 {K::attributeName, ":hover"},
                 {K::punctuation, "{"},
                 {K::property, "color"},
                 {K::punctuation, ":"},
                 {K::number, "#fff"},
                 {K::keyword, "!important"},
                 {K::punctuation, ";"},
                 {K::punctuation, "}"}}));
    EXPECT_EQ(state, LexState());
}

TEST(CSSLexer, Selectors)
{
    const CSSLexer css;
    EXPECT_EQ(
        lexLine(css, "#main .item > li"),
        (V{{K::attribute, "#main"}, {K::type, ".item"}, {K::operator_, ">"}, {K::tag, "li"}}));
    EXPECT_EQ(lexLine(css, "input[type=\"text\"]:not(.a):first-child, a::before"),
              (V{{K::tag, "input"},
                 {K::attributeName, "[type=\"text\"]"},
                 {K::attributeName, ":not(.a)"},
                 {K::attributeName, ":first-child"},
                 {K::punctuation, ","},
                 {K::tag, "a"},
                 {K::attributeName, "::before"}}));
    // An argument without its ")" is left out of the pseudo-class.
    EXPECT_EQ(lexLine(css, "a:nth-child(2"),
              (V{{K::tag, "a"}, {K::attributeName, ":nth-child"}, {K::number, "2"}}));
    EXPECT_EQ(lexLine(css, "[open"), (V{{K::attributeName, "[open"}}));
    EXPECT_EQ(lexLine(css, "@media screen and (max-width: 600px) {"), (V{{K::keyword, "@media"},
                                                                         {K::tag, "screen"},
                                                                         {K::function, "and"},
                                                                         {K::tag, "max-width"},
                                                                         {K::attributeName, ":"},
                                                                         {K::number, "600px"},
                                                                         {K::punctuation, "{"}}));
    EXPECT_EQ(lexLine(css, "ul ~ p + h1 * {}"), (V{{K::tag, "ul"},
                                                   {K::operator_, "~"},
                                                   {K::tag, "p"},
                                                   {K::operator_, "+"},
                                                   {K::tag, "h1"},
                                                   {K::operator_, "*"},
                                                   {K::punctuation, "{"},
                                                   {K::punctuation, "}"}}));
}

TEST(CSSLexer, Declarations)
{
    const CSSLexer css;
    LexState state{1, 1, 0, 0};
    EXPECT_EQ(lexLine(css, "width: calc(100% - 2px);", state), (V{{K::property, "width"},
                                                                  {K::punctuation, ":"},
                                                                  {K::function, "calc"},
                                                                  {K::number, "100%"},
                                                                  {K::constant, "-"},
                                                                  {K::number, "2px"},
                                                                  {K::punctuation, ";"}}));
    EXPECT_EQ(lexLine(css, "margin: -1.5em .5rem 0 auto; font: 'A b', serif;", state),
              (V{{K::property, "margin"},
                 {K::punctuation, ":"},
                 {K::number, "-1.5em"},
                 {K::number, ".5rem"},
                 {K::number, "0"},
                 {K::constant, "auto"},
                 {K::punctuation, ";"},
                 {K::property, "font"},
                 {K::punctuation, ":"},
                 {K::string, "'A b'"},
                 {K::punctuation, ","},
                 {K::constant, "serif"},
                 {K::punctuation, ";"}}));
    EXPECT_EQ(lexLine(css, "content: \"open", state),
              (V{{K::property, "content"}, {K::punctuation, ":"}, {K::string, "\"open"}}));
    EXPECT_EQ(state, (LexState{1, 1, 0, 0})); // strings never continue on the next line
    EXPECT_EQ(lexLine(css, "x: 1 ! important // no", state), (V{{K::property, "x"},
                                                                {K::punctuation, ":"},
                                                                {K::number, "1"},
                                                                {K::constant, "important"},
                                                                {K::operator_, "/"},
                                                                {K::operator_, "/"},
                                                                {K::constant, "no"}}));
    EXPECT_EQ(lexLine(css, "}", state), (V{{K::punctuation, "}"}}));
    EXPECT_EQ(state, LexState());
    // A stray "}" at depth 0 stays at depth 0.
    EXPECT_EQ(lexLine(css, "}", state), (V{{K::punctuation, "}"}}));
    EXPECT_EQ(state, LexState());
}

TEST(CSSLexer, NestedRulesCssAndScss)
{
    for (const bool scss : {false, true}) {
        const CSSLexer lexer(scss);
        LexState state;
        lexLine(lexer, ".a {", state);
        EXPECT_EQ(state, (LexState{1, 1, 0, 0}));
        // In a block, but "{" without ";": a nested rule's selector line.
        EXPECT_EQ(lexLine(lexer, ".b {", state), (V{{K::type, ".b"}, {K::punctuation, "{"}}));
        EXPECT_EQ(state, (LexState{1, 2, 0, 0}));
        lexLine(lexer, "}", state);
        if (scss)
            EXPECT_EQ(state, (LexState{1, 1, 0, 0}));
        else
            EXPECT_EQ(state, (LexState{0, 1, 0, 0}));
    }
}

TEST(CSSLexer, ScssAdditions)
{
    const CSSLexer scss(true);
    const CSSLexer css(false);
    EXPECT_EQ(lexLine(scss, "$main-color: #333; // note"), (V{{K::variable, "$main-color"},
                                                              {K::attributeName, ":"},
                                                              {K::attribute, "#333"},
                                                              {K::punctuation, ";"},
                                                              {K::comment, "// note"}}));
    EXPECT_EQ(lexLine(css, "$x"), (V{{K::tag, "x"}}));
    LexState state{1, 1, 0, 0};
    EXPECT_EQ(lexLine(scss, "&:hover {", state),
              (V{{K::operator_, "&"}, {K::attributeName, ":hover"}, {K::punctuation, "{"}}));
    EXPECT_EQ(state, (LexState{1, 2, 0, 0}));
    // A nested rule that shares its line with a declaration reads as declarations (the line has a
    // ";"), so its pseudo-class is a property-style colon and a value word.
    EXPECT_EQ(lexLine(scss, "&:hover { color: $c; }", state), (V{{K::operator_, "&"},
                                                                 {K::punctuation, ":"},
                                                                 {K::constant, "hover"},
                                                                 {K::punctuation, "{"},
                                                                 {K::property, "color"},
                                                                 {K::punctuation, ":"},
                                                                 {K::variable, "$c"},
                                                                 {K::punctuation, ";"},
                                                                 {K::punctuation, "}"}}));
    EXPECT_EQ(state, (LexState{1, 2, 0, 0}));
}

TEST(CSSLexer, Comments)
{
    const CSSLexer css;
    LexState state;
    EXPECT_EQ(lexLine(css, "a /* x */ b /* open", state),
              (V{{K::tag, "a"}, {K::comment, "/* x */"}, {K::tag, "b"}, {K::comment, "/* open"}}));
    EXPECT_EQ(state, (LexState{2, 0, 0, 0}));
    EXPECT_EQ(lexLine(css, "", state), V{}); // an empty line gives nothing, even in a comment
    EXPECT_EQ(lexLine(css, "still", state), (V{{K::comment, "still"}}));
    EXPECT_EQ(lexLine(css, "end */ p", state), (V{{K::comment, "end */"}, {K::tag, "p"}}));
    EXPECT_EQ(state, LexState());
}

TEST(CSSLexer, CommentClosingInsideABlockResumesTheBlock)
{
    const CSSLexer css;
    LexState state;
    lexLine(css, "p {", state);
    EXPECT_EQ(lexLine(css, "  color: red; /* first", state), (V{{K::property, "color"},
                                                                {K::punctuation, ":"},
                                                                {K::constant, "red"},
                                                                {K::punctuation, ";"},
                                                                {K::comment, "/* first"}}));
    EXPECT_EQ(state, (LexState{2, 1, 0, 0}));
    EXPECT_EQ(lexLine(css, "  second */ margin: 0;", state), (V{{K::comment, "  second */"},
                                                                {K::property, "margin"},
                                                                {K::punctuation, ":"},
                                                                {K::number, "0"},
                                                                {K::punctuation, ";"}}));
    EXPECT_EQ(state, (LexState{1, 1, 0, 0}));
    EXPECT_EQ(lexLine(css, "  padding: 0;", state), (V{{K::property, "padding"},
                                                       {K::punctuation, ":"},
                                                       {K::number, "0"},
                                                       {K::punctuation, ";"}}));
    lexLine(css, "}", state);
    EXPECT_EQ(state, LexState());

    // At depth 0 the comment gives way to selectors.
    state = LexState{2, 0, 0, 0};
    EXPECT_EQ(lexLine(css, "*/ a:b", state),
              (V{{K::comment, "*/"}, {K::tag, "a"}, {K::attributeName, ":b"}}));
    EXPECT_EQ(state, LexState());
    // A nested rule's selector line after the comment is still lexed as a selector.
    state = LexState{2, 1, 0, 0};
    EXPECT_EQ(lexLine(css, "*/ .b:hover {", state), (V{{K::comment, "*/"},
                                                       {K::type, ".b"},
                                                       {K::attributeName, ":hover"},
                                                       {K::punctuation, "{"}}));
    EXPECT_EQ(state, (LexState{1, 2, 0, 0}));
}

TEST(CSSLexer, LongLinesOfUnclosedArgumentsStayLinear)
{
    // Every pseudo-class looks for the ")" of its argument; the search is not repeated per opener,
    // which on this line would take minutes.
    const CSSLexer css;
    const std::vector<Lexed> tokens = lexLine(css, QString(":a(").repeated(100000));
    ASSERT_EQ(tokens.size(), 100000u);
    EXPECT_EQ(tokens.back(), (Lexed{K::attributeName, ":a"}));
}

TEST(CSSLexer, DepthSaturates)
{
    const CSSLexer css;
    LexState state{1, 0xFFFF, 0, 0};
    lexLine(css, "{", state);
    EXPECT_EQ(state, (LexState{1, 0xFFFF, 0, 0}));
}

} // namespace
} // namespace plumeo::test
