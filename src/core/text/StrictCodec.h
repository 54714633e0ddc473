#pragma once

#include "text/Encoding.h"

#include <optional>

#include <QByteArray>
#include <QString>

namespace plumeo {

// Conversions that never substitute: bytes that are not a valid sequence in the encoding, or text
// that the encoding cannot hold (a lone surrogate included), give nothing rather than a "best
// effort". A byte order mark inside the data is kept as U+FEFF; stripping it is the caller's
// business.
namespace StrictCodec {

std::optional<QString> decode(QByteArrayView bytes, const Encoding &encoding);
std::optional<QByteArray> encode(QStringView text, const Encoding &encoding);

// Whether every surrogate in text belongs to a well-formed pair.
bool hasOnlyPairedSurrogates(QStringView text);

} // namespace StrictCodec

} // namespace plumeo
