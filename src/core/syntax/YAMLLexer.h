#pragma once

#include "syntax/Lexer.h"

namespace plumeo {

// YAML: document markers, comments, sequence dashes, keys, and the values' tags, strings, anchors,
// aliases, flow brackets, block-scalar indicators, constants and numbers. Every line is decided on
// its own (the lines of a block scalar are lexed as ordinary lines); the state is never read or
// changed.
class YAMLLexer final : public Lexer
{
public:
    void tokenize(LineSlice line, LexState &state, std::vector<Token> &tokens) const override;
};

} // namespace plumeo
