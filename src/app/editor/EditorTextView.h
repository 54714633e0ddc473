#pragma once

#include "editor/EditorViewBase.h"

#include <QPlainTextEdit>

namespace plumeo {

// The code editor for plain text: QPlainTextEdit (lazy layout, fast on long files) over the
// document's own text storage, with the editing commands (automatic indentation, Tab and Shift-Tab,
// indent and outdent, comments, duplicate, delete and move lines, case changes, a closing bracket
// typed on a blank line outdenting it), the band of the current line, the bracket beside the caret
// highlighted with its partner, a caret in the theme's caret colour, files dropped on it opened,
// and clipboard text that holds the document's real characters. Each command is one undo step
// whose undo restores the selection. The Format menu's rich-text actions are answered but
// disabled.
class EditorTextView : public EditorViewBase<QPlainTextEdit, EditorTextView>
{
    Q_OBJECT
public:
    explicit EditorTextView(TextDocument *document, QWidget *parent = nullptr);

    void applyFont(const QFont &font, int tabWidth) override;
    void configureAsCodeEditor() override;

    void centerCursor() override { QPlainTextEdit::centerCursor(); }
    QTextBlock firstVisibleBlock() const override { return QPlainTextEdit::firstVisibleBlock(); }
    QRectF blockRect(const QTextBlock &block) const override;

    void validate(const MenuItemInfo &item, MenuItemState &state) const override;
    void perform(const MenuItemInfo &item) override;

    // Tab and Shift-Tab, which plain text takes over from Qt.
    void insertTab();
    void insertBacktab();
    // A closing bracket typed: outdents a blank line first where the settings and the language ask
    // for it. False when the bracket is left to be typed as any character.
    bool typeClosingBracket(QChar bracket);

protected:
    void settingsDidChange() override;

private:
    // Highlights the bracket beside the caret and its partner, within BracketMatcher's distance,
    // skipping the strings and comments of the document's language; clears the highlight when
    // there is no pair or the settings want none.
    void updateMatchingBrackets();
};

} // namespace plumeo
