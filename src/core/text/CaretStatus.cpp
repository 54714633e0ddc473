#include "text/CaretStatus.h"

namespace plumeo {

CaretStatus CaretStatus::of(qint64 location, qint64 length, const PositionOf &positionOf)
{
    const LineIndex::Position start = positionOf(location);
    CaretStatus status;
    status.line = start.line + 1;
    status.column = start.column + 1;
    status.selectedCharacters = length;
    if (length > 0)
        status.selectedLines = positionOf(location + length - 1).line - start.line + 1;
    return status;
}

CaretStatus CaretStatus::of(qint64 location, qint64 length, const LineIndex &index)
{
    return of(location, length, [&index](qint64 offset) { return index.position(offset); });
}

} // namespace plumeo
