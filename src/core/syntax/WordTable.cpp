#include "syntax/WordTable.h"

#include <QString>

namespace plumeo {

namespace {

constexpr char16_t kelvinSign = u'\u212A';

// Lower-cases the units that lower-case to ASCII; leaves every other unit as it is.
inline char16_t foldUnit(char16_t u)
{
    if (u >= u'A' && u <= u'Z')
        return char16_t(u + 32);
    return u == kelvinSign ? u'k' : u;
}

} // namespace

WordTable::WordTable(const std::vector<Entry> &entries, bool foldCase)
    : m_foldCase(foldCase)
{
    std::size_t capacity = 16;
    while (capacity < entries.size() * 4) // mostly empty, so that a miss usually costs one probe
        capacity *= 2;
    m_slots.assign(capacity, Slot{});
    m_mask = quint32(capacity - 1);
    for (const Entry &entry : entries) {
        if (entry.word.empty() || entry.word.size() > 0xFFFF)
            continue;
        for (char16_t u : entry.word)
            m_asciiOnly = m_asciiOnly && u < 128;
        quint32 index = hash(entry.word.data(), qsizetype(entry.word.size()), false) & m_mask;
        bool present = false;
        while (m_slots[index].length != 0) {
            const Slot &slot = m_slots[index];
            if (std::u16string_view(m_units.data() + slot.offset, slot.length) == entry.word) {
                present = true;
                break;
            }
            index = (index + 1) & m_mask;
        }
        if (present)
            continue;
        m_slots[index] = Slot{quint32(m_units.size()), quint16(entry.word.size()),
                              rawValue(entry.kind), entry.word.front()};
        m_units.insert(m_units.end(), entry.word.begin(), entry.word.end());
        m_maxLength = std::max(m_maxLength, qsizetype(entry.word.size()));
        ++m_count;
    }
}

quint32 WordTable::hash(const char16_t *units, qsizetype length, bool fold)
{
    quint32 h = quint32(length) * 0x9E3779B1u;
    for (qsizetype i = 0; i < length; ++i)
        h = (h ^ (fold ? foldUnit(units[i]) : units[i])) * 0x01000193u;
    return h ^ (h >> 15);
}

std::optional<TokenKind> WordTable::find(const char16_t *units, qsizetype length) const
{
    if (length <= 0 || length > m_maxLength)
        return std::nullopt;
    if (m_foldCase && !m_asciiOnly) {
        for (qsizetype i = 0; i < length; ++i) {
            if (units[i] >= 128)
                return findFoldingUnicode(units, length);
        }
    }
    return findExact(units, length, m_foldCase);
}

std::optional<TokenKind>
WordTable::findExact(const char16_t *units, qsizetype length, bool fold) const
{
    const char16_t first = fold ? foldUnit(units[0]) : units[0];
    for (quint32 index = hash(units, length, fold) & m_mask;; index = (index + 1) & m_mask) {
        const Slot &slot = m_slots[index];
        if (slot.length == 0)
            return std::nullopt;
        if (slot.length != length || slot.first != first)
            continue;
        const char16_t *entry = m_units.data() + slot.offset;
        qsizetype i = 1;
        if (fold) {
            while (i < length && entry[i] == foldUnit(units[i]))
                ++i;
        } else {
            while (i < length && entry[i] == units[i])
                ++i;
        }
        if (i == length)
            return TokenKind(slot.kind);
    }
}

std::optional<TokenKind> WordTable::findFoldingUnicode(const char16_t *units,
                                                       qsizetype length) const
{
    const QString lower = QStringView(units, length).toString().toLower();
    if (lower.size() > m_maxLength)
        return std::nullopt;
    return findExact(reinterpret_cast<const char16_t *>(lower.utf16()), lower.size(), false);
}

} // namespace plumeo
