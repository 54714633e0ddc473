#include "support/Printers.h"

#include "editing/TextRange.h"
#include "syntax/LexState.h"
#include "syntax/Token.h"

#include <ostream>

#include <QByteArray>
#include <QString>

void PrintTo(const QString &value, std::ostream *out)
{
    PrintTo(QStringView(value), out);
}

void PrintTo(QStringView value, std::ostream *out)
{
    *out << '"' << value.toUtf8().toStdString() << '"';
}

// Bytes as text where they are printable ASCII, the others as \xHH, so that encodings can be read.
void PrintTo(const QByteArray &value, std::ostream *out)
{
    static const char hex[] = "0123456789ABCDEF";
    *out << '"';
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\' && c != '"')
            *out << c;
        else
            *out << "\\x" << hex[byte >> 4] << hex[byte & 0xF];
    }
    *out << '"';
}

void PrintTo(QChar value, std::ostream *out)
{
    *out << "U+"
         << QString::number(value.unicode(), 16).toUpper().rightJustified(4, u'0').toStdString()
         << " '" << QString(value).toStdString() << '\'';
}

namespace plumeo {

void PrintTo(TokenKind kind, std::ostream *out)
{
    *out << tokenKindName(kind);
}

void PrintTo(const TokenRange &range, std::ostream *out)
{
    *out << '[' << range.lower << ", " << range.upper << ')';
}

void PrintTo(const Token &token, std::ostream *out)
{
    *out << tokenKindName(token.kind) << ' ';
    PrintTo(token.range, out);
}

void PrintTo(const LexState &state, std::ostream *out)
{
    *out << "{mode " << int(state.mode) << ", aux " << state.aux << ", inner " << int(state.inner)
         << ", innerAux " << state.innerAux << '}';
}

void PrintTo(const TextRange &range, std::ostream *out)
{
    *out << '{' << range.location << ", " << range.length << '}';
}

} // namespace plumeo
