#include "LexerForLanguage.h"

#include "syntax/CSSLexer.h"
#include "syntax/ConfigLexer.h"
#include "syntax/DiffLexer.h"
#include "syntax/YAMLLexer.h"

#include <QFileInfo>

namespace plumeo::test {

const Lexer *lexerForLanguage(const QString &name)
{
    static const CSSLexer css(false), scss(true);
    static const YAMLLexer yaml;
    static const ConfigLexer config;
    static const DiffLexer diff;
    if (name == u"CSS")
        return &css;
    if (name == u"SCSS")
        return &scss;
    if (name == u"YAML")
        return &yaml;
    if (name == u"TOML" || name == u"INI")
        return &config;
    if (name == u"Diff")
        return &diff;
    return nullptr;
}

const Lexer *lexerForFile(const QString &fileName)
{
    const QString extension = QFileInfo(fileName).suffix().toLower();
    static const QList<std::pair<QStringList, QString>> byExtension = {
        {{"css"}, "CSS"},   {{"scss", "sass", "less"}, "SCSS"}, {{"yml", "yaml"}, "YAML"},
        {{"toml"}, "TOML"}, {{"ini", "cfg", "conf"}, "INI"},    {{"diff", "patch"}, "Diff"},
    };
    for (const auto &[extensions, name] : byExtension) {
        if (extensions.contains(extension))
            return lexerForLanguage(name);
    }
    return nullptr;
}

} // namespace plumeo::test
