#pragma once

#include "syntax/Lexer.h"
#include "syntax/TokenKind.h"

#include <ostream>

#include <QString>
#include <QStringList>

// Readable QString values in gtest failure messages.
inline void PrintTo(const QString &value, std::ostream *out)
{
    *out << '"' << value.toStdString() << '"';
}

namespace plumeo::test {

// "kind:text" for each token of one line lexed as its own array, joined by spaces: compact enough
// to state a whole line's expected tokens in one string.
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

inline LexState state(quint8 mode, quint16 aux)
{
    return LexState{mode, aux, 0, 0};
}

} // namespace plumeo::test
