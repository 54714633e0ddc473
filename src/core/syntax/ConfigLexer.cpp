#include "syntax/ConfigLexer.h"

#include "syntax/LexUnits.h"

namespace plumeo {

using namespace LexUnits;

namespace {

// The configuration constants: true, false, yes, no, on, off, inf, nan (exact case).
bool isConfigConstant(const char16_t *w, qint64 n)
{
    auto is = [&](const char16_t *word, qint64 len) {
        return n == len && startsWith(w, 0, n, word, len);
    };
    switch (n) {
    case 2:
        return is(u"no", 2) || is(u"on", 2);
    case 3:
        return is(u"yes", 3) || is(u"off", 3) || is(u"inf", 3) || is(u"nan", 3);
    case 4:
        return is(u"true", 4);
    case 5:
        return is(u"false", 5);
    default:
        return false;
    }
}

bool endsBareWord(char16_t c)
{
    return isBlank(c) || c == u',' || c == u']' || c == u'}';
}

void scanValue(const char16_t *u, qint64 i, qint64 end, std::vector<Token> &tokens)
{
    while (i < end) {
        const char16_t c = u[i];
        if (isBlank(c)) {
            ++i;
        } else if (c == u'#') {
            tokens.push_back({TokenKind::comment, {i, end}});
            return;
        } else if (c == u'"' || c == u'\'') {
            const bool triple = i + 2 < end && u[i + 1] == c && u[i + 2] == c;
            qint64 close;
            if (triple) {
                const char16_t closer[3] = {c, c, c};
                const qint64 k = find(u, i + 3, end, closer, 3);
                close = k < 0 ? -1 : k + 3;
            } else {
                const qint64 k = findUnit(u, i + 1, end, c);
                close = k < end ? k + 1 : -1;
            }
            if (close < 0) {
                tokens.push_back({TokenKind::string, {i, end}});
                return;
            }
            tokens.push_back({TokenKind::string, {i, close}});
            i = close;
        } else if (c == u',' || c == u'[' || c == u']' || c == u'{' || c == u'}') {
            tokens.push_back({TokenKind::punctuation, {i, i + 1}});
            ++i;
        } else {
            qint64 k = i + 1;
            while (k < end && !endsBareWord(u[k]))
                ++k;
            if (isConfigConstant(u + i, k - i))
                tokens.push_back({TokenKind::constant, {i, k}});
            else if (isDigit(c) || c == u'-' || c == u'+')
                tokens.push_back({TokenKind::number, {i, k}});
            i = k;
        }
    }
}

} // namespace

void ConfigLexer::tokenize(LineSlice line, LexState &, std::vector<Token> &tokens) const
{
    const char16_t *u = line.units;
    const qint64 end = line.upper;
    const qint64 p = firstNonBlank(u, line.lower, end);
    if (p == end)
        return;

    const char16_t c = u[p];
    if (c == u'#' || c == u';') {
        tokens.push_back({TokenKind::comment, {p, end}});
        return;
    }
    if (c == u'[') {
        // "[[bin]]" (a TOML array of tables) is one header; an unclosed header runs to the end.
        qint64 headerEnd = findUnit(u, p, end, u']');
        if (headerEnd < end) {
            ++headerEnd;
            if (headerEnd < end && u[headerEnd] == u']')
                ++headerEnd;
        }
        tokens.push_back({TokenKind::tag, {p, headerEnd}});
        const qint64 hash = findUnit(u, headerEnd, end, u'#');
        if (hash < end)
            tokens.push_back({TokenKind::comment, {hash, end}});
        return;
    }

    qint64 valueStart = p;
    const qint64 equals = findUnit(u, p, end, u'=');
    if (equals < end) {
        // The key is everything before "=", trailing blanks excluded; a line that starts with "="
        // gets an empty key token so that every assignment line has the same shape.
        qint64 keyEnd = equals;
        while (keyEnd > p && isBlank(u[keyEnd - 1]))
            --keyEnd;
        tokens.push_back({TokenKind::property, {p, keyEnd}});
        tokens.push_back({TokenKind::operator_, {equals, equals + 1}});
        valueStart = equals + 1;
    }
    scanValue(u, valueStart, end, tokens);
}

} // namespace plumeo
