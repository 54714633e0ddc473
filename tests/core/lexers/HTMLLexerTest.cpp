#include "syntax/HTMLLexer.h"

#include "LexerTestSupport.h"
#include "syntax/GenericLexer.h"
#include "syntax/Syntaxes.h"

#include <gtest/gtest.h>

namespace plumeo::test {
namespace {

using K = TokenKind;
using V = std::vector<Lexed>;

V concat(V a, const V &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(HTMLLexer, TagsAttributesAndReferences)
{
    const HTMLLexer html;
    LexState state;
    EXPECT_EQ(lexLine(html, "<p class='a'>x &amp; y</p>", state), (V{{K::tag, "<p"},
                                                                     {K::attributeName, "class"},
                                                                     {K::operator_, "="},
                                                                     {K::string, "'a'"},
                                                                     {K::tag, ">"},
                                                                     {K::escape, "&amp;"},
                                                                     {K::tag, "</p"},
                                                                     {K::tag, ">"}}));
    EXPECT_EQ(state, LexState());
    EXPECT_EQ(lexLine(html, "&#x27; &#39; & &nbsp &;"),
              (V{{K::escape, "&#x27;"}, {K::escape, "&#39;"}, {K::escape, "&;"}}));
    EXPECT_EQ(lexLine(html, "<input disabled width=100% data-x.y=\"1\" @click=go :v=1 />"),
              (V{{K::tag, "<input"},
                 {K::attributeName, "disabled"},
                 {K::attributeName, "width"},
                 {K::operator_, "="},
                 {K::string, "100%"},
                 {K::attributeName, "data-x.y"},
                 {K::operator_, "="},
                 {K::string, "\"1\""},
                 {K::attributeName, "@click"},
                 {K::operator_, "="},
                 {K::attributeName, "go"},
                 {K::attributeName, ":v"},
                 {K::operator_, "="},
                 {K::string, "1"},
                 {K::tag, "/>"}}));
    EXPECT_EQ(lexLine(html, "a < b <3 </> <svg:rect/>"),
              (V{{K::tag, "</"}, {K::tag, ">"}, {K::tag, "<svg:rect"}, {K::tag, "/>"}}));
}

TEST(HTMLLexer, DeclarationsAndComments)
{
    const HTMLLexer html;
    EXPECT_EQ(lexLine(html, "<!DOCTYPE html>"), (V{{K::meta, "<!DOCTYPE html>"}}));
    EXPECT_EQ(lexLine(html, "<![CDATA[ x ]]>"), (V{{K::meta, "<![CDATA[ x ]]>"}}));
    EXPECT_EQ(lexLine(html, "<!-- a --> b <!-- c -->"),
              (V{{K::comment, "<!-- a -->"}, {K::comment, "<!-- c -->"}}));
    LexState state;
    EXPECT_EQ(lexLine(html, "x <!-- open", state), (V{{K::comment, "<!-- open"}}));
    EXPECT_EQ(state, (LexState{2, 0, 0, 0}));
    EXPECT_EQ(lexLine(html, "", state), V{});
    EXPECT_EQ(state, (LexState{2, 0, 0, 0}));
    EXPECT_EQ(lexLine(html, "<p> still", state), (V{{K::comment, "<p> still"}}));
    EXPECT_EQ(lexLine(html, "end --><b>", state),
              (V{{K::comment, "end -->"}, {K::tag, "<b"}, {K::tag, ">"}}));
    EXPECT_EQ(state, LexState());
    // "<!-->" is not a closed comment: the search for "-->" starts after the opener.
    EXPECT_EQ(lexLine(html, "<!-->"), (V{{K::comment, "<!-->"}}));
}

TEST(HTMLLexer, QuotedValuesAcrossLines)
{
    const HTMLLexer html;
    LexState state;
    EXPECT_EQ(
        lexLine(html, "<div title='a", state),
        (V{{K::tag, "<div"}, {K::attributeName, "title"}, {K::operator_, "="}, {K::string, "'a"}}));
    EXPECT_EQ(state, (LexState{6, u'\'', 0, 0}));
    EXPECT_EQ(lexLine(html, "b'>", state), (V{{K::string, "b'"}, {K::tag, ">"}}));
    EXPECT_EQ(state, LexState());
    // In a script tag the tag's kind survives the quoted value, so ">" still opens the script.
    lexLine(html, "<script src=\"x", state);
    EXPECT_EQ(state, (LexState{6, quint16(u'"' + 256), 0, 0}));
    lexLine(html, "\" defer>", state);
    EXPECT_EQ(state, (LexState{3, 0, 0, 0}));
}

TEST(HTMLLexer, ScriptElements)
{
    const HTMLLexer html;
    const GenericLexer javascript(Syntaxes::javascript());
    LexState state;
    EXPECT_EQ(lexLine(html, "<script>var a = 1;", state),
              concat(V{{K::tag, "<script"}, {K::tag, ">"}}, lexLine(javascript, "var a = 1;")));
    EXPECT_EQ(state, (LexState{3, 0, 0, 0}));
    // A template literal left open carries the JavaScript lexer's state in inner and innerAux.
    lexLine(html, "let s = `a", state);
    EXPECT_EQ(state.mode, 3);
    EXPECT_EQ(state.inner, 2);
    EXPECT_EQ(lexLine(html, "b` </SCRIPT>", state),
              (V{{K::string, "b`"}, {K::tag, "</SCRIPT"}, {K::tag, ">"}}));
    EXPECT_EQ(state, LexState());
    // A self-closing script tag opens nothing.
    EXPECT_EQ(lexLine(html, "<script/>", state), (V{{K::tag, "<script"}, {K::tag, "/>"}}));
    EXPECT_EQ(state, LexState());
    EXPECT_EQ(lexLine(html, "<SCRIPT type=\"module\">if (x) {} </script >", state),
              (V{{K::tag, "<SCRIPT"},
                 {K::attributeName, "type"},
                 {K::operator_, "="},
                 {K::string, "\"module\""},
                 {K::tag, ">"},
                 {K::keyword, "if"},
                 {K::punctuation, "("},
                 {K::plain, "x"},
                 {K::punctuation, ")"},
                 {K::punctuation, "{"},
                 {K::punctuation, "}"},
                 {K::tag, "</script"},
                 {K::tag, ">"}}));
    // "<scripts>" is not a script element.
    lexLine(html, "<scripts>", state);
    EXPECT_EQ(state, LexState());
}

TEST(HTMLLexer, StyleElements)
{
    const HTMLLexer html;
    LexState state;
    EXPECT_EQ(lexLine(html, "<style>a { color: red; }</style>", state), (V{{K::tag, "<style"},
                                                                           {K::tag, ">"},
                                                                           {K::tag, "a"},
                                                                           {K::punctuation, "{"},
                                                                           {K::property, "color"},
                                                                           {K::punctuation, ":"},
                                                                           {K::constant, "red"},
                                                                           {K::punctuation, ";"},
                                                                           {K::punctuation, "}"},
                                                                           {K::tag, "</style"},
                                                                           {K::tag, ">"}}));
    EXPECT_EQ(state, LexState());
    lexLine(html, "<style>", state);
    lexLine(html, "p {", state);
    EXPECT_EQ(state, (LexState{4, 0, 1, 1})); // the CSS lexer's block and depth
    EXPECT_EQ(lexLine(html, "  margin: 0;", state), (V{{K::property, "margin"},
                                                       {K::punctuation, ":"},
                                                       {K::number, "0"},
                                                       {K::punctuation, ";"}}));
    EXPECT_EQ(lexLine(html, "}</Style>", state),
              (V{{K::punctuation, "}"}, {K::tag, "</Style"}, {K::tag, ">"}}));
    EXPECT_EQ(state, LexState());
}

TEST(HTMLLexer, PhpBlocks)
{
    const HTMLLexer html(true);
    const HTMLLexer xml(false);
    const GenericLexer php(Syntaxes::php());
    LexState state;
    EXPECT_EQ(lexLine(html, "<?php echo 1; ?>", state),
              concat(concat(V{{K::meta, "<?php"}}, lexLine(php, " echo 1; ")), V{{K::meta, "?>"}}));
    EXPECT_EQ(state, LexState());
    EXPECT_EQ(lexLine(html, "<b><?= $x ?></b>", state), (V{{K::tag, "<b"},
                                                           {K::tag, ">"},
                                                           {K::meta, "<?="},
                                                           {K::variable, "$x"},
                                                           {K::meta, "?>"},
                                                           {K::tag, "</b"},
                                                           {K::tag, ">"}}));
    // A PHP block comment left open travels in inner and innerAux.
    lexLine(html, "<? /* note", state);
    EXPECT_EQ(state, (LexState{5, 0, 1, 1}));
    EXPECT_EQ(lexLine(html, "*/ ?>x", state), (V{{K::comment, "*/"}, {K::meta, "?>"}}));
    EXPECT_EQ(state, LexState());
    // XML has no PHP: "<?xml" gives no token.
    EXPECT_EQ(lexLine(xml, "<?xml version=\"1.0\"?>", state), V{});
    EXPECT_EQ(state, LexState());
    EXPECT_EQ(lexLine(html, "<?xml version", state),
              (V{{K::meta, "<?xml"}, {K::plain, "version"}}));
    EXPECT_EQ(state, (LexState{5, 0, 0, 0}));
}

} // namespace
} // namespace plumeo::test
