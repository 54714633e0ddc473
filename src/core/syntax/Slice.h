#pragma once

#include "syntax/LineSlice.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace plumeo {

// Searches over one line slice. Every index is in the slice's own index space (absolute when the
// line was cut out of a whole text) and every look stays below the slice's upper bound: nothing
// here reads past the line, whatever the indices given.
namespace Slice {

using Pattern = std::u16string_view;

// Whether pattern fits at index (inside the slice) and matches there; true for an empty pattern
// anywhere inside or at the end of the slice.
inline bool startsWith(LineSlice line, Pattern pattern, qint64 index)
{
    if (index < line.lower || index > line.upper || qint64(pattern.size()) > line.upper - index)
        return false;
    const char16_t *at = line.units + index;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (at[i] != pattern[i])
            return false;
    }
    return true;
}

// The first index >= from at which the whole pattern fits and matches; nothing for an empty pattern
// or no match.
inline std::optional<qint64> find(LineSlice line, Pattern pattern, qint64 from)
{
    if (pattern.empty())
        return std::nullopt;
    const qint64 last = line.upper - qint64(pattern.size());
    const char16_t first = pattern.front();
    for (qint64 i = std::max(from, line.lower); i <= last; ++i) {
        if (line.units[i] == first && startsWith(line, pattern, i))
            return i;
    }
    return std::nullopt;
}

// The first index >= from whose unit is neither space nor tab, else the slice's upper bound.
inline qint64 firstNonBlank(LineSlice line, qint64 from)
{
    qint64 i = std::max(from, line.lower);
    while (i < line.upper && (line.units[i] == u' ' || line.units[i] == u'\t'))
        ++i;
    return std::min(i, line.upper);
}

// The unit at index, or 0 outside the slice.
inline char16_t at(LineSlice line, qint64 index)
{
    return index >= line.lower && index < line.upper ? line.units[index] : char16_t(0);
}

} // namespace Slice
} // namespace plumeo
