#pragma once

#include "support/TextChunk.h"

#include <vector>

#include <QString>

namespace plumeo::bench {

// A text held as a list of chunks of a few tens of thousands of UTF-16 code units, with its line
// index. An edit copies at most one chunk's text (one chunk grows past maxChunkSize and is split in
// two) and patches that chunk's own line breaks plus two small arrays with one entry per chunk, so
// its cost does not grow with the length of the text or its number of lines.
//
// Offsets are UTF-16 code units from the start of the text; lines are 0-based. Only LF ends a line
// and belongs to the line it ends, as in plumeo::LineIndex: an empty text has one line, a text
// ending in LF has a last, empty line.
class ChunkedText
{
public:
    // 32 K units (64 KB) a chunk: a keystroke moves at most 128 KB, which takes a few microseconds,
    // while a 100 MB text still has only a few thousand chunks to bisect and patch.
    static constexpr qsizetype defaultChunkSize = 32 * 1024;

    explicit ChunkedText(QStringView text, qsizetype chunkSize = defaultChunkSize);

    qint64 size() const { return m_size; }
    qint64 lineCount() const { return m_lineBreakCount + 1; }
    qsizetype chunkCount() const { return qsizetype(m_chunks.size()); }

    // line is clamped to [0, lineCount()).
    qint64 lineStart(qint64 line) const;
    // Without the LF that ends it.
    qint64 lineLength(qint64 line) const;
    // The line holding offset; offset is clamped to [0, size()].
    qint64 lineAt(qint64 offset) const;

    // The units [offset, offset + length), clamped to the text.
    QString text(qint64 offset, qint64 length) const;
    QString lineText(qint64 line) const { return text(lineStart(line), lineLength(line)); }
    QString toString() const { return text(0, m_size); }

    // 0 ≤ offset ≤ size(); a removal past the end stops at the end.
    void insert(qint64 offset, QStringView text);
    void remove(qint64 offset, qint64 length);

private:
    // The chunk holding offset; an offset at a boundary goes to the chunk it starts, the end of the
    // text to the last chunk.
    qsizetype chunkAt(qint64 offset) const;
    // Brings the per-chunk starts and line counts up to date from chunk `from` on.
    void refreshFrom(qsizetype from);
    void splitOversized(qsizetype chunk);
    // Joins the chunk with its next neighbour when both fit in one chunk, so that removals do not
    // leave the text spread over many small chunks. Returns whether it did.
    bool mergeWithNext(qsizetype chunk);

    qsizetype m_chunkSize;
    std::vector<TextChunk> m_chunks;
    // Where each chunk starts in the text, and how many LFs come before it: the only part of the
    // index that an edit patches past its own chunk.
    std::vector<qint64> m_chunkStarts;
    std::vector<qint64> m_lineBreaksBefore;
    qint64 m_size = 0;
    qint64 m_lineBreakCount = 0;
};

} // namespace plumeo::bench
