#include "syntax/GenericLexer.h"

#include "syntax/Chars.h"
#include "syntax/Slice.h"

namespace plumeo {

namespace {

// One tokenize call: the line, the running state and the output, with the scans of the main loop.
class LineScanner
{
public:
    LineScanner(const Syntax &syntax, LineSlice line, LexState &state, std::vector<Token> &tokens)
        : m_syntax(syntax)
        , m_line(line)
        , m_units(line.units)
        , m_end(line.upper)
        , m_state(state)
        , m_tokens(tokens)
        , m_firstToken(tokens.size())
    {}

    void run();

private:
    // Returns where the token found at p ends, or -1 when the test does not match.
    qint64 lineLabel(qint64 p);
    bool lineComment(qint64 p);
    qint64 stringAt(qint64 p, TokenKind &kind);
    qint64 variable(qint64 p) const;
    qint64 word(qint64 p, TokenKind &kind) const;

    std::optional<qint64> scanString(qint64 q, const StringRule &rule, bool opened, qint64 opener);
    std::optional<qint64> unclosedString(const StringRule &rule, bool opened, qint64 opener);
    qint64 scanBlockComment(qint64 q);
    qint64 scanNumber(qint64 p) const;
    TokenKind classify(qint64 s, qint64 e) const;

    bool startsWith(const std::u16string &pattern, qint64 at) const
    {
        return Slice::startsWith(m_line, pattern, at);
    }
    char16_t at(qint64 i) const { return i < m_end ? m_units[i] : char16_t(0); }
    void add(TokenKind kind, qint64 lower, qint64 upper)
    {
        m_tokens.push_back(Token{kind, {lower, upper}});
    }

