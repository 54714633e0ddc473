#pragma once

#include "text/LineIndex.h"

#include <functional>

namespace plumeo {

// Where the caret is and what the selection covers, as the status bar shows them. Lines and columns
// are 1-based; columns and character counts are UTF-16 units (an emoji is two).
struct CaretStatus
{
    qint64 line = 1;
    qint64 column = 1;
    qint64 selectedCharacters = 0;
    // The lines the selection touches; 0 when nothing is selected. A selection that ends just after
    // an LF does not touch the line that follows it.
    qint64 selectedLines = 0;

    // The 0-based line and column of a UTF-16 offset. The editor answers from its text storage's
    // block structure, so that no line index of the whole text is needed after each keystroke.
    using PositionOf = std::function<LineIndex::Position(qint64 offset)>;

    // The status of the selection that starts at location and spans length units. The caret's line
    // is the line of the selection's start, whichever end the user moved.
    static CaretStatus of(qint64 location, qint64 length, const PositionOf &positionOf);
    static CaretStatus of(qint64 location, qint64 length, const LineIndex &index);

    friend bool operator==(const CaretStatus &, const CaretStatus &) = default;
};

} // namespace plumeo
