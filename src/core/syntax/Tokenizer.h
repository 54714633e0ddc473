#pragma once

#include "syntax/Lexer.h"

#include <vector>

#include <QStringView>

namespace plumeo {

// Lexes a whole text in one call, line by line from the initial state, carrying the state from each
// line to the next. Lines end at U+000A only (a CR stays the last unit of its line); the part after
// the last line feed is a line too, even when empty, so the empty text is one empty line. Token
// ranges are offsets in the whole text. The editor lexes incrementally instead; this serves tools,
// tests and measures.
namespace Tokenizer {

std::vector<Token> tokenize(QStringView text, const Lexer &lexer);

} // namespace Tokenizer
} // namespace plumeo
