#include "editor/EditorCommandRunner.h"

#include "document/TextDocument.h"
#include "editing/TextDiff.h"
#include "editor/EditorView.h"

#include <QAbstractUndoItem>
#include <QApplication>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QWidget>

namespace plumeo {

namespace {

// The selection an undo or redo should leave, noted by the step being undone or redone and taken by
// the runner once the storage has finished (the storage moves the caret itself after its items
// ran).
struct PendingSelection
{
    QPointer<QTextDocument> storage;
    TextRange range;
};
std::optional<PendingSelection> pendingSelection;

class SelectionUndoItem : public QAbstractUndoItem
{
public:
    SelectionUndoItem(QTextDocument *storage, TextRange before, TextRange after)
        : m_storage(storage)
        , m_before(before)
        , m_after(after)
    {}
    void undo() override { pendingSelection = PendingSelection{m_storage, m_before}; }
    void redo() override { pendingSelection = PendingSelection{m_storage, m_after}; }

private:
    QPointer<QTextDocument> m_storage;
    TextRange m_before;
    TextRange m_after;
};

qsizetype storageLength(const QTextDocument *storage)
{
    return std::max(storage->characterCount() - 1, 0);
}

} // namespace

EditorCommandRunner::EditorCommandRunner(EditorView &view)
    : m_view(view)
{}

QTextDocument *EditorCommandRunner::storage() const
{
    return m_view.document()->textStorage();
}

const TextStorageCodec &EditorCommandRunner::codec() const
{
    return m_view.document()->storageCodec();
}

QString EditorCommandRunner::realText(const TextDocument *document, qsizetype from, qsizetype to)
{
    QTextCursor cursor(document->textStorage());
    cursor.setPosition(int(from));
    cursor.setPosition(int(to), QTextCursor::KeepAnchor);
    // selectedText() is the raw storage (paragraph breaks as U+2029, every other unit intact).
    return document->storageCodec().fromStorage(cursor.selectedText());
}

TextRange EditorCommandRunner::selection() const
{
    const QTextCursor cursor = m_view.textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
}

void EditorCommandRunner::select(TextRange range)
{
    const TextRange r = range.clamped(storageLength(storage()));
    QTextCursor cursor(storage());
    cursor.setPosition(int(r.location));
    cursor.setPosition(int(r.end()), QTextCursor::KeepAnchor);
    m_view.setTextCursor(cursor);
}

QString EditorCommandRunner::selectedText() const
{
    return selectedText(m_view);
}

QString EditorCommandRunner::selectedText(const EditorView &view)
{
    const QTextCursor cursor = view.textCursor();
    return realText(view.document(), cursor.selectionStart(), cursor.selectionEnd());
}

EditorCommandRunner::Context EditorCommandRunner::context() const
{
    const TextRange sel = selection();
    QTextDocument *doc = storage();
    QTextBlock first = doc->findBlock(int(sel.location));
    QTextBlock last = doc->findBlock(int(sel.end()));
    if (first.previous().isValid())
        first = first.previous();
    if (last.next().isValid())
        last = last.next();
    const qsizetype from = first.position();
    // The LF ending the last line is part of it: commands tell the last line of the text by its
    // lack.
    const qsizetype to =
        last.next().isValid() ? last.next().position() : last.position() + last.length() - 1;
    return {realText(m_view.document(), from, to), from, {sel.location - from, sel.length}};
}

bool EditorCommandRunner::run(const Command &command)
{
    const Context context = this->context();
    const std::optional<TextEdit> edit = command(context.text, context.selection);
    if (!edit)
        return false;
    const TextRange range = edit->range.clamped(context.text.size());
    std::vector<Change> changes;
    applyDiff(context.offset + range.location,
              QStringView(context.text).sliced(range.location, range.length), edit->replacement,
              changes);
    const TextRange selection{context.offset + edit->selection.location, edit->selection.length};
    return applyChanges(changes, selection);
}

bool EditorCommandRunner::apply(const TextEdit &edit)
{
    const TextRange range = edit.range.clamped(storageLength(storage()));
    const QString before = realText(m_view.document(), range.location, range.end());
    std::vector<Change> changes;
    applyDiff(range.location, before, edit.replacement, changes);
    return applyChanges(changes, edit.selection);
}

bool EditorCommandRunner::replaceEach(const std::vector<TextRange> &ranges,
                                      const QString &replacement,
                                      TextRange selection)
{
    std::vector<Change> changes;
    changes.reserve(ranges.size());
    for (const TextRange &range : ranges)
        changes.push_back({range, replacement});
    return applyChanges(changes, selection);
}

bool EditorCommandRunner::canInsert(QStringView text) const
{
    return codec().canEncode(text);
}

bool EditorCommandRunner::insert(const QString &text)
{
    if (!canInsert(text)) {
        QApplication::beep();
        return false;
    }
    const TextRange sel = selection();
    return applyChanges({{sel, text}}, {sel.location + text.size(), 0});
}

void EditorCommandRunner::applyDiff(qsizetype offset,
                                    QStringView before,
                                    const QString &after,
                                    std::vector<Change> &changes) const
{
    if (m_view.document()->isRichText()) {
        for (TextDiff::Change &change : TextDiff::lineChanges(before, after))
            changes.push_back(
                {{offset + change.range.location, change.range.length}, std::move(change.text)});
        return;
    }
    TextDiff::Change change = TextDiff::narrowed(before, after);
    if (!change.range.isEmpty() || !change.text.isEmpty())
        changes.push_back(
            {{offset + change.range.location, change.range.length}, std::move(change.text)});
}

bool EditorCommandRunner::applyChanges(const std::vector<Change> &changes, TextRange selection)
{
    for (const Change &change : changes)
        m_view.document()->prepareForInsertion(change.text);
    QTextDocument *doc = storage();
    if (changes.empty()) {
        select(selection);
        return false;
    }
    const TextRange before = this->selection();
    qsizetype length = storageLength(doc);
    for (const Change &change : changes)
        length += change.text.size() - change.range.length;
    const TextRange after = selection.clamped(length);

    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    // From the end backwards, so that each change leaves the offsets of the earlier ones valid.
    for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
        cursor.setPosition(int(it->range.location));
        cursor.setPosition(int(it->range.end()), QTextCursor::KeepAnchor);
        if (it->text.isEmpty())
            cursor.removeSelectedText();
        else
            cursor.insertText(codec().toStorage(it->text));
    }
    doc->appendUndoItem(new SelectionUndoItem(doc, before, after));
    cursor.endEditBlock();
    select(after);
    return true;
}

void EditorCommandRunner::undo()
{
    undoOrRedo(true);
}

void EditorCommandRunner::redo()
{
    undoOrRedo(false);
}

void EditorCommandRunner::undoOrRedo(bool undo)
{
    if (m_view.isRetired())
        return;
    QTextDocument *doc = storage();
    if (undo ? !doc->isUndoAvailable() : !doc->isRedoAvailable())
        return;
    pendingSelection.reset();
    QTextCursor cursor = m_view.textCursor();
    const QPointer<QWidget> widget = m_view.widget();
    if (undo)
        doc->undo(&cursor);
    else
        doc->redo(&cursor);
    // Undoing or redoing a switch between plain and rich text replaces the view: the new one
    // starts with its own caret, and this one is no longer ours to touch.
    if (!widget || m_view.isRetired()) {
        pendingSelection.reset();
        return;
    }
    m_view.setTextCursor(cursor);
    if (pendingSelection && pendingSelection->storage == doc)
        select(pendingSelection->range);
    pendingSelection.reset();
}

} // namespace plumeo
