#pragma once

#include <QByteArray>

namespace plumeo::bench {

// A deterministic UTF-8 source file of about targetBytes: mostly ASCII code, with accented letters
// and the odd emoji in comments and strings, lines broken by LF or (crlf) CR LF.
QByteArray generateUtf8Source(qsizetype targetBytes, bool crlf);

} // namespace plumeo::bench
