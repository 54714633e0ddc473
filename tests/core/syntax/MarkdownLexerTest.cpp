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

// The state a fence of this language leaves: its catalogue position plus one in aux.
quint16 fenceAux(const char *name)
{
    return quint16(*Lexers::languageIndex(*Language::named(QString::fromUtf8(name))) + 1);
}

} // namespace

TEST(MarkdownLexer, blockMarkersAtTheStartOfALine)
{
    for (const char *line : {"# Title", "###### x", "###", "  ## indented", "#\tTab"})
        EXPECT_EQ(lex(line), QStringLiteral("heading:") + line);
    EXPECT_EQ(lex("####### x"), "");
    EXPECT_EQ(lex("#Title *a*"), "emphasis:*a*");
    EXPECT_EQ(lex("  > quoted *text*"), "quote:  > quoted *text*");
    for (const char *line : {"***", "- - -", "___", " * * * ", "-\t-\t-"})
        EXPECT_EQ(lex(line), QStringLiteral("meta:") + line);
    EXPECT_EQ(lex("--"), "");
    EXPECT_EQ(lex("- [x] done"), "listMarker:- meta:[x]");
    EXPECT_EQ(lex("* [ ] *todo*"), "listMarker:* meta:[ ] emphasis:*todo*");
    EXPECT_EQ(lex("- [x]"), "listMarker:- link:[x]");
    EXPECT_EQ(lex("-  "), "listMarker:-");
    EXPECT_EQ(lex("-item"), "");
    EXPECT_EQ(lex("3) [a]"), "listMarker:3) link:[a]");
    EXPECT_EQ(lex("123456789. x"), "listMarker:123456789.");
    for (const char *notAList : {"1234567890. x", "1.x", "2024", "1."})
        EXPECT_EQ(lex(notAList), "") << notAList;
}

TEST(MarkdownLexer, fencedCodeIsColouredByItsLanguage)
{
    LexState s;
    EXPECT_EQ(lexed(markdown, "```swift", s), "meta:``` attribute:swift");
    EXPECT_EQ(s, state(1, fenceAux("Swift"), 0, 3));
    EXPECT_EQ(lexed(markdown, "let x = 1", s), lexed(*Lexers::lexer(u"Swift"), "let x = 1"));
    lexed(markdown, "/* open", s);
    EXPECT_EQ(s.inner, 1); // the embedded lexer's mode
    EXPECT_EQ(lexed(markdown, "*/ x", s), "comment:*/ plain:x");
    EXPECT_EQ(lexed(markdown, "  ``` trailing", s), "meta:  ``` trailing");
    EXPECT_EQ(s, LexState());

    EXPECT_EQ(lexed(markdown, "  ~~~~ Bash  {.x}", s), "meta:  ~~~~  attribute:Bash");
    EXPECT_EQ(s, state(1, fenceAux("Shell"), 0, 256 + 4));
    for (const char *notClosing : {"```", "~~~", "````"}) {
        lexed(markdown, notClosing, s);
        EXPECT_EQ(s.mode, 1) << notClosing;
    }
    lexed(markdown, "~~~~~", s);
    EXPECT_EQ(s, LexState());
    lexed(markdown, "```objective-c++", s);
    EXPECT_EQ(s.aux, fenceAux("Objective-C++"));
}

TEST(MarkdownLexer, fencesWithoutALexerAreCodeSpans)
{
    LexState s;
    EXPECT_EQ(lexed(markdown, "```foo bar", s), "meta:``` attribute:foo");
    EXPECT_EQ(s, state(1, 0, 0, 3));
    EXPECT_EQ(lexed(markdown, "  any *text*", s), "codeSpan:  any *text*");
    EXPECT_EQ(lexed(markdown, "", s), "");
    lexed(markdown, "```", s);
    EXPECT_EQ(s, LexState());
    lexed(markdown, "```txt", s); // plain text names a language without a lexer
    EXPECT_EQ(s, state(1, 1, 0, 3));
    EXPECT_EQ(lexed(markdown, "x = 1", s), "codeSpan:x = 1");
    lexed(markdown, "```", s);
    EXPECT_EQ(lexed(markdown, "``` ", s), "meta:``` "); // no word: the marker takes the blanks
    EXPECT_EQ(s, state(1, 0, 0, 3));
    // A state from elsewhere naming a position past the catalogue is taken as having no lexer.
    s = state(1, 0xFFFF, 0, 3);
    EXPECT_EQ(lexed(markdown, "x", s), "codeSpan:x");
    s = LexState();
    EXPECT_EQ(lexed(markdown, "``x``", s), "codeSpan:``x``"); // two backquotes are no fence
    EXPECT_EQ(s, LexState());
}

TEST(MarkdownLexer, htmlCommentsOnlyFromTheLineStart)
{
    LexState s;
    EXPECT_EQ(lexed(markdown, "  <!-- note --> *a*", s), "comment:<!-- note --> emphasis:*a*");
    EXPECT_EQ(lexed(markdown, "<!-- open", s), "comment:<!-- open");
    EXPECT_EQ(s, state(2, 0));
    // An empty line inside the comment still gets an empty comment token.
    LexState copy = s;
    EXPECT_EQ(markdown.tokenizeLine(QString(), copy),
              (std::vector<Token>{{TokenKind::comment, {0, 0}}}));
    EXPECT_EQ(lexed(markdown, "# not a heading", s), "comment:# not a heading");
    EXPECT_EQ(lexed(markdown, "end --> `x`", s), "comment:end --> codeSpan:`x`");
    EXPECT_EQ(s, LexState());
    // In the middle of a line "<!--" is only a "<" looking for its ">", and "!" starts no tag.
    EXPECT_EQ(lexed(markdown, "text <!-- note -->", s), "");
    EXPECT_EQ(s, LexState());
}

TEST(MarkdownLexer, inlineMarkup)
{
    EXPECT_EQ(lex("a *b* __c__ _d_ **e**"), "emphasis:*b* strong:__c__ emphasis:_d_ strong:**e**");
    EXPECT_EQ(lex("***x***"), "emphasis:*x*");
    EXPECT_EQ(lex("snake_case_name"), "emphasis:_case_");
    for (const char *none :
         {"a * b * c", "*a *", "**", "x *", "~~a ~~ b~~", "``x`", "a < b > c <>"})
        EXPECT_EQ(lex(none), "") << none;
    // The single "*" finds the first "*" of "**", after a blank: no emphasis, but the strong
    // inside.
    EXPECT_EQ(lex("*a **b** c*"), "strong:**b**");
    EXPECT_EQ(lex("~~gone~~ ~~ no~~ ~x ~~~y~~"), "strikethrough:~~gone~~");
    EXPECT_EQ(lex("`a` and ``b`c``"), "codeSpan:`a` codeSpan:``b`c``");
    EXPECT_EQ(lex("`*a*` *b*"), "codeSpan:`*a*` emphasis:*b*");
    EXPECT_EQ(lex("<https://x.org> <me@x.org> </p> <b>"),
              "link:<https://x.org> link:<me@x.org> tag:</p> tag:<b>");
    EXPECT_EQ(lex("![alt](img.png)"), "link:![alt] meta:(img.png)");
    EXPECT_EQ(lex("[a][b] [c](d"), "link:[a] meta:[b] link:[c]");
    EXPECT_EQ(lex("[open ! x [y]"), "link:[open ! x [y]");
    EXPECT_EQ(lex("\\*a\\* \\"), "escape:\\* escape:\\*");
    EXPECT_EQ(lex("| a | b |"), "punctuation:| punctuation:| punctuation:|");
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
