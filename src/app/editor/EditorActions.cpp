#include "editor/EditorActions.h"

#include "document/TextDocument.h"
#include "editing/CaseCommands.h"
#include "editing/CommentCommands.h"
#include "editing/EditingCommands.h"
#include "editor/EditorCommandRunner.h"
#include "editor/EditorTextView.h"
#include "editor/FindBar.h"
#include "editor/RichTextView.h"

#include <type_traits>

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTextDocument>

namespace plumeo {

namespace {

const QString finderAction = QStringLiteral("performTextFinderAction:");

// Commands that rewrite text around the selection, by action name.
EditorCommandRunner::Command textCommand(const QString &action, const EditorView &view)
{
    using namespace EditingCommands;
    const IndentStyle style = view.settings().indentStyle;
    if (action == u"duplicateLine:")
        return duplicateLines;
    if (action == u"deleteLine:")
        return deleteLines;
    if (action == u"moveLineUp:")
        return moveLinesUp;
    if (action == u"moveLineDown:")
        return moveLinesDown;
    if (action == u"indentSelection:")
        return [style](QStringView text, TextRange selection) {
            return indentLines(text, selection, style);
        };
    if (action == u"outdentSelection:")
        return [style](QStringView text, TextRange selection) {
            return outdentLines(text, selection, style);
        };
    if (action == u"uppercaseWord:")
        return CaseCommands::uppercase;
    if (action == u"lowercaseWord:")
        return CaseCommands::lowercase;
    if (action == u"capitalizeWord:")
        return CaseCommands::capitalize;
    if (action == u"toggleComment:") {
        const Language language = view.document()->language();
        return [language](QStringView text, TextRange selection) {
            return CommentCommands::toggleComment(text, selection, language);
        };
    }
    if (action == u"delete:")
        return [](QStringView text, TextRange selection) -> std::optional<TextEdit> {
            if (selection.isEmpty())
                return std::nullopt;
            return insertText(text, selection, QString());
        };
    return {};
}

bool isTextCommand(const QString &action)
{
    for (const char16_t *name :
         {u"duplicateLine:", u"deleteLine:", u"moveLineUp:", u"moveLineDown:", u"indentSelection:",
          u"outdentSelection:", u"uppercaseWord:", u"lowercaseWord:", u"capitalizeWord:",
          u"toggleComment:", u"delete:"})
        if (action == name)
            return true;
    return false;
}

bool isStandardEditAction(const QString &action)
{
    for (const char16_t *name : {u"undo:", u"redo:", u"cut:", u"copy:", u"paste:", u"selectAll:"})
        if (action == name)
            return true;
    return false;
}

// Whether text must go through the codec: it holds a character Qt would turn into a paragraph
// break, or one the storage uses as a substitute.
bool needsCodec(const EditorView &view, QStringView text)
{
    for (const QChar c : text)
        for (const char16_t fragile : TextStorageCodec::fragileCharacters)
            if (c == fragile)
                return true;
    return !view.document()->storageCodec().canEncode(text);
}

} // namespace

bool EditorActions::isRichTextAction(const QString &action)
{
    for (const char16_t *name :
         {u"toggleFontTrait:", u"showFontPanel:", u"showColorPanel:", u"underline:", u"alignLeft:",
          u"alignCenter:", u"alignRight:", u"alignJustified:"})
        if (action == name)
            return true;
    return false;
}

bool EditorActions::handles(const MenuItemInfo &item)
{
    if (item.action == finderAction)
        return FindBar::isFinderAction(item.tag);
    return isStandardEditAction(item.action) || isRichTextAction(item.action)
           || isTextCommand(item.action);
}

template <class View>
void EditorActions::validate(const View &view, const MenuItemInfo &item, MenuItemState &state)
{
    if (view.isRetired()) {
        state.enabled = false;
        return;
    }
    const QTextDocument *storage = view.document()->textStorage();
    const bool hasSelection = view.textCursor().hasSelection();
    if (item.action == u"undo:")
        state.enabled = storage->isUndoAvailable();
    else if (item.action == u"redo:")
        state.enabled = storage->isRedoAvailable();
    else if (item.action == u"cut:" || item.action == u"copy:" || item.action == u"delete:")
        state.enabled = hasSelection;
    else if (item.action == u"paste:")
        state.enabled = view.canPaste();
    else if (item.action == finderAction)
        state.enabled = view.findBar() && view.findBar()->canPerform(item.tag);
}

template <class View> void EditorActions::perform(View &view, const MenuItemInfo &item)
{
    if (view.isRetired())
        return;
    EditorCommandRunner runner(view);
    if (item.action == u"undo:")
        runner.undo();
    else if (item.action == u"redo:")
        runner.redo();
    else if (item.action == u"cut:")
        view.cut();
    else if (item.action == u"copy:")
        view.copy();
    else if (item.action == u"paste:")
        view.paste();
    else if (item.action == u"selectAll:")
        view.selectAll();
    else if (item.action == finderAction) {
        if (view.findBar())
            view.findBar()->perform(item.tag);
    } else if (const auto command = textCommand(item.action, view))
        runner.run(command);
}

template <class View> bool EditorActions::handleKey(View &view, QKeyEvent *event)
{
    if (view.isRetired())
        return false;
    EditorCommandRunner runner(view);
    if (event == QKeySequence::Undo) {
        runner.undo();
        return true;
    }
    if (event == QKeySequence::Redo) {
        runner.redo();
        return true;
    }
    // Shift-Return too: Qt would insert a line separator (U+2028), which has no place in code.
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && modifiers == Qt::NoModifier) {
        view.insertNewline();
        return true;
    }
    if constexpr (std::is_same_v<View, EditorTextView>) {
        if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::NoModifier) {
            view.insertTab();
            return true;
        }
        if (event->key() == Qt::Key_Backtab) {
            view.insertBacktab();
            return true;
        }
    }
    if (!event->text().isEmpty() && needsCodec(view, event->text())) {
        runner.insert(event->text());
        return true;
    }
    return false;
}

template <class View> bool EditorActions::handleInputMethod(View &view, QInputMethodEvent *event)
{
    if (view.isRetired())
        return false;
    if (event->commitString().isEmpty() || !needsCodec(view, event->commitString()))
        return false;
    EditorCommandRunner(view).insert(event->commitString());
    event->accept();
    return true;
}

template void
EditorActions::validate(const EditorTextView &, const MenuItemInfo &, MenuItemState &);
template void EditorActions::perform(EditorTextView &, const MenuItemInfo &);
template void EditorActions::validate(const RichTextView &, const MenuItemInfo &, MenuItemState &);
template void EditorActions::perform(RichTextView &, const MenuItemInfo &);
template bool EditorActions::handleKey(EditorTextView &, QKeyEvent *);
template bool EditorActions::handleKey(RichTextView &, QKeyEvent *);
template bool EditorActions::handleInputMethod(EditorTextView &, QInputMethodEvent *);
template bool EditorActions::handleInputMethod(RichTextView &, QInputMethodEvent *);

} // namespace plumeo
