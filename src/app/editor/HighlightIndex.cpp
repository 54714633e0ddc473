#include "editor/HighlightIndex.h"

#include <algorithm>

namespace plumeo {

namespace {

// Replaces values[from, to) by count copies of value, moving the tail only when the count changes.
template <typename T>
void splice(std::vector<T> &values, size_t from, size_t to, size_t count, T value)
{
    const size_t removed = to - from;
    const size_t kept = std::min(removed, count);
    std::fill_n(values.begin() + qsizetype(from), kept, value);
    if (count < removed)
        values.erase(values.begin() + qsizetype(from + count), values.begin() + qsizetype(to));
    else if (count > removed)
        values.insert(values.begin() + qsizetype(to), count - removed, value);
}

} // namespace

HighlightIndex::HighlightIndex()
    : m_lineStarts{0}
    , m_endStates{LexState::initial()}
    , m_mayHaveFormats{0}
{}

void HighlightIndex::reset(std::vector<qint64> lineStarts, bool mayHaveFormats)
{
    Q_ASSERT(!lineStarts.empty() && lineStarts.front() == 0);
    m_lineStarts = std::move(lineStarts);
    m_endStates.assign(m_lineStarts.size(), LexState::initial());
    m_mayHaveFormats.assign(m_lineStarts.size(), mayHaveFormats);
}

void HighlightIndex::resetEndStates()
{
    std::fill(m_endStates.begin(), m_endStates.end(), LexState::initial());
}

qint64 HighlightIndex::line(qint64 offset) const
{
    const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
    return after == m_lineStarts.begin() ? 0 : qint64(after - m_lineStarts.begin()) - 1;
}

HighlightIndex::Edit HighlightIndex::replace(qint64 position,
                                             qint64 oldEnd,
                                             qint64 delta,
                                             const std::vector<qint64> &newStarts)
{
    Q_ASSERT(0 <= position && position <= oldEnd);
    const qint64 first = line(position);
    // A start s followed a line break at s - 1; it goes when that break lay inside the old range.
    const auto from = m_lineStarts.begin() + first + 1;
    const auto to = std::upper_bound(from, m_lineStarts.end(), oldEnd);
    const size_t fromIndex = size_t(from - m_lineStarts.begin());
    const size_t toIndex = size_t(to - m_lineStarts.begin());

    if (delta != 0)
        for (auto it = to; it != m_lineStarts.end(); ++it)
            *it += delta;
    splice<qint64>(m_lineStarts, fromIndex, toIndex, newStarts.size(), 0);
    std::copy(newStarts.begin(), newStarts.end(), m_lineStarts.begin() + qsizetype(fromIndex));
    splice(m_endStates, fromIndex, toIndex, newStarts.size(), LexState::initial());
    splice<quint8>(m_mayHaveFormats, fromIndex, toIndex, newStarts.size(), 1);
    // The first line's block may now hold text whose formats belonged to another line.
    m_mayHaveFormats[size_t(first)] = 1;
    return {first, qint64(toIndex - fromIndex), qint64(newStarts.size())};
}

} // namespace plumeo
