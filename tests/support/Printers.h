#pragma once

// How GoogleTest prints the values our tests compare. Every test source sees these declarations
// (tests/CMakeLists.txt includes this header first), so a failure shows "text" rather than the
// bytes of a QString, and every source prints a type the same way.

#include <iosfwd>

#include <QtGlobal>

QT_BEGIN_NAMESPACE
class QByteArray;
class QChar;
class QString;
class QStringView;
QT_END_NAMESPACE

void PrintTo(const QString &value, std::ostream *out);
void PrintTo(QStringView value, std::ostream *out);
void PrintTo(const QByteArray &value, std::ostream *out);
void PrintTo(QChar value, std::ostream *out);

namespace plumeo {

struct LexState;
struct TextRange;
struct Token;
struct TokenRange;
enum class TokenKind : quint8;

void PrintTo(TokenKind kind, std::ostream *out);
void PrintTo(const TokenRange &range, std::ostream *out);
void PrintTo(const Token &token, std::ostream *out);
void PrintTo(const LexState &state, std::ostream *out);
void PrintTo(const TextRange &range, std::ostream *out);

} // namespace plumeo
