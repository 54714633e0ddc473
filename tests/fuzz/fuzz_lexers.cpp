// Feeds arbitrary text to every registered lexer and checks the lexer contract (tests/support).
//
// Input: the first byte picks the lexer; then each byte below 0xF0 is one unit (ASCII and Latin-1),
// and a byte from 0xF0 up takes the next two bytes as any 16-bit unit, lone surrogates included.
//   build-fuzz/tests/fuzz/fuzz_lexers -max_total_time=600 -timeout=5 corpus/
#include "support/LexerContract.h"
#include "syntax/Lexers.h"

#include <cstdint>
#include <cstdio>

#include <QString>

using namespace plumeo;

namespace {

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::vector<Lexers::Registration> &table = Lexers::table();
    if (size == 0 || table.empty())
        return 0;
    const Lexers::Registration &entry = table[data[0] % table.size()];
    const std::string violation = test::contractViolation(*entry.lexer, decode(data + 1, size - 1));
    if (!violation.empty()) {
        std::fprintf(stderr, "%s lexer: %s\n", qPrintable(entry.name), violation.c_str());
        __builtin_trap();
    }
    return 0;
}
