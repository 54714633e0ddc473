#pragma once

#include "syntax/Lexer.h"

namespace plumeo {

// HTML, XML and PHP files: text with character references, tags with their attributes, comments,
// declarations, and three kinds of embedded code handed to other lexers on the same line: script
// elements (the JavaScript rules), style elements (CSSLexer) and, when allowsPHP, PHP blocks (the
// PHP rules). XML uses allowsPHP false, so "<?xml ...?>" is not taken for PHP.
//
// State: mode 0 text; 1 inside a tag after its name (aux 1 for script, 2 for style, else 0); 2
// inside a comment; 3 inside a script element, 4 a style element, 5 a PHP block (inner and innerAux
// carry the embedded lexer's mode and aux); 6 inside a quoted attribute value (aux: the quote in
// its low byte, the tag's aux in its high byte).
class HTMLLexer final : public Lexer
{
public:
    explicit HTMLLexer(bool allowsPHP = true)
        : allowsPHP(allowsPHP)
    {}

    void tokenize(LineSlice line, LexState &state, std::vector<Token> &tokens) const override;

    const bool allowsPHP;

private:
    qint64 lexText(
        const char16_t *u, qint64 i, qint64 end, LexState &state, std::vector<Token> &tokens) const;
};

} // namespace plumeo
