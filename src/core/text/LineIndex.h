#pragma once

#include <vector>

#include <QString>

namespace plumeo {

// The start offset of every line of a text, for mapping offsets to line numbers and back.
// Offsets are UTF-16 code units; lines and columns are 0-based. Only LF ends a line (a CR is an
// ordinary character here): each LF at offset k starts a line at k + 1, so a text ending in LF has
// a last, empty line, and an empty text has one line.
class LineIndex
{
public:
    explicit LineIndex(QStringView text);
    // An index whose line starts are already known (increasing, the first 0); an empty list means
    // one line starting at 0.
    static LineIndex fromLineStarts(std::vector<qint64> lineStarts);

    const std::vector<qint64> &lineStarts() const { return m_lineStarts; }
    qint64 lineCount() const { return qint64(m_lineStarts.size()); }

    // The line holding offset: the last line starting at or before it. A negative offset gives line
    // 0, an offset at or past the end the last line; the LF itself belongs to the line it ends.
    qint64 line(qint64 offset) const;
    // Where line begins; line is clamped to the existing lines first.
    qint64 start(qint64 line) const;

    struct Position
    {
        qint64 line;
        qint64 column;
        friend bool operator==(const Position &, const Position &) = default;
    };
    Position position(qint64 offset) const;

private:
    LineIndex() = default;

    std::vector<qint64> m_lineStarts;
};

} // namespace plumeo
