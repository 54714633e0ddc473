#include "LexerTestSupport.h"
#include "syntax/ConfigLexer.h"
#include "syntax/DiffLexer.h"
#include "syntax/YAMLLexer.h"

#include <gtest/gtest.h>

namespace plumeo::test {
namespace {

using K = TokenKind;
using V = std::vector<Lexed>;

TEST(DiffLexer, ColoursEachLineByHowItBegins)
{
    const DiffLexer diff;
    EXPECT_EQ(lexLine(diff, "--- a/file"), (V{{K::meta, "--- a/file"}}));
    EXPECT_EQ(lexLine(diff, "+++ b/file"), (V{{K::meta, "+++ b/file"}}));
    EXPECT_EQ(lexLine(diff, "@@ -1,2 +1,3 @@ f()"), (V{{K::attribute, "@@ -1,2 +1,3 @@ f()"}}));
    EXPECT_EQ(lexLine(diff, "diff --git a b"), (V{{K::comment, "diff --git a b"}}));
    EXPECT_EQ(lexLine(diff, "index 1a2b..3c4d 100644"),
              (V{{K::comment, "index 1a2b..3c4d 100644"}}));
    EXPECT_EQ(lexLine(diff, "+added"), (V{{K::inserted, "+added"}}));
    EXPECT_EQ(lexLine(diff, "-removed\r"), (V{{K::deleted, "-removed\r"}}));
    EXPECT_EQ(lexLine(diff, "--"), (V{{K::deleted, "--"}}));
    EXPECT_EQ(lexLine(diff, "diff"), V{}); // "diff" needs its blank
    EXPECT_EQ(lexLine(diff, " context"), V{});
    EXPECT_EQ(lexLine(diff, "\\ No newline at end of file"), V{});
    EXPECT_EQ(lexLine(diff, ""), V{});
}

TEST(ConfigLexer, IniCommentsAndSections)
{
    const ConfigLexer ini;
    EXPECT_EQ(lexLine(ini, "; note"), (V{{K::comment, "; note"}}));
    EXPECT_EQ(lexLine(ini, "  # note"), (V{{K::comment, "# note"}}));
    EXPECT_EQ(lexLine(ini, "[section] # x"), (V{{K::tag, "[section]"}, {K::comment, "# x"}}));
    EXPECT_EQ(lexLine(ini, "[[bin]]"), (V{{K::tag, "[[bin]]"}}));
    EXPECT_EQ(lexLine(ini, "[a]]]"), (V{{K::tag, "[a]]"}}));
    EXPECT_EQ(lexLine(ini, "[unclosed = 1"), (V{{K::tag, "[unclosed = 1"}}));
    // A "#" right after the header starts the comment even without a blank.
    EXPECT_EQ(lexLine(ini, "[s]x#y"), (V{{K::tag, "[s]"}, {K::comment, "#y"}}));
    EXPECT_EQ(lexLine(ini, " \t "), V{});
}

TEST(ConfigLexer, TomlKeysAndValues)
{
    const ConfigLexer toml;
    EXPECT_EQ(
        lexLine(toml, "name = 'x' # c"),
        (V{{K::property, "name"}, {K::operator_, "="}, {K::string, "'x'"}, {K::comment, "# c"}}));
    EXPECT_EQ(lexLine(toml, "ports = [80, 443]"), (V{{K::property, "ports"},
                                                     {K::operator_, "="},
                                                     {K::punctuation, "["},
                                                     {K::number, "80"},
                                                     {K::punctuation, ","},
                                                     {K::number, "443"},
                                                     {K::punctuation, "]"}}));
    EXPECT_EQ(lexLine(toml, "enabled=on"),
              (V{{K::property, "enabled"}, {K::operator_, "="}, {K::constant, "on"}}));
    EXPECT_EQ(lexLine(toml, "path = /usr/bin"), (V{{K::property, "path"}, {K::operator_, "="}}));
    // Only the first "=" is the assignment; later words are plain value words.
    EXPECT_EQ(lexLine(toml, "a = {x = -1.5e3, z = nan}"), (V{{K::property, "a"},
                                                             {K::operator_, "="},
                                                             {K::punctuation, "{"},
                                                             {K::number, "-1.5e3"},
                                                             {K::punctuation, ","},
                                                             {K::constant, "nan"},
                                                             {K::punctuation, "}"}}));
    EXPECT_EQ(lexLine(toml, "s = \"\"\"a \"b\" c\"\"\" 1"), (V{{K::property, "s"},
                                                               {K::operator_, "="},
                                                               {K::string, "\"\"\"a \"b\" c\"\"\""},
                                                               {K::number, "1"}}));
    EXPECT_EQ(lexLine(toml, "e = \"\" , ''"), (V{{K::property, "e"},
                                                 {K::operator_, "="},
                                                 {K::string, "\"\""},
                                                 {K::punctuation, ","},
                                                 {K::string, "''"}}));
    EXPECT_EQ(lexLine(toml, "s = '''open"),
              (V{{K::property, "s"}, {K::operator_, "="}, {K::string, "'''open"}}));
    EXPECT_EQ(lexLine(toml, "k = \"open # not a comment"),
              (V{{K::property, "k"}, {K::operator_, "="}, {K::string, "\"open # not a comment"}}));
    EXPECT_EQ(lexLine(toml, "  spaced key \t= TRUE"),
              (V{{K::property, "spaced key"}, {K::operator_, "="}}));
    // A line that starts with "=" has an empty key token.
    LexState state;
    const QString line = " = 1";
    const std::vector<Token> tokens = toml.tokenizeLine(line, state);
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0], (Token{K::property, {1, 1}}));
    EXPECT_EQ(tokens[1], (Token{K::operator_, {1, 2}}));
    EXPECT_EQ(tokens[2], (Token{K::number, {3, 4}}));
    // Without "=" the whole line is a value.
    EXPECT_EQ(lexLine(toml, "42 yes word"), (V{{K::number, "42"}, {K::constant, "yes"}}));
}

