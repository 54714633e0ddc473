#pragma once

#include "syntax/TokenKind.h"

namespace plumeo {

// A half-open range [lower, upper) of UTF-16 code-unit indices.
struct TokenRange
{
    qint64 lower = 0;
    qint64 upper = 0;

    constexpr qint64 length() const { return upper - lower; }
    constexpr bool isEmpty() const { return upper == lower; }
    friend constexpr bool operator==(const TokenRange &, const TokenRange &) = default;
};

// A coloured range of a line. Indices are those of the slice the lexer was given: absolute text
// offsets when the line was cut out of the whole text, offsets within the line when it was not.
struct Token
{
    TokenKind kind = TokenKind::plain;
    TokenRange range;

    friend constexpr bool operator==(const Token &, const Token &) = default;
};

} // namespace plumeo
