#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plumeo {

// One kind of string literal of a rule set: its delimiters in UTF-16 units and how it may end.
struct StringRule
{
    std::u16string open;
    std::u16string close;
    // The unit after the escape never closes the string.
    std::optional<char16_t> escape;
    // Whether an unterminated string continues on the next line.
    bool multiline = false;
    // Limits only strings left unterminated on the line that opened them: longer ones (counted from
    // the opener's first unit to the end of the line) are not strings at all. This is what keeps an
    // apostrophe used as a quote mark in prose or a lifetime from swallowing the rest of the line.
    std::optional<int> maxLength;
    // Whether a doubled closing delimiter stands for one literal delimiter (SQL's '').
    bool doubledClose = false;

    struct Options
    {
        std::optional<char16_t> escape = {};
        bool multiline = false;
        std::optional<int> maxLength = {};
        bool doubledClose = false;
    };

    StringRule(std::u16string_view open, std::u16string_view close)
        : StringRule(open, close, Options{})
    {}
    StringRule(std::u16string_view open, std::u16string_view close, Options options)
        : open(open)
        , close(close)
        , escape(options.escape)
        , multiline(options.multiline)
        , maxLength(options.maxLength)
        , doubledClose(options.doubledClose)
    {}

    friend bool operator==(const StringRule &, const StringRule &) = default;
};

} // namespace plumeo