TEST(YAMLLexer, KeysMarkersAndComments)
{
    const YAMLLexer yaml;
    EXPECT_EQ(lexLine(yaml, "- name: web"),
              (V{{K::listMarker, "-"}, {K::property, "name"}, {K::punctuation, ":"}}));
    EXPECT_EQ(lexLine(yaml, "key: 'a b' # c"), (V{{K::property, "key"},
                                                  {K::punctuation, ":"},
                                                  {K::string, "'a b'"},
                                                  {K::comment, "# c"}}));
    EXPECT_EQ(lexLine(yaml, "time: 12:30"), (V{{K::property, "time"}, {K::punctuation, ":"}}));
    EXPECT_EQ(lexLine(yaml, "--- !tag"), (V{{K::meta, "--- !tag"}}));
    EXPECT_EQ(lexLine(yaml, "  ..."), (V{{K::meta, "..."}}));
    EXPECT_EQ(lexLine(yaml, "  # c: d"), (V{{K::comment, "# c: d"}}));
    EXPECT_EQ(lexLine(yaml, "-"), (V{{K::listMarker, "-"}}));
    EXPECT_EQ(lexLine(yaml, "- \t"), (V{{K::listMarker, "-"}}));
    EXPECT_EQ(lexLine(yaml, "- # c"), (V{{K::listMarker, "-"}, {K::comment, "# c"}}));
    EXPECT_EQ(lexLine(yaml, "-1"), (V{{K::number, "-1"}}));
    EXPECT_EQ(lexLine(yaml, "empty:"), (V{{K::property, "empty"}, {K::punctuation, ":"}}));
    EXPECT_EQ(lexLine(yaml, "\"quoted key\": 1"),
              (V{{K::property, "\"quoted key\""}, {K::punctuation, ":"}, {K::number, "1"}}));
    EXPECT_EQ(lexLine(yaml, "'a':b"), (V{{K::property, "'a'"}, {K::punctuation, ":"}}));
    // A quoted string not followed by ":" is a value, even when a key colon comes later.
    EXPECT_EQ(lexLine(yaml, "'a' b: c"), (V{{K::string, "'a'"}}));
    EXPECT_EQ(lexLine(yaml, "url: http://x#y #frag"),
              (V{{K::property, "url"}, {K::punctuation, ":"}, {K::comment, "#frag"}}));
    // A "#" after a blank ends the key search: no key, and the rest is a comment.
    EXPECT_EQ(lexLine(yaml, "a #b: c"), (V{{K::comment, "#b: c"}}));
    // A line that starts with its key's colon has an empty key token.
    LexState state;
    EXPECT_EQ(yaml.tokenizeLine(QStringLiteral("  : x"), state),
              (std::vector<Token>{{K::property, {2, 2}}, {K::punctuation, {2, 3}}}));
    EXPECT_EQ(lexLine(yaml, "a#b: c"), (V{{K::property, "a#b"}, {K::punctuation, ":"}}));
}

