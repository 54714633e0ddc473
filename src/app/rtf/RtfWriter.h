#pragma once

#include "rtf/RtfFrameMarkers.h"

#include <optional>

#include <QByteArray>

class QTextDocument;

namespace plumeo {

// Writes a QTextDocument as RTF that word processors read back: one font table entry per family
// used, a colour table whose entry 0 is automatic, and for each paragraph its alignment, indents
// and spacing, then its runs, each starting from \plain with its font, size, bold, italic,
// underline, strikethrough, superscript/subscript, \cf and background colour. Text without a
// foreground colour gets no \cf at all, so that it stays "no colour" rather than black. Every
// character outside ASCII is written as \uN with a question mark for readers without Unicode
// (characters beyond U+FFFF as their two surrogates), so the code page never matters. The question
// mark is written \'3f, as LibreOffice does: pandoc 2.17 drops the character after a literal one.
// Text without a family or size takes the document's default font. Images and other embedded
// objects are not written. The output is ASCII. When frameMarkers are given, the units they name
// are written as U+FDD0 and U+FDD1, the characters they stand for.
namespace RtfWriter {

QByteArray write(const QTextDocument &document,
                 std::optional<RtfFrameMarkers> frameMarkers = std::nullopt);

} // namespace RtfWriter

} // namespace plumeo
