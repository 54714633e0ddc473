#pragma once

#include "syntax/LexState.h"
#include "syntax/LineSlice.h"
#include "syntax/Token.h"

#include <vector>

namespace plumeo {

// The contract every lexer fulfils. A lexer is an immutable value shared by every document: it
// keeps nothing between calls except through the state it is handed, and the same line with the
// same state always gives the same tokens and end state.
//
// Tokens are appended in increasing position, never overlap and lie inside the line; gaps are
// uncoloured text. A token may be empty (a comment carried over onto an empty line). There is no
// error path: every line is lexed to its end.
class Lexer
{
public:
    virtual ~Lexer() = default;

    // Appends the tokens of line to tokens (which the caller owns and may reuse, so that lexing
    // allocates nothing per token) and turns state from the state before the line into the state
    // after.
    virtual void tokenize(LineSlice line, LexState &state, std::vector<Token> &tokens) const = 0;

    // Whether the highlighter must also apply fonts and decorations (Markdown), not only colours.
    virtual bool usesFonts() const { return false; }

    // Convenience for tests and tools: the tokens of one line given as its own array.
    std::vector<Token> tokenizeLine(QStringView line, LexState &state) const
    {
        std::vector<Token> tokens;
        tokenize(LineSlice::of(line), state, tokens);
        return tokens;
    }
};

} // namespace plumeo
