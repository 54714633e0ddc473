#pragma once

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace plumeo {

class EditorView;

// Marks, in the find-match layer of a view's extra selections, every match of the find bar's
// search in the text in view, but for the current match (the selection), which keeps the
// selection's colour. The marks follow scrolling, resizing, edits and the caret: changes are
// gathered and answered once from the event loop, and each answer searches only the lines in view
// (EditorView::visibleRanges), at most maxSearchedUnits units, so a text of a million characters
// costs what a short one does.
class FindHighlighter : public QObject
{
public:
    explicit FindHighlighter(QObject *parent = nullptr);
    ~FindHighlighter() override;

    static constexpr qsizetype maxSearchedUnits = 200'000;

    // The view marked; null detaches. The view left loses its marks at once.
    void setView(EditorView *view);
    // What is marked: the literal needle, compared as TextSearch does; empty marks nothing.
    void setSearch(const QString &needle, bool matchCase);
    // Off while the find bar is closed: no marks.
    void setActive(bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    EditorView *view() const;
    void schedule();
    void update();
    void detach();

    EditorView *m_view = nullptr;
    QPointer<QWidget> m_viewWidget;
    QPointer<QWidget> m_viewport;
    QList<QMetaObject::Connection> m_connections;
    QString m_needle;
    bool m_matchCase = false;
    bool m_active = false;
    bool m_pending = false;
};

} // namespace plumeo
