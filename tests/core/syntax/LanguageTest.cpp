#include "syntax/Language.h"

#include "LexerTestSupport.h"
#include "text/Localization.h"

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

QString detected(const char *path)
{
    return Language::forFile(QString::fromUtf8(path)).name;
}

} // namespace

TEST(Language, catalogueHasItsEntriesInMenuOrder)
{
    const std::vector<Language> &all = Language::all();
    QStringList names;
    for (const Language &language : all)
        names << language.name;
    EXPECT_EQ(names.join(u','),
              "Texte brut,C,Objective-C,Objective-C++,C++,C#,Swift,Metal,GLSL,Java,Kotlin,"
              "JavaScript,TypeScript,JSON,HTML,PHP,CSS,SCSS,Markdown,Python,Shell,YAML,XML,TOML,"
              "INI,SQL,Go,Rust,Ruby,Lua,Perl,Makefile,Dockerfile,Diff");
    EXPECT_EQ(all.size(), 34u);
    EXPECT_EQ(Language::plainText(), all[0]);
    EXPECT_EQ(all[0].extensions, (QStringList{"txt", "text", "log", "csv", "tsv"}));
    EXPECT_FALSE(all[0].lineComment || all[0].blockComment);
    EXPECT_EQ(all[4].extensions.size(), 9); // C++, "h++" included
    EXPECT_TRUE(all[4].extensions.contains(QStringLiteral("h++")));
    EXPECT_EQ(all[20].filenames.size(), 5);
    EXPECT_EQ(all[29].blockComment, (Language::BlockComment{"--[[", "]]"}));
    EXPECT_EQ(all[25].lineComment, QStringLiteral("--"));
    EXPECT_EQ(all[14].blockComment, (Language::BlockComment{"<!--", "-->"}));
    EXPECT_FALSE(all[14].lineComment);
    EXPECT_FALSE(all[33].lineComment || all[33].blockComment);
    for (const Language &language : all) {
        EXPECT_EQ(language.id(), language.name);
        for (const QString &extension : language.extensions)
            EXPECT_EQ(extension, extension.toLower()) << language.name.toStdString();
    }
}

TEST(Language, forFileMatchesWholeNamesThenLowerCasedExtensions)
{
    EXPECT_EQ(detected("/a/b/.bashrc"), "Shell");
    EXPECT_EQ(detected("x.bashrc"), "Texte brut");
    EXPECT_EQ(detected("README"), "Texte brut");
    EXPECT_EQ(detected(""), "Texte brut");
    EXPECT_EQ(detected("page.HTM"), "HTML");
    EXPECT_EQ(detected("a.tar.gz"), "Texte brut");
    EXPECT_EQ(detected("notes.TXT"), "Texte brut");
    EXPECT_EQ(detected("Makefile"), "Makefile");
    EXPECT_EQ(detected("makefile"), "Makefile");
    EXPECT_EQ(detected("MAKEFILE"), "Texte brut");
    EXPECT_EQ(detected("build.mk"), "Makefile");
    EXPECT_EQ(detected("app.Dockerfile"), "Dockerfile");
    EXPECT_EQ(detected("/srv/Containerfile"), "Dockerfile");
    EXPECT_EQ(detected(".zshrc"), "Shell");
    EXPECT_EQ(detected("foo.H"), "Objective-C"); // "h" is claimed by the earlier entry
    EXPECT_EQ(detected("x.h++"), "C++");
    EXPECT_EQ(detected("src/dir.c/"), "C"); // a trailing slash is ignored
    EXPECT_EQ(detected("dir.py/file"), "Texte brut");
    EXPECT_EQ(detected("archive."), "Texte brut");
    EXPECT_EQ(detected("/"), "Texte brut");
    EXPECT_EQ(detected("~/.gitconfig"), "INI");
    EXPECT_EQ(detected("x.GITCONFIG"), "INI");
    EXPECT_EQ(detected("Gemfile"), "Ruby");
    EXPECT_EQ(detected("gemfile"), "Texte brut"); // whole names are case-sensitive
    EXPECT_EQ(detected("r\u00E9sum\u00E9.MD"), "Markdown");
}

TEST(Language, namedAndDisplayName)
{
    EXPECT_EQ(Language::named(u"Plain Text"), Language::plainText());
    EXPECT_EQ(Language::named(u"Texte brut"), Language::plainText());
    EXPECT_EQ(Language::named(u"plain text"), std::nullopt);
    EXPECT_EQ(Language::named(u"c"), std::nullopt);
    EXPECT_EQ(Language::named(u"C")->extensions, (QStringList{"c", "i"}));

    const Language rust = *Language::named(u"Rust");
    Language renamedExtensions = rust;
    renamedExtensions.extensions << QStringLiteral("rlib");
    EXPECT_NE(rust, renamedExtensions);

    const AppLanguage before = Localization::current();
    Localization::setCurrent(AppLanguage::en);
    EXPECT_EQ(Language::plainText().displayName(), "Plain Text");
    EXPECT_EQ(rust.displayName(), "Rust");
    Localization::setCurrent(AppLanguage::fr);
    EXPECT_EQ(Language::plainText().displayName(), "Texte brut");
    EXPECT_EQ(Language::named(u"Objective-C++")->displayName(), "Objective-C++");
    Localization::setCurrent(before);
}
