#include "syntax/HTMLLexer.h"

#include "LexerTestSupport.h"

#include <gtest/gtest.h>

using namespace plumeo;
using plumeo::test::lexed;
using plumeo::test::state;

TEST(HTMLLexer, tagsAttributesReferencesAndComments)
{
    const HTMLLexer html;
    EXPECT_EQ(lexed(html, "<p class='a'>x &amp; y</p>"),
              "tag:<p attributeName:class operator:= string:'a' tag:> escape:&amp; tag:</p tag:>");
    EXPECT_EQ(lexed(html, "&#x27; &#39; & &nbsp &;"), "escape:&#x27; escape:&#39; escape:&;");
    EXPECT_EQ(lexed(html, "<input disabled width=100% data-x.y=\"1\" @click=go :v=1 />"),
              "tag:<input attributeName:disabled attributeName:width operator:= string:100% "
              "attributeName:data-x.y operator:= string:\"1\" attributeName:@click operator:= "
              "attributeName:go attributeName::v operator:= string:1 tag:/>");
    EXPECT_EQ(lexed(html, "a < b <3 </> <svg:rect/>"), "tag:</ tag:> tag:<svg:rect tag:/>");
    EXPECT_EQ(lexed(html, "<!DOCTYPE html>"), "meta:<!DOCTYPE html>");
    EXPECT_EQ(lexed(html, "<![CDATA[ x ]]>"), "meta:<![CDATA[ x ]]>");
    EXPECT_EQ(lexed(html, "<!-- a --> b <!-- c -->"), "comment:<!-- a --> comment:<!-- c -->");
    // "<!-->" is not a closed comment: the search for "-->" starts after the opener.
    EXPECT_EQ(lexed(html, "<!-->"), "comment:<!-->");

    LexState s;
    EXPECT_EQ(lexed(html, "x <!-- open", s), "comment:<!-- open");
    EXPECT_EQ(s, state(2, 0));
    EXPECT_EQ(lexed(html, "", s), "");
    EXPECT_EQ(lexed(html, "<p> still", s), "comment:<p> still");
    EXPECT_EQ(lexed(html, "end --><b>", s), "comment:end --> tag:<b tag:>");
    EXPECT_EQ(s, LexState());

    EXPECT_EQ(lexed(html, "<div title='a", s), "tag:<div attributeName:title operator:= string:'a");
    EXPECT_EQ(s, state(6, u'\''));
    EXPECT_EQ(lexed(html, "b'>", s), "string:b' tag:>");
    EXPECT_EQ(s, LexState());
}

TEST(HTMLLexer, scriptAndStyleElementsEmbedTheirLexers)
{
    const HTMLLexer html;
    LexState s;
    EXPECT_EQ(lexed(html, "<script>var a = 1;", s),
              "tag:<script tag:> keyword:var plain:a operator:= number:1 punctuation:;");
    EXPECT_EQ(s, state(3, 0));
    // A template literal left open carries the JavaScript lexer's state in inner and innerAux.
    lexed(html, "let s = `a", s);
    EXPECT_EQ(s.mode, 3);
    EXPECT_EQ(s.inner, 2);
    EXPECT_EQ(lexed(html, "b` </SCRIPT>", s), "string:b` tag:</SCRIPT tag:>");
    EXPECT_EQ(s, LexState());
    EXPECT_EQ(lexed(html, "<script/>", s), "tag:<script tag:/>"); // self-closing: opens nothing
    EXPECT_EQ(s, LexState());
    EXPECT_EQ(lexed(html, "<SCRIPT type=\"module\">if (x) {} </script >", s),
              "tag:<SCRIPT attributeName:type operator:= string:\"module\" tag:> keyword:if "
              "punctuation:( plain:x punctuation:) punctuation:{ punctuation:} tag:</script tag:>");
    lexed(html, "<scripts>", s);
    EXPECT_EQ(s, LexState());
    // In a script tag the tag's kind survives a quoted value, so ">" still opens the script.
    lexed(html, "<script src=\"x", s);
    EXPECT_EQ(s, state(6, quint16(u'"' + 256)));
    lexed(html, "\" defer>", s);
    EXPECT_EQ(s, state(3, 0));

    s = LexState();
    EXPECT_EQ(lexed(html, "<style>a { color: red; }</style>", s),
              "tag:<style tag:> tag:a punctuation:{ property:color punctuation:: constant:red "
              "punctuation:; punctuation:} tag:</style tag:>");
    lexed(html, "<style>", s);
    lexed(html, "p {", s);
    EXPECT_EQ(s, state(4, 0, 1, 1)); // the CSS lexer's block and depth
    EXPECT_EQ(lexed(html, "  margin: 0;", s),
              "property:margin punctuation:: number:0 punctuation:;");
    EXPECT_EQ(lexed(html, "}</Style>", s), "punctuation:} tag:</Style tag:>");
    EXPECT_EQ(s, LexState());
}

TEST(HTMLLexer, phpBlocksOnlyWherePhpIsAllowed)
{
    const HTMLLexer html(true);
    LexState s;
    EXPECT_EQ(lexed(html, "<?php echo 1; ?>", s),
              "meta:<?php keyword:echo number:1 punctuation:; meta:?>");
    EXPECT_EQ(lexed(html, "<b><?= $x ?></b>", s),
              "tag:<b tag:> meta:<?= variable:$x meta:?> tag:</b tag:>");
    // A PHP block comment left open travels in inner and innerAux.
    lexed(html, "<? /* note", s);
    EXPECT_EQ(s, state(5, 0, 1, 1));
    EXPECT_EQ(lexed(html, "*/ ?>x", s), "comment:*/ meta:?>");
    EXPECT_EQ(s, LexState());
    EXPECT_EQ(lexed(HTMLLexer(false), "<?xml version=\"1.0\"?>", s), "");
    EXPECT_EQ(s, LexState());
    EXPECT_EQ(lexed(html, "<?xml version", s), "meta:<?xml plain:version");
    EXPECT_EQ(s, state(5, 0));
}
