#include "editor/LineNumberGutter.h"

#include "Theme.h"
#include "editor/EditorView.h"

#include <cmath>

#include <QFontDatabase>
#include <QPaintEvent>
#include <QPainter>
#include <QTextLayout>

namespace plumeo {

namespace {

int digitCount(qint64 value)
{
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

} // namespace

LineNumberGutter::LineNumberGutter(QWidget *parent)
    : QWidget(parent)
    , m_lineCount([] { return qint64(1); })
    , m_font(QFontDatabase::systemFont(QFontDatabase::FixedFont))
{
    m_font.setPointSizeF(11);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LineNumberGutter::setNumberFont(const QFont &font)
{
    m_font = font;
}

qreal LineNumberGutter::thicknessFor(qint64 lineCount, const QFont &font)
{
    const qreal zero = QFontMetricsF(font).horizontalAdvance(u'0');
    return std::ceil(zero * std::max(digitCount(lineCount), 2) + 2 * padding);
}

void LineNumberGutter::invalidate()
{
    const qreal wanted = thicknessFor(m_lineCount(), m_font);
    if (std::abs(m_thickness - wanted) > 0.5) {
        m_thickness = wanted;
        if (m_onThicknessChange)
            m_onThicknessChange(wanted);
    }
    update();
}

QSize LineNumberGutter::sizeHint() const
{
    return QSize(int(std::ceil(m_thickness)), 0);
}

void LineNumberGutter::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Theme::background());
    if (!m_view || m_view->isRetired() || !m_view->viewport())
        return;

    const QTextCursor cursor = m_view->textCursor();
    const qint64 caretLine = cursor.document()->findBlock(cursor.selectionStart()).blockNumber();
    const bool band = m_view->highlightsCurrentLine() && !cursor.hasSelection();
    const qreal right = width() - padding;
    // The text's vertical position in the gutter's coordinates.
    const qreal offset = mapFromGlobal(m_view->viewport()->mapToGlobal(QPoint(0, 0))).y();
    const qreal bottom = event->rect().bottom();

    painter.setFont(m_font);
    const QFontMetricsF metrics(m_font);
    for (QTextBlock block = m_view->firstVisibleBlock(); block.isValid(); block = block.next()) {
        if (!block.isVisible())
            continue;
        const QRectF rect = m_view->blockRect(block);
        const qreal top = rect.top() + offset;
        if (top > bottom)
            break;
        const qint64 line = block.blockNumber();
        const qreal rowHeight = m_view->firstRowHeight(block);
        if (line == caretLine && band)
            painter.fillRect(QRectF(0, top, width(), rowHeight), Theme::currentLine());

        // On the baseline of the block's first row.
        qreal baseline = top + rowHeight * 0.8;
        if (const QTextLayout *layout = block.layout(); layout && layout->lineCount() > 0) {
            const QTextLine first = layout->lineAt(0);
            baseline = top + first.y() + first.ascent();
        }
        const QString number = QString::number(line + 1);
        painter.setPen(line == caretLine ? Theme::gutterCurrentText() : Theme::gutterText());
        painter.drawText(QPointF(right - metrics.horizontalAdvance(number), baseline), number);
    }
}

} // namespace plumeo
