#include "syntax/Tokenizer.h"

namespace plumeo::Tokenizer {

std::vector<Token> tokenize(QStringView text, const Lexer &lexer)
{
    std::vector<Token> tokens;
    // Source text runs at about one token per five units; starting near that spares most of the
    // regrowth copies of a large text.
    tokens.reserve(std::size_t(text.size() / 5) + 1);
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