    const Syntax &m_syntax;
    const LineSlice m_line;
    const char16_t *const m_units;
    const qint64 m_end;
    LexState &m_state;
    std::vector<Token> &m_tokens;
    const std::size_t m_firstToken; // tokens before this one belong to earlier lines
    // A string rule whose opener and closer are one and the same unit, once left unclosed from some
    // opener, is left unclosed from every later opener on the line too (a later opener can only be
    // an escaped unit of the first scan, which then continues in step with it). Remembering that
    // keeps a line of escaped apostrophes linear instead of rescanning its rest at every
    // apostrophe.
    int m_unclosedRule = -1;
};

void LineScanner::run()
{
    const qint64 start = m_line.lower;
    qint64 p = start;

    if (m_state.mode == GenericLexer::stringMode && m_state.aux < m_syntax.strings.size()) {
        p = *scanString(start, m_syntax.strings[m_state.aux], true, start);
        add(TokenKind::string, start, p);
    } else if (m_state.mode == GenericLexer::blockCommentMode && m_syntax.blockComment) {
        p = scanBlockComment(start);
        add(TokenKind::comment, start, p);
    } else {
        m_state.mode = GenericLexer::normalMode;
        m_state.aux = 0;
    }

    bool lineStart = true;
    while (p < m_end) {
        const char16_t c = m_units[p];
        const std::uint16_t classes = Chars::classesOf(c);
        if (classes & Chars::space) {
            ++p;
            continue;
        }
        if (lineStart) {
            lineStart = false;
            if (c == u'#' && m_syntax.preprocessor) {
                add(TokenKind::preprocessor, p, m_end);
                return;
            }
            if (m_syntax.lineLabels && ((classes & Chars::letter) || c == u'_' || c == u'.')) {
                const qint64 e = lineLabel(p);
                if (e >= 0) {
                    p = e;
                    continue;
                }
            }
        }

        qint64 e = -1;
        TokenKind kind = TokenKind::plain;
        if (m_syntax.mayOpen(c)) {
            if (lineComment(p))
                return;
            if (m_syntax.blockComment && startsWith(m_syntax.blockComment->open, p)) {
                m_state.mode = GenericLexer::blockCommentMode;
                m_state.aux = 1;
                e = scanBlockComment(p + qint64(m_syntax.blockComment->open.size()));
                kind = TokenKind::comment;
            } else {
                e = stringAt(p, kind);
            }
        }
        if (e < 0 && m_syntax.annotation && c == m_syntax.annotation->prefix && p + 1 < m_end
            && Chars::isLetter(m_units[p + 1])) {
            e = p + 1;
            while (e < m_end && Chars::isWord(m_units[e]))
                ++e;
            kind = m_syntax.annotation->kind;
        }
        if (e < 0 && m_syntax.variablePrefix && c == *m_syntax.variablePrefix) {
            e = variable(p);
            kind = TokenKind::variable;
        }
        if (e < 0) {
            if ((classes & Chars::digit) || (c == u'.' && Chars::isDigit(at(p + 1)))) {
                e = scanNumber(p);
                kind = TokenKind::number;
            } else if ((classes & Chars::letter) || c == u'_') {
                e = word(p, kind);
            } else if (classes & Chars::operatorUnit) {
                e = p + 1;
                while (e < m_end && Chars::isOperator(m_units[e]))
                    ++e;
                kind = TokenKind::operator_;
            } else if (classes & Chars::punctuation) {
                e = p + 1;
                kind = TokenKind::punctuation;
            } else {
                ++p;
                continue;
            }
        }
        add(kind, p, e);
        p = e;
    }
}

qint64 LineScanner::lineLabel(qint64 p)
{
    qint64 q = p;
    while (q < m_end && Chars::is(m_units[q], Chars::labelUnit))
        ++q;
    if (q >= m_end || m_units[q] != u':' || at(q + 1) == u'=')
        return -1;
    add(TokenKind::function, p, q);
    add(TokenKind::punctuation, q, q + 1);
    return q + 1;
}

bool LineScanner::lineComment(qint64 p)
{
    for (const std::u16string &marker : m_syntax.lineComments) {
        if (!startsWith(marker, p))
            continue;
        // A block opener that begins with the line marker ("--[[" after "--") is the longer match.
        const auto &block = m_syntax.blockComment;
        if (block && block->open.size() > marker.size() && startsWith(block->open, p))
            return false;
        add(TokenKind::comment, p, m_end);
        return true;
    }
    return false;
}

qint64 LineScanner::stringAt(qint64 p, TokenKind &kind)
{
    const auto &rules = m_syntax.strings;
    for (std::size_t index = 0; index < rules.size(); ++index) {
        const StringRule &rule = rules[index];
        if (!startsWith(rule.open, p))
            continue;
        m_state.aux = quint16(index);
        const std::optional<qint64> e =
            int(index) == m_unclosedRule ? unclosedString(rule, false, p)
                                         : scanString(p + qint64(rule.open.size()), rule, false, p);
        if (!e) {
            m_state.aux = 0;
            if (rule.open.size() == 1 && rule.close == rule.open && !rule.doubledClose
                && rule.escape != rule.open.front())
                m_unclosedRule = int(index);
            return -1;
        }
        kind = TokenKind::string;
        if (m_syntax.stringKeys && m_state.mode == GenericLexer::normalMode) {
            const qint64 n = Slice::firstNonBlank(m_line, *e);
            if (n < m_end && m_units[n] == u':')
                kind = TokenKind::property;
        }
        return *e;
    }
    return -1;
}

std::optional<qint64>
LineScanner::scanString(qint64 q, const StringRule &rule, bool opened, qint64 opener)
{
    const qint64 closeLength = qint64(rule.close.size());
    const char16_t closeFirst = rule.close.front();
    while (q < m_end) {
        const char16_t u = m_units[q];
        if (rule.escape && u == *rule.escape) {
            q += 2;
        } else if (u == closeFirst && startsWith(rule.close, q)) {
            if (rule.doubledClose && startsWith(rule.close, q + closeLength)) {
                q += 2 * closeLength;
                continue;
            }
            m_state.mode = GenericLexer::normalMode;
            m_state.aux = 0;
            return q + closeLength;
        } else {
            ++q;
        }
    }
    return unclosedString(rule, opened, opener);
}

// The end of the line reached without a closer.
std::optional<qint64>
LineScanner::unclosedString(const StringRule &rule, bool opened, qint64 opener)
{
    if (rule.maxLength && !opened && m_end - opener > *rule.maxLength)
        return std::nullopt;
    if (rule.multiline) {
        m_state.mode = GenericLexer::stringMode;
    } else {
        m_state.mode = GenericLexer::normalMode;
        m_state.aux = 0;
    }
    return m_end;
}

qint64 LineScanner::scanBlockComment(qint64 q)
{
    const Syntax::BlockComment &block = *m_syntax.blockComment;
    const qint64 openLength = qint64(block.open.size());
    const qint64 closeLength = qint64(block.close.size());
    const char16_t openFirst = block.open.front();
    const char16_t closeFirst = block.close.front();
    while (q < m_end) {
        const char16_t u = m_units[q];
        if (m_syntax.nestedBlockComments && u == openFirst && startsWith(block.open, q)) {
            if (m_state.aux < 0xFFFF) // deeper nesting than this is not worth a wrong colour later
                ++m_state.aux;
            q += openLength;
        } else if (u == closeFirst && startsWith(block.close, q)) {
            if (!m_syntax.nestedBlockComments || m_state.aux < 2) {
                m_state.mode = GenericLexer::normalMode;
                m_state.aux = 0;
                return q + closeLength;
            }
            --m_state.aux;
            q += closeLength;
        } else {
            ++q;
        }
    }
    return m_end;
}

qint64 LineScanner::variable(qint64 p) const
{
    if (p + 1 >= m_end)
        return -1;
    const char16_t n = m_units[p + 1];
    if (Chars::isWord(n)) {
        qint64 e = p + 1;
        while (e < m_end && Chars::isWord(m_units[e]))
            ++e;
        return e;
    }
    if (n != u'(' && n != u'{')
        return -1;
    const char16_t close = n == u'(' ? u')' : u'}';
    for (qint64 e = p + 2; e < m_end; ++e) {
        if (m_units[e] == close)
            return e + 1;
    }
    return m_end;
}

qint64 LineScanner::scanNumber(qint64 p) const
{
    auto digitsAndUnderscores = [this](qint64 q) {
        while (q < m_end && (Chars::isDigit(m_units[q]) || m_units[q] == u'_'))
            ++q;
        return q;
    };
    qint64 q = p;
    const char16_t prefix = at(p + 1);
    if (m_units[p] == u'0'
        && (prefix == u'x' || prefix == u'X' || prefix == u'b' || prefix == u'B' || prefix == u'o'
            || prefix == u'O')) {
        q = p + 2;
        while (q < m_end && (Chars::isHexDigit(m_units[q]) || m_units[q] == u'_'))
            ++q;
    } else {
        q = digitsAndUnderscores(q);
        if (at(q) == u'.' && Chars::isDigit(at(q + 1)))
            q = digitsAndUnderscores(q + 1);
        if (at(q) == u'e' || at(q) == u'E') {
            qint64 d = q + 1;
            if (at(d) == u'+' || at(d) == u'-')
                ++d;
            if (Chars::isDigit(at(d))) {
                q = d;
                while (q < m_end && Chars::isDigit(m_units[q]))
                    ++q;
            }
        }
    }
    while (q < m_end && Chars::isLetter(m_units[q]))
        ++q;
    return q;
}

qint64 LineScanner::word(qint64 p, TokenKind &kind) const
{
    qint64 e = p + 1;
    while (e < m_end && m_syntax.continuesIdentifier(m_units[e]))
        ++e;
    kind = classify(p, e);
    return e;
}

TokenKind LineScanner::classify(qint64 s, qint64 e) const
{
    if (const std::optional<TokenKind> kind = m_syntax.classOf(m_units + s, e - s))
        return *kind;
    auto isCall = [&] {
        if (!m_syntax.functionCalls)
            return false;
        const qint64 n = Slice::firstNonBlank(m_line, e);
        return n < m_end && m_units[n] == u'(';
    };
    if (m_syntax.memberProperties && m_tokens.size() > m_firstToken) {
        const Token &last = m_tokens.back();
        if (last.kind == TokenKind::punctuation && m_units[last.range.lower] == u'.')
            return isCall() ? TokenKind::function : TokenKind::property;
    }
    if (m_syntax.capitalizedTypes && Chars::isUpper(m_units[s]))
        return TokenKind::type;
    return isCall() ? TokenKind::function : TokenKind::plain;
}

} // namespace

GenericLexer::GenericLexer(std::shared_ptr<const Syntax> syntax)
    : m_syntax(std::move(syntax))
{
    Q_ASSERT(m_syntax);
}

GenericLexer::GenericLexer(const Syntax::Rules &rules)
    : GenericLexer(std::make_shared<const Syntax>(rules))
{}

void GenericLexer::tokenize(LineSlice line, LexState &state, std::vector<Token> &tokens) const
{
    LineScanner(*m_syntax, line, state, tokens).run();
}

} // namespace plumeo
