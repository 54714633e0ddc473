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
    for (const char *line : {"--- a/file", "+++ b/file"})
        EXPECT_EQ(lexed(diff, line), QStringLiteral("meta:") + line);
    EXPECT_EQ(lexed(diff, "@@ -1,2 +1,3 @@ f()"), "attribute:@@ -1,2 +1,3 @@ f()");
    EXPECT_EQ(lexed(diff, "diff --git a b"), "comment:diff --git a b");
    EXPECT_EQ(lexed(diff, "index 1a2b..3c4d 100644"), "comment:index 1a2b..3c4d 100644");
    EXPECT_EQ(lexed(diff, "+added"), "inserted:+added");
    EXPECT_EQ(lexed(diff, "-removed\r"), "deleted:-removed\r");
    EXPECT_EQ(lexed(diff, "--"), "deleted:--");
    for (const char *plain : {"diff", " context", "\\ No newline at end of file", ""})
        EXPECT_EQ(lexed(diff, plain), "") << plain;
}

TEST(ConfigLexer, iniSectionsAndComments)
{
    const ConfigLexer ini;
    EXPECT_EQ(lexed(ini, "; note"), "comment:; note");
    EXPECT_EQ(lexed(ini, "  # note"), "comment:# note");
    EXPECT_EQ(lexed(ini, "[section] # x"), "tag:[section] comment:# x");
    EXPECT_EQ(lexed(ini, "[[bin]]"), "tag:[[bin]]");
    EXPECT_EQ(lexed(ini, "[a]]]"), "tag:[a]]");
    EXPECT_EQ(lexed(ini, "[unclosed = 1"), "tag:[unclosed = 1");
    // A "#" right after the header starts the comment even without a blank.
    EXPECT_EQ(lexed(ini, "[s]x#y"), "tag:[s] comment:#y");
    EXPECT_EQ(lexed(ini, " \t "), "");
}

TEST(ConfigLexer, tomlKeysAndValues)
{
    const ConfigLexer toml;
    EXPECT_EQ(lexed(toml, "name = 'x' # c"), "property:name operator:= string:'x' comment:# c");
    EXPECT_EQ(lexed(toml, "ports = [80, 443]"),
              "property:ports operator:= punctuation:[ number:80 punctuation:, number:443 "
              "punctuation:]");
    EXPECT_EQ(lexed(toml, "enabled=on"), "property:enabled operator:= constant:on");
    EXPECT_EQ(lexed(toml, "path = /usr/bin"), "property:path operator:=");
    // Only the first "=" is the assignment; later words are plain value words.
    EXPECT_EQ(lexed(toml, "a = {x = -1.5e3, z = nan}"),
              "property:a operator:= punctuation:{ number:-1.5e3 punctuation:, constant:nan "
              "punctuation:}");
    EXPECT_EQ(lexed(toml, "s = \"\"\"a \"b\" c\"\"\" 1"),
              "property:s operator:= string:\"\"\"a \"b\" c\"\"\" number:1");
    EXPECT_EQ(lexed(toml, "e = \"\" , ''"),
              "property:e operator:= string:\"\" punctuation:, string:''");
    EXPECT_EQ(lexed(toml, "k = \"open # not a comment"),
              "property:k operator:= string:\"open # not a comment");
    EXPECT_EQ(lexed(toml, "  spaced key \t= TRUE"), "property:spaced key operator:=");
    EXPECT_EQ(lexed(toml, "42 yes word"), "number:42 constant:yes"); // without "=": a value
    // A line that starts with "=" has an empty key token where the key would be.
    LexState s;
    EXPECT_EQ(toml.tokenizeLine(u" = 1", s), (std::vector<Token>{{TokenKind::property, {1, 1}},
                                                                 {TokenKind::operator_, {1, 2}},
                                                                 {TokenKind::number, {3, 4}}}));
}

TEST(YAMLLexer, keysMarkersAndComments)
{
    const YAMLLexer yaml;
    EXPECT_EQ(lexed(yaml, "- name: web"), "listMarker:- property:name punctuation::");
    EXPECT_EQ(lexed(yaml, "key: 'a b' # c"), "property:key punctuation:: string:'a b' comment:# c");
    EXPECT_EQ(lexed(yaml, "--- !tag"), "meta:--- !tag");
    EXPECT_EQ(lexed(yaml, "  ..."), "meta:...");
    EXPECT_EQ(lexed(yaml, "  # c: d"), "comment:# c: d");
    EXPECT_EQ(lexed(yaml, "- \t"), "listMarker:-");
    EXPECT_EQ(lexed(yaml, "- # c"), "listMarker:- comment:# c");
    EXPECT_EQ(lexed(yaml, "-1"), "number:-1");
    EXPECT_EQ(lexed(yaml, "\"quoted key\": 1"), "property:\"quoted key\" punctuation:: number:1");
    EXPECT_EQ(lexed(yaml, "'a':b"), "property:'a' punctuation::");
    // A quoted string not followed by ":" is a value, even when a key colon comes later.
    EXPECT_EQ(lexed(yaml, "'a' b: c"), "string:'a'");
    EXPECT_EQ(lexed(yaml, "url: http://x#y #frag"), "property:url punctuation:: comment:#frag");
    // A "#" after a blank ends the key search: no key, and the rest is a comment.
    EXPECT_EQ(lexed(yaml, "a #b: c"), "comment:#b: c");
    EXPECT_EQ(lexed(yaml, "a#b: c"), "property:a#b punctuation::");
    LexState s;
    EXPECT_EQ(
        yaml.tokenizeLine(u"  : x", s),
        (std::vector<Token>{{TokenKind::property, {2, 2}}, {TokenKind::punctuation, {2, 3}}}));
}

TEST(YAMLLexer, values)
{
    const YAMLLexer yaml;
    for (const char *word : {"yes", "~", "NULL", "True", "off"})
        EXPECT_EQ(lexed(yaml, QString("v: ") + word),
                  QString("property:v punctuation:: constant:") + word);
    for (const char *word : {"1.5e3", "-inf", "0x1.8p3", "nan(x_1)"})
        EXPECT_EQ(lexed(yaml, QString("v: ") + word),
                  QString("property:v punctuation:: number:") + word);
    for (const char *word : {"1.2.3", "12:30", "web", "\u00e91"})
        EXPECT_EQ(lexed(yaml, QString("v: ") + word), "property:v punctuation::") << word;
    // A NUL inside a word stops the conversion early: not a number.
    EXPECT_EQ(lexed(yaml, QString("v: 1") + QChar(0) + "2"), "property:v punctuation::");
    EXPECT_EQ(lexed(yaml, "base: &base"), "property:base punctuation:: meta:&base");
    EXPECT_EQ(lexed(yaml, "<<: *base"), "property:<< punctuation:: meta:*base");
    EXPECT_EQ(lexed(yaml, "a: * x"), "property:a punctuation::");
    EXPECT_EQ(lexed(yaml, "s: !!str x"), "property:s punctuation:: attribute:!!str");
    EXPECT_EQ(lexed(yaml, "a: >-"), "property:a punctuation:: operator:>-");
    EXPECT_EQ(lexed(yaml, "a: |+ # keep"), "property:a punctuation:: operator:|+ # keep");
    EXPECT_EQ(lexed(yaml, "a: >b"), "property:a punctuation::");
    EXPECT_EQ(lexed(yaml, "a: [1, on, \"x, y\"]"),
              "property:a punctuation:: punctuation:[ number:1 punctuation:, constant:on "
              "punctuation:, string:\"x, y\" punctuation:]");
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
