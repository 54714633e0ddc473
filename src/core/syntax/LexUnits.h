#pragma once

#include "syntax/Chars.h"
#include "syntax/Slice.h"

namespace plumeo {

// Unit classes and searches shared by the hand-written lexers. They work on raw UTF-16 units with
// absolute indices and never look at or past `end`, so a lexer can run them on any sub-range of a
// line (HTML hands the inside of a style element to the CSS lexer that way).
namespace LexUnits {

using Chars::isDigit;
using Chars::isLetter; // "A"–"Z", "a"–"z" or any unit from 128 on, so names in any script stay
                       // whole

// Only space and tab are blank: a CR or a form feed is an ordinary unit of the line.
constexpr bool isBlank(char16_t c)
{
    return Chars::isSpace(c);
}
constexpr bool isAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
// Letters, digits, "_" and "-": the units of CSS names, YAML anchors and the like.
constexpr bool isNameUnit(char16_t c)
{
    return isLetter(c) || isDigit(c) || c == u'_' || c == u'-';
}
constexpr char16_t toLowerAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

// The first index in [from, end) whose unit is not blank, else end.
inline qint64 firstNonBlank(const char16_t *u, qint64 from, qint64 end)
{
    return Slice::firstNonBlank(LineSlice{u, from, end}, from);
}

// The first index in [from, end) holding c, else end.
inline qint64 findUnit(const char16_t *u, qint64 from, qint64 end, char16_t c)
{
    while (from < end && u[from] != c)
        ++from;
    return from;
}

// Whether the n units of pattern fit in [at, end) and match there.
inline bool startsWith(const char16_t *u, qint64 at, qint64 end, const char16_t *pattern, qint64 n)
{
    return at <= end
           && Slice::startsWith(LineSlice{u, at, end}, Slice::Pattern(pattern, size_t(n)), at);
}

// The first index in [from, end) at which the whole pattern fits and matches, else -1.
inline qint64 find(const char16_t *u, qint64 from, qint64 end, const char16_t *pattern, qint64 n)
{
    if (from > end)
        return -1;
    return Slice::find(LineSlice{u, from, end}, Slice::Pattern(pattern, size_t(n)), from)
        .value_or(-1);
}

// Finds one unit again and again along a line while remembering the last answer, so that a line of
// many openers and no closer ("[[[[", "<<<<") is still read once rather than once per opener. Valid
// for one line: the answer for `from` is reused for any later `from` up to the unit found.
class UnitFinder
{
public:
    explicit UnitFinder(char16_t unit)
        : unit(unit)
    {}

    // The first index in [from, end) holding the unit, else end.
    qint64 find(const char16_t *u, qint64 from, qint64 end)
    {
        if (from < searchedFrom || from > foundAt) {
            searchedFrom = from;
            foundAt = findUnit(u, from, end, unit);
        }
        return foundAt;
    }

private:
    char16_t unit;
    qint64 searchedFrom = 1;
    qint64 foundAt = 0; // below searchedFrom: nothing remembered yet
};

template <qint64 N>
inline bool startsWith(const char16_t *u, qint64 at, qint64 end, const char16_t (&pattern)[N])
{
    return startsWith(u, at, end, pattern, N - 1);
}
template <qint64 N>
inline qint64 find(const char16_t *u, qint64 from, qint64 end, const char16_t (&pattern)[N])
{
    return find(u, from, end, pattern, N - 1);
}

} // namespace LexUnits
} // namespace plumeo
