#pragma once

#include <functional>

#include <QFont>
#include <QWidget>

namespace plumeo {

class EditorView;

// The strip left of the text that numbers the visible lines, the caret's line in a brighter colour
// and with the current-line band. Its width follows the number of digits of the line count (never
// fewer than two); the controller lays it out and is told when the wanted width changes.
class LineNumberGutter : public QWidget
{
    Q_OBJECT
public:
    static constexpr qreal padding = 10;

    explicit LineNumberGutter(QWidget *parent = nullptr);

    void setTextView(EditorView *view) { m_view = view; }
    // The number of lines of the text. Lines are the storage's blocks (one per LF), so the gutter
    // never needs the text itself: a keystroke in a large file costs no copy of it.
    void setLineCountProvider(std::function<qint64()> provider)
    {
        m_lineCount = std::move(provider);
    }
    // Called with the new thickness when it changes by more than half a point.
    void setOnThicknessChange(std::function<void(qreal)> callback)
    {
        m_onThicknessChange = std::move(callback);
    }
    void setNumberFont(const QFont &font);
    const QFont &numberFont() const { return m_font; }

    qreal thickness() const { return m_thickness; }
    // The thickness wanted for a text of lineCount lines with font: room for its digits (at least
    // two) and the padding on both sides.
    static qreal thicknessFor(qint64 lineCount, const QFont &font);

    // Recomputes the thickness and redraws: after text changes, reloads, font and preference
    // changes.
    void invalidate();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    EditorView *m_view = nullptr;
    std::function<qint64()> m_lineCount;
    std::function<void(qreal)> m_onThicknessChange;
    QFont m_font;
    qreal m_thickness = 44;
};

} // namespace plumeo
