#include "syntax/Language.h"

#include "text/Localization.h"

namespace plumeo {

namespace {

QString plainTextName()
{
    return QStringLiteral("Texte brut");
}

std::vector<Language> makeCatalogue()
{
    using L = QStringList;
    const std::optional<Language::BlockComment> cBlock =
        Language::BlockComment{QStringLiteral("/*"), QStringLiteral("*/")};
    const std::optional<Language::BlockComment> markupBlock =
        Language::BlockComment{QStringLiteral("<!--"), QStringLiteral("-->")};
    const std::optional<QString> slashes = QStringLiteral("//");
    const std::optional<QString> hash = QStringLiteral("#");
    const std::optional<QString> dashes = QStringLiteral("--");
    const std::nullopt_t none = std::nullopt;
    auto language = [](const char *name, L extensions, L filenames, std::optional<QString> line,
                       std::optional<Language::BlockComment> block) {
        return Language{QString::fromUtf8(name), std::move(extensions), std::move(filenames),
                        std::move(line), std::move(block)};
    };
    return {
        language("Texte brut", {"txt", "text", "log", "csv", "tsv"}, {}, none, none),
        language("C", {"c", "i"}, {}, slashes, cBlock),
        language("Objective-C", {"m", "h"}, {}, slashes, cBlock),
        language("Objective-C++", {"mm"}, {}, slashes, cBlock),
        language("C++", {"cpp", "cc", "cxx", "hpp", "hh", "hxx", "h++", "ino", "ipp"}, {}, slashes,
                 cBlock),
        language("C#", {"cs", "csx"}, {}, slashes, cBlock),
        language("Swift", {"swift"}, {}, slashes, cBlock),
        language("Metal", {"metal"}, {}, slashes, cBlock),
        language("GLSL", {"glsl", "vert", "frag", "geom", "comp", "vs", "fs"}, {}, slashes, cBlock),
        language("Java", {"java"}, {}, slashes, cBlock),
        language("Kotlin", {"kt", "kts"}, {}, slashes, cBlock),
        language("JavaScript", {"js", "mjs", "cjs", "jsx"}, {}, slashes, cBlock),
        language("TypeScript", {"ts", "tsx", "mts", "cts"}, {}, slashes, cBlock),
        language("JSON", {"json", "jsonc", "map", "webmanifest", "geojson"}, {}, slashes, cBlock),
        language("HTML", {"html", "htm", "xhtml", "shtml"}, {}, none, markupBlock),
        language("PHP", {"php", "phtml", "php3", "php4", "php5", "php7", "phps"}, {}, slashes,
                 cBlock),
        language("CSS", {"css"}, {}, none, cBlock),
        language("SCSS", {"scss", "sass", "less"}, {}, slashes, cBlock),
        language("Markdown", {"md", "markdown", "mdown", "mkd", "mkdn", "mdx"}, {}, none,
                 markupBlock),
        language("Python", {"py", "pyw", "pyi"}, {}, hash, none),
        language("Shell", {"sh", "bash", "zsh", "command", "ksh"},
                 {".zshrc", ".bashrc", ".bash_profile", ".zprofile", ".profile"}, hash, none),
        language("YAML", {"yml", "yaml"}, {}, hash, none),
        language("XML",
                 {"xml", "plist", "svg", "xsl", "xsd", "xib", "storyboard", "entitlements",
                  "xcscheme", "nib"},
                 {}, none, markupBlock),
        language("TOML", {"toml"}, {}, hash, none),
        language("INI", {"ini", "cfg", "conf", "properties", "gitconfig"},
                 {".gitconfig", ".editorconfig"}, hash, none),
        language("SQL", {"sql"}, {}, dashes, cBlock),
        language("Go", {"go"}, {}, slashes, cBlock),
        language("Rust", {"rs"}, {}, slashes, cBlock),
        language("Ruby", {"rb", "rake", "gemspec"}, {"Gemfile", "Rakefile"}, hash, none),
        language("Lua", {"lua"}, {}, dashes,
                 Language::BlockComment{QStringLiteral("--[["), QStringLiteral("]]")}),
        language("Perl", {"pl", "pm"}, {}, hash, none),
        language("Makefile", {"mk", "mak"}, {"Makefile", "makefile", "GNUmakefile"}, hash, none),
        language("Dockerfile", {"dockerfile"}, {"Dockerfile", "Containerfile"}, hash, none),
        language("Diff", {"diff", "patch"}, {}, none, none),
    };
}

// The last path component: the text after the last "/", trailing slashes ignored.
QStringView lastComponent(QStringView path)
{
    qsizetype end = path.size();
    while (end > 1 && path[end - 1] == u'/')
        --end;
    path = path.first(end);
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 || path.size() == 1 ? path : path.sliced(slash + 1);
}

} // namespace

QString Language::displayName() const
{
    if (name == plainTextName())
        return L(plainTextName(), QStringLiteral("Plain Text"));
    return name;
}

const std::vector<Language> &Language::all()
{
    static const std::vector<Language> catalogue = makeCatalogue();
    return catalogue;
}

const Language &Language::plainText()
{
    return all().front();
}

std::optional<Language> Language::named(QStringView name)
{
    if (name == u"Plain Text")
        return plainText();
    for (const Language &language : all()) {
        if (language.name == name)
            return language;
    }
    return std::nullopt;
}

Language Language::forFile(QStringView path)
{
    const QStringView component = lastComponent(path);
    for (const Language &language : all()) {
        if (language.filenames.contains(component))
            return language;
    }
    const qsizetype dot = component.lastIndexOf(u'.');
    if (dot < 0 || dot + 1 == component.size())
        return plainText();
    const QString extension = component.sliced(dot + 1).toString().toLower();
    for (const Language &language : all()) {
        if (language.extensions.contains(extension))
            return language;
    }
    return plainText();
}

} // namespace plumeo
