#pragma once

#include "syntax/Lexer.h"

namespace plumeo {

// CSS, and with scss set SCSS (also used for Sass and Less files): selectors outside blocks,
// declarations inside them, at-rules, numbers with units, colours, strings and comments; SCSS adds
// line comments, variables and nested blocks.
//
// State: mode 0 outside any block (selector context), 1 inside a block, 2 inside a comment; aux is
// the brace depth in every mode. A line inside a block that holds "{" and no ";" is a nested rule's
// selector line and is lexed in selector context. A comment that spans lines and closes inside a
// block (depth above 0) resumes in block context, so the rest of the block keeps its declarations.
class CSSLexer final : public Lexer
{
public:
    explicit CSSLexer(bool scss = false)
        : scss(scss)
    {}

    void tokenize(LineSlice line, LexState &state, std::vector<Token> &tokens) const override;

    const bool scss;
};

} // namespace plumeo
