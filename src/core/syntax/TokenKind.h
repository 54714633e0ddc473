#pragma once

#include <array>
#include <optional>

#include <QtGlobal>

namespace plumeo {

// The closed set of classes a lexer gives a range of text. The raw values are stable: they are
// packed into bytes, and 29 (noTokenKind) means "no kind" wherever an optional kind has to fit in a
// byte.
enum class TokenKind : quint8 {
    plain = 0,
    keyword = 1,
    type = 2,
    constant = 3,
    string = 4,
    escape = 5,
    number = 6,
    comment = 7,
    preprocessor = 8,
    attribute = 9,
    function = 10,
    property = 11,
    tag = 12,
    attributeName = 13,
    variable = 14,
    operator_ = 15,
    punctuation = 16,
    meta = 17,
    heading = 18,
    emphasis = 19,
    strong = 20,
    link = 21,
    codeSpan = 22,
    listMarker = 23,
    quote = 24,
    strikethrough = 25,
    invalid = 26,
    inserted = 27,
    deleted = 28,
};

inline constexpr int tokenKindCount = 29;
inline constexpr quint8 noTokenKind = 29;

// The kind with this raw value (0–28); nothing otherwise.
constexpr std::optional<TokenKind> tokenKindFromRawValue(int raw)
{
    if (raw < 0 || raw >= tokenKindCount)
        return std::nullopt;
    return TokenKind(raw);
}

constexpr quint8 rawValue(TokenKind kind)
{
    return quint8(kind);
}

// Every kind, in raw-value order.
constexpr std::array<TokenKind, tokenKindCount> allTokenKinds()
{
    std::array<TokenKind, tokenKindCount> kinds{};
    for (int i = 0; i < tokenKindCount; ++i)
        kinds[size_t(i)] = TokenKind(i);
    return kinds;
}

// The case name, for token dumps and test messages ("operator" for operator_).
const char *tokenKindName(TokenKind kind);

} // namespace plumeo
