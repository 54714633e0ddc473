#pragma once

#include "editor/EditorView.h"
#include "editor/FindBar.h"

#include <QPlainTextEdit>
#include <QPointer>

namespace plumeo {

class EditorDecorations;

// The code editor for plain text: QPlainTextEdit (lazy layout, fast on long files) over the
// document's own text storage, with the editing commands (automatic indentation, Tab and Shift-Tab,
// indent and outdent, comments, duplicate, delete and move lines, case changes), the band of the
// current line, a caret in the theme's caret colour, files dropped on it opened, and clipboard text
// that holds the document's real characters. Each command is one undo step whose undo restores the
// selection. The Format menu's rich-text actions are answered but disabled.
class EditorTextView : public QPlainTextEdit, public EditorView
{
    Q_OBJECT
public:
    explicit EditorTextView(TextDocument *document, QWidget *parent = nullptr);
    ~EditorTextView() override;

    QWidget *widget() override { return this; }
    TextDocument *document() const override { return m_document; }

    void setHighlightCurrentLine(bool on) override;
    bool highlightsCurrentLine() const override;
    void setWordWrap(bool on) override;
    void applyFont(const QFont &font, int tabWidth) override;
    void configureAsCodeEditor() override;
    void setFindBar(FindBar *findBar) override;
    FindBar *findBar() const { return m_findBar; }

    QTextCursor textCursor() const override { return QPlainTextEdit::textCursor(); }
    void setTextCursor(const QTextCursor &cursor) override
    {
        QPlainTextEdit::setTextCursor(cursor);
    }
    void centerCursor() override { QPlainTextEdit::centerCursor(); }
    QWidget *viewport() const override { return QPlainTextEdit::viewport(); }
    QTextBlock firstVisibleBlock() const override { return QPlainTextEdit::firstVisibleBlock(); }
    QRectF blockRect(const QTextBlock &block) const override;
    qreal firstRowHeight(const QTextBlock &block) const override;

    void validate(const MenuItemInfo &item, MenuItemState &state) const override;
    void perform(const MenuItemInfo &item) override;

    // The keyboard's editing commands.
    void insertNewline();
    void insertTab();
    void insertBacktab();

protected:
    void releaseStorage() override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData *source) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void selectionMoved();

    TextDocument *m_document;
    QPointer<FindBar> m_findBar;
    EditorDecorations *m_decorations;
    int m_lastAnchor = -1;
    int m_lastPosition = -1;
};

} // namespace plumeo
