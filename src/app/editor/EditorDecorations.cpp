#include "editor/EditorDecorations.h"

#include "Theme.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QPainter>
#include <QTextDocument>
#include <QTimerEvent>

namespace plumeo {

EditorDecorations::EditorDecorations(QAbstractScrollArea *view,
                                     std::function<QRect()> caretRect,
                                     std::function<bool()> hasSelection)
    : QObject(view)
    , m_view(view)
    , m_caretRect(std::move(caretRect))
    , m_hasSelection(std::move(hasSelection))
{}

void EditorDecorations::setDocumentMargin(QTextDocument *storage)
{
    if (storage->documentMargin() == horizontalInset || storage->isUndoAvailable()
        || storage->isRedoAvailable())
        return;
    const bool modified = storage->isModified();
    // A storage being loaded has undo off until its last slice is in.
    const bool undoEnabled = storage->isUndoRedoEnabled();
    storage->setUndoRedoEnabled(false);
    storage->setDocumentMargin(horizontalInset);
    storage->setUndoRedoEnabled(undoEnabled);
    storage->setModified(modified);
}

void EditorDecorations::setHighlightCurrentLine(bool on)
{
    if (m_highlightCurrentLine == on)
        return;
    m_highlightCurrentLine = on;
    m_view->viewport()->update();
}

QRect EditorDecorations::bandArea(const QRect &row) const
{
    return QRect(0, row.top(), m_view->viewport()->width(), row.height());
}

QRect EditorDecorations::caretArea(const QRect &row) const
{
    return QRect(row.left(), row.top(), caretWidth, row.height());
}

void EditorDecorations::paintUnderText(QPainter &painter, const QRect &exposed) const
{
    if (!m_highlightCurrentLine || m_hasSelection())
        return;
    const QRect band = bandArea(m_caretRect());
    if (!band.intersects(exposed))
        return;
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.fillRect(band, Theme::currentLine());
}

void EditorDecorations::paintOverText(QPainter &painter) const
{
    if (!m_caretOn || !m_view->hasFocus() || m_hasSelection())
        return;
    painter.fillRect(caretArea(m_caretRect()), Theme::caret());
}

void EditorDecorations::updateArea(const QRect &row)
{
    if (row.isNull())
        return;
    m_view->viewport()->update(m_highlightCurrentLine ? bandArea(row)
                                                      : caretArea(row).adjusted(-1, 0, 1, 0));
}

void EditorDecorations::caretMoved()
{
    updateArea(m_lastRow);
    m_lastRow = m_caretRect();
    updateArea(m_lastRow);
    restartBlinking();
}

void EditorDecorations::restartBlinking()
{
    m_caretOn = true;
    const int period = QApplication::cursorFlashTime();
    if (period > 0 && m_view->hasFocus())
        m_blink.start(period / 2, this);
    else
        m_blink.stop();
    updateArea(m_caretRect());
}

void EditorDecorations::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_blink.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    if (!m_view->hasFocus()) {
        m_blink.stop();
        m_caretOn = false;
    } else {
        m_caretOn = !m_caretOn;
    }
    const QRect row = m_caretRect();
    m_view->viewport()->update(caretArea(row).adjusted(-1, 0, 1, 0));
}

} // namespace plumeo
