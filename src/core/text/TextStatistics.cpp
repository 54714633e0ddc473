#include "text/TextStatistics.h"

#include <array>

namespace plumeo {

namespace {

// The characters with the Unicode White_Space property. All of them are in the Basic Multilingual
// Plane, so a surrogate is never a separator.
constexpr bool isWhiteSpace(char16_t unit)
{
    if (unit <= 0x20)
        return unit == 0x20 || (unit >= 0x09 && unit <= 0x0D);
    if (unit < 0x85)
        return false;
    return unit == 0x85 || unit == 0xA0 || unit == 0x1680 || (unit >= 0x2000 && unit <= 0x200A)
           || unit == 0x2028 || unit == 0x2029 || unit == 0x202F || unit == 0x205F
           || unit == 0x3000;
}

constexpr std::array<bool, 128> asciiSeparators = [] {
    std::array<bool, 128> table{};
    for (char16_t c = 0; c < 128; ++c)
        table[c] = isWhiteSpace(c);
    return table;
}();

} // namespace

TextStatistics TextStatistics::measure(QStringView text)
{
    TextStatistics result;
    const char16_t *units = text.utf16();
    const qsizetype size = text.size();
    qint64 lineFeeds = 0;
    qint64 words = 0;
    qint64 lowHalvesOfPairs = 0;
    bool inWord = false;

    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = units[i];
        bool separator;
        if (unit < 128) {
            separator = asciiSeparators[unit];
            lineFeeds += unit == u'\n';
        } else {
            separator = isWhiteSpace(unit);
            // A well-formed pair is one character; a lone surrogate counts on its own.
            if ((unit & 0xFC00) == 0xD800 && i + 1 < size && (units[i + 1] & 0xFC00) == 0xDC00) {
                ++lowHalvesOfPairs;
                ++i;
            }
        }
        words += !separator && !inWord;
        inWord = !separator;
    }

    result.lines = 1 + lineFeeds;
    result.words = words;
    result.characters = size - lowHalvesOfPairs;
    return result;
}

} // namespace plumeo
