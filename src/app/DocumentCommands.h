#pragma once

#include "ActionResponder.h"
#include "base/Result.h"
#include "document/DocumentError.h"
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
// text stops here), then written atomically; on any failure the file is untouched and the document
// stays edited. Each editor tab owns the commands of its document; window is where their dialogs
// appear.
//
// The commands ask the user what they need to know (where to save, whether to overwrite a file
// another program changed) but present no error: they return it, and report() presents it.
class DocumentCommands : public QObject, public ActionResponder
{
    Q_OBJECT
public:
    // How a command that did not fail ended: done, or cancelled by the user at a dialog or a
    // question, or asked for what already is (the same name, the same folder, no file to revert
    // to). A cancel is not an error: nothing is presented for it.
    enum class Outcome { done, cancelled };
    using CommandResult = Result<Outcome, DocumentError>;

    DocumentCommands(TextDocument *document, QWidget *window);

    TextDocument *document() const { return m_document; }

    // Saves to the document's file, or asks where when it has none.
    CommandResult save();
    // Asks where to save, then saves there.
    CommandResult saveAs();
    // Writes the document to path as its current type and makes path its file. expected: the file
    // the caller believes is at path (see FileWriteOptions). Asks nothing.
    Result<void, DocumentError> saveTo(const QString &path,
                                       std::optional<FileIdentity> expected = std::nullopt);
    // Renames the document's file within its folder (a document without a file is saved instead).
    CommandResult renameTo(const QString &newName);
    // Moves the document's file into folder (a document without a file is saved instead).
    CommandResult moveTo(const QString &folder);
    // Reads the saved file again, dropping unsaved changes.
    CommandResult revertToSaved();
    // A new untitled document with the same content, encoding and line ending.
    std::unique_ptr<TextDocument> duplicate() const;

    // Presents the error a command ended with. An error that offers Save As asks the user, and
    // runs Save As (reported in turn) when chosen. Whether the command, or that Save As, was done.
    bool report(const CommandResult &result);

    void validate(const MenuItemInfo &item, MenuItemState &state) const override;
    void perform(const MenuItemInfo &item) override;

Q_SIGNALS:
    // Duplicate made a copy. It has no owner yet: a receiver adopts it (gives it a parent) and
    // shows it; a copy nobody adopted is deleted once the signal returns.
    void documentDuplicated(TextDocument *copy);

private:
    // Moves the document's file to target, which must not exist yet.
    enum class Relocation { rename, move };
    // The alerts name what the user asked for: a rename that fails "couldn't be renamed".
    CommandResult relocate(const QString &target, Relocation kind);

    QPointer<TextDocument> m_document;
    QPointer<QWidget> m_window;
};

} // namespace plumeo
