#pragma once

#include "syntax/StringRule.h"
#include "syntax/TokenKind.h"
#include "syntax/WordTable.h"

#include <bitset>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QSet>
#include <QString>

namespace plumeo {

// The rule set of one language coloured by GenericLexer: which delimiters open comments and
// strings, which words are reserved, and which language-specific behaviours are on. Adding a
// language means writing one of these, never code. Immutable once built; built once per language
// and shared.
class Syntax
{
public:
    struct BlockComment
    {
        std::u16string open;
        std::u16string close;
        friend bool operator==(const BlockComment &, const BlockComment &) = default;
    };
    struct Annotation
    {
        char16_t prefix; // followed by a word, as in @Override
        TokenKind kind;
        friend bool operator==(const Annotation &, const Annotation &) = default;
    };

    // What a language states, in this order (designated initialisers keep it readable). Fields left
    // out take these defaults.
    struct Rules
    {
        std::vector<std::u16string_view> lineComments = {}; // tested in order
        std::optional<std::pair<std::u16string_view, std::u16string_view>> blockComment = {};
        bool nestedBlockComments = false;
        std::vector<StringRule> strings = {};
        std::vector<std::u16string_view> keywords = {};
        std::vector<std::u16string_view> types = {};
        std::vector<std::u16string_view> constants = {};
        bool preprocessor = false; // a line whose first non-blank unit is # is a preprocessor line
        std::optional<Annotation> annotation = {};
        std::optional<char16_t> variablePrefix = {};
        bool capitalizedTypes = false; // unknown words starting with A-Z are types
        bool functionCalls = true;     // unknown words followed by ( are functions
        bool memberProperties = true;  // unknown words after a . are properties
        bool caseInsensitiveKeywords = false;
        std::u16string_view identifierExtras =
            {};                  // units that may continue, not start, an identifier
        bool lineLabels = false; // makefile targets: "name:" at the start of a line
        bool stringKeys = false; // a string followed by : is a key
    };

    // Sorts the string rules by opener length, longest first (stably, so that a triple quote is
    // tried before a single one whatever the declaration order), and lower-cases the keywords when
    // they are matched case-insensitively. Empty delimiters, which would match everywhere, are
    // dropped.
    explicit Syntax(const Rules &rules);

    std::vector<std::u16string> lineComments;
    std::optional<BlockComment> blockComment;
    bool nestedBlockComments;
    std::vector<StringRule> strings; // sorted, longest opener first
    QSet<QString> keywords;
    QSet<QString> types;
    QSet<QString> constants;
    bool preprocessor;
    std::optional<Annotation> annotation;
    std::optional<char16_t> variablePrefix;
    bool capitalizedTypes;
    bool functionCalls;
    bool memberProperties;
    bool caseInsensitiveKeywords;
    std::u16string identifierExtras;
    bool lineLabels;
    bool stringKeys;

    // keyword, else constant, else type, for the word's units (lower-cased first when keywords are
    // case-insensitive); nothing for other words. Never allocates for the rule sets we ship.
    std::optional<TokenKind> classOf(const char16_t *units, qsizetype length) const
    {
        return m_words.find(units, length);
    }
    // Whether u may continue an identifier.
    bool continuesIdentifier(char16_t u) const;
    // Whether some comment or string opener begins with u: the lexer skips those tests otherwise.
    bool mayOpen(char16_t u) const { return u < 128 ? m_openers.test(u) : m_nonAsciiOpener; }

private:
    WordTable m_words;
    std::bitset<128> m_openers;
    bool m_nonAsciiOpener = false;
    std::bitset<128> m_extras;
};

} // namespace plumeo
