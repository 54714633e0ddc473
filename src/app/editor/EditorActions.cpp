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

// Commands that rewrite text around the selection; none for the others.
EditorCommandRunner::Command textCommand(Command command, const EditorView &view)
{
    using namespace EditingCommands;
    const IndentStyle style = view.settings().indentStyle;
    switch (command) {
    case Command::duplicateLine:
        return duplicateLines;
    case Command::deleteLine:
        return deleteLines;
    case Command::moveLineUp:
        return moveLinesUp;
    case Command::moveLineDown:
        return moveLinesDown;
    case Command::indentSelection:
        return [style](QStringView text, TextRange selection) {
            return indentLines(text, selection, style);
        };
    case Command::outdentSelection:
        return [style](QStringView text, TextRange selection) {
            return outdentLines(text, selection, style);
        };
    case Command::uppercaseWord:
        return CaseCommands::uppercase;
    case Command::lowercaseWord:
        return CaseCommands::lowercase;
    case Command::capitalizeWord:
        return CaseCommands::capitalize;
    case Command::toggleComment: {
        const Language language = view.document()->language();
        const bool wholeLine = view.settings().commentWholeLine;
        return [language, wholeLine](QStringView text, TextRange selection) {
            return CommentCommands::toggleComment(text, selection, language, wholeLine);
        };
    }
    case Command::deleteSelection:
        return [](QStringView text, TextRange selection) -> std::optional<TextEdit> {
            if (selection.isEmpty())
                return std::nullopt;
            return insertText(text, selection, QString());
        };
    default:
        return {};
    }
}

bool changesText(Command command)
{
    switch (command) {
    case Command::undo:
    case Command::redo:
    case Command::cut:
    case Command::paste:
    case Command::deleteSelection:
    case Command::duplicateLine:
    case Command::deleteLine:
    case Command::moveLineUp:
    case Command::moveLineDown:
    case Command::indentSelection:
    case Command::outdentSelection:
    case Command::toggleComment:
    case Command::findAndReplace:
    case Command::uppercaseWord:
    case Command::lowercaseWord:
    case Command::capitalizeWord:
        return true;
    default:
        return EditorActions::isRichTextCommand(command);
    }
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

bool EditorActions::isRichTextCommand(Command command)
{
    switch (command) {
    case Command::bold:
    case Command::italic:
    case Command::underline:
    case Command::showFontPanel:
    case Command::alignLeft:
    case Command::alignCenter:
    case Command::alignRight:
    case Command::alignJustified:
    case Command::showColorPanel:
        return true;
    default:
        return false;
    }
}

template <class View>
void EditorActions::validate(const View &view, const MenuItemInfo &item, MenuItemState &state)
{
    if (view.isRetired()) {
        state.enabled = false;
        return;
    }
    // A view that takes no typing (a file still loading, a stream arriving) takes no command that
    // would change its text either: the text arriving would be appended after the change.
    if (view.isReadOnly() && changesText(item.command)) {
        state.enabled = false;
        return;
    }
    const QTextDocument *storage = view.document()->textStorage();
    const bool hasSelection = view.textCursor().hasSelection();
    if (FindBar::isFinderCommand(item.command)) {
        state.enabled = view.findBar() && view.findBar()->canPerform(item.command);
        return;
    }
    switch (item.command) {
    case Command::undo:
        state.enabled = storage->isUndoAvailable();
        break;
    case Command::redo:
        state.enabled = storage->isRedoAvailable();
        break;
    case Command::cut:
    case Command::copy:
    case Command::deleteSelection:
        state.enabled = hasSelection;
        break;
    case Command::paste:
        state.enabled = view.canPaste();
        break;
    default:
        break;
    }
}

template <class View> void EditorActions::perform(View &view, const MenuItemInfo &item)
{
    if (view.isRetired())
        return;
    EditorCommandRunner runner(view);
    if (FindBar::isFinderCommand(item.command)) {
        if (view.findBar())
            view.findBar()->perform(item.command);
        return;
    }
    switch (item.command) {
    case Command::undo:
        runner.undo();
        break;
    case Command::redo:
        runner.redo();
        break;
    case Command::cut:
        view.cut();
        break;
    case Command::copy:
        view.copy();
        break;
    case Command::paste:
        view.paste();
        break;
    case Command::selectAll:
        view.selectAll();
        break;
    default:
        if (const auto command = textCommand(item.command, view))
            runner.run(command);
        break;
    }
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
    // Alt with a letter is a menu's mnemonic; one that no menu took must not type its letter. AltGr
    // arrives without the Alt modifier (or, from some keyboards, with Ctrl), so it still types.
    if ((event->modifiers() & Qt::AltModifier) && !(event->modifiers() & Qt::ControlModifier)
        && !event->text().isEmpty() && event->text().front().isPrint())
        return true;
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
        // AltGr types brackets on many layouts: only Ctrl and Meta make a key a shortcut.
        const bool typing = !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
        if (typing && event->text().size() == 1 && view.typeClosingBracket(event->text()[0]))
            return true;
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
