#include "support/VisibleLineLayouts.h"

#include "support/ChunkedText.h"

#include <cmath>

#include <QFontMetricsF>
#include <QPainter>
#include <QTextOption>

namespace plumeo::bench {

VisibleLineLayouts::VisibleLineLayouts(const ChunkedText &text, const QFont &font, QSize viewport)
    : m_text(text)
    , m_font(font)
    , m_viewport(viewport)
{
    const QFontMetricsF metrics(font);
    m_lineSpacing = metrics.lineSpacing();
    m_advance = metrics.horizontalAdvance(u'x');
    m_visibleLines = int(std::ceil(viewport.height() / m_lineSpacing));
    m_visibleColumns = qint64(std::ceil(viewport.width() / m_advance));
}

int VisibleLineLayouts::scrollTo(qint64 firstLine, qint64 firstColumn)
{
    m_firstLine = firstLine;
    m_firstColumn = firstColumn;
    const qint64 end = firstLine + m_visibleLines;
    m_layouts.erase(m_layouts.begin(), m_layouts.lower_bound(firstLine));
    m_layouts.erase(m_layouts.lower_bound(end), m_layouts.end());
    // A long line's window must still cover the visible columns.
    for (auto it = m_layouts.begin(); it != m_layouts.end();) {
        const LaidOutLine &line = it->second;
        const bool windowed = line.windowStart > 0 || line.windowEnd < m_text.lineLength(it->first);
        if (windowed
            && (firstColumn < line.windowStart || firstColumn + m_visibleColumns > line.windowEnd))
            it = m_layouts.erase(it);
        else
            ++it;
    }
    return buildMissing();
}

int VisibleLineLayouts::lineChanged(qint64 line)
{
    m_layouts.erase(line);
    return buildMissing();
}

int VisibleLineLayouts::buildMissing()
{
    int built = 0;
    const qint64 end = std::min(m_firstLine + m_visibleLines, m_text.lineCount());
    for (qint64 line = m_firstLine; line < end; ++line) {
        if (m_layouts.count(line))
            continue;
        m_layouts.emplace(line, layOut(line));
        ++built;
    }
    return built;
}

VisibleLineLayouts::LaidOutLine VisibleLineLayouts::layOut(qint64 line) const
{
    LaidOutLine result;
    const qint64 start = m_text.lineStart(line);
    const qint64 length = m_text.lineLength(line);
    result.windowEnd = length;
    if (length > longLineThreshold) {
        // As many columns again on each side, so that scrolling by a screen stays inside it.
        result.windowStart = std::max<qint64>(0, m_firstColumn - m_visibleColumns);
        result.windowEnd = std::min(length, m_firstColumn + 2 * m_visibleColumns);
    }
    QString text = m_text.text(start + result.windowStart, result.windowEnd - result.windowStart);
    // Never start or end the window inside a surrogate pair: half a character would be drawn as a
    // replacement box.
    if (!text.isEmpty() && text.front().isLowSurrogate()) {
        text.remove(0, 1);
        ++result.windowStart;
    }
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);

    result.layout = std::make_unique<QTextLayout>(text, m_font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    result.layout->setTextOption(option);
    // Only the lines in view are kept, so keeping their shaped glyphs for the next paint costs
    // little, and saves shaping again on every repaint.
    result.layout->setCacheEnabled(true);
    result.layout->beginLayout();
    QTextLine textLine = result.layout->createLine();
    if (textLine.isValid())
        textLine.setLineWidth(m_viewport.width());
    result.layout->endLayout();
    return result;
}

void VisibleLineLayouts::paint(QPainter &painter, qint64 fromLine, qint64 toLine) const
{
    for (auto it = m_layouts.lower_bound(fromLine); it != m_layouts.end() && it->first < toLine;
         ++it) {
        const auto &[line, laidOut] = *it;
        const qreal y = qreal(line - m_firstLine) * m_lineSpacing;
        const qreal x = qreal(laidOut.windowStart - m_firstColumn) * m_advance;
        laidOut.layout->draw(&painter, QPointF(x, y));
    }
}

QString VisibleLineLayouts::laidOutText(qint64 line) const
{
    const auto it = m_layouts.find(line);
    return it == m_layouts.end() ? QString() : it->second.layout->text();
}

} // namespace plumeo::bench
