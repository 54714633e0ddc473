#include "editor/EditorTextView.h"

#include "Preferences.h"
#include "Theme.h"
#include "document/TextDocument.h"
#include "editing/EditingCommands.h"
#include "editor/EditorActions.h"
#include "editor/EditorCommandRunner.h"

#include <QFontMetricsF>
#include <QTextBlock>

namespace plumeo {

void EditorTextView::configureAsCodeEditor()
{
    configureView(Preferences::boolean(Preferences::Key::wordWrap()));
    setBackgroundVisible(false);
    setCenterOnScroll(false);
    applyFont(Preferences::editorFont(),
              int(std::max<qint64>(Preferences::integer(Preferences::Key::tabWidth()), 1)));
}

void EditorTextView::applyFont(const QFont &font, int tabWidth)
{
    setTabWidth(tabWidth);
    if (m_document->isRichText())
        return;
    setFont(font);
    // Plain text carries no font of its own: the storage's default font is the one shown.
    QPlainTextEdit::document()->setDefaultFont(font);
    setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) * this->tabWidth());
    QTextCharFormat typing = currentCharFormat();
    typing.setForeground(Theme::text());
    setCurrentCharFormat(typing);
}

QRectF EditorTextView::blockRect(const QTextBlock &block) const
{
    return blockBoundingGeometry(block).translated(contentOffset());
}

void EditorTextView::validate(const MenuItemInfo &item, MenuItemState &state) const
{
    if (EditorActions::isRichTextCommand(item.command)) {
        state.enabled = false;
        return;
    }
    EditorActions::validate(*this, item, state);
}

void EditorTextView::perform(const MenuItemInfo &item)
{
    if (EditorActions::isRichTextCommand(item.command))
        return;
    EditorActions::perform(*this, item);
}

void EditorTextView::insertTab()
{
    const IndentStyle style = settings().indentStyle;
    EditorCommandRunner(*this).run([style](QStringView text, TextRange selection) {
        return EditingCommands::insertTab(text, selection, style);
    });
}

void EditorTextView::insertBacktab()
{
    const IndentStyle style = settings().indentStyle;
    EditorCommandRunner(*this).run([style](QStringView text, TextRange selection) {
        return EditingCommands::outdentLines(text, selection, style);
    });
}

} // namespace plumeo
