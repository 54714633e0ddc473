#pragma once

#include "syntax/Lexer.h"

namespace plumeo {

// Unified diffs and patches. Every non-empty line is at most one token, chosen by how the line
// begins; the state is never read or changed, so an edit never re-colours the lines after it.
class DiffLexer final : public Lexer
{
public:
    void tokenize(LineSlice line, LexState &state, std::vector<Token> &tokens) const override;
};

} // namespace plumeo
