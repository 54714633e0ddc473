#pragma once

#include <optional>

#include <QtGlobal>

namespace plumeo {

class Lexer;

// What the Markdown lexer asks the registry for on every line of a fenced block, answered from
// tables built once so that no line allocates or compares language names: the catalogue position a
// fence word names, and the lexer at a catalogue position.
class FenceLanguages
{
public:
    // The same answer as Lexers::languageIndexForFence for the word's units.
    static std::optional<quint16> indexForFence(const char16_t *word, qint64 length);
    // The lexer of Language::all()[index]; null for a language without one or past the catalogue.
    static const Lexer *lexerAt(qint64 index);
};

} // namespace plumeo
