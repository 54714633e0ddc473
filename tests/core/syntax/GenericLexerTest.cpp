// The goldens (tests/data/lexers, one sample file per language) hold each rule set's ordinary
// lines; the cases here pin the rules at their edges, where no sample file goes.
#include "syntax/GenericLexer.h"

#include "LexerTestSupport.h"
#include "syntax/Lexers.h"

#include <gtest/gtest.h>

using namespace plumeo;
using plumeo::test::lexed;

namespace {

// The registered lexer of a language, which is a rule-driven one for every language used here.
const Lexer &lexer(const char *name)
{
    return *Lexers::lexer(QString::fromLatin1(name));
}

const Lexer &c()
{
    return lexer("C");
}

} // namespace

TEST(GenericLexerLineStarts, preprocessorAndLabelsOnlyWhereALineStarts)
{
    EXPECT_EQ(lexed(c(), "x # y"), "plain:x plain:y"); // "#" is no token of its own
    // A block comment that closes on this line gives the line start back.
    LexState state = test::state(1, 1);
    EXPECT_EQ(lexed(c(), "*/ #if A", state), "comment:*/ preprocessor:#if A");

    const Lexer &make = lexer("Makefile");
    EXPECT_EQ(lexed(make, "all : x"), "plain:all operator:: plain:x");
    EXPECT_EQ(lexed(make, "  x:"), "function:x punctuation::"); // blanks keep the line start
    EXPECT_EQ(lexed(make, "ifeq"), "keyword:ifeq");             // running to the end is no label
    EXPECT_EQ(lexed(make, "a: b: c"), "function:a punctuation:: plain:b operator:: plain:c");
}

TEST(GenericLexerComments, startOnlyWhereATokenStartsAndCountTheirDepth)
{
    EXPECT_EQ(lexed(c(), "x=//y"), "plain:x operator:=// plain:y");
    EXPECT_EQ(lexed(c(), "/*/ x"), "comment:/*/ x"); // the opener's "*" cannot close it
    // An empty line inside a comment is one empty token at the line start.
    LexState state = test::state(1, 1);
    EXPECT_EQ(c().tokenizeLine(QString(), state),
              (std::vector<Token>{Token{TokenKind::comment, {0, 0}}}));
    EXPECT_EQ(state, test::state(1, 1));
    // Without nesting an inner opener is text and the first closer ends the comment.
    state = {};
    EXPECT_EQ(lexed(c(), "/* /* */ x", state), "comment:/* /* */ plain:x");
    EXPECT_EQ(state, LexState());

    const Lexer &swift = lexer("Swift");
    EXPECT_EQ(lexed(swift, "/* /* /*", state), "comment:/* /* /*");
    EXPECT_EQ(state, test::state(1, 3));
    EXPECT_EQ(lexed(swift, "*/ */ y", state), "comment:*/ */ y");
    EXPECT_EQ(state, test::state(1, 1));

    // SQL's "--" has no longer block opener to give way to, as Lua's has.
    EXPECT_EQ(lexed(lexer("SQL"), "--[[ x"), "comment:--[[ x");
}

TEST(GenericLexerStrings, escapesEmptyLinesAndLineEnds)
{
    const Lexer &python = lexer("Python");
    LexState state = test::state(2, 0);
    EXPECT_EQ(lexed(python, "more \\\"\"\" still", state), "string:more \\\"\"\" still");
    EXPECT_EQ(state, test::state(2, 0));
    // An empty line inside the string is one empty token.
    state = test::state(2, 1);
    EXPECT_EQ(python.tokenizeLine(QString(), state),
              (std::vector<Token>{Token{TokenKind::string, {0, 0}}}));
    EXPECT_EQ(state, test::state(2, 1));
    // A single-line string is cut at the end of its line; the next line starts normal.
    state = {};
    EXPECT_EQ(lexed(python, "'abc", state), "string:'abc");
    EXPECT_EQ(state, LexState());
    // An escape as the very last unit does not reach past the line.
    EXPECT_EQ(lexed(c(), "\"a\\"), "string:\"a\\");
    // A lone "R" before a plain string is a word.
    EXPECT_EQ(lexed(lexer("C++"), "R \"x\""), "type:R string:\"x\"");

    // Keys: blanks before the colon are allowed, an escaped quote is no end, and only rule sets
    // that ask for keys have them.
    const Lexer &json = lexer("JSON");
    EXPECT_EQ(lexed(json, "\"key\"  \t: true"), "property:\"key\" operator:: constant:true");
    EXPECT_EQ(lexed(json, "\"a\\\": 1"), "string:\"a\\\": 1");
    EXPECT_EQ(lexed(c(), "\"k\": 1"), "string:\"k\" operator:: number:1");
}

TEST(GenericLexerStrings, lengthLimitOnlyRejectsUnterminatedStringsOpenedOnTheLine)
{
    EXPECT_EQ(lexed(c(), "'abcdefghij"), "plain:abcdefghij");
    EXPECT_EQ(lexed(c(), "'abcdefg"), "string:'abcdefg");             // 8 units: accepted
    EXPECT_EQ(lexed(c(), "'abcdefgh"), "plain:abcdefgh");             // 9: rejected
    EXPECT_EQ(lexed(c(), "'abcdefghijkl'"), "string:'abcdefghijkl'"); // closed: no limit
    // After a rejection the next apostrophe is tried afresh.
    EXPECT_EQ(lexed(c(), "don't do it, 'a"), "plain:don string:'t do it, ' plain:a");
    EXPECT_EQ(lexed(c(), "it's nothing here"), "plain:it plain:s plain:nothing plain:here");
    // Rust lifetimes: the limit is 4 units.
    EXPECT_EQ(lexed(lexer("Rust"), "&'a str"), "operator:& plain:a type:str");
}

