// The golden (tests/data/lexers/Markdown) holds ordinary blocks, fences, comments and inline
// markup; the cases here pin the corners no sample file reaches.
#include "syntax/MarkdownLexer.h"

#include "LexerTestSupport.h"
#include "syntax/Language.h"
#include "syntax/Lexers.h"

#include <gtest/gtest.h>

using namespace plumeo;
using plumeo::test::lexed;
using plumeo::test::state;

namespace {

const MarkdownLexer markdown;

QString lex(const QString &line)
{
    return lexed(markdown, line);
}

} // namespace

TEST(MarkdownLexer, blockMarkersAtTheStartOfALine)
{
    for (const char *line : {"###", "#\tTab"})
        EXPECT_EQ(lex(line), QStringLiteral("heading:") + line);
    for (const char *line : {" * * * ", "-\t-\t-"})
        EXPECT_EQ(lex(line), QStringLiteral("meta:") + line);
    EXPECT_EQ(lex("-  "), "listMarker:-");
    EXPECT_EQ(lex("123456789. x"), "listMarker:123456789.");
    for (const char *none : {"--", "1.x", "2024", "1."})
        EXPECT_EQ(lex(none), "") << none;
}

TEST(MarkdownLexer, fencesAndComments)
{
    LexState s;
    EXPECT_EQ(lexed(markdown, "  ~~~~ Bash  {.x}", s), "meta:  ~~~~  attribute:Bash");
    lexed(markdown, "~~~~~", s);
    lexed(markdown, "```objective-c++", s);
    EXPECT_EQ(s.aux, *Lexers::languageIndex(*Language::named(u"Objective-C++")) + 1);
    lexed(markdown, "```", s);

    // Plain text names a language without a lexer: its lines are one code span.
    lexed(markdown, "```txt", s);
    EXPECT_EQ(lexed(markdown, "x = 1", s), "codeSpan:x = 1");
    lexed(markdown, "```", s);
    EXPECT_EQ(lexed(markdown, "``` ", s), "meta:``` "); // no word: the marker takes the blanks
    // A state from elsewhere naming a position past the catalogue is taken as having no lexer.
    s = state(1, 0xFFFF, 0, 3);
    EXPECT_EQ(lexed(markdown, "x", s), "codeSpan:x");
    s = LexState();
    EXPECT_EQ(lexed(markdown, "``x``", s), "codeSpan:``x``"); // two backquotes are no fence
    EXPECT_EQ(s, LexState());

    s = state(2, 0); // inside an HTML comment
    EXPECT_EQ(lexed(markdown, "# not a heading", s), "comment:# not a heading");
    // In the middle of a line "<!--" is only a "<" looking for its ">", and "!" starts no tag.
    s = LexState();
    EXPECT_EQ(lexed(markdown, "text <!-- note -->", s), "");
    EXPECT_EQ(s, LexState());
}

TEST(MarkdownLexer, inlineMarkup)
{
    for (const char *none : {"*a *", "**", "x *", "``x`"})
        EXPECT_EQ(lex(none), "") << none;
    // The single "*" finds the first "*" of "**", after a blank: no emphasis, but the strong
    // inside.
    EXPECT_EQ(lex("*a **b** c*"), "strong:**b**");
    EXPECT_EQ(lex("~~gone~~ ~~ no~~ ~x ~~~y~~"), "strikethrough:~~gone~~");
    EXPECT_EQ(lex("`*a*` *b*"), "codeSpan:`*a*` emphasis:*b*");
    EXPECT_EQ(lex("[open ! x [y]"), "link:[open ! x [y]");
    EXPECT_EQ(lex("\\*a\\* \\"), "escape:\\* escape:\\*");
}

TEST(MarkdownLexer, longLinesOfOpenersStayLinear)
{
    // Each opener looks for a closer that never comes; the line is still read about once, where a
    // search per opener would take minutes on these lines.
    EXPECT_EQ(lex(QString(200000, '<')), "");
    EXPECT_EQ(lex(QString(200000, '[')), "");
    LexState s;
    const std::vector<Token> links = markdown.tokenizeLine(QString("[a](").repeated(50000), s);
    ASSERT_EQ(links.size(), 50000u);
    EXPECT_EQ(links.back(), (Token{TokenKind::link, {199996, 199999}}));
}
