#pragma once

#include "base/Result.h"
#include "text/DecodedText.h"
#include "text/Encoding.h"
#include "text/LineEnding.h"
#include "text/TextFileError.h"

#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>

namespace plumeo {

// Turns a file's bytes into editable text and back, without ever losing a byte: decoding is strict
// (no replacement characters), the byte order mark and the line-ending convention are recorded, and
// encoding a decoded file with what was recorded gives its bytes back when its line endings were
// uniform. Every function is pure and safe to call from any thread.
namespace TextFile {

// The encodings offered to the user, in menu order. UTF-32 is not among them: it is read when its
// mark announces it, and written back as it was read.
const std::vector<Encoding> &encodings();
// The name shown for an encoding; the same in both interface languages.
QString name(const Encoding &encoding);

// Whether bytes are to be refused as not text: a 0x00 among the first 8192 bytes. Data that begins
// with a UTF-16 or UTF-32 byte order mark is text by declaration and never binary.
bool isBinary(QByteArrayView bytes);

// The text of bytes, tried in this order: the encoding a byte order mark announces (and nothing
// else when there is one), UTF-8, preferred, the encoding detector, ISO Latin 1.
Result<DecodedText, TextFileError> decode(QByteArrayView bytes, const Encoding &preferred);

// text (line breaks as LF) as bytes in encoding, with lineEnding's breaks and, when bom is set and
// the encoding has one, a byte order mark. Fails when a character has no representation in
// encoding.
Result<QByteArray, TextFileError>
encode(QStringView text, const Encoding &encoding, bool bom, LineEnding lineEnding);

// The byte order mark written for an encoding (UTF-8, UTF-16 LE and BE, UTF-32 LE and BE), or
// nothing.
std::optional<QByteArray> byteOrderMark(const Encoding &encoding);

// Whether text in encoding must be written with its byte order mark to be opened again: UTF-16 and
// UTF-32 (LE and BE), whose zero bytes the binary test refuses in a file without a mark.
bool needsByteOrderMark(const Encoding &encoding);

struct ByteOrderMarkScan
{
    std::optional<Encoding> encoding; // announced by the mark
    bool found = false;
    QByteArrayView rest; // the bytes after the mark; all of them when there is none
};
// Looks for a byte order mark at the start of bytes: EF BB BF (UTF-8), 00 00 FE FF (UTF-32 BE),
// FF FE 00 00 (UTF-32 LE), FE FF (UTF-16 BE), FF FE (UTF-16 LE), the longer marks first. FF FE 00
// 00 is also how UTF-16 LE text beginning with U+0000 starts: it announces UTF-32 LE only when the
// bytes after it are well-formed UTF-32 LE (whole code units, each a Unicode scalar value), and
// UTF-16 LE otherwise. rest points into bytes.
ByteOrderMarkScan byteOrderMark(QByteArrayView bytes);

} // namespace TextFile

} // namespace plumeo
