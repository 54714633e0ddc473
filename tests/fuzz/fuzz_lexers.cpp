// Feeds arbitrary lines to every registered lexer and checks the lexer contract: tokens inside
// their line, increasing and non-overlapping; the same line and state give the same tokens and end
// state, wherever the line sits in memory; lexing the whole text equals lexing it line by line.
//
// Input: the first byte picks the lexer; then each byte below 0xF0 is one unit (ASCII and Latin-1),
// and a byte from 0xF0 up takes the next two bytes as any 16-bit unit, lone surrogates included.
//   build-fuzz/tests/fuzz/fuzz_lexers -max_total_time=600 -timeout=5 corpus/
#include "syntax/Lexers.h"
#include "syntax/Tokenizer.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include <QString>

using namespace plumeo;

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

QString decode(const std::uint8_t *data, std::size_t size)
{
    QString text;
    text.reserve(qsizetype(size));
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] < 0xF0 || i + 2 >= size) {
            text += QChar(char16_t(data[i]));
        } else {
            text += QChar(char16_t(data[i + 1] << 8 | data[i + 2]));
            i += 2;
        }
    }
    return text;
}

void checkLine(const std::vector<Token> &tokens, std::size_t first, LineSlice line)
{
    qint64 previous = line.lower;
    for (std::size_t i = first; i < tokens.size(); ++i) {
        check(previous <= tokens[i].range.lower);
        check(tokens[i].range.lower <= tokens[i].range.upper);
        check(tokens[i].range.upper <= line.upper);
        previous = tokens[i].range.upper;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::vector<Lexers::Registration> &table = Lexers::table();
    if (size == 0 || table.empty())
        return 0;
    const Lexer &lexer = *table[data[0] % table.size()].lexer;
    const QString text = decode(data + 1, size - 1);

    std::vector<Token> byLine;
    LexState state;
    qsizetype start = 0;
    for (;;) {
        const qsizetype feed = text.indexOf(u'\n', start);
        const qsizetype end = feed < 0 ? text.size() : feed;
        const LineSlice slice = LineSlice::of(text, start, end);
        const LexState before = state;
        const std::size_t first = byLine.size();
        lexer.tokenize(slice, state, byLine);
        checkLine(byLine, first, slice);

        // The line again, as an array of its own: the same tokens at line offsets, the same state.
        const QString own = text.mid(start, end - start);
        LexState again = before;
        const std::vector<Token> tokens = lexer.tokenizeLine(own, again);
        check(again == state);
        check(tokens.size() == byLine.size() - first);
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            check(tokens[i].kind == byLine[first + i].kind);
            check(tokens[i].range.lower + start == byLine[first + i].range.lower);
            check(tokens[i].range.upper + start == byLine[first + i].range.upper);
        }
        if (feed < 0)
            break;
        start = feed + 1;
    }
    check(Tokenizer::tokenize(text, lexer) == byLine);
    return 0;
}
