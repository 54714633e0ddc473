#pragma once

#include "editing/TextRange.h"

#include <vector>

#include <QString>

namespace plumeo {

// Narrows a replacement down to the characters that really change, so that applying it disturbs as
// little of a formatted text as possible: the formatting of kept characters stays, and listeners
// (the highlighter) see small changes. Offsets are UTF-16 units; a surrogate pair is never split.
namespace TextDiff {

struct Change
{
    TextRange range; // in the old text
    QString text;    // what replaces it
    friend bool operator==(const Change &, const Change &) = default;
};

// The one change turning before into after, with their common beginning and end left out. Empty
// range and text when they are equal.
Change narrowed(QStringView before, QStringView after);

// The changes turning before into after, in ascending order and never overlapping: one per changed
// line when both have the same number of lines, else the single narrowed change. Nothing when
// equal.
std::vector<Change> lineChanges(QStringView before, QStringView after);

} // namespace TextDiff

} // namespace plumeo
