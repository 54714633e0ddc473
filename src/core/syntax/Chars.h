#pragma once

#include <array>
#include <cstdint>

namespace plumeo {

// Character classes of one UTF-16 code unit, shared by every lexer. Any unit of value 128 or more
// is a letter, so identifiers in any script (and both halves of a surrogate pair) are words. Blank
// means space or tab only: no other unit is blank anywhere in the lexers.
namespace Chars {

enum Class : std::uint16_t {
    space = 1 << 0,        // U+0020, U+0009
    digit = 1 << 1,        // 0-9
    hexDigit = 1 << 2,     // 0-9 A-F a-f
    upper = 1 << 3,        // A-Z
    letter = 1 << 4,       // A-Z a-z, >= 128
    word = 1 << 5,         // letter, digit, _
    operatorUnit = 1 << 6, // + - * / % = < > ! & | ^ ~ ? :
    punctuation = 1 << 7,  // ( ) [ ] { } ; , .
    labelUnit = 1 << 8,    // letter, digit, - . / _ (makefile targets)
};

namespace detail {
constexpr std::array<std::uint16_t, 128> makeClasses()
{
    std::array<std::uint16_t, 128> table{};
    auto add = [&table](const char *units, std::uint16_t bits) {
        for (; *units; ++units)
            table[std::size_t(*units)] |= bits;
    };
    table[' '] |= space;
    table['\t'] |= space;
    for (char c = '0'; c <= '9'; ++c)
        table[std::size_t(c)] |= digit | hexDigit | word | labelUnit;
    for (char c = 'A'; c <= 'Z'; ++c)
        table[std::size_t(c)] |= upper | letter | word | labelUnit;
    for (char c = 'a'; c <= 'z'; ++c)
        table[std::size_t(c)] |= letter | word | labelUnit;
    add("ABCDEFabcdef", hexDigit);
    add("_", word);
    add("-./_", labelUnit);
    add("+-*/%=<>!&|^~?:", operatorUnit);
    add("()[]{};,.", punctuation);
    return table;
}
inline constexpr std::array<std::uint16_t, 128> classes = makeClasses();
inline constexpr std::uint16_t nonAsciiClasses = letter | word | labelUnit;
} // namespace detail

// All the classes of u at once, for lexers that test several in a row.
constexpr std::uint16_t classesOf(char16_t u)
{
    return u < 128 ? detail::classes[u] : detail::nonAsciiClasses;
}
constexpr bool is(char16_t u, Class c)
{
    return (classesOf(u) & c) != 0;
}

constexpr bool isSpace(char16_t u)
{
    return u == u' ' || u == u'\t';
}
constexpr bool isDigit(char16_t u)
{
    return u >= u'0' && u <= u'9';
}
constexpr bool isHexDigit(char16_t u)
{
    return is(u, hexDigit);
}
constexpr bool isUpper(char16_t u)
{
    return u >= u'A' && u <= u'Z';
}
constexpr bool isLetter(char16_t u)
{
    return is(u, letter);
}
constexpr bool isWord(char16_t u)
{
    return is(u, word);
}
constexpr bool isOperator(char16_t u)
{
    return is(u, operatorUnit);
}
constexpr bool isPunctuation(char16_t u)
{
    return is(u, punctuation);
}

} // namespace Chars
} // namespace plumeo
