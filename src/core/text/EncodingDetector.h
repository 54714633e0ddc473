#pragma once

#include "text/Encoding.h"

#include <optional>

#include <QByteArray>
#include <QString>

namespace plumeo {

// Guesses the encoding of bytes that are neither UTF-8 nor in the user's preferred encoding.
// uchardet answers first (it is the better detector for legacy charsets); ICU's detector is asked
// only when uchardet has no answer (or one that does not hold). A guess counts only if the bytes
// decode strictly with it and encode back to the same bytes, and a guess of UTF-16 or UTF-32 (any
// byte order) only if the bytes hold the zero bytes such text cannot do without: one in four for
// UTF-32, one at least for every 256 bytes for UTF-16. When neither guess holds, the Western
// single-byte encodings people most often mean are tried in order: Windows 1252, ISO Latin 1, Mac
// OS Roman.
namespace EncodingDetector {

struct Detection
{
    Encoding encoding;
    QString text;
};

std::optional<Detection> detect(QByteArrayView bytes);

// The raw proposals, for measurement: what each detector names, before any strict check.
QByteArray uchardetProposal(QByteArrayView bytes);
QByteArray icuProposal(QByteArrayView bytes);

} // namespace EncodingDetector

} // namespace plumeo
