#pragma once

#include "syntax/Lexer.h"

#include <string>
#include <vector>

#include <QString>

namespace plumeo::test {

// The languages whose lexers are written by hand rather than driven by rules.
bool isDedicatedLanguage(const QString &name);

// A token written as its kind and the text it covers, for readable expectations.
struct Lexed
{
    TokenKind kind;
    QString text;
    friend bool operator==(const Lexed &, const Lexed &) = default;
};
void PrintTo(const Lexed &lexed, std::ostream *os);

// The tokens of one line given as an array of its own, as (kind, text) pairs.
std::vector<Lexed> lexLine(const Lexer &lexer, const QString &line, LexState &state);
std::vector<Lexed> lexLine(const Lexer &lexer, const QString &line);

// A whole text lexed line by line (split at LF only), with absolute offsets, as the editor's
// whole-text front end does. endStates, when given, receives the state after every line.
std::vector<Token>
lexText(const Lexer &lexer, QStringView text, std::vector<LexState> *endStates = nullptr);

// Every property the highlighter relies on, checked over a whole text: tokens in order, not
// overlapping, inside their line; lexing twice gives the same result; lexing each line as an array
// of its own from the stored state gives the same tokens (shifted) and the same end states. Returns
// an empty string when they hold, else a description of the first failure.
std::string checkInvariants(const Lexer &lexer, QStringView text);

} // namespace plumeo::test
