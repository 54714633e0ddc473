#pragma once

#include <QtGlobal>

namespace plumeo {

// Whether a YAML bare word is a number: the whole word converts to a double-precision value in the
// C locale (whatever the user's locale), so decimal and exponent forms, hexadecimal floating forms,
// and "inf", "infinity", "nan" and "nan(...)" in any case count, with an optional sign; a word that
// starts with a blank or control character never does.
namespace YAMLNumber {

bool isNumber(const char16_t *word, qint64 length);

// The two ways the test is made, public for the test that checks they agree. A word of at most
// maxConvertedLength units is converted by the C library on a stack buffer; a longer one, which
// cannot fit, is checked against the grammar that conversion accepts.
inline constexpr qint64 maxConvertedLength = 63;
bool convertsInCLocale(const char16_t *word, qint64 length);
bool matchesConversionGrammar(const char16_t *word, qint64 length);

} // namespace YAMLNumber
} // namespace plumeo
