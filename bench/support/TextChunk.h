#pragma once

#include <cstdint>
#include <vector>

#include <QString>

namespace plumeo::bench {

// One piece of a ChunkedText: a run of UTF-16 code units and the offsets, relative to the start of
// this piece, of the LFs it holds. Keeping the line breaks relative to their own chunk is what lets
// an edit patch only this chunk's breaks (a few hundred) instead of every later line start of the
// file. Offsets are UTF-16 code units; a chunk may end inside a line or between the two halves of a
// surrogate pair, the text only has meaning once the chunks are joined.
class TextChunk
{
public:
    TextChunk() = default;
    explicit TextChunk(QStringView text);

    const QString &text() const { return m_text; }
    qsizetype size() const { return m_text.size(); }
    // Offsets of the LFs inside this chunk, ascending.
    const std::vector<std::int32_t> &lineBreaks() const { return m_lineBreaks; }
    qsizetype lineBreakCount() const { return qsizetype(m_lineBreaks.size()); }
    // How many LFs lie before offset (0 ≤ offset ≤ size()).
    qsizetype lineBreaksBefore(qsizetype offset) const;

    // 0 ≤ offset ≤ size(); offset + count ≤ size(). Both touch only this chunk's text and breaks.
    void insert(qsizetype offset, QStringView text);
    void remove(qsizetype offset, qsizetype count);
    // Keeps [0, offset) here and returns the rest as a new chunk.
    TextChunk splitAt(qsizetype offset);
    // Appends the next chunk's text and breaks to this one.
    void append(const TextChunk &next);

private:
    QString m_text;
    std::vector<std::int32_t> m_lineBreaks;
};

} // namespace plumeo::bench
