#include "syntax/Lexers.h"

#include "syntax/CSSLexer.h"
#include "syntax/ConfigLexer.h"
#include "syntax/DiffLexer.h"
#include "syntax/GenericLexer.h"
#include "syntax/HTMLLexer.h"
#include "syntax/MarkdownLexer.h"
#include "syntax/Syntaxes.h"
#include "syntax/YAMLLexer.h"

#include <algorithm>

namespace plumeo::Lexers {

namespace {

std::vector<Registration> makeTable()
{
    auto generic = [](const Syntaxes::Shared &syntax) {
        return std::make_shared<const GenericLexer>(syntax);
    };
    // One line per language. The languages with a lexer of their own (HTML, PHP, XML, CSS, SCSS,
    // Markdown, YAML, TOML, INI, Diff) are registered the same way, with their lexer's instance.
    const auto htmlWithPHP = std::make_shared<const HTMLLexer>(true);
    const auto config = std::make_shared<const ConfigLexer>();
    std::vector<Registration> table = {
        {QStringLiteral("C"), generic(Syntaxes::c())},
        {QStringLiteral("Objective-C"), generic(Syntaxes::objectiveC())},
        {QStringLiteral("Objective-C++"), generic(Syntaxes::objectiveCpp())},
        {QStringLiteral("C++"), generic(Syntaxes::cpp())},
        {QStringLiteral("C#"), generic(Syntaxes::csharp())},
        {QStringLiteral("Swift"), generic(Syntaxes::swift())},
        {QStringLiteral("Metal"), generic(Syntaxes::shader())},
        {QStringLiteral("GLSL"), generic(Syntaxes::shader())},
        {QStringLiteral("Java"), generic(Syntaxes::java())},
        {QStringLiteral("Kotlin"), generic(Syntaxes::kotlin())},
        {QStringLiteral("JavaScript"), generic(Syntaxes::javascript())},
        {QStringLiteral("TypeScript"), generic(Syntaxes::typescript())},
        {QStringLiteral("JSON"), generic(Syntaxes::json())},
        {QStringLiteral("Python"), generic(Syntaxes::python())},
        {QStringLiteral("Shell"), generic(Syntaxes::shell())},
        {QStringLiteral("SQL"), generic(Syntaxes::sql())},
        {QStringLiteral("Go"), generic(Syntaxes::go())},
        {QStringLiteral("Rust"), generic(Syntaxes::rust())},
        {QStringLiteral("Ruby"), generic(Syntaxes::ruby())},
        {QStringLiteral("Lua"), generic(Syntaxes::lua())},
        {QStringLiteral("Perl"), generic(Syntaxes::perl())},
        {QStringLiteral("Makefile"), generic(Syntaxes::makefile())},
        {QStringLiteral("Dockerfile"), generic(Syntaxes::dockerfile())},
        {QStringLiteral("HTML"), htmlWithPHP},
        {QStringLiteral("PHP"), htmlWithPHP},
        {QStringLiteral("XML"), std::make_shared<const HTMLLexer>(false)},
        {QStringLiteral("CSS"), std::make_shared<const CSSLexer>(false)},
        {QStringLiteral("SCSS"), std::make_shared<const CSSLexer>(true)},
        {QStringLiteral("Markdown"), std::make_shared<const MarkdownLexer>()},
        {QStringLiteral("YAML"), std::make_shared<const YAMLLexer>()},
        {QStringLiteral("TOML"), config},
        {QStringLiteral("INI"), config},
        {QStringLiteral("Diff"), std::make_shared<const DiffLexer>()},
    };
    // Catalogue order whatever the order above, so that lists built from the table read like menus.
    auto position = [](const Registration &entry) {
        const std::optional<Language> language = Language::named(entry.name);
        return language ? languageIndex(*language).value_or(0xFFFF) : 0xFFFF;
    };
    std::stable_sort(table.begin(), table.end(), [&](const Registration &a, const Registration &b) {
        return position(a) < position(b);
    });
    return table;
}

} // namespace

const std::vector<Registration> &table()
{
    static const std::vector<Registration> entries = makeTable();
    return entries;
}

const Lexer *lexer(const Language &language)
{
    return lexer(language.name);
}

const Lexer *lexer(QStringView languageName)
{
    for (const Registration &entry : table()) {
        if (entry.name == languageName)
            return entry.lexer.get();
    }
    return nullptr;
}

const QHash<QString, QString> &fenceAliases()
{
    static const QHash<QString, QString> aliases = [] {
        const std::pair<const char *, const char *> pairs[] = {
            {"objc", "Objective-C"},
            {"objective-c", "Objective-C"},
            {"objectivec", "Objective-C"},
            {"obj-c", "Objective-C"},
            {"c++", "C++"},
            {"cplusplus", "C++"},
            {"csharp", "C#"},
            {"c#", "C#"},
            {"javascript", "JavaScript"},
            {"typescript", "TypeScript"},
            {"shell", "Shell"},
            {"bash", "Shell"},
            {"zsh", "Shell"},
            {"console", "Shell"},
            {"python", "Python"},
            {"ruby", "Ruby"},
            {"rust", "Rust"},
            {"golang", "Go"},
            {"markdown", "Markdown"},
            {"make", "Makefile"},
            {"docker", "Dockerfile"},
            {"yaml", "YAML"},
            {"html", "HTML"},
            {"xml", "XML"},
            {"plist", "XML"},
            {"swift", "Swift"},
            {"metal", "Metal"},
            {"glsl", "GLSL"},
            {"sql", "SQL"},
            {"php", "PHP"},
            {"css", "CSS"},
            {"scss", "SCSS"},
            {"json", "JSON"},
            {"toml", "TOML"},
            {"ini", "INI"},
            {"lua", "Lua"},
            {"java", "Java"},
            {"kotlin", "Kotlin"},
            {"perl", "Perl"},
            {"diff", "Diff"},
            {"patch", "Diff"},
            {"c", "C"},
        };
        QHash<QString, QString> map;
        for (const auto &[word, name] : pairs)
            map.insert(QString::fromUtf8(word), QString::fromUtf8(name));
        return map;
    }();
    return aliases;
}

std::optional<quint16> languageIndex(const Language &language)
{
    const std::vector<Language> &all = Language::all();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i] == language) {
            Q_ASSERT(i <= 0xFFFF);
            return quint16(i);
        }
    }
    return std::nullopt;
}

std::optional<Language> language(qsizetype index)
{
    const std::vector<Language> &all = Language::all();
    if (index < 0 || std::size_t(index) >= all.size())
        return std::nullopt;
    return all[std::size_t(index)];
}

std::optional<quint16> languageIndexForFence(QStringView word)
{
    const QString lower = word.toString().toLower();
    if (const auto alias = fenceAliases().constFind(lower); alias != fenceAliases().cend()) {
        if (const std::optional<Language> named = Language::named(*alias))
            return languageIndex(*named);
    }
    for (const Language &candidate : Language::all()) {
        if (candidate.name.toLower() == lower)
            return languageIndex(candidate);
    }
    for (const Language &candidate : Language::all()) {
        if (candidate.extensions.contains(lower))
            return languageIndex(candidate);
    }
    return std::nullopt;
}

} // namespace plumeo::Lexers
