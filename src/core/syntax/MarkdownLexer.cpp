#include "syntax/MarkdownLexer.h"

#include "syntax/FenceLanguages.h"
#include "syntax/LexUnits.h"

namespace plumeo {

using namespace LexUnits;

namespace {

enum Mode : quint8 { normal = 0, fenced = 1, htmlComment = 2 };
constexpr quint16 tildeFence = 256;

// The run of backquotes or tildes at i, else 0.
qint64 fenceLength(const char16_t *u, qint64 i, qint64 end)
{
    if (i >= end || (u[i] != u'`' && u[i] != u'~'))
        return 0;
    const char16_t c = u[i];
    qint64 k = i + 1;
    while (k < end && u[k] == c)
        ++k;
    return k - i;
}

// A thematic break: only one of "*", "-", "_" and blanks from i on, the character at least 3 times.
bool isRule(const char16_t *u, qint64 i, qint64 end)
{
    const char16_t c = u[i];
    if (c != u'*' && c != u'-' && c != u'_')
        return false;
    int count = 0;
    for (qint64 k = i; k < end; ++k) {
        if (u[k] == c)
            ++count;
        else if (!isBlank(u[k]))
            return false;
    }
    return count >= 3;
}

bool isBlankOrNul(char16_t c)
{
    return isBlank(c) || c == u'\0';
}

// Units that may start an inline construct; every other unit is passed over at once.
constexpr bool isInlineSpecial(char16_t c)
{
    switch (c) {
    case u'\\':
    case u'`':
    case u'*':
    case u'_':
    case u'~':
    case u'<':
    case u'[':
    case u'!':
    case u'|':
        return true;
    default:
        return false;
    }
}

// The first n-unit run of c (as a pattern: inside a longer run too) starting in [from, end - n].
qint64 findRun(const char16_t *u, qint64 from, qint64 end, char16_t c, qint64 n)
{
    qint64 run = 0;
    for (qint64 k = from; k < end; ++k) {
        run = u[k] == c ? run + 1 : 0;
        if (run == n)
            return k - n + 1;
    }
    return -1;
}

void scanInline(const char16_t *u, qint64 i, qint64 end, std::vector<Token> &tokens)
{
    UnitFinder greater(u'>'), bracket(u']'), parenthesis(u')');
    while (i < end) {
        const char16_t c = u[i];
        if (!isInlineSpecial(c)) {
            ++i;
            continue;
        }
        switch (c) {
        case u'\\':
            if (i + 1 < end) {
                tokens.push_back({TokenKind::escape, {i, i + 2}});
                i += 2;
            } else {
                ++i;
            }
            break;
        case u'`': {
            const qint64 n = fenceLength(u, i, end);
            const qint64 k = findRun(u, i + n, end, u'`', n);
            if (k < 0) {
                i += n;
            } else {
                tokens.push_back({TokenKind::codeSpan, {i, k + n}});
                i = k + n;
            }
            break;
        }
        case u'*':
        case u'_': {
            const qint64 length = i + 1 < end && u[i + 1] == c ? 2 : 1;
            const qint64 j = i + length;
            if (j >= end)
                return;
            if (isBlankOrNul(u[j]) || u[j] == c) {
                i = j;
                break;
            }
            const qint64 k = findRun(u, j, end, c, length);
            if (k < 0 || isBlank(u[k - 1])) {
                i = j;
                break;
            }
            tokens.push_back(
                {length == 2 ? TokenKind::strong : TokenKind::emphasis, {i, k + length}});
            i = k + length;
            break;
        }
        case u'~': {
            if (i + 1 >= end || u[i + 1] != u'~') {
                ++i;
                break;
            }
            if (i + 2 >= end || isBlankOrNul(u[i + 2]) || u[i + 2] == u'~') {
                i += 2;
                break;
            }
            const qint64 k = findRun(u, i + 2, end, u'~', 2);
            if (k >= 0 && !isBlankOrNul(u[k - 1])) {
                tokens.push_back({TokenKind::strikethrough, {i, k + 2}});
                i = k + 2;
            } else {
                i += 2;
            }
            break;
        }
        case u'<': {
            const qint64 k = greater.find(u, i + 1, end);
            if (k == end) {
                ++i;
                break;
            }
            const bool autolink = find(u, i + 1, k, u"://") >= 0 || findUnit(u, i + 1, k, u'@') < k;
            if (autolink)
                tokens.push_back({TokenKind::link, {i, k + 1}});
            else if (i + 1 < k && (isLetter(u[i + 1]) || u[i + 1] == u'/'))
                tokens.push_back({TokenKind::tag, {i, k + 1}});
            i = k + 1;
            break;
        }
        case u'!':
        case u'[': {
            const qint64 open = c == u'!' ? i + 1 : i;
            if (open >= end || u[open] != u'[') {
                ++i; // a "!" that starts no image
                break;
            }
            const qint64 b = bracket.find(u, open + 1, end);
            if (b == end) {
                ++i;
                break;
            }
            tokens.push_back({TokenKind::link, {i, b + 1}});
            const qint64 a = b + 1;
            const char16_t after = a < end ? u[a] : u'\0';
            qint64 close = end;
            if (after == u'(')
                close = parenthesis.find(u, a + 1, end);
            else if (after == u'[')
                close = bracket.find(u, a + 1, end);
            if (close < end) {
                tokens.push_back({TokenKind::meta, {a, close + 1}});
                i = close + 1;
            } else {
                i = b + 1;
            }
            break;
        }
        case u'|':
            tokens.push_back({TokenKind::punctuation, {i, i + 1}});
            ++i;
            break;
        }
    }
}

// Inside a fenced block: the closing fence, or a body line.
void lexFencedLine(const char16_t *u,
                   qint64 start,
                   qint64 p,
                   qint64 end,
                   LexState &state,
                   std::vector<Token> &tokens)
{
    const qint64 run = fenceLength(u, p, end);
    const char16_t fenceUnit = (state.innerAux & tildeFence) ? u'~' : u'`';
    if (run >= 1 && run >= (state.innerAux & 0xFF) && u[p] == fenceUnit) {
        state = LexState();
        tokens.push_back({TokenKind::meta, {start, end}});
        return;
    }
    if (state.aux != 0) {
        if (const Lexer *lexer = FenceLanguages::lexerAt(qint64(state.aux) - 1)) {
            LexState own{state.inner, 0, 0, 0};
            lexer->tokenize(LineSlice{u, start, end}, own, tokens);
            state.inner = own.mode;
            return;
        }
    }
    if (start < end)
        tokens.push_back({TokenKind::codeSpan, {start, end}});
}

// An opening fence of run units at p: its marker, its info word, and the new state.
void openFence(const char16_t *u,
               qint64 start,
               qint64 p,
               qint64 run,
               qint64 end,
               LexState &state,
               std::vector<Token> &tokens)
{
    const qint64 wordStart = firstNonBlank(u, p + run, end);
    qint64 wordEnd = wordStart;
    while (wordEnd < end && !isBlank(u[wordEnd]))
        ++wordEnd;
    std::optional<quint16> index;
    if (wordEnd > wordStart)
        index = FenceLanguages::indexForFence(u + wordStart, wordEnd - wordStart);
    state.mode = fenced;
    state.aux = index ? quint16(*index + 1) : 0;
    state.inner = 0;
    state.innerAux = quint16((run & 0xFF) + (u[p] == u'~' ? tildeFence : 0));
    tokens.push_back({TokenKind::meta, {start, wordStart}});
    if (wordEnd > wordStart)
        tokens.push_back({TokenKind::attribute, {wordStart, wordEnd}});
}

bool isHeading(const char16_t *u, qint64 p, qint64 end)
{
    qint64 k = p;
    while (k < end && u[k] == u'#')
        ++k;
    const qint64 run = k - p;
    if (k == end)
        return run < 7;
    return run <= 6 && isBlank(u[k]);
}

} // namespace

void MarkdownLexer::tokenize(LineSlice line, LexState &state, std::vector<Token> &tokens) const
{
    const char16_t *u = line.units;
    const qint64 start = line.lower;
    const qint64 end = line.upper;
    const qint64 p = firstNonBlank(u, start, end);

    if (state.mode == htmlComment) {
        const qint64 k = find(u, start, end, u"-->");
        if (k < 0) {
            // An empty line inside a comment still gets its (empty) comment token.
            tokens.push_back({TokenKind::comment, {start, end}});
            return;
        }
        state.mode = normal;
        tokens.push_back({TokenKind::comment, {start, k + 3}});
        scanInline(u, k + 3, end, tokens);
        return;
    }
    if (state.mode == fenced) {
        lexFencedLine(u, start, p, end, state, tokens);
        return;
    }

    if (p == end)
        return;
    const char16_t c = u[p];
    if (const qint64 run = fenceLength(u, p, end); run >= 3) {
        openFence(u, start, p, run, end, state, tokens);
        return;
    }
    if (c == u'>') {
        tokens.push_back({TokenKind::quote, {start, end}});
        return;
    }
    if (c == u'#' && isHeading(u, p, end)) {
        tokens.push_back({TokenKind::heading, {start, end}});
        return;
    }
    if (isRule(u, p, end)) {
        tokens.push_back({TokenKind::meta, {start, end}});
        return;
    }
    if (startsWith(u, p, end, u"<!--")) {
        const qint64 k = find(u, p + 4, end, u"-->");
        if (k < 0) {
            state.mode = htmlComment;
            tokens.push_back({TokenKind::comment, {p, end}});
            return;
        }
        tokens.push_back({TokenKind::comment, {p, k + 3}});
        scanInline(u, k + 3, end, tokens);
        return;
    }
    if ((c == u'*' || c == u'+' || c == u'-') && p + 1 < end && isBlank(u[p + 1])) {
        tokens.push_back({TokenKind::listMarker, {p, p + 1}});
        const qint64 q = firstNonBlank(u, p + 1, end);
        if (q + 3 < end && u[q] == u'[' && u[q + 2] == u']' && isBlank(u[q + 3])) {
            tokens.push_back({TokenKind::meta, {q, q + 3}});
            scanInline(u, firstNonBlank(u, q + 3, end), end, tokens);
        } else {
            scanInline(u, q, end, tokens);
        }
        return;
    }
    if (isDigit(c)) {
        qint64 k = p + 1;
        while (k < end && isDigit(u[k]))
            ++k;
        if (k < end && (u[k] == u'.' || u[k] == u')') && k + 1 < end && isBlank(u[k + 1])
            && k - p <= 9) {
            tokens.push_back({TokenKind::listMarker, {p, k + 1}});
            scanInline(u, firstNonBlank(u, k + 1, end), end, tokens);
            return;
        }
    }
    scanInline(u, p, end, tokens);
}

} // namespace plumeo
