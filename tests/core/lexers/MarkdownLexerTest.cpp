#include "syntax/MarkdownLexer.h"

#include "LexerTestSupport.h"
#include "syntax/Language.h"
#include "syntax/Lexers.h"

#include <gtest/gtest.h>

namespace plumeo::test {
namespace {

using K = TokenKind;
using V = std::vector<Lexed>;

const MarkdownLexer markdown;

V lex(const QString &line)
{
    return lexLine(markdown, line);
}

quint16 position(const char *name)
{
    return *Lexers::languageIndex(*Language::named(QString::fromUtf8(name)));
}

TEST(MarkdownLexer, Headings)
{
    EXPECT_TRUE(markdown.usesFonts());
    for (const char *line : {"# Title", "###### x", "###", "######", "  ## indented", "#\tTab"})
        EXPECT_EQ(lex(line), (V{{K::heading, line}})) << line;
    EXPECT_EQ(lex("####### x"), V{});
    EXPECT_EQ(lex("#######"), V{});
    EXPECT_EQ(lex("#Title *a*"), (V{{K::emphasis, "*a*"}}));
}

TEST(MarkdownLexer, QuotesBreaksAndLists)
{
    EXPECT_EQ(lex("  > quoted *text*"), (V{{K::quote, "  > quoted *text*"}}));
    for (const char *line : {"***", "- - -", "___", " * * * ", "-\t-\t-"})
        EXPECT_EQ(lex(line), (V{{K::meta, line}})) << line;
    EXPECT_EQ(lex("--"), V{});
    EXPECT_EQ(lex("- [x] done"), (V{{K::listMarker, "-"}, {K::meta, "[x]"}}));
    EXPECT_EQ(lex("* [ ] *todo*"),
              (V{{K::listMarker, "*"}, {K::meta, "[ ]"}, {K::emphasis, "*todo*"}}));
    EXPECT_EQ(lex("- [x]"), (V{{K::listMarker, "-"}, {K::link, "[x]"}}));
    EXPECT_EQ(lex("+ item `code`"), (V{{K::listMarker, "+"}, {K::codeSpan, "`code`"}}));
    EXPECT_EQ(lex("-  "), (V{{K::listMarker, "-"}}));
    EXPECT_EQ(lex("-item"), V{});
    EXPECT_EQ(lex("10. item"), (V{{K::listMarker, "10."}}));
    EXPECT_EQ(lex("3) [a]"), (V{{K::listMarker, "3)"}, {K::link, "[a]"}}));
    EXPECT_EQ(lex("123456789. x"), (V{{K::listMarker, "123456789."}}));
    EXPECT_EQ(lex("1234567890. x"), V{});
    EXPECT_EQ(lex("1.x"), V{});
    EXPECT_EQ(lex("2024"), V{});
    EXPECT_EQ(lex("1."), V{});
}

TEST(MarkdownLexer, FencedCodeColouredByItsLanguage)
{
    LexState state;
    EXPECT_EQ(lexLine(markdown, "```swift", state), (V{{K::meta, "```"}, {K::attribute, "swift"}}));
    EXPECT_EQ(state, (LexState{1, quint16(position("Swift") + 1), 0, 3}));
    const Lexer *swift = Lexers::lexer(QStringView(u"Swift"));
    ASSERT_NE(swift, nullptr);
    EXPECT_EQ(lexLine(markdown, "let x = 1", state), lexLine(*swift, "let x = 1"));
    // The embedded lexer's mode is carried in inner.
    lexLine(markdown, "/* open", state);
    EXPECT_EQ(state.inner, 1);
    EXPECT_EQ(lexLine(markdown, "*/ x", state), (V{{K::comment, "*/"}, {K::plain, "x"}}));
    EXPECT_EQ(state.inner, 0);
    EXPECT_EQ(lexLine(markdown, "  ``` trailing", state), (V{{K::meta, "  ``` trailing"}}));
    EXPECT_EQ(state, LexState());

    EXPECT_EQ(lexLine(markdown, "  ~~~~ Bash  {.x}", state),
              (V{{K::meta, "  ~~~~ "}, {K::attribute, "Bash"}}));
    EXPECT_EQ(state, (LexState{1, quint16(position("Shell") + 1), 0, 256 + 4}));
    for (const char *notClosing : {"```", "~~~", "````"}) {
        lexLine(markdown, notClosing, state);
        EXPECT_EQ(state.mode, 1) << notClosing;
    }
    lexLine(markdown, "~~~~~", state);
    EXPECT_EQ(state, LexState());

    // Fence words resolve through the name, an extension or an alias, case aside.
    for (const auto &[word, language] :
         std::initializer_list<std::pair<const char *, const char *>>{
             {"Rust", "Rust"},
             {"JS", "JavaScript"},
             {"py", "Python"},
             {"golang", "Go"},
             {"HTML", "HTML"},
             {"yml", "YAML"},
             {"patch", "Diff"},
             {"objective-c++", "Objective-C++"}}) {
        state = LexState();
        lexLine(markdown, QString("```") + word, state);
        EXPECT_EQ(state.aux, position(language) + 1) << word;
    }
}

TEST(MarkdownLexer, FencesWithoutALexer)
{
    LexState state;
    EXPECT_EQ(lexLine(markdown, "```foo bar", state), (V{{K::meta, "```"}, {K::attribute, "foo"}}));
    EXPECT_EQ(state, (LexState{1, 0, 0, 3}));
    EXPECT_EQ(lexLine(markdown, "  any *text*", state), (V{{K::codeSpan, "  any *text*"}}));
    EXPECT_EQ(lexLine(markdown, "", state), V{});
    EXPECT_EQ(lexLine(markdown, "   ", state), (V{{K::codeSpan, "   "}}));
    lexLine(markdown, "```", state);
    EXPECT_EQ(state, LexState());
    // A plain-text fence names a language that has no lexer.
    lexLine(markdown, "```txt", state);
    EXPECT_EQ(state, (LexState{1, 1, 0, 3}));
    EXPECT_EQ(lexLine(markdown, "x = 1", state), (V{{K::codeSpan, "x = 1"}}));
    lexLine(markdown, "```", state);
    // A fence without a word: the marker runs over the trailing blanks.
    EXPECT_EQ(lexLine(markdown, "``` ", state), (V{{K::meta, "``` "}}));
    EXPECT_EQ(state, (LexState{1, 0, 0, 3}));
    // A state from elsewhere naming a position past the catalogue is taken as having no lexer.
    state = LexState{1, 0xFFFF, 0, 3};
    EXPECT_EQ(lexLine(markdown, "x", state), (V{{K::codeSpan, "x"}}));
    // Two backquotes are no fence.
    state = LexState();
    EXPECT_EQ(lexLine(markdown, "``x``", state), (V{{K::codeSpan, "``x``"}}));
    EXPECT_EQ(state, LexState());
}

TEST(MarkdownLexer, HtmlComments)
{
    LexState state;
    EXPECT_EQ(lexLine(markdown, "  <!-- note --> *a*", state),
              (V{{K::comment, "<!-- note -->"}, {K::emphasis, "*a*"}}));
    EXPECT_EQ(lexLine(markdown, "<!-- open", state), (V{{K::comment, "<!-- open"}}));
    EXPECT_EQ(state, (LexState{2, 0, 0, 0}));
    // An empty line inside the comment still gets an empty comment token.
    LexState copy = state;
    const std::vector<Token> empty = markdown.tokenizeLine(QString(), copy);
    EXPECT_EQ(empty, (std::vector<Token>{{K::comment, {0, 0}}}));
    EXPECT_EQ(lexLine(markdown, "# not a heading", state), (V{{K::comment, "# not a heading"}}));
    EXPECT_EQ(lexLine(markdown, "end --> `x`", state),
              (V{{K::comment, "end -->"}, {K::codeSpan, "`x`"}}));
    EXPECT_EQ(state, LexState());
    // In the middle of a line "<!--" is only a "<" looking for its ">".
    EXPECT_EQ(lexLine(markdown, "text <!-- note", state), V{});
    EXPECT_EQ(state, LexState());
    EXPECT_EQ(lexLine(markdown, "text <!-- note -->", state), V{}); // "!" starts no tag
}

TEST(MarkdownLexer, Emphasis)
{
    EXPECT_EQ(lex("a *b* __c__ _d_ **e**"), (V{{K::emphasis, "*b*"},
                                               {K::strong, "__c__"},
                                               {K::emphasis, "_d_"},
                                               {K::strong, "**e**"}}));
    EXPECT_EQ(lex("***x***"), (V{{K::emphasis, "*x*"}}));
    EXPECT_EQ(lex("a * b * c"), V{});
    EXPECT_EQ(lex("*a *"), V{});
    EXPECT_EQ(lex("snake_case_name"), (V{{K::emphasis, "_case_"}}));
    EXPECT_EQ(lex("**"), V{});
    EXPECT_EQ(lex("x *"), V{});
    // The single "*" finds the first "*" of "**", after a blank: no emphasis, but the strong
    // inside.
    EXPECT_EQ(lex("*a **b** c*"), (V{{K::strong, "**b**"}}));
    EXPECT_EQ(lex("~~gone~~ ~~ no~~ ~x ~~~y~~"), (V{{K::strikethrough, "~~gone~~"}}));
    EXPECT_EQ(lex("~~a ~~ b~~"), V{});
}

TEST(MarkdownLexer, CodeSpansLinksAndTags)
{
    EXPECT_EQ(lex("`a` and ``b`c``"), (V{{K::codeSpan, "`a`"}, {K::codeSpan, "``b`c``"}}));
    EXPECT_EQ(lex("``x`"), V{});
    EXPECT_EQ(lex("`*a*` *b*"), (V{{K::codeSpan, "`*a*`"}, {K::emphasis, "*b*"}}));
    EXPECT_EQ(lex("a <b> c"), (V{{K::tag, "<b>"}}));
    EXPECT_EQ(lex("<https://x.org> <me@x.org> </p>"),
              (V{{K::link, "<https://x.org>"}, {K::link, "<me@x.org>"}, {K::tag, "</p>"}}));
    EXPECT_EQ(lex("a < b > c <>"), V{});
    EXPECT_EQ(lex("[text](url)"), (V{{K::link, "[text]"}, {K::meta, "(url)"}}));
    EXPECT_EQ(lex("![alt](img.png)"), (V{{K::link, "![alt]"}, {K::meta, "(img.png)"}}));
    EXPECT_EQ(lex("[ref]"), (V{{K::link, "[ref]"}}));
    EXPECT_EQ(lex("[a][b] [c](d"), (V{{K::link, "[a]"}, {K::meta, "[b]"}, {K::link, "[c]"}}));
    EXPECT_EQ(lex("[open ! x [y]"), (V{{K::link, "[open ! x [y]"}}));
    EXPECT_EQ(lex("\\*a\\* \\"), (V{{K::escape, "\\*"}, {K::escape, "\\*"}}));
    EXPECT_EQ(lex("| a | b |"),
              (V{{K::punctuation, "|"}, {K::punctuation, "|"}, {K::punctuation, "|"}}));
}

TEST(MarkdownLexer, LongLinesOfOpenersStayLinear)
{
    // Each opener looks for a closer that never comes; the line is still read about once, where a
    // search per opener would take minutes on these lines.
    EXPECT_EQ(lex(QString(200000, '<')), V{});
    EXPECT_EQ(lex(QString(200000, '[')), V{});
    const std::vector<Lexed> links = lex(QString("[a](").repeated(50000));
    ASSERT_EQ(links.size(), 50000u);
    EXPECT_EQ(links.back(), (Lexed{K::link, "[a]"}));
}

} // namespace
} // namespace plumeo::test
