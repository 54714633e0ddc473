#include "syntax/CSSLexer.h"
#include "syntax/ConfigLexer.h"
#include "syntax/DiffLexer.h"
#include "syntax/FenceLanguages.h"
#include "syntax/HTMLLexer.h"
#include "syntax/Language.h"
#include "syntax/Lexers.h"
#include "syntax/MarkdownLexer.h"
#include "syntax/YAMLLexer.h"

#include <gtest/gtest.h>

namespace plumeo {
namespace {

template <typename T> const T *registered(const char *name)
{
    return dynamic_cast<const T *>(Lexers::lexer(QString::fromLatin1(name)));
}

TEST(LexerRegistry, EveryLanguageButPlainTextHasItsLexer)
{
    EXPECT_EQ(Lexers::table().size(), 33u);
    for (const Language &language : Language::all()) {
        if (language == Language::plainText())
            EXPECT_EQ(Lexers::lexer(language), nullptr);
        else
            EXPECT_NE(Lexers::lexer(language), nullptr) << language.name.toStdString();
    }
    ASSERT_TRUE(registered<HTMLLexer>("HTML"));
    EXPECT_TRUE(registered<HTMLLexer>("HTML")->allowsPHP);
    ASSERT_TRUE(registered<HTMLLexer>("PHP"));
    EXPECT_TRUE(registered<HTMLLexer>("PHP")->allowsPHP);
    ASSERT_TRUE(registered<HTMLLexer>("XML"));
    EXPECT_FALSE(registered<HTMLLexer>("XML")->allowsPHP);
    ASSERT_TRUE(registered<CSSLexer>("CSS"));
    EXPECT_FALSE(registered<CSSLexer>("CSS")->scss);
    ASSERT_TRUE(registered<CSSLexer>("SCSS"));
    EXPECT_TRUE(registered<CSSLexer>("SCSS")->scss);
    ASSERT_TRUE(registered<MarkdownLexer>("Markdown"));
    EXPECT_TRUE(registered<MarkdownLexer>("Markdown")->usesFonts());
    EXPECT_TRUE(registered<YAMLLexer>("YAML"));
    EXPECT_TRUE(registered<ConfigLexer>("TOML"));
    EXPECT_TRUE(registered<ConfigLexer>("INI"));
    EXPECT_TRUE(registered<DiffLexer>("Diff"));
    // Markdown is the only lexer that needs fonts.
    for (const Lexers::Registration &entry : Lexers::table())
        EXPECT_EQ(entry.lexer->usesFonts(), entry.name == u"Markdown") << entry.name.toStdString();
}

std::optional<quint16> fast(const QString &word)
{
    return FenceLanguages::indexForFence(reinterpret_cast<const char16_t *>(word.utf16()),
                                         word.size());
}

// The Markdown lexer resolves fence words from its own tables; they must answer as the registry.
TEST(LexerRegistry, FenceWordsResolveAsTheRegistrySays)
{
    QStringList words = {"swift",
                         "SWIFT",
                         "Rust",
                         "JS",
                         "py",
                         "bash",
                         "txt",
                         "c",
                         "C++",
                         "c#",
                         "objective-c++",
                         "plist",
                         "patch",
                         "Texte",
                         "texte brut",
                         "",
                         "x",
                         "unknown",
                         QString(100, 'a'),
                         QString::fromUtf8("\u212Aotlin"),
                         QString::fromUtf8("py\u00e9"),
                         QString::fromUtf8("\u00c9")};
    for (const QString &alias : Lexers::fenceAliases().keys())
        words << alias << alias.toUpper();
    for (const Language &language : Language::all()) {
        words << language.name << language.name.toLower();
        for (const QString &extension : language.extensions)
            words << extension << extension.toUpper() << extension + u'x';
    }
    for (const QString &word : words)
        EXPECT_EQ(fast(word), Lexers::languageIndexForFence(word)) << word.toStdString();
    // The Kelvin sign lower-cases to "k": the word names Kotlin.
    EXPECT_EQ(fast(QString::fromUtf8("\u212Aotlin")),
              Lexers::languageIndex(*Language::named(u"Kotlin")));

    EXPECT_EQ(FenceLanguages::lexerAt(0), nullptr); // plain text
    EXPECT_EQ(FenceLanguages::lexerAt(-1), nullptr);
    EXPECT_EQ(FenceLanguages::lexerAt(qint64(Language::all().size())), nullptr);
    for (qint64 i = 0; i < qint64(Language::all().size()); ++i)
        EXPECT_EQ(FenceLanguages::lexerAt(i), Lexers::lexer(Language::all()[size_t(i)]));
}

} // namespace
} // namespace plumeo
