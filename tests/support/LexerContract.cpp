#include "support/LexerContract.h"

#include "syntax/Tokenizer.h"

#include <sstream>

#include <QString>

namespace plumeo::test {

namespace {

std::string describe(const Token &token)
{
    std::ostringstream out;
    out << tokenKindName(token.kind) << " [" << token.range.lower << ", " << token.range.upper
        << ')';
    return out.str();
}

std::string describe(const LexState &state)
{
    std::ostringstream out;
    out << "{mode " << int(state.mode) << ", aux " << state.aux << ", inner " << int(state.inner)
        << ", innerAux " << state.innerAux << '}';
    return out.str();
}

} // namespace

LexedText lexByLines(const Lexer &lexer, QStringView text, LexState initial)
{
    LexedText lexed;
    LexState state = initial;
    qsizetype start = 0;
    for (;;) {
        const qsizetype feed = text.indexOf(u'\n', start);
        const qsizetype end = feed < 0 ? text.size() : feed;
        lexer.tokenize(LineSlice::of(text, start, end), state, lexed.tokens);
        lexed.endStates.push_back(state);
        if (feed < 0)
            return lexed;
        start = feed + 1;
    }
}

std::string contractViolation(const Lexer &lexer, QStringView text, LexState initial)
{
    std::vector<Token> whole;
    std::vector<Token> own;
    std::vector<LexState> endStates;
    LexState state = initial;
    qsizetype start = 0;
    for (int line = 1;; ++line) {
        const qsizetype feed = text.indexOf(u'\n', start);
        const qsizetype end = feed < 0 ? text.size() : feed;
        const std::string where = "line " + std::to_string(line) + ": ";
        const LexState before = state;
        const std::size_t first = whole.size();
        lexer.tokenize(LineSlice::of(text, start, end), state, whole);
        endStates.push_back(state);

        qint64 previousEnd = start;
        for (std::size_t i = first; i < whole.size(); ++i) {
            const TokenRange range = whole[i].range;
            if (range.lower < previousEnd)
                return where + describe(whole[i]) + " starts before the end of what precedes it";
            if (range.upper < range.lower)
                return where + describe(whole[i]) + " ends before it starts";
            if (range.upper > end)
                return where + describe(whole[i]) + " runs past the end of its line";
            previousEnd = range.upper;
        }

        // The same line in memory of its own, from the same state.
        const QString copy = text.sliced(start, end - start).toString();
        LexState ownState = before;
        own.clear();
        lexer.tokenize(LineSlice::of(copy), ownState, own);
        if (own.size() != whole.size() - first)
            return where + std::to_string(own.size()) + " tokens as a line of its own, "
                   + std::to_string(whole.size() - first) + " within the text";
        for (std::size_t i = 0; i < own.size(); ++i) {
            const Token shifted{own[i].kind,
                                {own[i].range.lower + start, own[i].range.upper + start}};
            if (!(shifted == whole[first + i]))
                return where + describe(own[i]) + " as a line of its own, "
                       + describe(whole[first + i]) + " within the text";
        }
        if (!(ownState == state))
            return where + "ends in " + describe(ownState) + " as a line of its own, "
                   + describe(state) + " within the text";
        if (feed < 0)
            break;
        start = feed + 1;
    }

    const LexedText again = lexByLines(lexer, text, initial);
    if (again.tokens != whole || again.endStates != endStates)
        return "lexing the same text twice gave different tokens or states";
    if (initial == LexState() && Tokenizer::tokenize(text, lexer) != whole)
        return "Tokenizer::tokenize differs from lexing line by line";
    return {};
}

} // namespace plumeo::test
