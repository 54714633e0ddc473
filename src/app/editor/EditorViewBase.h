#pragma once

#include "editor/EditorView.h"
#include "editor/FindBar.h"

#include <QPointer>

class QMimeData;

namespace plumeo {

class EditorDecorations;

// What the two editor views share, written once over the Qt class each is built on: QtTextEdit is
// QPlainTextEdit for the code editor (EditorTextView) and QTextEdit for the rich-text view
// (RichTextView), and View is that view itself, so that the keys reach EditorActions with the
// view's own type. It shows the document's text storage (given the layout QtTextEdit draws from),
// the current-line band and the themed caret, the extra selections of every layer (combined in
// setExtraSelections, the only caller of Qt's), forwards the text's changes and the caret's moves
// to notifier(), takes over the keys and committed input-method text that EditorActions handles,
// opens dropped files through notifier()->filesDropped, and keeps the link with the find bar.
//
// Being a template, it declares no signals and no slots of its own (see EditorViewNotifier); the
// views that derive from it are the QObject classes. Both instantiations are made in
// EditorViewBase.cpp.
template <typename QtTextEdit, typename View>
class EditorViewBase : public QtTextEdit, public EditorView
{
public:
    // A view of document's text storage, which it gives the layout QtTextEdit draws from.
    explicit EditorViewBase(TextDocument *document, QWidget *parent = nullptr);
    ~EditorViewBase() override;

    QWidget *widget() override { return this; }
    TextDocument *document() const override { return m_document; }

    void setHighlightCurrentLine(bool on) override;
    bool highlightsCurrentLine() const override;
    void setWordWrap(bool on) override;
    void setFindBar(FindBar *findBar) override;
    FindBar *findBar() const { return m_findBar; }
    void setExtraSelections(ExtraSelectionLayers::Layer layer,
                            QList<QTextEdit::ExtraSelection> selections) override;

    QTextCursor textCursor() const override { return QtTextEdit::textCursor(); }
    void setTextCursor(const QTextCursor &cursor) override { QtTextEdit::setTextCursor(cursor); }
    QWidget *viewport() const override { return QtTextEdit::viewport(); }
    qreal firstRowHeight(const QTextBlock &block) const override;
    std::vector<TextRange> visibleRanges() const override;

    // Return: a line break, indented as the line it breaks when the settings ask for automatic
    // indentation (one level more when the code before the caret opens a block).
    void insertNewline();

protected:
    // The settings both views need to act as the editor: wrapping (set first, since several of the
    // others lay the text out), no frame, Tab kept for the text, drops accepted, the theme's
    // colours, Qt's caret hidden, and the insets.
    void configureView(bool wrap);

    void releaseStorage() override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    // A view made shorter (the find bar opening under it, the window shrinking) keeps its end in
    // view when it showed it, and the caret when it showed it.
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    // The selection as its real characters, which a paste into this program takes back unchanged.
    QMimeData *createMimeDataFromSelection() const override;
    // Pasted or dropped text, through the command runner so that the storage keeps it exactly.
    void insertFromMimeData(const QMimeData *source) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

    TextDocument *const m_document;

private:
    void selectionMoved();

    EditorDecorations *m_decorations;
    ExtraSelectionLayers m_extraSelections;
    QPointer<FindBar> m_findBar;
    int m_lastAnchor = -1;
    int m_lastPosition = -1;
};

} // namespace plumeo
