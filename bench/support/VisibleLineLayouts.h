#pragma once

#include <map>
#include <memory>

#include <QFont>
#include <QSize>
#include <QTextLayout>

class QPainter;

namespace plumeo::bench {

class ChunkedText;

// The QTextLayouts of the lines in view, and of no other line: one unwrapped layout per visible
// line, built from the chunked text when the line comes into view, kept while it stays, dropped
// when it leaves. Memory is bounded by the viewport, not by the file.
//
// A line longer than longLineThreshold units is laid out only over a window of its columns around
// the viewport: shaping 100 M characters to show 100 of them costs seconds and gigabytes. The
// window's x position assumes that every unit before it is one advance of the font wide, which is
// exact for the monospaced ASCII of code and minified files and only an estimate for tabs, wide or
// combining characters; an editor adopting this would keep a column-to-x map for such lines.
class VisibleLineLayouts
{
public:
    static constexpr qsizetype longLineThreshold = 4096;

    VisibleLineLayouts(const ChunkedText &text, const QFont &font, QSize viewport);

    // How many lines the viewport shows (a partly visible last line counts).
    int visibleLineCount() const { return m_visibleLines; }
    qreal lineSpacing() const { return m_lineSpacing; }
    qint64 firstLine() const { return m_firstLine; }

    // Shows the lines from firstLine on, scrolled right by firstColumn columns, and builds the
    // layouts that are missing. Returns how many were built.
    int scrollTo(qint64 firstLine, qint64 firstColumn = 0);
    // The line's text changed without adding or removing lines: its layout is rebuilt now if it is
    // in view. Returns how many layouts were built.
    int lineChanged(qint64 line);

    qsizetype cachedLayoutCount() const { return qsizetype(m_layouts.size()); }
    // Draws the visible lines of [fromLine, toLine) into a painter of the viewport's size.
    void paint(QPainter &painter, qint64 fromLine, qint64 toLine) const;
    void paint(QPainter &painter) const
    {
        paint(painter, m_firstLine, m_firstLine + m_visibleLines);
    }
    // The text a line's layout holds, for checking; empty when the line is not laid out.
    QString laidOutText(qint64 line) const;

private:
    struct LaidOutLine
    {
        std::unique_ptr<QTextLayout> layout;
        // The first column of the line that the layout holds (0 unless the line is long).
        qint64 windowStart = 0;
        qint64 windowEnd = 0;
    };

    int buildMissing();
    LaidOutLine layOut(qint64 line) const;

    const ChunkedText &m_text;
    QFont m_font;
    QSize m_viewport;
    qreal m_lineSpacing;
    qreal m_advance;
    int m_visibleLines;
    qint64 m_visibleColumns;
    qint64 m_firstLine = 0;
    qint64 m_firstColumn = 0;
    std::map<qint64, LaidOutLine> m_layouts;
};

} // namespace plumeo::bench
