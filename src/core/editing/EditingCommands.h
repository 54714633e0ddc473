#pragma once

#include "editing/TextEdit.h"
#include "text/IndentStyle.h"

#include <functional>
#include <optional>

#include <QString>

namespace plumeo {

// The code-editing commands of the editor as pure functions: each takes the text (LF line breaks,
// offsets in UTF-16 units) and the selection, and answers the one replacement to make and the
// selection to set afterwards, or nothing when there is nothing to do. A selection that does not
// fit the text is first kept within it. No function here touches a view or allocates more than a
// few copies of the lines it works on.
namespace EditingCommands {

// Space, tab and the other Unicode space separators (no-break space, the em and en spaces, the
// ideographic space…): the blanks that never end a line.
bool isHorizontalWhitespace(char16_t unit);

// The whole lines a range touches: from the start of the line holding its start to just after the
// LF ending the line holding its last character (an empty range: its location), or to the end of
// the text when that line has none. A range that ends just after an LF therefore does not reach
// into the next line; an empty range at the very end of a text ending with LF gives the empty last
// line.
TextRange lineRange(QStringView text, TextRange range);

// Replaces the selection by string and puts the caret after it (typing, pasting, a plain Return).
TextEdit insertText(QStringView text, TextRange selection, const QString &string);

// Return with automatic indentation: the new line repeats the indentation before the caret, one
// more level after an opening bracket (or whenever opensBlock says the text before the caret opens
// a block, as a Python line ending in a colon does), and a closing bracket right after the caret
// moves to a line of its own at the original indentation.
TextEdit
newline(QStringView text, TextRange selection, const IndentStyle &style, bool opensBlock = false);

// Typing a closing bracket on a line that holds nothing but spaces and tabs before the caret (and
// at least one of them): the indentation before the caret loses one level (down to the previous
// multiple of the indentation width, tabs counting to their stop; the characters that fit are
// kept) and the bracket follows it, caret after the bracket.
// Nothing when the selection is not empty or the line holds anything else before the caret; the
// caller then types the bracket as usual.
std::optional<TextEdit>
typeClosingBracket(QStringView text, TextRange selection, QChar bracket, const IndentStyle &style);

// Tab: indents the selected lines when the selection spans a line break; otherwise inserts a tab,
// or the spaces reaching the next multiple of the indentation width.
std::optional<TextEdit> insertTab(QStringView text, TextRange selection, const IndentStyle &style);

// Rewrites every line the selection touches with lineFunction (each line without its LF). With a
// selection the result is selected; a caret keeps its place in its line's text, never moving before
// the line's start.
std::optional<TextEdit>
transformLines(QStringView text,
               TextRange selection,
               const std::function<QString(QStringView line)> &lineFunction);

// One indentation unit in front of every non-empty line.
std::optional<TextEdit>
indentLines(QStringView text, TextRange selection, const IndentStyle &style);
// One leading tab, else up to width leading spaces, off every line (Shift-Tab as well).
std::optional<TextEdit>
outdentLines(QStringView text, TextRange selection, const IndentStyle &style);

// A copy of the selected lines below them; the selection moves onto the copy.
std::optional<TextEdit> duplicateLines(QStringView text, TextRange selection);
// Removes the selected lines (with the LF before them when they end the text).
std::optional<TextEdit> deleteLines(QStringView text, TextRange selection);
// Swaps the selected lines with the line above or below; the selection moves with them. Nothing
// happens at the first or last line.
std::optional<TextEdit> moveLinesUp(QStringView text, TextRange selection);
std::optional<TextEdit> moveLinesDown(QStringView text, TextRange selection);

} // namespace EditingCommands

} // namespace plumeo