TEST(GenericLexerPrefixes, needALetterOrABracketAfterThePrefix)
{
    const Lexer &java = lexer("Java");
    EXPECT_EQ(lexed(java, "@ x"), "plain:x");
    EXPECT_EQ(lexed(java, "@1"), "number:1");

    const Lexer &shell = lexer("Shell");
    EXPECT_EQ(lexed(shell, "$(a (b) c)"), "variable:$(a (b) plain:c punctuation:)"); // no nesting
    EXPECT_EQ(lexed(shell, "echo $"), "keyword:echo");
    EXPECT_EQ(lexed(shell, "$1 $_x $?"), "variable:$1 variable:$_x operator:?");
    EXPECT_EQ(lexed(lexer("Ruby"), "empty! x?y"), "plain:empty! plain:x?y");
}

TEST(GenericLexerNumbers, prefixesFractionsExponentsAndSuffixes)
{
    EXPECT_EQ(lexed(c(), "1e+"), "number:1e operator:+");
    EXPECT_EQ(lexed(c(), "1e5_0"), "number:1e5 plain:_0"); // no "_" in an exponent
    EXPECT_EQ(lexed(c(), "1.e5"), "number:1 punctuation:. property:e5");
    EXPECT_EQ(lexed(c(), "0b1012"), "number:0b1012"); // one digit set for every prefix
    EXPECT_EQ(lexed(c(), "0x"), "number:0x");
    EXPECT_EQ(lexed(c(), "1.5.2"), "number:1.5 number:.2");
    EXPECT_EQ(lexed(c(), "3\u00E9x"), "number:3\u00E9x"); // units >= 128 are letters
    EXPECT_EQ(lexed(c(), "a.5"), "plain:a number:.5");
}

TEST(GenericLexerWords, classificationOrder)
{
    const Lexer &cpp = lexer("C++");
    EXPECT_EQ(lexed(cpp, "a.Bar"), "plain:a punctuation:. property:Bar"); // member before capital
    EXPECT_EQ(lexed(cpp, "a.new"), "plain:a punctuation:. keyword:new");  // keywords first
    EXPECT_EQ(lexed(cpp, "f\t(1)"), "function:f punctuation:( number:1 punctuation:)");
    EXPECT_EQ(lexed(cpp, "a./**/b"), "plain:a punctuation:. comment:/**/ plain:b");
    // The "." of the previous line does not make this line's first word a member.
    LexState state;
    std::vector<Token> tokens{Token{TokenKind::punctuation, {0, 1}}};
    const QString text = QStringLiteral(".\nb");
    cpp.tokenize(LineSlice::of(text, 2, 3), state, tokens);
    EXPECT_EQ(tokens.back(), (Token{TokenKind::plain, {2, 3}}));

    // C has no capitalised types; Shell no calls and no members; Perl members but no calls.
    EXPECT_EQ(lexed(c(), "Foo(x)"), "function:Foo punctuation:( plain:x punctuation:)");
    EXPECT_EQ(lexed(lexer("Shell"), "f() a.b"),
              "plain:f punctuation:( punctuation:) plain:a punctuation:. plain:b");
    EXPECT_EQ(lexed(lexer("Perl"), "a.b(1)"),
              "plain:a punctuation:. property:b punctuation:( number:1 punctuation:)");
    // JavaScript "$" continues an identifier but cannot start one.
    EXPECT_EQ(lexed(lexer("JavaScript"), "a$b $c \u00E9t\u00E9 \U0001F600y"),
              "plain:a$b plain:c plain:\u00E9t\u00E9 plain:\U0001F600y");

    // Case-insensitive keywords lower-case the word for every list; elsewhere case matters.
    const Lexer &sql = lexer("SQL");
    EXPECT_EQ(lexed(sql, "SELECT Select select"), "keyword:SELECT keyword:Select keyword:select");
    EXPECT_EQ(lexed(sql, "VARCHAR TRUE NULL"), "type:VARCHAR constant:TRUE keyword:NULL");
    // The Kelvin sign lower-cases to "k": "\u212AEY" reads "key".
    EXPECT_EQ(lexed(sql, "\u212AEY \u0130N"), "keyword:\u212AEY plain:\u0130N");
    EXPECT_EQ(lexed(c(), "IF if"), "plain:IF keyword:if");
}

TEST(GenericLexerOperators, runsAndSingles)
{
    EXPECT_EQ(lexed(c(), "a?b:c"), "plain:a operator:? plain:b operator:: plain:c");
    EXPECT_EQ(lexed(c(), "a \\ ` @ $ b"), "plain:a plain:b"); // no rule claims these
    EXPECT_EQ(lexed(c(), "x\r"), "plain:x");                  // a CR is an ordinary, unclaimed unit
}

TEST(GenericLexerStates, foreignStatesAreTakenAsInitial)
{
    // A string state whose rule position is out of range, a comment state for a language without
    // block comments, an unknown mode: none of them can come from the rule set itself.
    LexState state = test::state(2, 40);
    EXPECT_EQ(lexed(c(), "x", state), "plain:x");
    EXPECT_EQ(state, LexState());
    state = test::state(1, 1);
    EXPECT_EQ(lexed(lexer("Python"), "x", state), "plain:x");
    EXPECT_EQ(state, LexState());
    state = test::state(7, 3);
    EXPECT_EQ(lexed(c(), "/* x", state), "comment:/* x");
    EXPECT_EQ(state, test::state(1, 1));
    // The fields of an embedding lexer are left alone.
    state = LexState{2, 0, 5, 9};
    EXPECT_EQ(lexed(c(), "x\"", state), "string:x\"");
    EXPECT_EQ(state, (LexState{0, 0, 5, 9}));
}
