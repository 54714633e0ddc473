#include "syntax/HTMLLexer.h"

#include "syntax/CSSLexer.h"
#include "syntax/GenericLexer.h"
#include "syntax/LexUnits.h"
#include "syntax/Syntaxes.h"

namespace plumeo {

using namespace LexUnits;

namespace {

enum Mode : quint8 { text = 0, tag = 1, comment = 2, script = 3, style = 4, php = 5, quoted = 6 };
enum TagKind : quint16 { ordinaryTag = 0, scriptTag = 1, styleTag = 2 };

struct EmbeddedLexers
{
    GenericLexer script{Syntaxes::javascript()};
    CSSLexer style{false};
    GenericLexer php{Syntaxes::php()};
};

const EmbeddedLexers &embedded()
{
    static const EmbeddedLexers lexers;
    return lexers;
}

bool isTagNameUnit(char16_t c)
{
    return isLetter(c) || isDigit(c) || c == u'-' || c == u':' || c == u'_';
}
bool startsAttributeName(char16_t c)
{
    return isLetter(c) || c == u'-' || c == u':' || c == u'@' || c == u'_';
}
bool isAttributeNameUnit(char16_t c)
{
    return isLetter(c) || isDigit(c) || c == u'-' || c == u'.' || c == u':' || c == u'_';
}
bool isUnquotedValueUnit(char16_t c)
{
    return isLetter(c) || isDigit(c) || c == u'%' || c == u'.' || c == u'_';
}

// Whether the lower-case pattern is at i, "A"–"Z" of the text folded to lower case.
template <qint64 N>
bool matchesFolded(const char16_t *u, qint64 i, qint64 end, const char16_t (&pattern)[N])
{
    if (end - i < N - 1)
        return false;
    for (qint64 k = 0; k < N - 1; ++k) {
        if (toLowerAscii(u[i + k]) != pattern[k])
            return false;
    }
    return true;
}

// The first index in [from, end) where an end tag such as "</script" starts, case aside; end when
// there is none.
template <qint64 N>
qint64 findEndTag(const char16_t *u, qint64 from, qint64 end, const char16_t (&pattern)[N])
{
    static_assert(N > 2);
    for (qint64 i = findUnit(u, from, end, u'<'); i < end; i = findUnit(u, i + 1, end, u'<')) {
        if (matchesFolded(u, i, end, pattern))
            return i;
    }
    return end;
}

// Lexes [from, to) with an embedded lexer whose mode and aux travel in inner and innerAux.
void lexEmbedded(const Lexer &lexer,
                 const char16_t *u,
                 qint64 from,
                 qint64 to,
                 LexState &state,
                 std::vector<Token> &tokens)
{
    LexState own{state.inner, state.innerAux, 0, 0};
    lexer.tokenize(LineSlice{u, from, to}, own, tokens);
    state.inner = own.mode;
    state.innerAux = own.aux;
}

// Inside a tag: attributes up to the ">" that closes it or the end of the line.
qint64 lexTag(const char16_t *u, qint64 i, qint64 end, LexState &state, std::vector<Token> &tokens)
{
    while (i < end) {
        const char16_t c = u[i];
        if (isBlank(c)) {
            ++i;
        } else if (c == u'>') {
            tokens.push_back({TokenKind::tag, {i, i + 1}});
            state.mode = state.aux == scriptTag ? script : state.aux == styleTag ? style : text;
            state.aux = 0;
            state.inner = 0;
            state.innerAux = 0;
            return i + 1;
        } else if (c == u'/' && i + 1 < end && u[i + 1] == u'>') {
            // A self-closing script or style tag opens no embedded code.
            tokens.push_back({TokenKind::tag, {i, i + 2}});
            state = LexState();
            return i + 2;
        } else if (c == u'=') {
            tokens.push_back({TokenKind::operator_, {i, i + 1}});
            ++i;
        } else if (c == u'"' || c == u'\'') {
            const qint64 k = findUnit(u, i + 1, end, c);
            if (k == end) {
                tokens.push_back({TokenKind::string, {i, end}});
                state.aux = quint16(c + state.aux * 256);
                state.mode = quoted;
                return end;
            }
            tokens.push_back({TokenKind::string, {i, k + 1}});
            i = k + 1;
        } else if (startsAttributeName(c)) {
            qint64 k = i + 1;
            while (k < end && isAttributeNameUnit(u[k]))
                ++k;
            tokens.push_back({TokenKind::attributeName, {i, k}});
            i = k;
        } else if (isDigit(c)) {
            qint64 k = i + 1;
            while (k < end && isUnquotedValueUnit(u[k]))
                ++k;
            tokens.push_back({TokenKind::string, {i, k}});
            i = k;
        } else {
            ++i;
        }
    }
    return end;
}

bool isTextSpecial(char16_t c)
{
    return c == u'<' || c == u'&';
}

} // namespace

qint64 HTMLLexer::lexText(
    const char16_t *u, qint64 i, qint64 end, LexState &state, std::vector<Token> &tokens) const
{
    while (i < end) {
        while (i < end && !isTextSpecial(u[i]))
            ++i;
        if (i == end)
            break;
        if (u[i] == u'&') {
            qint64 k = i + 1;
            while (k < end && (isLetter(u[k]) || isDigit(u[k]) || u[k] == u'#' || u[k] == u'_'))
                ++k;
            if (k < end && u[k] == u';') {
                tokens.push_back({TokenKind::escape, {i, k + 1}});
                i = k + 1;
            } else {
                ++i;
            }
            continue;
        }
        const char16_t next = i + 1 < end ? u[i + 1] : u'\0';
        if (startsWith(u, i, end, u"<!--")) {
            const qint64 k = find(u, i + 4, end, u"-->");
            if (k < 0) {
                tokens.push_back({TokenKind::comment, {i, end}});
                state.mode = comment;
                return end;
            }
            tokens.push_back({TokenKind::comment, {i, k + 3}});
            return k + 3;
        }
        if (allowsPHP && next == u'?') {
            qint64 k = i + 2;
            if (k < end && u[k] == u'=')
                ++k;
            else
                while (k < end && isLetter(u[k]))
                    ++k;
            tokens.push_back({TokenKind::meta, {i, k}});
            state.mode = php;
            state.inner = 0;
            state.innerAux = 0;
            return k;
        }
        if (next == u'!') {
            // A declaration such as DOCTYPE, or CDATA: up to its ">".
            const qint64 k = findUnit(u, i + 2, end, u'>');
            const qint64 stop = k < end ? k + 1 : end;
            tokens.push_back({TokenKind::meta, {i, stop}});
            return stop;
        }
        if (isLetter(next) || next == u'/') {
            const bool endTag = next == u'/';
            const qint64 nameStart = endTag ? i + 2 : i + 1;
            qint64 k = nameStart;
            while (k < end && isTagNameUnit(u[k]))
                ++k;
            tokens.push_back({TokenKind::tag, {i, k}});
            state.mode = tag;
            state.aux = ordinaryTag;
            if (!endTag) {
                if (k - nameStart == 6 && matchesFolded(u, nameStart, k, u"script"))
                    state.aux = scriptTag;
                else if (k - nameStart == 5 && matchesFolded(u, nameStart, k, u"style"))
                    state.aux = styleTag;
            }
            return k;
        }
        ++i;
    }
    return end;
}

void HTMLLexer::tokenize(LineSlice line, LexState &state, std::vector<Token> &tokens) const
{
    const char16_t *u = line.units;
    const qint64 end = line.upper;
    qint64 pos = line.lower;
    while (pos < end) {
        switch (state.mode) {
        case comment: {
            const qint64 k = find(u, pos, end, u"-->");
            if (k < 0) {
                tokens.push_back({TokenKind::comment, {pos, end}});
                return;
            }
            tokens.push_back({TokenKind::comment, {pos, k + 3}});
            state.mode = text;
            pos = k + 3;
            break;
        }
        case script:
        case style: {
            const qint64 k = state.mode == script ? findEndTag(u, pos, end, u"</script")
                                                  : findEndTag(u, pos, end, u"</style");
            if (pos < k) {
                const Lexer &lexer = state.mode == script
                                         ? static_cast<const Lexer &>(embedded().script)
                                         : embedded().style;
                lexEmbedded(lexer, u, pos, k, state, tokens);
            }
            if (k < end)
                state = LexState(); // the closer is lexed as an end tag in text mode
            pos = k;
            break;
        }
        case php: {
            const qint64 found = find(u, pos, end, u"?>");
            const qint64 k = found < 0 ? end : found;
            if (pos < k)
                lexEmbedded(embedded().php, u, pos, k, state, tokens);
            if (found < 0)
                return;
            tokens.push_back({TokenKind::meta, {k, k + 2}});
            state = LexState();
            pos = k + 2;
            break;
        }
        case quoted: {
            const qint64 k = findUnit(u, pos, end, char16_t(state.aux & 0xFF));
            if (k == end) {
                tokens.push_back({TokenKind::string, {pos, end}});
                return;
            }
            tokens.push_back({TokenKind::string, {pos, k + 1}});
            state.mode = tag;
            state.aux = state.aux >> 8;
            pos = k + 1;
            break;
        }
        case tag:
            pos = lexTag(u, pos, end, state, tokens);
            break;
        default:
            pos = lexText(u, pos, end, state, tokens);
            break;
        }
    }
}

} // namespace plumeo
