#pragma once

#include <algorithm>

#include <QtGlobal>

namespace plumeo {

// A range of a text in UTF-16 code units: location is 0-based, length is never negative in ranges
// this module produces. Two ranges are equal when both fields are.
struct TextRange
{
    qsizetype location = 0;
    qsizetype length = 0;

    qsizetype end() const { return location + length; }
    bool isEmpty() const { return length == 0; }

    // This range moved inside a text of textLength units: the location is kept within 0…textLength
    // and the length within what remains after it.
    TextRange clamped(qsizetype textLength) const
    {
        const qsizetype start =
            std::clamp<qsizetype>(location, 0, std::max<qsizetype>(textLength, 0));
        return {start,
                std::clamp<qsizetype>(length, 0, std::max<qsizetype>(textLength, 0) - start)};
    }

    friend bool operator==(const TextRange &, const TextRange &) = default;
};

} // namespace plumeo
