#include "editing/BracketMatcher.h"

#include "syntax/Lexer.h"
#include "syntax/LineSlice.h"

#include <algorithm>

namespace plumeo {

namespace {

// The bracket's partner character, and +1 for an opening bracket, -1 for a closing one; 0 when c
// is no bracket.
struct BracketKind
{
    char16_t partner = 0;
    int direction = 0;
};

BracketKind bracketKind(QChar c)
{
    switch (c.unicode()) {
    case u'(':
        return {u')', 1};
    case u'[':
        return {u']', 1};
    case u'{':
        return {u'}', 1};
    case u')':
        return {u'(', -1};
    case u']':
        return {u'[', -1};
    case u'}':
        return {u'{', -1};
    default:
        return {};
    }
}

// Whether offset lies in one of ranges (ascending, not overlapping).
bool isIgnored(const std::vector<TokenRange> &ranges, qsizetype offset)
{
    const auto after =
        std::upper_bound(ranges.begin(), ranges.end(), offset,
                         [](qsizetype o, const TokenRange &r) { return o < r.lower; });
    return after != ranges.begin() && offset < std::prev(after)->upper;
}

std::optional<qsizetype> partnerOf(QStringView text,
                                   qsizetype bracket,
                                   const std::vector<TokenRange> &ignored,
                                   qsizetype distance)
{
    const BracketKind kind = bracketKind(text[bracket]);
    const bool inside = isIgnored(ignored, bracket);
    const qsizetype limit = kind.direction > 0 ? std::min(text.size() - 1, bracket + distance)
                                               : std::max<qsizetype>(0, bracket - distance);
    // Open brackets met on the way, innermost last: the partner must close the innermost.
    QString pending(1, text[bracket]);
    for (qsizetype i = bracket + kind.direction; kind.direction > 0 ? i <= limit : i >= limit;
         i += kind.direction) {
        const BracketKind other = bracketKind(text[i]);
        if (other.direction == 0 || isIgnored(ignored, i) != inside)
            continue;
        if (other.direction == kind.direction) {
            pending.append(text[i]);
            continue;
        }
        if (other.partner != pending.back())
            return std::nullopt;
        pending.chop(1);
        if (pending.isEmpty())
            return i;
    }
    return std::nullopt;
}

} // namespace

std::optional<BracketMatcher::Match> BracketMatcher::find(QStringView text,
                                                          qsizetype caret,
                                                          const std::vector<TokenRange> &ignored,
                                                          qsizetype distance)
{
    if (caret < 0 || caret > text.size())
        return std::nullopt;
    for (const qsizetype at : {caret, caret - 1}) {
        if (at < 0 || at >= text.size() || bracketKind(text[at]).direction == 0)
            continue;
        if (const std::optional<qsizetype> partner = partnerOf(text, at, ignored, distance))
            return Match{at, *partner};
        return std::nullopt;
    }
    return std::nullopt;
}

std::vector<TokenRange>
BracketMatcher::stringsAndComments(QStringView text, const Lexer &lexer, LexState state)
{
    std::vector<TokenRange> ranges;
    std::vector<Token> tokens;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        tokens.clear();
        lexer.tokenize(LineSlice::of(text, start, end), state, tokens);
        for (const Token &token : tokens) {
            if (token.range.isEmpty()
                || (token.kind != TokenKind::string && token.kind != TokenKind::escape
                    && token.kind != TokenKind::comment))
                continue;
            const TokenRange range = token.range;
            if (!ranges.empty() && ranges.back().upper >= range.lower)
                ranges.back().upper = std::max(ranges.back().upper, range.upper);
            else
                ranges.push_back(range);
        }
        start = end + 1;
    }
    return ranges;
}

} // namespace plumeo
