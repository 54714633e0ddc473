#pragma once

#include "ActionResponder.h"
#include "io/FileIdentity.h"

#include <memory>
#include <optional>

#include <QObject>
#include <QPointer>

class QWidget;

namespace plumeo {

class TextDocument;

// The File menu's commands for one document: save, save as, duplicate, rename, move, revert. Saving
// never damages the file on disk: the bytes are produced first (an encoding that cannot hold the
// text stops here with its alert), then written atomically; on any failure the file is untouched
// and the document stays edited. Each editor tab owns the commands of its document; window is
// where their dialogs and alerts appear.
class DocumentCommands : public QObject, public ActionResponder
{
    Q_OBJECT
public:
    DocumentCommands(TextDocument *document, QWidget *window);

    TextDocument *document() const { return m_document; }

    // Saves to the document's file, or asks where when it has none. False when nothing was saved.
    bool save();
    bool saveAs();
    // Writes the document to path as its current type and makes path its file. Errors are
    // presented. expected: the file the caller believes is at path (see FileWriteOptions).
    bool saveTo(const QString &path, std::optional<FileIdentity> expected = std::nullopt);
    // Renames the document's file within its folder (a document without a file is saved instead).
    bool renameTo(const QString &newName);
    // Moves the document's file into folder.
    bool moveTo(const QString &folder);
    // Reads the saved file again, dropping unsaved changes.
    bool revertToSaved();
    // A new untitled document with the same content, encoding and line ending.
    std::unique_ptr<TextDocument> duplicate() const;

    void validate(const MenuItemInfo &item, MenuItemState &state) const override;
    void perform(const MenuItemInfo &item) override;

Q_SIGNALS:
    // Duplicate made a copy. It has no owner yet: a receiver adopts it (gives it a parent) and
    // shows it; a copy nobody adopted is deleted once the signal returns.
    void documentDuplicated(TextDocument *copy);

private:
    // Moves the document's file to target, which must not exist yet.
    bool relocate(const QString &target);

    QPointer<TextDocument> m_document;
    QPointer<QWidget> m_window;
};

} // namespace plumeo
