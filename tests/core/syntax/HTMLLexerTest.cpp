// The goldens (tests/data/lexers/HTML, XML and PHP) hold ordinary tags, comments, embedded scripts
// and styles and PHP blocks; the cases here pin the corners no sample file reaches.
#include "syntax/HTMLLexer.h"

#include "LexerTestSupport.h"

#include <gtest/gtest.h>

using namespace plumeo;
using plumeo::test::lexed;
using plumeo::test::state;

TEST(HTMLLexer, tagsAttributesReferencesAndComments)
{
    const HTMLLexer html;
    EXPECT_EQ(lexed(html, "&#x27; &#39; & &nbsp &;"), "escape:&#x27; escape:&#39; escape:&;");
    EXPECT_EQ(lexed(html, "<input disabled width=100% data-x.y=\"1\" @click=go :v=1 />"),
              "tag:<input attributeName:disabled attributeName:width operator:= string:100% "
              "attributeName:data-x.y operator:= string:\"1\" attributeName:@click operator:= "
              "attributeName:go attributeName::v operator:= string:1 tag:/>");
    EXPECT_EQ(lexed(html, "a < b <3 </> <svg:rect/>"), "tag:</ tag:> tag:<svg:rect tag:/>");
    EXPECT_EQ(lexed(html, "<![CDATA[ x ]]>"), "meta:<![CDATA[ x ]]>");
    // "<!-->" is not a closed comment: the search for "-->" starts after the opener.
    EXPECT_EQ(lexed(html, "<!-->"), "comment:<!-->");
}

TEST(HTMLLexer, scriptElementsAndPhpBlocks)
{
    const HTMLLexer html;
    LexState s;
    lexed(html, "<scripts>", s);
    EXPECT_EQ(s, LexState());
    // In a script tag the tag's kind survives a quoted value, so ">" still opens the script.
    lexed(html, "<script src=\"x", s);
    EXPECT_EQ(s, state(6, quint16(u'"' + 256)));
    lexed(html, "\" defer>", s);
    EXPECT_EQ(s, state(3, 0));

    s = LexState();
    EXPECT_EQ(lexed(HTMLLexer(false), "<?xml version=\"1.0\"?>", s), "");
    EXPECT_EQ(s, LexState());
    EXPECT_EQ(lexed(HTMLLexer(true), "<?xml version", s), "meta:<?xml plain:version");
    EXPECT_EQ(s, state(5, 0));
}
