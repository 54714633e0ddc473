#pragma once

#include "syntax/Lexer.h"
#include "syntax/TokenKind.h"

#include <QString>
#include <QStringList>

namespace plumeo::test {

// "kind:text" for each token of one line lexed as an array of its own, joined by spaces: a whole
// line's expected tokens fit in one string ("keyword:FROM plain:Int").
inline QString lexed(const Lexer &lexer, const QString &line, LexState &state)
{
    QStringList parts;
    for (const Token &token : lexer.tokenizeLine(line, state)) {
        parts << QString::fromLatin1(tokenKindName(token.kind)) + u':'
                     + line.mid(token.range.lower, token.range.length());
    }
    return parts.join(u' ');
}

inline QString lexed(const Lexer &lexer, const QString &line)
{
    LexState state;
    return lexed(lexer, line, state);
}

inline LexState state(quint8 mode, quint16 aux, quint8 inner = 0, quint16 innerAux = 0)
{
    return LexState{mode, aux, inner, innerAux};
}

// The root of the corpora of real files (PLUMEO_CORPORA in the environment overrides the build's).
inline QString corpusRoot()
{
    return qEnvironmentVariable("PLUMEO_CORPORA", QStringLiteral(PLUMEO_CORPORA));
}

} // namespace plumeo::test
