#pragma once

#include "editing/TextEdit.h"

#include <optional>
#include <vector>

#include <QString>

namespace plumeo {

// Finding and replacing a literal string in a text (UTF-16 offsets). Without matchCase, letters
// compare by Unicode case folding, the same in every locale. The matches of a text are the
// non-overlapping ones found from its start, each search resuming after the previous match; an
// empty string matches nothing. Searches wrap around the end of the text.
namespace TextSearch {

bool isMatch(QStringView text, TextRange range, QStringView needle, bool matchCase);

// The first match starting at or after from, else (wrapping) the first match of the text.
std::optional<TextRange>
findNext(QStringView text, QStringView needle, qsizetype from, bool matchCase);
// The last match starting before `before`, else (wrapping) the last one of the text.
std::optional<TextRange>
findPrevious(QStringView text, QStringView needle, qsizetype before, bool matchCase);

struct MatchCount
{
    qsizetype total = 0;
    // 1-based place of the given range among the matches, when it is one of them.
    std::optional<qsizetype> ordinal;
};
MatchCount
countMatches(QStringView text, QStringView needle, bool matchCase, TextRange current = {});

std::vector<TextRange> matches(QStringView text, QStringView needle, bool matchCase);

// The matches of needle in a piece of a longer text, the piece starting at offset pieceStart of
// that text, which overlap window (offsets of the longer text, as are the ranges answered; an
// empty window overlaps nothing). The
// piece is searched from its own start, so it should begin at a line start or well before window.
std::vector<TextRange> matchesOverlapping(
    QStringView piece, qsizetype pieceStart, TextRange window, QStringView needle, bool matchCase);

// Where selection lies once each of matches (ascending, not overlapping) is replaced by
// replacementLength units: a bound before or at the start of a match stays, one at or after its
// end moves by the change of length. Inside a replaced match a selection's start goes to the start
// of the replacement and its end (or an empty selection, the caret) to the end of it.
TextRange selectionAfterReplacing(const std::vector<TextRange> &matches,
                                  qsizetype replacementLength,
                                  TextRange selection);

// Replaces the selection when it is a match, else the next match after the selection's start
// (wrapping); the next match after the replacement is selected, else the replacement itself.
std::optional<TextEdit> replaceOne(QStringView text,
                                   TextRange selection,
                                   QStringView needle,
                                   const QString &replacement,
                                   bool matchCase);

struct ReplaceAll
{
    // One replacement spanning the first to the last match; the selection given stays on the
    // same text (see selectionAfterReplacing).
    TextEdit edit;
    qsizetype count = 0;
};
std::optional<ReplaceAll> replaceAll(QStringView text,
                                     QStringView needle,
                                     const QString &replacement,
                                     bool matchCase,
                                     TextRange selection);

} // namespace TextSearch

} // namespace plumeo
