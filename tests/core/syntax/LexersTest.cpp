#include "syntax/Lexers.h"

#include "LexerTestSupport.h"
#include "syntax/GenericLexer.h"
#include "syntax/Syntaxes.h"
#include "syntax/Tokenizer.h"

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

// Records every line it is handed.
class RecordingLexer : public Lexer
{
public:
    mutable std::vector<std::pair<qint64, qint64>> slices;
    mutable std::vector<QString> lines;
    void tokenize(LineSlice line, LexState &, std::vector<Token> &) const override
    {
        slices.emplace_back(line.lower, line.upper);
        lines.push_back(line.view().toString());
    }
};

const GenericLexer &generic(const char *name)
{
    return dynamic_cast<const GenericLexer &>(*Lexers::lexer(QString::fromLatin1(name)));
}

} // namespace

TEST(Lexers, registryGivesTheRuleDrivenLanguagesTheirRuleSets)
{
    const std::pair<const char *, const Syntaxes::Shared &> expected[] = {
        {"C", Syntaxes::c()},
        {"Objective-C", Syntaxes::objectiveC()},
        {"Objective-C++", Syntaxes::objectiveCpp()},
        {"C++", Syntaxes::cpp()},
        {"C#", Syntaxes::csharp()},
        {"Swift", Syntaxes::swift()},
        {"Metal", Syntaxes::shader()},
        {"GLSL", Syntaxes::shader()},
        {"Java", Syntaxes::java()},
        {"Kotlin", Syntaxes::kotlin()},
        {"JavaScript", Syntaxes::javascript()},
        {"TypeScript", Syntaxes::typescript()},
        {"JSON", Syntaxes::json()},
        {"Python", Syntaxes::python()},
        {"Shell", Syntaxes::shell()},
        {"SQL", Syntaxes::sql()},
        {"Go", Syntaxes::go()},
        {"Rust", Syntaxes::rust()},
        {"Ruby", Syntaxes::ruby()},
        {"Lua", Syntaxes::lua()},
        {"Perl", Syntaxes::perl()},
        {"Makefile", Syntaxes::makefile()},
        {"Dockerfile", Syntaxes::dockerfile()},
    };
    for (const auto &[name, syntax] : expected) {
        SCOPED_TRACE(name);
        EXPECT_EQ(&generic(name).syntax(), syntax.get());
        EXPECT_FALSE(generic(name).usesFonts());
    }
    EXPECT_EQ(Lexers::lexer(Language::plainText()), nullptr);
    EXPECT_EQ(Lexers::lexer(u"Plain Text"), nullptr);
    EXPECT_EQ(Lexers::lexer(u"c"), nullptr);
    EXPECT_EQ(Lexers::lexer(*Language::named(u"Go")), Lexers::lexer(u"Go"));

    // Registered entries follow the catalogue and name catalogue languages.
    int previous = -1;
    for (const Lexers::Registration &entry : Lexers::table()) {
        const std::optional<Language> language = Language::named(entry.name);
        ASSERT_TRUE(language) << entry.name.toStdString();
        const int index = *Lexers::languageIndex(*language);
        EXPECT_GT(index, previous);
        EXPECT_NE(index, 0);
        previous = index;
    }
}

TEST(Lexers, catalogueIndicesAndFenceWords)
{
    EXPECT_EQ(Lexers::fenceAliases().size(), 42);
    EXPECT_EQ(Lexers::fenceAliases().value(QStringLiteral("console")), "Shell");
    for (const QString &name : Lexers::fenceAliases())
        EXPECT_TRUE(Language::named(name)) << name.toStdString();

    EXPECT_EQ(Lexers::languageIndex(Language::plainText()), 0);
    EXPECT_EQ(Lexers::languageIndex(*Language::named(u"Diff")), 33);
    Language changed = *Language::named(u"C");
    changed.lineComment.reset();
    EXPECT_EQ(Lexers::languageIndex(changed), std::nullopt);

    EXPECT_EQ(Lexers::language(34), std::nullopt);
    EXPECT_EQ(Lexers::language(-1), std::nullopt);
    EXPECT_EQ(Lexers::language(0), Language::plainText());
    EXPECT_EQ(Lexers::language(27)->name, "Rust");

    auto fence = [](const char *word) -> int {
        const std::optional<quint16> index = Lexers::languageIndexForFence(QString::fromUtf8(word));
        return index ? int(*index) : -1;
    };
    EXPECT_EQ(fence("JS"), 11);   // through the extension, lower-cased
    EXPECT_EQ(fence("bash"), 20); // through the aliases
    EXPECT_EQ(fence("Rust"), 27); // through the name
    EXPECT_EQ(fence("py"), 19);
    EXPECT_EQ(fence("txt"), 0);
    EXPECT_EQ(Lexers::lexer(*Lexers::language(fence("txt"))), nullptr);
    EXPECT_EQ(fence("OBJC"), 2);
    EXPECT_EQ(fence("c++"), 4);
    EXPECT_EQ(fence("C#"), 5);
    EXPECT_EQ(fence("texte brut"), 0);
    EXPECT_EQ(fence("h"), 2);
    EXPECT_EQ(fence("patch"), 33);
    EXPECT_EQ(fence(""), -1);
    EXPECT_EQ(fence("foo"), -1);
    EXPECT_EQ(fence("plain text"), -1);
}

TEST(Tokenizer, splitsAtLineFeedsOnlyAndAlwaysLexesTheLastLine)
{
    RecordingLexer recorder;
    EXPECT_TRUE(Tokenizer::tokenize(u"", recorder).empty());
    EXPECT_EQ(recorder.slices, (std::vector<std::pair<qint64, qint64>>{{0, 0}}));

    recorder.slices.clear();
    Tokenizer::tokenize(u"a\n", recorder);
    EXPECT_EQ(recorder.slices, (std::vector<std::pair<qint64, qint64>>{{0, 1}, {2, 2}}));

    recorder.slices.clear();
    recorder.lines.clear();
    Tokenizer::tokenize(u"a\r\nb\rc\r\n\n", recorder);
    EXPECT_EQ(recorder.lines, (std::vector<QString>{"a\r", "b\rc\r", "", ""}));
    EXPECT_EQ(recorder.slices,
              (std::vector<std::pair<qint64, qint64>>{{0, 2}, {3, 7}, {8, 8}, {9, 9}}));

    // Every lexer of the program gives no tokens for the empty text.
    for (const Lexers::Registration &entry : Lexers::table())
        EXPECT_TRUE(Tokenizer::tokenize(u"", *entry.lexer).empty()) << entry.name.toStdString();

    // States carry from line to line and ranges are absolute.
    const std::vector<Token> tokens =
        Tokenizer::tokenize(u"x /* a\n\nb */ y", *Lexers::lexer(u"C"));
    EXPECT_EQ(tokens, (std::vector<Token>{{TokenKind::plain, {0, 1}},
                                          {TokenKind::comment, {2, 6}},
                                          {TokenKind::comment, {7, 7}},
                                          {TokenKind::comment, {8, 12}},
                                          {TokenKind::plain, {13, 14}}}));
}
