#pragma once

#include "syntax/Lexer.h"

namespace plumeo {

// Drives the live Markdown formatting: block constructs decided from a line's first non-blank unit
// (fences, quotes, ATX headings, breaks, HTML comments, bullets, task boxes, ordered markers) and,
// in ordinary text, inline constructs (emphasis, strong, strikethrough, code spans, links and
// images, autolinks and tags, backslash escapes, table pipes). Tokens cover the markup together
// with its content, because the highlighter styles and may hide the markup.
//
// State: mode 0 normal; 1 inside a fenced block (aux = catalogue position of the fence's language +
// 1, or 0; inner = that language lexer's mode at the end of the previous line; innerAux = fence
// length in its low byte, plus 256 for a tilde fence); 2 inside an HTML comment. Only the embedded
// lexer's mode survives from line to line: its aux restarts at 0 on every line.
class MarkdownLexer final : public Lexer
{
public:
    void tokenize(LineSlice line, LexState &state, std::vector<Token> &tokens) const override;
    bool usesFonts() const override { return true; }
};

} // namespace plumeo
