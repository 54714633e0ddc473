#include "text/LineIndex.h"

#include <algorithm>

namespace plumeo {

LineIndex::LineIndex(QStringView text)
{
    const char16_t *units = text.utf16();
    const qsizetype size = text.size();
    // Source code averages 30 to 40 units per line; reserving on that guess avoids most regrowth
    // without holding much more memory than the index needs.
    m_lineStarts.reserve(size_t(size / 32 + 1));
    m_lineStarts.push_back(0);
    for (qsizetype i = 0; i < size; ++i) {
        if (units[i] == u'\n')
            m_lineStarts.push_back(i + 1);
    }
}

LineIndex LineIndex::fromLineStarts(std::vector<qint64> lineStarts)
{
    LineIndex index;
    index.m_lineStarts = std::move(lineStarts);
    if (index.m_lineStarts.empty())
        index.m_lineStarts.push_back(0);
    Q_ASSERT(index.m_lineStarts.front() == 0);
    return index;
}

qint64 LineIndex::line(qint64 offset) const
{
    if (m_lineStarts.size() == 1)
        return 0;
    // The last start that is <= offset. upper_bound finds the first start > offset.
    const auto after = std::upper_bound(m_lineStarts.begin() + 1, m_lineStarts.end(), offset);
    return qint64(after - m_lineStarts.begin()) - 1;
}

qint64 LineIndex::start(qint64 line) const
{
    const qint64 clamped = std::clamp<qint64>(line, 0, lineCount() - 1);
    return m_lineStarts[size_t(clamped)];
}

LineIndex::Position LineIndex::position(qint64 offset) const
{
    const qint64 lineNumber = line(offset);
    return {lineNumber, offset - m_lineStarts[size_t(lineNumber)]};
}

} // namespace plumeo
