#include "syntax/DiffLexer.h"

#include "syntax/LexUnits.h"

namespace plumeo {

void DiffLexer::tokenize(LineSlice line, LexState &, std::vector<Token> &tokens) const
{
    using LexUnits::startsWith;
    const char16_t *u = line.units;
    const qint64 start = line.lower;
    const qint64 end = line.upper;
    if (start == end)
        return;

    // File headers come before the one-sign tests: "--- a/file" is a header, not a removed line.
    TokenKind kind;
    if (startsWith(u, start, end, u"+++") || startsWith(u, start, end, u"---"))
        kind = TokenKind::meta;
    else if (startsWith(u, start, end, u"@@"))
        kind = TokenKind::attribute;
    else if (startsWith(u, start, end, u"diff ") || startsWith(u, start, end, u"index "))
        kind = TokenKind::comment;
    else if (u[start] == u'+')
        kind = TokenKind::inserted;
    else if (u[start] == u'-')
        kind = TokenKind::deleted;
    else
        return;
    tokens.push_back({kind, {start, end}});
}

} // namespace plumeo
