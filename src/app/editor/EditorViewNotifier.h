#pragma once

#include <QObject>
#include <QStringList>

namespace plumeo {

// The signals of an editor view, whichever kind it is. The two views get their QObject from
// different Qt classes (QPlainTextEdit, QTextEdit), so their common interface, EditorView, cannot
// be a QObject itself (a class has one QObject base), and the template that shares their code
// cannot declare signals (moc reads no templates). Each view therefore owns one of these and
// emits through it; its owner connects to EditorView::notifier() without knowing the view's kind.
// Retiring a view drops every connection made here.
class EditorViewNotifier : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
Q_SIGNALS:
    // After every change of the text.
    void textDidChange();
    // After every move of the caret or the selection (not when Qt reports a change that leaves
    // both ends where they were).
    void selectionDidChange();
    // Local files dropped on the view, in the drop's order; the view has inserted nothing.
    void filesDropped(const QStringList &paths);
};

} // namespace plumeo
