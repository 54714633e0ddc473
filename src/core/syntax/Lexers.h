#pragma once

#include "syntax/Language.h"
#include "syntax/Lexer.h"

#include <memory>
#include <optional>
#include <vector>

#include <QHash>
#include <QString>

namespace plumeo {

// The one place where a language becomes a lexer, and where a Markdown code-fence word becomes a
// catalogue position. The tables are built once, on first use (safely under concurrent first use),
// and never change; the lexers they hold are immutable and shared by every document.
namespace Lexers {

struct Registration
{
    QString name; // a Language name
    std::shared_ptr<const Lexer> lexer;
};

// Every registered lexer, in catalogue order. Plain text has no entry, so it is never coloured.
const std::vector<Registration> &table();

// The lexer registered under the language's name; null when there is none. The lexer lives as long
// as the process.
const Lexer *lexer(const Language &language);
const Lexer *lexer(QStringView languageName);

// Lower-case code-fence words that are not a language name or extension ("objc", "bash", "golang").
const QHash<QString, QString> &fenceAliases();

// The position of the first catalogue entry equal to language (all five fields compared).
std::optional<quint16> languageIndex(const Language &language);
// Language::all()[index]; nothing past the catalogue's end.
std::optional<Language> language(qsizetype index);
// The catalogue position a fence word names: through the aliases, then a language name, then an
// extension, all compared with the word lower-cased. Nothing for an unknown word.
std::optional<quint16> languageIndexForFence(QStringView word);

} // namespace Lexers
} // namespace plumeo
