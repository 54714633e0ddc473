#pragma once

#include <QtGlobal>

namespace plumeo {

// Unit classes and searches shared by the hand-written lexers. They work on raw UTF-16 units with
// absolute indices and never look at or past `end`, so a lexer can run them on any sub-range of a
// line (HTML hands the inside of a style element to the CSS lexer that way).
namespace LexUnits {

// Only space and tab are blank: a CR or a form feed is an ordinary unit of the line.
constexpr bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}
constexpr bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}
constexpr bool isAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
// Any unit from 128 on counts as a letter, so names in any script stay whole.
constexpr bool isLetter(char16_t c)
{
    return isAsciiLetter(c) || c >= 128;
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
    while (from < end && isBlank(u[from]))
        ++from;
    return from;
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
    if (at < 0 || end - at < n)
        return false;
    for (qint64 k = 0; k < n; ++k) {
        if (u[at + k] != pattern[k])
            return false;
    }
    return true;
}

// The first index in [from, end) at which the whole pattern fits and matches, else -1.
inline qint64 find(const char16_t *u, qint64 from, qint64 end, const char16_t *pattern, qint64 n)
{
    Q_ASSERT(n > 0);
    const char16_t first = pattern[0];
    for (qint64 i = from; i + n <= end; ++i) {
        if (u[i] == first && startsWith(u, i, end, pattern, n))
            return i;
    }
    return -1;
}

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
