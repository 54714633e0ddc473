#pragma once

#include "text/Encoding.h"

#include <optional>

#include <QByteArrayView>
#include <QString>

namespace plumeo {

// Earlier bytes of a file read as the text of a document that is open now: decoded strictly in
// the document's encoding (its byte order mark, when the bytes begin with it, dropped), with line
// breaks as the document holds them (LF; the CRs of a text whose breaks are mostly LF stay
// characters, as when a file is opened). Nothing when the bytes are not valid in that encoding.
namespace VersionText {

std::optional<QString> decode(QByteArrayView bytes, const Encoding &encoding);

} // namespace VersionText

} // namespace plumeo
