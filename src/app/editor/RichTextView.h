#pragma once

#include "editor/EditorViewBase.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QPointer>
#include <QTextEdit>

namespace plumeo {

// The view of a rich-text document: QTextEdit, which honours paragraph alignment, over the
// document's own text storage. It offers the editing commands of the code editor (Tab and Shift-Tab
// keep Qt's own behaviour) and the Format menu: bold, italic, underline, alignment, and the font
// and colour dialogs standing in for the font and colour panels, all acting on the selection (or on
// what is typed next when nothing is selected).
class RichTextView : public EditorViewBase<QTextEdit, RichTextView>
{
    Q_OBJECT
public:
    explicit RichTextView(TextDocument *document, QWidget *parent = nullptr);
    ~RichTextView() override;

    void applyFont(const QFont &font, int tabWidth) override;
    void configureAsCodeEditor() override;

    void centerCursor() override;
    QTextBlock firstVisibleBlock() const override;
    QRectF blockRect(const QTextBlock &block) const override;

    void validate(const MenuItemInfo &item, MenuItemState &state) const override;
    void perform(const MenuItemInfo &item) override;

    // The dialogs opened by showFontPanel: and showColorPanel:, while open.
    QFontDialog *fontDialog() const { return m_fontDialog; }
    QColorDialog *colorDialog() const { return m_colorDialog; }

protected:
    void releaseStorage() override;
    // The real characters, with the formatting as HTML too.
    QMimeData *createMimeDataFromSelection() const override;
    // HTML keeps its formatting; plain text goes in exactly.
    void insertFromMimeData(const QMimeData *source) override;

private:
    void performRichTextAction(const MenuItemInfo &item);
    void validateRichTextAction(const MenuItemInfo &item, MenuItemState &state) const;
    void mergeFormat(const QTextCharFormat &format);
    void showFontDialog();
    void showColorDialog();
    // Titles the font and colour panels in the interface language.
    void retitlePanels();

    QPointer<QFontDialog> m_fontDialog;
    QPointer<QColorDialog> m_colorDialog;
};

} // namespace plumeo
