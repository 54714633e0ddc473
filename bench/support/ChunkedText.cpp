#include "support/ChunkedText.h"

#include <algorithm>

namespace plumeo::bench {

ChunkedText::ChunkedText(QStringView text, qsizetype chunkSize)
    : m_chunkSize(std::max<qsizetype>(chunkSize, 16))
{
    m_chunks.reserve(std::size_t(text.size() / m_chunkSize + 1));
    for (qsizetype at = 0; at < text.size(); at += m_chunkSize)
        m_chunks.emplace_back(text.mid(at, std::min(m_chunkSize, text.size() - at)));
    // Even an empty text has a chunk to insert into.
    if (m_chunks.empty())
        m_chunks.emplace_back();
    refreshFrom(0);
}

void ChunkedText::refreshFrom(qsizetype from)
{
    m_chunkStarts.resize(m_chunks.size());
    m_lineBreaksBefore.resize(m_chunks.size());
    qint64 start =
        from ? m_chunkStarts[std::size_t(from - 1)] + m_chunks[std::size_t(from - 1)].size() : 0;
    qint64 breaks = from ? m_lineBreaksBefore[std::size_t(from - 1)]
                               + m_chunks[std::size_t(from - 1)].lineBreakCount()
                         : 0;
    for (std::size_t i = std::size_t(from); i < m_chunks.size(); ++i) {
        m_chunkStarts[i] = start;
        m_lineBreaksBefore[i] = breaks;
        start += m_chunks[i].size();
        breaks += m_chunks[i].lineBreakCount();
    }
    m_size = start;
    m_lineBreakCount = breaks;
}

qsizetype ChunkedText::chunkAt(qint64 offset) const
{
    const auto after = std::upper_bound(m_chunkStarts.begin(), m_chunkStarts.end(), offset);
    return std::max<qsizetype>(0, (after - m_chunkStarts.begin()) - 1);
}

qint64 ChunkedText::lineStart(qint64 line) const
{
    line = std::clamp<qint64>(line, 0, lineCount() - 1);
    if (line == 0)
        return 0;
    // The line starts after LF number line - 1 (0-based): find the chunk holding that LF.
    const qint64 breakNumber = line - 1;
    const auto after =
        std::upper_bound(m_lineBreaksBefore.begin(), m_lineBreaksBefore.end(), breakNumber);
    // The last chunk with at most breakNumber LFs before it holds that LF: a chunk without any
    // shares its count with the next, and upper_bound skips past all those.
    const std::size_t chunk = std::size_t((after - m_lineBreaksBefore.begin()) - 1);
    return m_chunkStarts[chunk]
           + m_chunks[chunk].lineBreaks()[std::size_t(breakNumber - m_lineBreaksBefore[chunk])] + 1;
}

qint64 ChunkedText::lineLength(qint64 line) const
{
    line = std::clamp<qint64>(line, 0, lineCount() - 1);
    const qint64 start = lineStart(line);
    const qint64 end = line + 1 < lineCount() ? lineStart(line + 1) - 1 : m_size;
    return end - start;
}

qint64 ChunkedText::lineAt(qint64 offset) const
{
    offset = std::clamp<qint64>(offset, 0, m_size);
    const qsizetype chunk = chunkAt(offset);
    return m_lineBreaksBefore[std::size_t(chunk)]
           + m_chunks[std::size_t(chunk)].lineBreaksBefore(offset
                                                           - m_chunkStarts[std::size_t(chunk)]);
}

QString ChunkedText::text(qint64 offset, qint64 length) const
{
    offset = std::clamp<qint64>(offset, 0, m_size);
    length = std::clamp<qint64>(length, 0, m_size - offset);
    QString out;
    out.reserve(length);
    for (qsizetype chunk = chunkAt(offset); length > 0; ++chunk) {
        const TextChunk &piece = m_chunks[std::size_t(chunk)];
        const qint64 inChunk = offset - m_chunkStarts[std::size_t(chunk)];
        const qint64 take = std::min<qint64>(length, piece.size() - inChunk);
        out.append(QStringView(piece.text()).mid(inChunk, take));
        offset += take;
        length -= take;
    }
    return out;
}

void ChunkedText::insert(qint64 offset, QStringView text)
{
    Q_ASSERT(offset >= 0 && offset <= m_size);
    if (text.isEmpty())
        return;
    const qsizetype chunk = chunkAt(offset);
    m_chunks[std::size_t(chunk)].insert(offset - m_chunkStarts[std::size_t(chunk)], text);
    splitOversized(chunk);
    refreshFrom(chunk);
}

void ChunkedText::splitOversized(qsizetype chunk)
{
    // Twice the chunk size before splitting, so that typing around a boundary does not split and
    // re-split; a large paste is cut into pieces of the usual size.
    while (m_chunks[std::size_t(chunk)].size() > 2 * m_chunkSize) {
        TextChunk rest = m_chunks[std::size_t(chunk)].splitAt(m_chunkSize);
        m_chunks.insert(m_chunks.begin() + chunk + 1, std::move(rest));
        ++chunk;
    }
}

void ChunkedText::remove(qint64 offset, qint64 length)
{
    Q_ASSERT(offset >= 0 && offset <= m_size);
    length = std::clamp<qint64>(length, 0, m_size - offset);
    if (length == 0)
        return;
    const qsizetype first = chunkAt(offset);
    qsizetype chunk = first;
    // The starts past the first chunk are stale until refreshFrom, so the walk counts from the
    // first chunk: every later chunk is cut from its beginning.
    qint64 inChunk = offset - m_chunkStarts[std::size_t(first)];
    for (;;) {
        TextChunk &piece = m_chunks[std::size_t(chunk)];
        const qint64 take = std::min<qint64>(length, piece.size() - inChunk);
        piece.remove(inChunk, take);
        length -= take;
        if (length == 0)
            break;
        ++chunk;
        inChunk = 0;
    }
    // Chunks emptied by the removal go, but one always stays.
    const auto emptyBegin = std::remove_if(m_chunks.begin() + first, m_chunks.begin() + chunk + 1,
                                           [](const TextChunk &c) { return c.size() == 0; });
    m_chunks.erase(emptyBegin, m_chunks.begin() + chunk + 1);
    if (m_chunks.empty())
        m_chunks.emplace_back();
    // The chunk before the removal and the one after it may both have shrunk.
    qsizetype from =
        std::min<qsizetype>(std::max<qsizetype>(first - 1, 0), qsizetype(m_chunks.size()) - 1);
    if (!mergeWithNext(from) && from + 1 < qsizetype(m_chunks.size()))
        mergeWithNext(from + 1);
    refreshFrom(from);
}

bool ChunkedText::mergeWithNext(qsizetype chunk)
{
    if (chunk + 1 >= qsizetype(m_chunks.size())
        || m_chunks[std::size_t(chunk)].size() + m_chunks[std::size_t(chunk + 1)].size()
               > m_chunkSize)
        return false;
    m_chunks[std::size_t(chunk)].append(m_chunks[std::size_t(chunk + 1)]);
    m_chunks.erase(m_chunks.begin() + chunk + 1);
    return true;
}

} // namespace plumeo::bench
