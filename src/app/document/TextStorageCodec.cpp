#include "document/TextStorageCodec.h"

#include <algorithm>
#include <bitset>
#include <memory>

namespace plumeo {

namespace {

constexpr char16_t paragraphSeparator = 0x2029;

bool isCandidate(char16_t unit)
{
    // Never a surrogate, a control character, nor one of the characters Qt treats specially.
    if (unit < 0x20 || (unit >= 0x7F && unit < 0xA0) || (unit >= 0xD800 && unit < 0xE000))
        return false;
    for (char16_t special :
         {char16_t(0x2028), char16_t(0x2029), char16_t(0xFDD0), char16_t(0xFDD1), char16_t(0xFEFF),
          char16_t(0xFFFC), char16_t(0xFFFE), char16_t(0xFFFF)})
        if (unit == special)
            return false;
    return true;
}

} // namespace

TextStorageCodec::TextStorageCodec(std::array<char16_t, 4> substitutes)
    : m_substitutes(substitutes)
    , m_lowestSpecial(
          std::min(paragraphSeparator, *std::min_element(substitutes.begin(), substitutes.end())))
{}

std::optional<TextStorageCodec> TextStorageCodec::forText(QStringView text)
{
    auto present = std::make_unique<std::bitset<0x10000>>();
    for (QChar c : text)
        present->set(c.unicode());

    std::array<char16_t, 4> chosen{};
    size_t found = 0;
    const auto consider = [&](char32_t first, char32_t last) {
        for (char32_t unit = first; unit <= last && found < chosen.size(); ++unit)
            if (isCandidate(char16_t(unit)) && !present->test(unit))
                chosen[found++] = char16_t(unit);
    };
    consider(0xFDD2, 0xFDEF); // noncharacters: meant for exactly this
    consider(0xE000, 0xF8FF); // then the private use area
    consider(0x00A0, 0xFFFD); // then anything at all
    if (found < chosen.size())
        return std::nullopt;
    return TextStorageCodec(chosen);
}

QString TextStorageCodec::toStorage(QStringView text) const
{
    return toStorage(text.toString());
}

// What toStorage's quick scan relies on.
static_assert(std::ranges::all_of(TextStorageCodec::fragileCharacters,
                                  [](char16_t c) { return c == u'\r' || c >= 0x2029; }));

QString TextStorageCodec::toStorage(QString &&text) const
{
    qsizetype first = -1;
    const char16_t *units = reinterpret_cast<const char16_t *>(text.constData());
    // Every fragile character is a CR or at U+2029 and above: most units are passed over with
    // two comparisons.
    for (qsizetype i = 0; i < text.size() && first < 0; ++i) {
        const char16_t unit = units[i];
        if (unit != u'\r' && unit < 0x2029)
            continue;
        for (char16_t fragile : fragileCharacters)
            if (unit == fragile) {
                first = i;
                break;
            }
    }
    QString result = std::move(text);
    if (first < 0)
        return result;
    char16_t *changed = reinterpret_cast<char16_t *>(result.data());
    for (qsizetype i = first; i < result.size(); ++i) {
        for (size_t k = 0; k < fragileCharacters.size(); ++k) {
            if (changed[i] == fragileCharacters[k]) {
                changed[i] = m_substitutes[k];
                break;
            }
        }
    }
    return result;
}

QString TextStorageCodec::fromStorage(QStringView raw) const
{
    QString result = raw.toString();
    char16_t *units = reinterpret_cast<char16_t *>(result.data());
    const qsizetype size = result.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = units[i];
        if (unit < m_lowestSpecial)
            continue;
        units[i] = realCharacter(unit);
    }
    return result;
}

char16_t TextStorageCodec::realCharacter(char16_t storedUnit) const
{
    if (storedUnit == paragraphSeparator)
        return u'\n';
    for (size_t k = 0; k < m_substitutes.size(); ++k)
        if (storedUnit == m_substitutes[k])
            return fragileCharacters[k];
    return storedUnit;
}

bool TextStorageCodec::isSubstitute(char16_t unit) const
{
    for (char16_t substitute : m_substitutes)
        if (unit == substitute)
            return true;
    return false;
}

bool TextStorageCodec::canEncode(QStringView text) const
{
    for (QChar c : text)
        if (isSubstitute(c.unicode()))
            return false;
    return true;
}

} // namespace plumeo
