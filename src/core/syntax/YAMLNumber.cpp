#include "syntax/YAMLNumber.h"

#include "syntax/LexUnits.h"

#include <clocale>
#include <cstdlib>

#include <locale.h>

namespace plumeo::YAMLNumber {

using LexUnits::isDigit;
using LexUnits::toLowerAscii;

namespace {

locale_t cLocale()
{
    // Created once and never freed: the C locale object lives as long as the process.
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

bool isHexDigit(char16_t c)
{
    return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool matchesLower(const char16_t *w, qint64 at, qint64 n, const char *lower)
{
    for (qint64 k = 0; lower[k]; ++k) {
        if (at + k >= n || toLowerAscii(w[at + k]) != char16_t(lower[k]))
            return false;
    }
    return true;
}

// An exponent from i: the marker, an optional sign and at least one decimal digit. Returns the end
// of the exponent, or i when there is none (the conversion then stops before the marker).
qint64 exponentEnd(const char16_t *w, qint64 i, qint64 n, char16_t marker)
{
    if (i >= n || toLowerAscii(w[i]) != marker)
        return i;
    qint64 k = i + 1;
    if (k < n && (w[k] == u'+' || w[k] == u'-'))
        ++k;
    if (k >= n || !isDigit(w[k]))
        return i;
    while (k < n && isDigit(w[k]))
        ++k;
    return k;
}

} // namespace

bool convertsInCLocale(const char16_t *w, qint64 n)
{
    Q_ASSERT(n <= maxConvertedLength);
    char buffer[maxConvertedLength + 1];
    for (qint64 k = 0; k < n; ++k) {
        if (w[k] >= 128)
            return false; // no number has a unit outside ASCII
        buffer[k] = char(w[k]);
    }
    buffer[n] = '\0';
    char *stop = nullptr;
    strtod_l(buffer, &stop, cLocale());
    // A NUL inside the word stops the conversion early, so it is not a number.
    return stop == buffer + n;
}

bool matchesConversionGrammar(const char16_t *w, qint64 n)
{
    qint64 i = 0;
    if (i < n && (w[i] == u'+' || w[i] == u'-'))
        ++i;
    if (i >= n)
        return false;
    if (matchesLower(w, i, n, "inf")) {
        const qint64 rest = n - i;
        return rest == 3 || (rest == 8 && matchesLower(w, i, n, "infinity"));
    }
    if (matchesLower(w, i, n, "nan")) {
        i += 3;
        if (i == n)
            return true;
        if (w[i] != u'(')
            return false;
        for (++i; i < n && (LexUnits::isAsciiLetter(w[i]) || isDigit(w[i]) || w[i] == u'_');)
            ++i;
        return i == n - 1 && w[i] == u')';
    }
    if (w[i] == u'0' && i + 1 < n && toLowerAscii(w[i + 1]) == u'x') {
        qint64 k = i + 2;
        qint64 digits = 0;
        while (k < n && isHexDigit(w[k]))
            ++k, ++digits;
        if (k < n && w[k] == u'.') {
            ++k;
            while (k < n && isHexDigit(w[k]))
                ++k, ++digits;
        }
        // Without a hexadecimal digit the conversion reads the "0" alone and stops at "x".
        if (digits == 0)
            return false;
        return exponentEnd(w, k, n, u'p') == n;
    }
    qint64 digits = 0;
    while (i < n && isDigit(w[i]))
        ++i, ++digits;
    if (i < n && w[i] == u'.') {
        ++i;
        while (i < n && isDigit(w[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    return exponentEnd(w, i, n, u'e') == n;
}

bool isNumber(const char16_t *w, qint64 n)
{
    if (n == 0 || w[0] <= u' ' || w[0] == 0x7F)
        return false;
    // Every number starts with a sign, a digit, "." or the first letter of "inf" or "nan": the
    // other words, most bare words of a YAML file, skip the conversion.
    const char16_t first = toLowerAscii(w[0]);
    if (!(isDigit(first) || first == u'+' || first == u'-' || first == u'.' || first == u'i'
          || first == u'n'))
        return false;
    if (n <= maxConvertedLength)
        return convertsInCLocale(w, n);
    return matchesConversionGrammar(w, n);
}

} // namespace plumeo::YAMLNumber
