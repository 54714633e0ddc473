#pragma once

#include <array>
#include <optional>

#include <QString>

namespace plumeo {

// Keeps a text exact inside a QTextDocument. Qt turns CR, CR LF, U+2029 and the frame markers
// U+FDD0 and U+FDD1 into paragraph breaks when text is inserted, so a file where LF dominates would
// lose its stray CRs and a U+2029 would come back as LF. Before insertion each of these four
// characters is replaced by a substitute that occurs nowhere in the text (one of the noncharacters
// U+FDD2–U+FDEF, which Unicode reserves for a program's internal use, else another unused
// character); wherever text leaves the storage the substitutes become the real characters again and
// paragraph breaks become LF. Offsets are unchanged: a paragraph break and a substitute are one
// unit each, like LF and CR.
class TextStorageCodec
{
public:
    // The characters Qt would not keep, in the order of their substitutes.
    static constexpr std::array<char16_t, 4> fragileCharacters = {u'\r', 0x2029, 0xFDD0, 0xFDD1};

    // Substitutes chosen for text; nothing in the absurd case of a text holding every candidate.
    static std::optional<TextStorageCodec> forText(QStringView text);

    // text as it must be inserted into the storage (LF stays LF: Qt makes it a paragraph break).
    QString toStorage(QStringView text) const;
    // The same, reusing text's memory: a whole file's text is not copied to be stored.
    QString toStorage(QString &&text) const;
    // The real text of what the storage holds (QTextDocument::toRawText() or a fragment of it).
    QString fromStorage(QStringView raw) const;

    // Whether text can be inserted with these substitutes, i.e. holds none of them.
    bool canEncode(QStringView text) const;
    bool isSubstitute(char16_t unit) const;
    // The character a unit of the storage stands for (the unit itself when it is not special).
    char16_t realCharacter(char16_t storedUnit) const;
    const std::array<char16_t, 4> &substitutes() const { return m_substitutes; }

private:
    explicit TextStorageCodec(std::array<char16_t, 4> substitutes);

    std::array<char16_t, 4> m_substitutes;
    char16_t m_lowestSpecial; // no unit below this needs mapping back
};

} // namespace plumeo
