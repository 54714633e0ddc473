#pragma once

#include "syntax/TokenKind.h"

#include <optional>
#include <string_view>
#include <vector>

#include <QtGlobal>

namespace plumeo {

// An immutable map from words to token kinds, looked up straight from the units of a line: a lookup
// hashes and compares the units in place and never allocates. Built once per rule set.
//
// With case folding, a looked-up word is compared as if lower-cased (the entries are given in lower
// case). Only ASCII letters and the Kelvin sign lower-case to ASCII, so when every entry is ASCII
// any other unit above 127 rules a match out at once; a table holding non-ASCII entries lower-cases
// such words with the full Unicode mapping instead, which is exact but allocates.
class WordTable
{
public:
    struct Entry
    {
        std::u16string_view word;
        TokenKind kind;
    };

    WordTable() = default;
    // When a word occurs more than once, its first entry wins.
    WordTable(const std::vector<Entry> &entries, bool foldCase);

    std::optional<TokenKind> find(const char16_t *units, qsizetype length) const;
    std::optional<TokenKind> find(std::u16string_view word) const
    {
        return find(word.data(), qsizetype(word.size()));
    }
    qsizetype size() const { return m_count; }

private:
    struct Slot
    {
        quint32 offset = 0; // into m_units
        quint16 length = 0; // 0: empty slot
        quint8 kind = 0;
        char16_t first = 0;
    };

    static quint32 hash(const char16_t *units, qsizetype length, bool fold);
    std::optional<TokenKind> findExact(const char16_t *units, qsizetype length, bool fold) const;
    std::optional<TokenKind> findFoldingUnicode(const char16_t *units, qsizetype length) const;

    std::vector<char16_t> m_units;
    std::vector<Slot> m_slots;
    quint32 m_mask = 0;
    qsizetype m_count = 0;
    qsizetype m_maxLength = 0;
    bool m_foldCase = false;
    bool m_asciiOnly = true;
};

} // namespace plumeo
