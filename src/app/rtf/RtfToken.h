#pragma once

#include <string_view>

namespace plumeo {

// One lexical unit of RTF. Views point into the bytes handed to the tokenizer, which must outlive
// the token; nothing is copied.
struct RtfToken
{
    enum Kind {
        end,
        groupStart,
        groupEnd,
        // A letter sequence after a backslash, with its optional signed parameter.
        controlWord,
        // A backslash and one non-letter character (\~, \*, \{ …); "\'hh" is hexByte instead, and a
        // backslash before a line break is reported as the symbol '\n' (a paragraph mark).
        controlSymbol,
        // Plain bytes of text (never braces or backslashes, never CR or LF).
        text,
        // The byte of a "\'hh" escape.
        hexByte,
        // The payload of "\binN" (possibly shorter than N when the data ends first).
        binary,
    };

    RtfToken(Kind kind = end, std::string_view bytes = {})
        : kind(kind)
        , bytes(bytes)
    {}

    Kind kind;
    // The control word's name, the text bytes, or the binary payload.
    std::string_view bytes;
    // The control word's parameter, clamped to the int range; 0 when absent.
    int parameter = 0;
    bool hasParameter = false;
    // The control symbol's character or the escaped byte.
    unsigned char symbol = 0;
};

} // namespace plumeo
