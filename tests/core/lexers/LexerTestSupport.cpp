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

// The escaping of the golden dumps: surrogate pairs kept whole, quotes and backslashes escaped,
// tab and CR by name, other control units and lone surrogates by code.
QString escaped(QStringView text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        const bool pair = QChar::isHighSurrogate(u) && i + 1 < text.size()
                          && QChar::isLowSurrogate(text[i + 1].unicode());
        if (pair) {
            out += text.mid(i, 2);
            ++i;
        } else if (u == u'\\' || u == u'"') {
            out += u'\\' + QChar(u);
        } else if (u == u'\t') {
            out += QStringLiteral("\\t");
        } else if (u == u'\r') {
            out += QStringLiteral("\\r");
        } else if (u < 0x20 || QChar::isSurrogate(u) || u == 0x7F) {
            out += QStringLiteral("\\u{%1}").arg(int(u), 4, 16, QLatin1Char('0'));
        } else {
            out += QChar(u);
        }
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
    const std::vector<Token> tokens = lexText(lexer, text);
    QString out;
    size_t next = 0;
    qsizetype start = 0;
    for (int number = 1;; ++number) {
        const qsizetype feed = text.indexOf(u'\n', start);
        const qsizetype end = feed < 0 ? text.size() : feed;
        if (feed >= 0 || start < end)
            out += QStringLiteral("# %1: %2\n")
                       .arg(number)
                       .arg(escaped(text.sliced(start, end - start)));
        while (next < tokens.size() && tokens[next].range.lower <= end
               && (tokens[next].range.lower < end || tokens[next].range.isEmpty())) {
            const Token &token = tokens[next++];
            out += QStringLiteral("%1 %2..%3 \"%4\"\n")
                       .arg(QString::fromLatin1(tokenKindName(token.kind)))
                       .arg(token.range.lower)
                       .arg(token.range.upper)
                       .arg(escaped(text.sliced(token.range.lower, token.range.length())));
        }
        if (feed < 0)
            break;
        start = feed + 1;
    }
    return out;
}

} // namespace plumeo::test
