#include "syntax/YAMLLexer.h"

#include "syntax/LexUnits.h"
#include "syntax/YAMLNumber.h"

namespace plumeo {

using namespace LexUnits;

namespace {

// The 14 YAML constants, compared exactly: true, false, null, yes, no, on, off, ~ and the
// capitalised and upper-case forms of true, false and null.
bool isYAMLConstant(const char16_t *w, qint64 n)
{
    auto is = [&](const char16_t *word) {
        return startsWith(w, 0, n, word, n) && word[n] == u'\0';
    };
    switch (n) {
    case 1:
        return w[0] == u'~';
    case 2:
        return is(u"no") || is(u"on");
    case 3:
        return is(u"yes") || is(u"off");
    case 4:
        return is(u"true") || is(u"null") || is(u"True") || is(u"Null") || is(u"TRUE")
               || is(u"NULL");
    case 5:
        return is(u"false") || is(u"False") || is(u"FALSE");
    default:
        return false;
    }
}

bool endsBareWord(char16_t c)
{
    return isBlank(c) || c == u',' || c == u'}' || c == u']';
}

// The key at p, if any: emits it and its colon and returns where the value starts; returns p (and
// emits nothing) when the line has no key there. A "#" after a blank starts a comment wherever it
// is, the first unit after a list marker included ("- # note: x" has no key), so the blank before
// it may lie before p, though never before lineStart.
qint64
scanKey(const char16_t *u, qint64 lineStart, qint64 p, qint64 end, std::vector<Token> &tokens)
{
    const char16_t c = u[p];
    if (c == u'"' || c == u'\'') {
        const qint64 close = findUnit(u, p + 1, end, c);
        if (close + 1 < end && u[close + 1] == u':') {
            tokens.push_back({TokenKind::property, {p, close + 1}});
            tokens.push_back({TokenKind::punctuation, {close + 1, close + 2}});
            return firstNonBlank(u, close + 2, end);
        }
        return p;
    }
    for (qint64 i = p; i < end; ++i) {
        if (u[i] == u'#' && i > lineStart && isBlank(u[i - 1]))
            return p;
        if (u[i] == u':' && (i + 1 == end || isBlank(u[i + 1]))) {
            tokens.push_back({TokenKind::property, {p, i}});
            tokens.push_back({TokenKind::punctuation, {i, i + 1}});
            return firstNonBlank(u, i + 1, end);
        }
    }
    return p;
}

void scanValue(const char16_t *u, qint64 i, qint64 end, std::vector<Token> &tokens)
{
    while (i < end) {
        const char16_t c = u[i];
        if (isBlank(c)) {
            ++i;
        } else if (c == u'!') {
            qint64 k = i + 1;
            while (k < end && !isBlank(u[k]))
                ++k;
            tokens.push_back({TokenKind::attribute, {i, k}});
            i = k;
        } else if (c == u'"' || c == u'\'') {
            const qint64 k = findUnit(u, i + 1, end, c);
            if (k == end) {
                tokens.push_back({TokenKind::string, {i, end}});
                return;
            }
            tokens.push_back({TokenKind::string, {i, k + 1}});
            i = k + 1;
        } else if (c == u'#') {
            tokens.push_back({TokenKind::comment, {i, end}});
            return;
        } else if ((c == u'&' || c == u'*') && i + 1 < end && isNameUnit(u[i + 1])) {
            qint64 k = i + 1;
            while (k < end && isNameUnit(u[k]))
                ++k;
            tokens.push_back({TokenKind::meta, {i, k}});
            i = k;
        } else if (c == u',' || c == u'[' || c == u']' || c == u'{' || c == u'}') {
            tokens.push_back({TokenKind::punctuation, {i, i + 1}});
            ++i;
        } else if ((c == u'|' || c == u'>')
                   && (i + 1 == end || isBlank(u[i + 1]) || u[i + 1] == u'+' || u[i + 1] == u'-')) {
            tokens.push_back({TokenKind::operator_, {i, end}});
            return;
        } else {
            qint64 k = i + 1;
            while (k < end && !endsBareWord(u[k]))
                ++k;
            const char16_t *w = u + i;
            const qint64 n = k - i;
            if (isYAMLConstant(w, n))
                tokens.push_back({TokenKind::constant, {i, k}});
            else if ((n >= 2 && w[0] == u'0' && w[1] == u'x') || YAMLNumber::isNumber(w, n))
                tokens.push_back({TokenKind::number, {i, k}});
            i = k;
        }
    }
}

} // namespace

void YAMLLexer::tokenize(LineSlice line, LexState &, std::vector<Token> &tokens) const
{
    const char16_t *u = line.units;
    const qint64 end = line.upper;
    qint64 p = firstNonBlank(u, line.lower, end);
    if (p == end)
        return;

    if (startsWith(u, p, end, u"---") || startsWith(u, p, end, u"...")) {
        tokens.push_back({TokenKind::meta, {p, end}});
        return;
    }
    if (u[p] == u'#') {
        tokens.push_back({TokenKind::comment, {p, end}});
        return;
    }
    // "- item" is a sequence entry; "-1" is a value.
    if (u[p] == u'-' && (p + 1 == end || isBlank(u[p + 1]))) {
        tokens.push_back({TokenKind::listMarker, {p, p + 1}});
        p = firstNonBlank(u, p + 1, end);
        if (p == end)
            return;
    }
    scanValue(u, scanKey(u, line.lower, p, end, tokens), end, tokens);
}

} // namespace plumeo
