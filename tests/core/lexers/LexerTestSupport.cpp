#include "LexerTestSupport.h"

#include <ostream>
#include <sstream>

namespace plumeo::test {

void PrintTo(const Lexed &lexed, std::ostream *os)
{
    *os << tokenKindName(lexed.kind) << " \"" << lexed.text.toStdString() << '"';
}

std::vector<Lexed> lexLine(const Lexer &lexer, const QString &line, LexState &state)
{
    std::vector<Lexed> out;
    for (const Token &t : lexer.tokenizeLine(line, state))
        out.push_back({t.kind, line.mid(t.range.lower, t.range.length())});
    return out;
}

std::vector<Lexed> lexLine(const Lexer &lexer, const QString &line)
{
    LexState state;
    return lexLine(lexer, line, state);
}

std::vector<Token> lexText(const Lexer &lexer, QStringView text, std::vector<LexState> *endStates)
{
    std::vector<Token> tokens;
    LexState state;
    qint64 lineStart = 0;
    for (qint64 i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\n')
            continue;
        lexer.tokenize(LineSlice::of(text, lineStart, i), state, tokens);
        if (endStates)
            endStates->push_back(state);
        lineStart = i + 1;
    }
    return tokens;
}

namespace {

std::string describe(const Token &t)
{
    std::ostringstream s;
    s << tokenKindName(t.kind) << " [" << t.range.lower << ", " << t.range.upper << ")";
    return s.str();
}

std::string describe(const LexState &s)
{
    std::ostringstream o;
    o << "mode " << int(s.mode) << " aux " << s.aux << " inner " << int(s.inner) << " innerAux "
      << s.innerAux;
    return o.str();
}

QString escaped(QStringView text)
{
    QString out;
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'\\')
            out += u"\\\\";
        else if (c == u'"')
            out += u"\\\"";
        else if (c == u'\t')
            out += u"\\t";
        else if (c == u'\r')
            out += u"\\r";
        else if (c < 0x20 || c == 0x7F)
            out += QString::asprintf("\\u%04X", unsigned(c));
        else
            out += ch;
    }
    return out;
}

} // namespace

std::string checkInvariants(const Lexer &lexer, QStringView text)
{
    std::vector<LexState> states;
    const std::vector<Token> whole = lexText(lexer, text, &states);
    std::vector<LexState> statesAgain;
    if (lexText(lexer, text, &statesAgain) != whole || statesAgain != states)
        return "lexing the same text twice gave different results";

    std::vector<Token> lineTokens;
    size_t next = 0;
    qint64 lineStart = 0;
    size_t line = 0;
    LexState state;
    for (qint64 i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\n')
            continue;
        // The same line as an array of its own, from the state stored for the line before.
        const QString own = text.mid(lineStart, i - lineStart).toString();
        lineTokens.clear();
        lexer.tokenize(LineSlice::of(own), state, lineTokens);
        qint64 previousEnd = 0;
        for (const Token &t : lineTokens) {
            const std::string where = "line " + std::to_string(line + 1) + ": " + describe(t);
            if (t.range.lower < previousEnd || t.range.upper < t.range.lower)
                return where + " is out of order or overlaps the token before";
            if (t.range.upper > own.size())
                return where + " leaves its line";
            previousEnd = t.range.upper;
            if (next >= whole.size())
                return where + " is missing when the whole text is lexed";
            const Token shifted{t.kind, {t.range.lower + lineStart, t.range.upper + lineStart}};
            if (whole[next] != shifted)
                return where + " differs from the whole-text token " + describe(whole[next]);
            ++next;
        }
        if (!(state == states[line]))
            return "line " + std::to_string(line + 1) + " ends in " + describe(state)
                   + " alone but in " + describe(states[line]) + " within the text";
        ++line;
        lineStart = i + 1;
    }
    if (next != whole.size())
        return "the whole text has more tokens than its lines";
    return {};
}

QString dump(const Lexer &lexer, QStringView text)
{
    QString out;
    LexState state;
    std::vector<Token> tokens;
    qint64 lineStart = 0;
    int number = 1;
    for (qint64 i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\n')
            continue;
        tokens.clear();
        lexer.tokenize(LineSlice::of(text, lineStart, i), state, tokens);
        out += QString::asprintf("%d: \"", number) + escaped(text.mid(lineStart, i - lineStart))
               + QStringLiteral("\"\n");
        for (const Token &t : tokens) {
            out += QString::asprintf("  %lld-%lld %s \"", t.range.lower - lineStart,
                                     t.range.upper - lineStart, tokenKindName(t.kind))
                   + escaped(text.mid(t.range.lower, t.range.length())) + QStringLiteral("\"\n");
        }
        if (!(state == LexState()))
            out += QString::fromStdString("  -> " + describe(state) + "\n");
        lineStart = i + 1;
        ++number;
    }
    return out;
}

} // namespace plumeo::test
