#pragma once

#include "text/LineEnding.h"

#include <optional>

#include <QByteArray>
#include <QString>

namespace plumeo {

// Strict UTF-8, fast on the mostly-ASCII text of source files (16 bytes at a time while no byte has
// its high bit set). Decoding accepts exactly the well-formed sequences of the Unicode standard: no
// overlong forms, no encoded surrogates, nothing above U+10FFFF, no sequence cut short; a byte
// order mark is decoded as U+FEFF like any other character.
namespace Utf8Codec {

std::optional<QString> decode(QByteArrayView bytes);
// Encodes text, writing each LF as lineEnding's characters; nothing when text holds a lone
// surrogate.
std::optional<QByteArray> encode(QStringView text, LineEnding lineEnding = LineEnding::lf);

} // namespace Utf8Codec

} // namespace plumeo
