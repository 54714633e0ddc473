#include "syntax/CSSLexer.h"

#include "syntax/LexUnits.h"

namespace plumeo {

using namespace LexUnits;

namespace {

enum Mode : quint8 { selectors = 0, block = 1, comment = 2 };

// A line inside a block that opens a brace without ending a declaration is a nested rule's
// selector.
bool isSelectorLine(const char16_t *u, qint64 start, qint64 end)
{
    bool brace = false;
    for (qint64 i = start; i < end; ++i) {
        if (u[i] == u';')
            return false;
        brace = brace || u[i] == u'{';
    }
    return brace;
}

qint64 nameEnd(const char16_t *u, qint64 i, qint64 end)
{
    while (i < end && isNameUnit(u[i]))
        ++i;
    return i;
}

bool isCSSOperator(char16_t c)
{
    return c == u'&' || c == u'*' || c == u'+' || c == u'/' || c == u'=' || c == u'>' || c == u'~';
}

} // namespace

void CSSLexer::tokenize(LineSlice line, LexState &state, std::vector<Token> &tokens) const
{
    const char16_t *u = line.units;
    const qint64 start = line.lower;
    const qint64 end = line.upper;
    if (start == end)
        return;

    bool inBlock = state.mode == block && !isSelectorLine(u, start, end);
    qint64 i = start;
    UnitFinder closingParenthesis(u')');

    if (state.mode == comment) {
        const qint64 k = find(u, start, end, u"*/");
        if (k < 0) {
            tokens.push_back({TokenKind::comment, {start, end}});
            return;
        }
        tokens.push_back({TokenKind::comment, {start, k + 2}});
        // Inside a block the comment gives way to the block's declarations again (the depth says
        // whether there is a block); at depth 0 it gives way to selectors.
        if (state.aux > 0) {
            state.mode = block;
            inBlock = !isSelectorLine(u, start, end);
        } else {
            state.mode = selectors;
            inBlock = false;
        }
        i = k + 2;
    }

    while (i < end) {
        const char16_t c = u[i];
        const char16_t next = i + 1 < end ? u[i + 1] : u'\0';
        if (isBlank(c)) {
            ++i;
        } else if (c == u'/' && next == u'*') {
            const qint64 k = find(u, i + 2, end, u"*/");
            if (k < 0) {
                tokens.push_back({TokenKind::comment, {i, end}});
                state.mode = comment;
                return;
            }
            tokens.push_back({TokenKind::comment, {i, k + 2}});
            i = k + 2;
        } else if (scss && c == u'/' && next == u'/') {
            tokens.push_back({TokenKind::comment, {i, end}});
            return;
        } else if (c == u'"' || c == u'\'') {
            const qint64 k = findUnit(u, i + 1, end, c);
            const qint64 stop = k < end ? k + 1 : end;
            tokens.push_back({TokenKind::string, {i, stop}});
            i = stop;
        } else if (c == u',' || c == u';') {
            tokens.push_back({TokenKind::punctuation, {i, i + 1}});
            ++i;
        } else if (c == u'{') {
            tokens.push_back({TokenKind::punctuation, {i, i + 1}});
            // The depth saturates rather than wrapping to 0 on absurd input.
            if (state.aux < 0xFFFF)
                ++state.aux;
            inBlock = true;
            state.mode = block;
            ++i;
        } else if (c == u'}') {
            tokens.push_back({TokenKind::punctuation, {i, i + 1}});
            if (state.aux > 0)
                --state.aux;
            if (state.aux == 0 || !scss) {
                inBlock = false;
                state.mode = selectors;
            } else {
                inBlock = true;
                state.mode = block;
            }
            ++i;
        } else if (c == u':' && inBlock) {
            tokens.push_back({TokenKind::punctuation, {i, i + 1}});
            ++i;
        } else if (c == u'@') {
            const qint64 k = nameEnd(u, i + 1, end);
            tokens.push_back({TokenKind::keyword, {i, k}});
            i = k;
        } else if (scss && c == u'$') {
            const qint64 k = nameEnd(u, i + 1, end);
            tokens.push_back({TokenKind::variable, {i, k}});
            i = k;
        } else if (c == u'!' && startsWith(u, i, end, u"!important")) {
            tokens.push_back({TokenKind::keyword, {i, i + 10}});
            i += 10;
        } else if (c == u'#') {
            const qint64 k = nameEnd(u, i + 1, end);
            tokens.push_back({inBlock ? TokenKind::number : TokenKind::attribute, {i, k}});
            i = k;
        } else if (isDigit(c) || ((c == u'-' || c == u'.') && isDigit(next))) {
            qint64 k = i + 1;
            while (k < end && (isDigit(u[k]) || u[k] == u'.'))
                ++k;
            while (k < end && (isLetter(u[k]) || u[k] == u'%'))
                ++k;
            tokens.push_back({TokenKind::number, {i, k}});
            i = k;
        } else if (c == u'.' && !inBlock) {
            const qint64 k = nameEnd(u, i + 1, end);
            tokens.push_back({TokenKind::type, {i, k}});
            i = k;
        } else if (c == u'[' && !inBlock) {
            const qint64 k = findUnit(u, i + 1, end, u']');
            const qint64 stop = k < end ? k + 1 : end;
            tokens.push_back({TokenKind::attributeName, {i, stop}});
            i = stop;
        } else if (c == u':') {
            // Outside a block: a pseudo-class or pseudo-element, with its argument when it has one.
            qint64 k = i + 1;
            while (k < end && (isNameUnit(u[k]) || u[k] == u':'))
                ++k;
            if (k < end && u[k] == u'(') {
                const qint64 close = closingParenthesis.find(u, k + 1, end);
                if (close < end)
                    k = close + 1;
            }
            tokens.push_back({TokenKind::attributeName, {i, k}});
            i = k;
        } else if (isLetter(c) || c == u'_' || c == u'-') {
            const qint64 k = nameEnd(u, i + 1, end);
            const qint64 n = firstNonBlank(u, k, end);
            const char16_t after = n < end ? u[n] : u'\0';
            TokenKind kind;
            if (after == u'(')
                kind = TokenKind::function;
            else if (inBlock)
                kind = after == u':' ? TokenKind::property : TokenKind::constant;
            else
                kind = TokenKind::tag;
            tokens.push_back({kind, {i, k}});
            i = k;
        } else if (isCSSOperator(c)) {
            tokens.push_back({TokenKind::operator_, {i, i + 1}});
            ++i;
        } else {
            ++i;
        }
    }
}

} // namespace plumeo
