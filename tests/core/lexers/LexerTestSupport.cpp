#include "LexerTestSupport.h"

#include <ostream>
#include <sstream>

#include <QStringList>

namespace plumeo::test {

bool isDedicatedLanguage(const QString &name)
{
    static const QStringList names = {"HTML",     "PHP",  "XML",  "CSS", "SCSS",
                                      "Markdown", "YAML", "TOML", "INI", "Diff"};
    return names.contains(name);
}

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

} // namespace plumeo::test
