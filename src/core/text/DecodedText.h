#pragma once

#include "text/Encoding.h"
#include "text/LineEnding.h"

#include <optional>

#include <QString>

namespace plumeo {

// What decoding a file gives: its text (line breaks already LF when the file's convention is CRLF
// or CR), the encoding it was read with, whether it began with a byte order mark (not part of text)
// and its dominant line ending (nothing when it holds no line break).
struct DecodedText
{
    QString text;
    Encoding encoding = Encoding::utf8();
    bool hasBOM = false;
    std::optional<LineEnding> lineEnding;
};

} // namespace plumeo
