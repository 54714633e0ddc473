#include "syntax/Tokenizer.h"

namespace plumeo::Tokenizer {

std::vector<Token> tokenize(QStringView text, const Lexer &lexer)
{
    std::vector<Token> tokens;
    // Source code runs at one token per four to six units. Reserving for one per three makes one
    // allocation enough for nearly any text: regrowing would copy every token so far, while
    // capacity that is never written costs address space only, not memory.
    tokens.reserve(std::size_t(text.size() / 3) + 1);
    LexState state;
    qsizetype lineStart = 0;
    for (;;) {
        const qsizetype lineFeed = text.indexOf(u'\n', lineStart);
        const qsizetype lineEnd = lineFeed < 0 ? text.size() : lineFeed;
        lexer.tokenize(LineSlice::of(text, lineStart, lineEnd), state, tokens);
        if (lineFeed < 0)
            return tokens;
        lineStart = lineFeed + 1;
    }
}

} // namespace plumeo::Tokenizer
