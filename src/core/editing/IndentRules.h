#pragma once

#include "syntax/Language.h"
#include "syntax/LexState.h"

#include <QChar>
#include <QStringView>

namespace plumeo {

class Lexer;

// What indentation a language asks of the editor beyond copying the previous line's: which closing
// brackets typed on a blank line give a level back, and whether a line whose code ends in a colon
// opens a block.
namespace IndentRules {

// True for }, ] and ) in the languages whose blocks and lists are written between brackets (C and
// its family, Java, Kotlin, Swift, Go, Rust, JavaScript, TypeScript, JSON, PHP, CSS, SCSS…), false
// for any other character and in every other language (plain text, Markdown, Python, markup, the
// configuration formats, the shells).
bool outdentsClosingBracket(const Language &language, QChar bracket);

// True for Python.
bool opensBlockAfterColon(const Language &language);

// Whether the code of line ends in a colon: the last character that is not horizontal blank and
// not part of a comment is a colon outside any string. line is lexed by lexer from state, the
// state at its start; a colon inside a string the line only continues (a docstring's "Args:")
// therefore does not count.
bool codeEndsWithColon(QStringView line, const Lexer &lexer, LexState state);

} // namespace IndentRules

} // namespace plumeo
