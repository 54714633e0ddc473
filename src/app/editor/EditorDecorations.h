#pragma once

#include <functional>

#include <QBasicTimer>
#include <QObject>
#include <QRect>

class QAbstractScrollArea;
class QPainter;
class QTextDocument;

namespace plumeo {

// What both editor views draw themselves: the band of the caret's visual row (under the text,
// across the whole width) and the caret in the theme's caret colour, blinking at the desktop's
// rate. Qt draws its own caret in the text colour; the views set its width to 0 and leave the caret
// to this.
class EditorDecorations : public QObject
{
public:
    // caretRect: the caret's row in viewport coordinates (Qt's cursorRect: the visual line's top
    // and height). hasSelection: whether anything is selected.
    EditorDecorations(QAbstractScrollArea *view,
                      std::function<QRect()> caretRect,
                      std::function<bool()> hasSelection);

    static constexpr int caretWidth = 2;
    // The text container's inset: 8 pixels on the left and right, 12 above and below.
    static constexpr int horizontalInset = 8;
    static constexpr int verticalInset = 12;

    // Gives storage the document margin of the horizontal inset. Qt records a margin change as an
    // undoable edit that marks the document as changed, so the margin is only set while the storage
    // has no undo history (a freshly read document, the first time a view shows it): a margin set
    // then stays with the storage.
    static void setDocumentMargin(QTextDocument *storage);

    bool highlightsCurrentLine() const { return m_highlightCurrentLine; }
    void setHighlightCurrentLine(bool on);

    // Under the text: the current line's band, when wanted and nothing is selected.
    void paintUnderText(QPainter &painter, const QRect &exposed) const;
    // Over the text: the caret, while the view has the focus and the blink phase shows it.
    void paintOverText(QPainter &painter) const;

    // The caret moved or the view gained the focus: show it at once and blink from now on.
    void restartBlinking();
    // Repaints what depends on the caret's place (old and new band, old and new caret).
    void caretMoved();

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    QRect caretArea(const QRect &row) const;
    QRect bandArea(const QRect &row) const;
    void updateArea(const QRect &row);

    QAbstractScrollArea *m_view;
    std::function<QRect()> m_caretRect;
    std::function<bool()> m_hasSelection;
    bool m_highlightCurrentLine = true;
    bool m_caretOn = true;
    QRect m_lastRow;
    QBasicTimer m_blink;
};

} // namespace plumeo
