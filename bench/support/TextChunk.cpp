#include "support/TextChunk.h"

#include <algorithm>

namespace plumeo::bench {

namespace {

// Appends the offsets of the LFs of text, each increased by base.
void collectLineBreaks(QStringView text, qsizetype base, std::vector<std::int32_t> &out)
{
    // QStringView::indexOf scans with SIMD, far faster than a loop over QChars.
    for (qsizetype at = text.indexOf(u'\n'); at >= 0; at = text.indexOf(u'\n', at + 1))
        out.push_back(std::int32_t(base + at));
}

} // namespace

TextChunk::TextChunk(QStringView text)
    : m_text(text.toString())
{
    collectLineBreaks(m_text, 0, m_lineBreaks);
}

qsizetype TextChunk::lineBreaksBefore(qsizetype offset) const
{
    return std::lower_bound(m_lineBreaks.begin(), m_lineBreaks.end(), std::int32_t(offset))
           - m_lineBreaks.begin();
}

void TextChunk::insert(qsizetype offset, QStringView text)
{
    Q_ASSERT(offset >= 0 && offset <= size());
    m_text.insert(offset, text);
    const auto first = m_lineBreaks.begin() + lineBreaksBefore(offset);
    for (auto it = first; it != m_lineBreaks.end(); ++it)
        *it += std::int32_t(text.size());
    std::vector<std::int32_t> added;
    collectLineBreaks(text, offset, added);
    m_lineBreaks.insert(first, added.begin(), added.end());
}

void TextChunk::remove(qsizetype offset, qsizetype count)
{
    Q_ASSERT(offset >= 0 && count >= 0 && offset + count <= size());
    m_text.remove(offset, count);
    const auto first = m_lineBreaks.begin() + lineBreaksBefore(offset);
    const auto last = m_lineBreaks.begin() + lineBreaksBefore(offset + count);
    for (auto it = last; it != m_lineBreaks.end(); ++it)
        *it -= std::int32_t(count);
    m_lineBreaks.erase(first, last);
}

TextChunk TextChunk::splitAt(qsizetype offset)
{
    Q_ASSERT(offset >= 0 && offset <= size());
    TextChunk rest;
    rest.m_text = m_text.mid(offset);
    const auto first = m_lineBreaks.begin() + lineBreaksBefore(offset);
    rest.m_lineBreaks.reserve(std::size_t(m_lineBreaks.end() - first));
    for (auto it = first; it != m_lineBreaks.end(); ++it)
        rest.m_lineBreaks.push_back(*it - std::int32_t(offset));
    m_lineBreaks.erase(first, m_lineBreaks.end());
    m_text.truncate(offset);
    // The kept half is usually edited again soon; releasing the other half's room now would only
    // move the memory back when it grows.
    return rest;
}

void TextChunk::append(const TextChunk &next)
{
    const auto base = std::int32_t(m_text.size());
    m_text.append(next.m_text);
    m_lineBreaks.reserve(m_lineBreaks.size() + next.m_lineBreaks.size());
    for (const std::int32_t at : next.m_lineBreaks)
        m_lineBreaks.push_back(base + at);
}

} // namespace plumeo::bench