TEST(YAMLLexer, Values)
{
    const YAMLLexer yaml;
    for (const char *word : {"yes", "~", "NULL", "True", "off"})
        EXPECT_EQ(lexLine(yaml, QString("v: ") + word),
                  (V{{K::property, "v"}, {K::punctuation, ":"}, {K::constant, word}}))
            << word;
    for (const char *word : {"1.5e3", "-2", "0x1F", ".5", "+1", "5.", "-inf", "NaN", "Infinity",
                             "0x1.8p3", "0xZZ", "0x", "nan(x_1)", "1e-7"})
        EXPECT_EQ(lexLine(yaml, QString("v: ") + word),
                  (V{{K::property, "v"}, {K::punctuation, ":"}, {K::number, word}}))
            << word;
    for (const char *word :
         {"1.2.3", "1e", "0X", "-.inf", "infinit", "nan(", "1_000", "12:30", "web", "."})
        EXPECT_EQ(lexLine(yaml, QString("v: ") + word),
                  (V{{K::property, "v"}, {K::punctuation, ":"}}))
            << word;
    EXPECT_EQ(lexLine(yaml, "base: &base"),
              (V{{K::property, "base"}, {K::punctuation, ":"}, {K::meta, "&base"}}));
    EXPECT_EQ(lexLine(yaml, "<<: *base"),
              (V{{K::property, "<<"}, {K::punctuation, ":"}, {K::meta, "*base"}}));
    EXPECT_EQ(lexLine(yaml, "a: * x"), (V{{K::property, "a"}, {K::punctuation, ":"}}));
    EXPECT_EQ(lexLine(yaml, "s: !!str x"),
              (V{{K::property, "s"}, {K::punctuation, ":"}, {K::attribute, "!!str"}}));
    EXPECT_EQ(lexLine(yaml, "text: |"),
              (V{{K::property, "text"}, {K::punctuation, ":"}, {K::operator_, "|"}}));
    EXPECT_EQ(lexLine(yaml, "a: >-"),
              (V{{K::property, "a"}, {K::punctuation, ":"}, {K::operator_, ">-"}}));
    EXPECT_EQ(lexLine(yaml, "a: |+ # keep"),
              (V{{K::property, "a"}, {K::punctuation, ":"}, {K::operator_, "|+ # keep"}}));
    EXPECT_EQ(lexLine(yaml, "a: >b"), (V{{K::property, "a"}, {K::punctuation, ":"}}));
    EXPECT_EQ(lexLine(yaml, "a: [1, on, \"x, y\"]"), (V{{K::property, "a"},
                                                        {K::punctuation, ":"},
                                                        {K::punctuation, "["},
                                                        {K::number, "1"},
                                                        {K::punctuation, ","},
                                                        {K::constant, "on"},
                                                        {K::punctuation, ","},
                                                        {K::string, "\"x, y\""},
                                                        {K::punctuation, "]"}}));
    // Flow mappings are not parsed: the key runs from the first non-blank to the colon.
    EXPECT_EQ(
        lexLine(yaml, "{a: 1}"),
        (V{{K::property, "{a"}, {K::punctuation, ":"}, {K::number, "1"}, {K::punctuation, "}"}}));
    EXPECT_EQ(lexLine(yaml, "a: 'open"),
              (V{{K::property, "a"}, {K::punctuation, ":"}, {K::string, "'open"}}));
    // A NUL inside a word stops the conversion early: not a number.
    EXPECT_EQ(lexLine(yaml, QString("v: 1") + QChar(0) + "2"),
              (V{{K::property, "v"}, {K::punctuation, ":"}}));
    EXPECT_EQ(lexLine(yaml, QString("v: \u00e91")), (V{{K::property, "v"}, {K::punctuation, ":"}}));
}

TEST(SmallLexers, NeverChangeTheState)
{
    const YAMLLexer yaml;
    const ConfigLexer config;
    const DiffLexer diff;
    for (const Lexer *lexer : std::initializer_list<const Lexer *>{&yaml, &config, &diff}) {
        for (const char *line : {"a: 'open", "s = '''open", "k: |", "\"", "---", ""}) {
            LexState state;
            lexer->tokenizeLine(QString(line), state);
            EXPECT_EQ(state, LexState()) << line;
            LexState odd{3, 7, 1, 2};
            lexer->tokenizeLine(QString(line), odd);
            EXPECT_EQ(odd, (LexState{3, 7, 1, 2})) << line;
        }
        EXPECT_FALSE(lexer->usesFonts());
    }
}

} // namespace
} // namespace plumeo::test
