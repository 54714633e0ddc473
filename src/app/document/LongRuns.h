#pragma once

#include <QStringView>

namespace plumeo {

// Qt wraps a line at word boundaries, and breaks a word only when no boundary fits; finding that
// out costs a scan of the rest of the word for every visual line, so a long run without a break (a
// minified script, a base64 blob, an unspaced paragraph) lays out in quadratic time: minutes for
// 300 KB. A text that has such a run is wrapped anywhere instead, which is linear.
namespace LongRuns {

// Runs at least this long (UTF-16 units without a space or line break) switch the wrapping.
constexpr qsizetype threshold = 2000;

// Whether text holds a run of threshold units or more with no white space in it.
bool hasLongRun(QStringView text);

// Lines longer than this (UTF-16 units) are neither coloured nor wrapped: laying out or lexing one
// at every keystroke would make typing in it wait.
constexpr qsizetype longLineThreshold = 100'000;

// Whether text holds a line of more than longLineThreshold units.
bool hasLongLine(QStringView text);

// Lines longer than this cannot be laid out unwrapped: Qt measures a line's width in 26.6 fixed
// point, which overflows past about 33 million pixels and draws the glyphs over one another. A text
// holding one is wrapped anywhere, however slow.
constexpr qsizetype unwrappableThreshold = 1'000'000;

// Whether text holds a line of more than unwrappableThreshold units.
bool hasUnwrappableLine(QStringView text);

} // namespace LongRuns

} // namespace plumeo
