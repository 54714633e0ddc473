// The registry of lexers, the catalogue of languages and how a file or a fence word finds its
// language.
#include "LexerTestSupport.h"
#include "syntax/FenceLanguages.h"
#include "syntax/GenericLexer.h"
#include "syntax/Language.h"
#include "syntax/Lexers.h"
#include "syntax/Tokenizer.h"

#include <gtest/gtest.h>

using namespace plumeo;

TEST(LexerRegistry, everyLanguageButPlainTextHasItsLexerInCatalogueOrder)
{
    for (const Language &language : Language::all()) {
        const Lexer *lexer = Lexers::lexer(language);
        EXPECT_EQ(lexer == nullptr, language == Language::plainText())
            << language.name.toStdString();
        // Markdown is the only lexer that needs fonts.
        if (lexer) {
            EXPECT_EQ(lexer->usesFonts(), language.name == u"Markdown");
        }
    }
    EXPECT_EQ(Lexers::lexer(u"Plain Text"), nullptr);
    EXPECT_EQ(Lexers::lexer(u"c"), nullptr);
    int previous = 0;
    for (const Lexers::Registration &entry : Lexers::table()) {
        const std::optional<Language> language = Language::named(entry.name);
        ASSERT_TRUE(language) << entry.name.toStdString();
        EXPECT_GT(*Lexers::languageIndex(*language), previous);
        previous = *Lexers::languageIndex(*language);
    }
}

// A typo in a word list is silent: the word is simply never coloured. Every listed word must lex
// alone as one token of a listed class.
TEST(LexerRegistry, everyListedWordLexesAsOneWordOfItsClass)
{
    for (const Lexers::Registration &entry : Lexers::table()) {
        const auto *lexer = dynamic_cast<const GenericLexer *>(entry.lexer.get());
        if (!lexer)
            continue;
        const Syntax &syntax = lexer->syntax();
        for (const QSet<QString> *words : {&syntax.keywords, &syntax.types, &syntax.constants}) {
            for (const QString &word : *words) {
                LexState state;
                const std::vector<Token> tokens = lexer->tokenizeLine(word, state);
                const bool listed =
                    tokens.size() == 1 && tokens[0].range.length() == word.size()
                    && (tokens[0].kind == TokenKind::keyword || tokens[0].kind == TokenKind::type
                        || tokens[0].kind == TokenKind::constant);
                EXPECT_TRUE(listed) << entry.name.toStdString() << ": \"" << word.toStdString()
                                    << "\" lexes as " << test::lexed(*lexer, word).toStdString();
            }
        }
    }
}

TEST(Language, forFileMatchesWholeNamesThenLowerCasedExtensions)
{
    const std::pair<const char *, const char *> cases[] = {
        {"/a/b/.bashrc", "Shell"},
        {"x.bashrc", "Texte brut"},
        {"", "Texte brut"},
        {"page.HTM", "HTML"},
        {"a.tar.gz", "Texte brut"},
        {"makefile", "Makefile"},
        {"MAKEFILE", "Texte brut"}, // whole names are case-sensitive
        {"foo.H", "Objective-C"},   // "h" is claimed by the earlier entry
        {"src/dir.c/", "C"},        // a trailing slash is ignored
        {"dir.py/file", "Texte brut"},
        {"archive.", "Texte brut"},
        {"/", "Texte brut"},
        {"r\u00E9sum\u00E9.MD", "Markdown"},
    };
    for (const auto &[path, language] : cases)
        EXPECT_EQ(Language::forFile(QString::fromUtf8(path)).name, QString::fromUtf8(language))
            << path;
}

TEST(Language, namedTakesTheExactNameOrThePlainTextDisplayName)
{
    EXPECT_EQ(Language::named(u"Plain Text"), Language::plainText());
    EXPECT_EQ(Language::named(u"Texte brut"), Language::plainText());
    EXPECT_EQ(Language::named(u"plain text"), std::nullopt);
    EXPECT_EQ(Language::named(u"c"), std::nullopt);
    Language changed = *Language::named(u"C");
    changed.lineComment.reset();
    EXPECT_NE(changed, *Language::named(u"C"));
    EXPECT_EQ(Lexers::languageIndex(changed), std::nullopt);
    EXPECT_EQ(Lexers::language(qint64(Language::all().size())), std::nullopt);
    EXPECT_EQ(Lexers::language(-1), std::nullopt);
}

// The Markdown lexer resolves fence words from its own tables; they must answer as the registry.
TEST(LexerRegistry, fenceWordsResolveAsTheRegistrySays)
{
    auto fence = [](const char *word) -> QString {
        const std::optional<quint16> index = Lexers::languageIndexForFence(QString::fromUtf8(word));
        return index ? Lexers::language(*index)->name : QString();
    };
    EXPECT_EQ(fence("JS"), "JavaScript"); // through the extension, lower-cased
    EXPECT_EQ(fence("bash"), "Shell");    // through the aliases
    EXPECT_EQ(fence("Rust"), "Rust");     // through the name
    EXPECT_EQ(fence("texte brut"), "Texte brut");
    EXPECT_EQ(fence("h"), "Objective-C");
    EXPECT_EQ(fence("\u212Aotlin"), "Kotlin"); // the Kelvin sign lower-cases to "k"
    for (const char *unknown : {"", "foo", "plain text"})
        EXPECT_EQ(fence(unknown), QString()) << unknown;

    QStringList words = {"SWIFT",
                         "c#",
                         "objective-c++",
                         "plist",
                         "Texte",
                         "x",
                         QString(100, 'a'),
                         QString::fromUtf8("py\u00e9"),
                         QString::fromUtf8("\u00c9")};
    for (const QString &alias : Lexers::fenceAliases().keys()) {
        words << alias << alias.toUpper();
        EXPECT_TRUE(Language::named(Lexers::fenceAliases().value(alias))) << alias.toStdString();
    }
    for (const Language &language : Language::all()) {
        words << language.name << language.name.toLower();
        for (const QString &extension : language.extensions)
            words << extension << extension.toUpper() << extension + u'x';
    }
    for (const QString &word : words) {
        const std::optional<quint16> fast = FenceLanguages::indexForFence(
            reinterpret_cast<const char16_t *>(word.utf16()), word.size());
        EXPECT_EQ(fast, Lexers::languageIndexForFence(word)) << word.toStdString();
    }
    EXPECT_EQ(FenceLanguages::lexerAt(-1), nullptr);
    EXPECT_EQ(FenceLanguages::lexerAt(qint64(Language::all().size())), nullptr);
    for (qint64 i = 0; i < qint64(Language::all().size()); ++i)
        EXPECT_EQ(FenceLanguages::lexerAt(i), Lexers::lexer(Language::all()[size_t(i)]));
}

// The contract holds Tokenizer::tokenize to the line-by-line lexing on every golden and random
// text; the empty text is where both could agree on a wrong answer.
TEST(Tokenizer, theEmptyTextHasNoTokens)
{
    for (const Lexers::Registration &entry : Lexers::table())
        EXPECT_TRUE(Tokenizer::tokenize(u"", *entry.lexer).empty()) << entry.name.toStdString();
}
