#pragma once

// The contract every lexer keeps, checked in one place for the property tests, the golden inputs,
// the corpus runs and the fuzzer.

#include "syntax/Lexer.h"

#include <string>
#include <vector>

#include <QStringView>

namespace plumeo::test {

// A text lexed as the highlighter lexes it: line by line (lines end at LF only), each line a slice
// of the whole text so that token ranges are offsets in the text, the state carried from line to
// line starting from initial. endStates holds the state after every line.
struct LexedText
{
    std::vector<Token> tokens;
    std::vector<LexState> endStates;
};
LexedText lexByLines(const Lexer &lexer, QStringView text, LexState initial = {});

// Checks, over every line of text lexed from initial: tokens are in increasing order, do not
// overlap, have no negative length and lie inside their line; the line copied into an array of its
// own and lexed from the same state gives the same tokens (shifted) and the same end state, so no
// lexer reads outside its slice or depends on where the line sits; lexing the text again gives the
// same tokens and states; from the initial state, Tokenizer::tokenize gives the same tokens.
// Returns an empty string when all of this holds, else a description of the first failure.
std::string contractViolation(const Lexer &lexer, QStringView text, LexState initial = {});

} // namespace plumeo::test
