// The goldens (tests/data/lexers: Diff, INI, TOML, YAML) hold the ordinary lines of these lexers;
// the cases here pin the corners no sample file reaches.
#include "LexerTestSupport.h"
#include "syntax/ConfigLexer.h"
#include "syntax/DiffLexer.h"
#include "syntax/YAMLLexer.h"

#include <gtest/gtest.h>

using namespace plumeo;
using plumeo::test::lexed;

TEST(DiffLexer, coloursEachLineByHowItBegins)
{
    const DiffLexer diff;
    EXPECT_EQ(lexed(diff, "-removed\r"), "deleted:-removed\r"); // the CR stays in the line
    EXPECT_EQ(lexed(diff, "--"), "deleted:--");                 // no "---" header
    EXPECT_EQ(lexed(diff, "diff"), "");                         // "diff " only with its blank
}

TEST(ConfigLexer, sectionsKeysAndValues)
{
    const ConfigLexer config;
    EXPECT_EQ(lexed(config, "[a]]]"), "tag:[a]]");
    // A "#" right after the header starts the comment even without a blank.
    EXPECT_EQ(lexed(config, "[s]x#y"), "tag:[s] comment:#y");
    EXPECT_EQ(lexed(config, "k = \"open # not a comment"),
              "property:k operator:= string:\"open # not a comment");
    // Keys may hold blanks; constants are lower case only.
    EXPECT_EQ(lexed(config, "  spaced key \t= TRUE"), "property:spaced key operator:=");
    EXPECT_EQ(lexed(config, "42 yes word"), "number:42 constant:yes"); // without "=": a value
}

TEST(YAMLLexer, keysMarkersAndValues)
{
    const YAMLLexer yaml;
    EXPECT_EQ(lexed(yaml, "  ..."), "meta:...");
    EXPECT_EQ(lexed(yaml, "'a':b"), "property:'a' punctuation::");
    // A quoted string not followed by ":" is a value, even when a key colon comes later.
    EXPECT_EQ(lexed(yaml, "'a' b: c"), "string:'a'");
    // A "#" after a blank ends the key search: no key, and the rest is a comment.
    EXPECT_EQ(lexed(yaml, "a #b: c"), "comment:#b: c");
    EXPECT_EQ(lexed(yaml, "a#b: c"), "property:a#b punctuation::");
    LexState s;
    EXPECT_EQ(
        yaml.tokenizeLine(u"  : x", s),
        (std::vector<Token>{{TokenKind::property, {2, 2}}, {TokenKind::punctuation, {2, 3}}}));

    EXPECT_EQ(lexed(yaml, "v: \u00e91"), "property:v punctuation::");
    // A NUL inside a word stops the conversion early: not a number.
    EXPECT_EQ(lexed(yaml, QString("v: 1") + QChar(0) + "2"), "property:v punctuation::");
    EXPECT_EQ(lexed(yaml, "a: * x"), "property:a punctuation::");
    EXPECT_EQ(lexed(yaml, "a: |+ # keep"), "property:a punctuation:: operator:|+ # keep");
    // Flow mappings are not parsed: the key runs from the first non-blank to the colon.
    EXPECT_EQ(lexed(yaml, "{a: 1}"), "property:{a punctuation:: number:1 punctuation:}");
}

TEST(SmallLexers, neverChangeTheState)
{
    const YAMLLexer yaml;
    const ConfigLexer config;
    const DiffLexer diff;
    for (const Lexer *lexer : std::initializer_list<const Lexer *>{&yaml, &config, &diff}) {
        for (const char *line : {"a: 'open", "s = '''open", "k: |", "\"", "---", ""}) {
            for (const LexState before : {LexState(), LexState{3, 7, 1, 2}}) {
                LexState after = before;
                lexer->tokenizeLine(QString(line), after);
                EXPECT_EQ(after, before) << line;
            }
        }
    }
}
