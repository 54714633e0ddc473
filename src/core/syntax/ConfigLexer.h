#pragma once

#include "syntax/Lexer.h"

namespace plumeo {

// TOML and INI files: comments, section headers, "key = value" lines and the values' strings,
// brackets, numbers and constant words. Every line is decided on its own; the state is never read
// or changed, so a triple-quoted string that spans lines is coloured on its first line only.
class ConfigLexer final : public Lexer
{
public:
    void tokenize(LineSlice line, LexState &state, std::vector<Token> &tokens) const override;
};

} // namespace plumeo
