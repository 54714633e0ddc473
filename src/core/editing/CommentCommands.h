#pragma once

#include "editing/TextEdit.h"
#include "syntax/Language.h"

#include <optional>

#include <QString>

namespace plumeo {

// Commenting and uncommenting, as pure functions over a text and its selection (UTF-16 offsets, LF
// line breaks), like the other editing commands.
namespace CommentCommands {

// Line comments when the language has a line-comment marker, else a block comment, else nothing.
// With a caret and only a block comment, wholeLine makes the block comment take the caret's line
// (see toggleLineBlockComment) instead of wrapping the empty selection.
std::optional<TextEdit> toggleComment(QStringView text,
                                      TextRange selection,
                                      const Language &language,
                                      bool wholeLine = true);

// Comments the selected lines with token and a space, all markers in the column of the least
// indented non-blank line; when every non-blank line already starts with token (blanks trimmed),
// removes the first token of each line and one space after it instead. Blank lines are left alone.
std::optional<TextEdit>
toggleLineComment(QStringView text, TextRange selection, const QString &token);

// Unwraps the selection when it starts with open and ends with close (and is long enough to hold
// both), else wraps it; the result is selected.
std::optional<TextEdit> toggleBlockComment(QStringView text,
                                           TextRange selection,
                                           const QString &open,
                                           const QString &close);

// Wraps the text of the caret's line, after its indentation and before its trailing blanks, in
// open, a space, the text, a space and close; when that text already starts with open and ends
// with close, unwraps it (with one space inside each marker, when there is one). A caret inside the
// text keeps its character, one before it stays, one after it stays after the comment, and one in
// a marker being removed goes to the nearest end of the text. Nothing on a blank line.
std::optional<TextEdit> toggleLineBlockComment(QStringView text,
                                               TextRange selection,
                                               const QString &open,
                                               const QString &close);

} // namespace CommentCommands

} // namespace plumeo
