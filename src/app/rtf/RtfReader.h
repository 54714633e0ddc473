#pragma once

#include "base/Result.h"
#include "rtf/RtfFrameMarkers.h"
#include "rtf/RtfReadError.h"

#include <optional>

#include <QByteArrayView>

class QTextDocument;

namespace plumeo {

// Reads RTF written by word processors into a QTextDocument: text (Unicode escapes, 8-bit text
// through the document's and each font's code page, symbol fonts mapped to Unicode), font family
// and size, bold, italic, underline, strikethrough, superscript and subscript, capitals, foreground
// and background colours, paragraph alignment, indents and spacing. Destinations that are not body
// text (headers, footers, notes, pictures, text boxes, field instructions, document information…)
// are skipped; a field keeps its result. Hidden text is kept, marked with
// RtfFormatTable::hiddenTextProperty. Table cells become paragraphs; list numbers and bullets are
// the text the file gives for readers without lists.
//
// Colours keep the difference between "no colour" and an explicit colour: text without \cf, with
// \cf naming an automatic table entry, or with an index past the table has no foreground property
// at all. Paragraph breaks are block boundaries; \line is U+2028 inside a block. Lengths convert at
// 15 twips per pixel.
namespace RtfReader {

struct Summary
{
    // False when the data ended inside a group (a truncated or damaged file); the document then
    // holds everything read up to that point.
    bool complete = true;
    // Whether the text holds U+FDD0 or U+FDD1 (Qt's frame markers).
    bool hasFrameMarkers = false;
};

// Whether the data starts as an RTF document does ("{\rtf", after an optional UTF-8 byte order mark
// and white space).
bool hasRtfSignature(QByteArrayView data);

// The bytes of data that make up its RTF document: from the start through the brace that closes the
// top-level group. What may follow is not part of it (WordPad and RichEdit end their files with a
// zero byte, sometimes after a line break). Data that is not an RTF document, or whose top-level
// group never closes, is returned whole. Braces are counted as the tokenizer sees them, without
// code pages: raw double-byte text with a brace as trail byte (possible in unescaped Shift-JIS) can
// end the count early, which the reader itself, following the code pages, is not misled by.
QByteArrayView documentPart(QByteArrayView data);

// Replaces the whole content of document with the RTF data (the document's undo history is
// cleared). A document ends at its closing brace. Data that starts with a group and a control word
// but not "{\rtf" (what pandoc writes without --standalone) is read as a fragment, to its end.
// Anything else is refused and the document left untouched. Never recurses on group depth and needs
// memory in proportion to the data. U+FDD0 and U+FDD1 in the text are stored as frameMarkers when
// given, otherwise as the paragraph breaks Qt makes of them.
Result<Summary, RtfReadError> read(QByteArrayView data,
                                   QTextDocument &document,
                                   std::optional<RtfFrameMarkers> frameMarkers = std::nullopt);

} // namespace RtfReader

} // namespace plumeo
