#pragma once

#include "editing/TextEdit.h"

#include <functional>
#include <optional>
#include <vector>

#include <QString>

class QTextDocument;

namespace plumeo {

class EditorView;
class TextDocument;
class TextStorageCodec;

// Applies editing commands to an editor view, for both kinds of view. The commands see the real
// characters of the document (never the storage's substitutes), and each result goes into the
// storage as one undo step, mapped back to storage form, after which the selection is set. Undoing
// or redoing such a step through undo() and redo() restores the selection it had before or after.
// An undo or a redo that switches the document between plain and rich text retires the view (see
// EditorView::retire): the runner then leaves it alone, and the new view keeps its own caret.
//
// Plain text gets one replacement narrowed to the characters that change; rich text gets one per
// changed line, so that the formatting of the characters a command keeps stays with them.
class EditorCommandRunner
{
public:
    explicit EditorCommandRunner(EditorView &view);

    // The real text of the selected lines and of the line on each side of them, where the storage
    // offset `offset` begins, with the selection relative to it. Every line command reads no
    // further than a line beyond the selection, so this answers like the whole text at a fraction
    // of its size.
    struct Context
    {
        QString text;
        qsizetype offset = 0;
        TextRange selection;
    };
    Context context() const;

    using Command = std::function<std::optional<TextEdit>(QStringView text, TextRange selection)>;
    // Runs command on the context and applies its edit. False when it found nothing to do.
    bool run(const Command &command);

    // Applies an edit given in document offsets. False when the text did not change.
    bool apply(const TextEdit &edit);
    // Replaces each range (ascending, not overlapping, document offsets) by replacement, then
    // selects selection: one undo step.
    bool replaceEach(const std::vector<TextRange> &ranges,
                     const QString &replacement,
                     TextRange selection);
    // Replaces the selection by text given in real characters (pasting, dropping, typing), caret
    // after. Refused with a beep when text holds a character the storage uses as a substitute:
    // inserting it would change other characters of the file on saving.
    bool insert(const QString &text);
    bool canInsert(QStringView text) const;

    TextRange selection() const;
    void select(TextRange range);
    // The selected text in real characters, line breaks as LF.
    QString selectedText() const;
    static QString selectedText(const EditorView &view);
    // The real characters of document between the storage offsets from and to (line breaks as
    // LF): as many units as the range, each at the same offset.
    static QString realText(const TextDocument *document, qsizetype from, qsizetype to);

    void undo();
    void redo();

private:
    struct Change
    {
        TextRange range; // document offsets
        QString text;    // real characters
    };
    bool applyChanges(const std::vector<Change> &changes, TextRange selection);
    void undoOrRedo(bool undo);
    void applyDiff(qsizetype offset,
                   QStringView before,
                   const QString &after,
                   std::vector<Change> &changes) const;
    QTextDocument *storage() const;
    const TextStorageCodec &codec() const;

    EditorView &m_view;
};

} // namespace plumeo
