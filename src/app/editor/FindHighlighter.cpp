#include "editor/FindHighlighter.h"

#include "Theme.h"
#include "document/TextDocument.h"
#include "editing/TextSearch.h"
#include "editor/EditorCommandRunner.h"
#include "editor/EditorView.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

namespace plumeo {

namespace {

// Lines in view closer than this are read as one piece: fewer reads, and a match of a search that
// holds a line break is found across it.
constexpr qsizetype joinedGap = 256;

} // namespace

FindHighlighter::FindHighlighter(QObject *parent)
    : QObject(parent)
{}

FindHighlighter::~FindHighlighter()
{
    detach();
}

EditorView *FindHighlighter::view() const
{
    return m_viewWidget ? m_view : nullptr;
}

void FindHighlighter::setView(EditorView *view)
{
    if (view == this->view())
        return;
    detach();
    if (!view)
        return;
    m_view = view;
    m_viewWidget = view->widget();
    m_viewport = view->viewport();
    m_viewport->installEventFilter(this);
    m_connections << connect(view->document()->textStorage(), &QTextDocument::contentsChange, this,
                             [this](int, int removed, int added) {
                                 if (removed != 0 || added != 0)
                                     schedule();
                             });
    m_connections << connect(view->notifier(), &EditorViewNotifier::selectionDidChange, this,
                             &FindHighlighter::schedule);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(m_viewWidget.data()))
        for (QScrollBar *scroll : {area->verticalScrollBar(), area->horizontalScrollBar()}) {
            m_connections << connect(scroll, &QScrollBar::valueChanged, this,
                                     &FindHighlighter::schedule);
            // A new range without a move: the text was laid out again (font, wrapping).
            m_connections << connect(scroll, &QScrollBar::rangeChanged, this,
                                     &FindHighlighter::schedule);
        }
    schedule();
}

void FindHighlighter::detach()
{
    for (const QMetaObject::Connection &connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    if (m_viewport)
        m_viewport->removeEventFilter(this);
    if (EditorView *left = view(); left && !left->isRetired())
        left->setExtraSelections(ExtraSelectionLayers::Layer::findMatches, {});
    m_view = nullptr;
    m_viewWidget = nullptr;
    m_viewport = nullptr;
}

void FindHighlighter::setSearch(const QString &needle, bool matchCase)
{
    if (needle == m_needle && matchCase == m_matchCase)
        return;
    m_needle = needle;
    m_matchCase = matchCase;
    schedule();
}

void FindHighlighter::setActive(bool on)
{
    if (on == m_active)
        return;
    m_active = on;
    schedule();
}

bool FindHighlighter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_viewport && event->type() == QEvent::Resize)
        schedule();
    return QObject::eventFilter(watched, event);
}

void FindHighlighter::schedule()
{
    // Scrolling and typing report many changes in a row; the view is laid out again by the time
    // the event loop comes back here.
    if (m_pending)
        return;
    m_pending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_pending = false;
            update();
        },
        Qt::QueuedConnection);
}

void FindHighlighter::update()
{
    EditorView *view = this->view();
    if (!view || view->isRetired())
        return;
    QList<QTextEdit::ExtraSelection> marks;
    if (m_active && !m_needle.isEmpty()) {
        std::vector<TextRange> windows;
        for (const TextRange range : view->visibleRanges()) {
            if (!windows.empty() && range.location - windows.back().end() <= joinedGap)
                windows.back().length = range.end() - windows.back().location;
            else
                windows.push_back(range);
        }
        const TextDocument *document = view->document();
        QTextDocument *storage = document->textStorage();
        const qsizetype length = storage->characterCount() - 1;
        // A match that begins or ends in view is found by reading this far beyond it.
        const qsizetype reach = m_needle.size() - 1;
        const TextRange current = EditorCommandRunner(*view).selection();
        QTextCharFormat format;
        format.setBackground(Theme::findMatch());
        qsizetype budget = maxSearchedUnits;
        qsizetype markedUpTo = 0;
        for (const TextRange window : windows) {
            const qsizetype from = std::max<qsizetype>(window.location - reach, 0);
            const qsizetype to = std::min(std::min(window.end() + reach, length), from + budget);
            if (to <= from)
                break;
            budget -= to - from;
            const QString piece = EditorCommandRunner::realText(document, from, to);
            for (const TextRange match :
                 TextSearch::matchesOverlapping(piece, from, window, m_needle, m_matchCase)) {
                // Pieces read beyond their window may meet the same match twice.
                if (match == current || match.location < markedUpTo)
                    continue;
                markedUpTo = match.end();
                QTextCursor cursor(storage);
                cursor.setPosition(int(match.location));
                cursor.setPosition(int(match.end()), QTextCursor::KeepAnchor);
                marks.append({cursor, format});
            }
        }
    }
    view->setExtraSelections(ExtraSelectionLayers::Layer::findMatches, std::move(marks));
}

} // namespace plumeo
