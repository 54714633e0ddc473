#pragma once

#include "syntax/LexState.h"
#include "syntax/Token.h"

#include <optional>
#include <vector>

#include <QStringView>

namespace plumeo {

class Lexer;

// Finds the bracket that matches the one beside the caret, as a pure function over a text (UTF-16
// offsets). Brackets are (), [] and {}; nesting counts every kind, so that "(]" never matches.
namespace BracketMatcher {

// How far from the caret's bracket the search goes, in UTF-16 units, so that a caret beside an
// unmatched bracket in a huge file stays cheap.
inline constexpr qsizetype maximumDistance = 20'000;

struct Match
{
    qsizetype bracket = 0; // the offset of the bracket beside the caret
    qsizetype partner = 0; // the offset of the bracket matching it

    friend bool operator==(const Match &, const Match &) = default;
};

// The bracket right after the caret, else the one right before it, with its partner. ignored
// (ascending, not overlapping, offsets of text) are the strings and comments: a bracket inside
// them only pairs with brackets that are inside them too, and a bracket outside them only with
// brackets outside. Nothing when no bracket is beside the caret, or when it has no partner within
// distance units.
std::optional<Match> find(QStringView text,
                          qsizetype caret,
                          const std::vector<TokenRange> &ignored,
                          qsizetype distance = maximumDistance);

// The strings (escapes included) and comments of text as lexer sees them when text starts in
// state, merged into ascending ranges that do not overlap.
std::vector<TokenRange> stringsAndComments(QStringView text, const Lexer &lexer, LexState state);

} // namespace BracketMatcher

} // namespace plumeo
