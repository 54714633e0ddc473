#pragma once

#include "editor/EditorView.h"
#include "editor/FindBar.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QPointer>
#include <QTextEdit>

namespace plumeo {

class EditorDecorations;

// The view of a rich-text document: QTextEdit, which honours paragraph alignment, over the
// document's own text storage. It offers the editing commands of the code editor (Tab and Shift-Tab
// keep Qt's own behaviour) and the Format menu: bold, italic, underline, alignment, and the font
// and colour dialogs standing in for the font and colour panels, all acting on the selection (or on
// what is typed next when nothing is selected).
class RichTextView : public QTextEdit, public EditorView
{
    Q_OBJECT
public:
    explicit RichTextView(TextDocument *document, QWidget *parent = nullptr);
    ~RichTextView() override;

    QWidget *widget() override { return this; }
    TextDocument *document() const override { return m_document; }

    void setHighlightCurrentLine(bool on) override;
    bool highlightsCurrentLine() const override;
    void setWordWrap(bool on) override;
    void applyFont(const QFont &font, int tabWidth) override;
    void configureAsCodeEditor() override;
    void setFindBar(FindBar *findBar) override;
    FindBar *findBar() const { return m_findBar; }

    QTextCursor textCursor() const override { return QTextEdit::textCursor(); }
    void setTextCursor(const QTextCursor &cursor) override { QTextEdit::setTextCursor(cursor); }
    void centerCursor() override;
    QWidget *viewport() const override { return QTextEdit::viewport(); }
    QTextBlock firstVisibleBlock() const override;
    QRectF blockRect(const QTextBlock &block) const override;
    qreal firstRowHeight(const QTextBlock &block) const override;

    void validate(const MenuItemInfo &item, MenuItemState &state) const override;
    void perform(const MenuItemInfo &item) override;

    // Return, with automatic indentation as in the code editor.
    void insertNewline();

    // The dialogs opened by showFontPanel: and showColorPanel:, while open.
    QFontDialog *fontDialog() const { return m_fontDialog; }
    QColorDialog *colorDialog() const { return m_colorDialog; }

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
    void performRichTextAction(const MenuItemInfo &item);
    void validateRichTextAction(const MenuItemInfo &item, MenuItemState &state) const;
    void mergeFormat(const QTextCharFormat &format);
    void showFontDialog();
    void showColorDialog();

    TextDocument *m_document;
    QPointer<FindBar> m_findBar;
    EditorDecorations *m_decorations;
    QPointer<QFontDialog> m_fontDialog;
    QPointer<QColorDialog> m_colorDialog;
    int m_lastAnchor = -1;
    int m_lastPosition = -1;
};

} // namespace plumeo
