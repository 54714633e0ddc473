#include "DocumentCommands.h"

#include "Alerts.h"
#include "FilePanels.h"
#include "RecentDocuments.h"
#include "base/LogCategories.h"
#include "document/DocumentFileMonitor.h"
#include "document/TextDocument.h"
#include "io/SafeFileWriter.h"
#include "io/VersionStore.h"
#include "text/Localization.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace plumeo {

namespace {

// Keeping a version is a favour to the user, never a condition of the save: a failure goes to the
// log, once for each distinct reason, and the save stands.
void noteHistoryFailure(const Result<void, VersionStoreError> &kept)
{
    if (kept)
        return;
    static QSet<QString> reported;
    const QString text = kept.error().logText();
    if (reported.contains(text)) {
        qCDebug(logVersions).noquote() << "A version could not be kept:" << text;
        return;
    }
    reported.insert(text);
    qCWarning(logVersions).noquote() << "A version could not be kept:" << text;
}

} // namespace

DocumentCommands::DocumentCommands(TextDocument *document, QWidget *window)
    : ActionResponder(CommandHandler::document)
    , m_document(document)
    , m_window(window)
{}

DocumentCommands::CommandResult DocumentCommands::save()
{
    if (m_document->filePath().isEmpty())
        return saveAs();
    const QString path = m_document->filePath();
    const auto current = FileIdentity::of(path);
    const auto &known = m_document->diskIdentity();
    // A document that was never on disk (a new file named on the command line) finding a file at
    // its path: another program made it meanwhile.
    const bool diskChanged = current && (!known || !current->isUnchanged(*known));
    // The file already holds exactly this document: rewriting it could only change bytes the user
    // never touched (mixed line endings, say).
    if (!m_document->isEdited() && known && !diskChanged && current)
        return Outcome::done;
    const auto &dismissed = m_document->dismissedDiskIdentity();
    if (diskChanged && !(dismissed && current->isUnchanged(*dismissed))
        && !Alerts::confirmOverwriteChangedFile(m_window, m_document->displayName()))
        return Outcome::cancelled;
    // The file just compared, or the user approved: anything else found there when writing (a
    // change in the meantime, a link swapped in) is refused.
    if (auto saved = saveTo(path, current); !saved)
        return saved.error();
    return Outcome::done;
}

DocumentCommands::CommandResult DocumentCommands::saveAs()
{
    const QString extension = m_document->fileNameExtension(m_document->fileType());
    QString proposed = m_document->filePath().isEmpty()
                           ? m_document->displayName() + u'.' + extension
                           : QFileInfo(m_document->filePath()).fileName();
    const QString folder = m_document->filePath().isEmpty()
                               ? QDir::homePath()
                               : QFileInfo(m_document->filePath()).absolutePath();
    const QString path = FilePanels::chooseSaveLocation(m_window, folder, proposed);
    if (path.isEmpty())
        return Outcome::cancelled;
    if (auto saved = saveTo(path); !saved)
        return saved.error();
    return Outcome::done;
}

Result<void, DocumentError> DocumentCommands::saveTo(const QString &path,
                                                     std::optional<FileIdentity> expected)
{
    auto bytes = m_document->data();
    if (!bytes)
        return DocumentError::from(bytes.error());
    // What the save is about to replace, read first: it becomes the file's latest version.
    VersionStore history = VersionStore::standard();
    const auto previous = history.snapshot(path);
    const auto written = SafeFileWriter::write(path, bytes.value(), {expected});
    if (!written) {
        // Where the file may not be written, or is not a file one can write, another place can.
        switch (written.error().kind) {
        case FileWriteError::Kind::notPermitted:
            return DocumentError::noPermissionToSave(m_document->displayName());
        case FileWriteError::Kind::notRegularFile:
            return DocumentError::cannotSaveHere(m_document->displayName(),
                                                 written.error().reason());
        default:
            return DocumentError::cannotSave(m_document->displayName(), written.error().reason());
        }
    }
    // Saved elsewhere, the document takes its history along.
    if (!m_document->filePath().isEmpty())
        noteHistoryFailure(history.share(m_document->filePath(), path));
    if (previous && previous->bytes != bytes.value())
        noteHistoryFailure(history.keep(path, previous->bytes, previous->modifiedMs));
    m_document->setFilePath(QFileInfo(path).absoluteFilePath());
    m_document->markSaved();
    m_document->setDiskIdentity(written.value().identity);
    RecentDocuments::note(path);
    return {};
}

DocumentCommands::CommandResult DocumentCommands::renameTo(const QString &newName)
{
    if (m_document->filePath().isEmpty())
        return saveAs();
    const QFileInfo current(m_document->filePath());
    if (newName.isEmpty() || newName == current.fileName())
        return Outcome::cancelled;
    if (newName.contains(u'/'))
        return DocumentError::cannotRename(m_document->displayName(),
                                           L(QStringLiteral("Un nom ne peut pas contenir « / »."),
                                             QStringLiteral("A name cannot contain “/”.")));
    return relocate(current.absolutePath() + u'/' + newName, Relocation::rename);
}

DocumentCommands::CommandResult DocumentCommands::moveTo(const QString &folder)
{
    if (m_document->filePath().isEmpty())
        return saveAs();
    return relocate(QDir(folder).absoluteFilePath(QFileInfo(m_document->filePath()).fileName()),
                    Relocation::move);
}

DocumentCommands::CommandResult DocumentCommands::relocate(const QString &target, Relocation kind)
{
    const auto failed = [&](const QString &reason) {
        return kind == Relocation::rename
                   ? DocumentError::cannotRename(m_document->displayName(), reason)
                   : DocumentError::cannotMove(m_document->displayName(), reason);
    };
    const QString source = m_document->filePath();
    if (QFileInfo(target).absoluteFilePath() == QFileInfo(source).absoluteFilePath())
        return Outcome::cancelled;
    if (QFileInfo::exists(target))
        return failed(L(QStringLiteral("Un élément nommé « %1 » existe déjà à cet endroit.")
                            .arg(QFileInfo(target).fileName()),
                        QStringLiteral("An item named “%1” already exists in this location.")
                            .arg(QFileInfo(target).fileName())));
    const auto moved = SafeFileWriter::move(source, target);
    if (!moved)
        return failed(moved.error().reason());
    m_document->setFilePath(QFileInfo(target).absoluteFilePath());
    noteHistoryFailure(VersionStore::standard().follow(source, target));
    RecentDocuments::forget(source);
    // A move to another file system is a new file; a rename keeps the same one.
    if (m_document->diskState() == TextDocument::DiskState::inSync)
        m_document->setDiskIdentity(moved.value());
    RecentDocuments::note(target);
    return Outcome::done;
}

DocumentCommands::CommandResult DocumentCommands::revertToSaved()
{
    if (m_document->filePath().isEmpty())
        return Outcome::cancelled;
    m_document->protectUnsavedChanges();
    if (auto reloaded = DocumentFileMonitor::reload(m_document); !reloaded)
        return reloaded.error();
    return Outcome::done;
}

bool DocumentCommands::report(const CommandResult &result)
{
    if (result)
        return result.value() == Outcome::done;
    if (!result.error().offersSaveAs) {
        Alerts::presentError(m_window, result.error());
        return false;
    }
    return Alerts::offerSaveAs(m_window, result.error()) && report(saveAs());
}

std::unique_ptr<TextDocument> DocumentCommands::duplicate() const
{
    auto copy = std::make_unique<TextDocument>();
    copy->duplicateFrom(*m_document);
    return copy;
}

void DocumentCommands::validate(const MenuItemInfo &item, MenuItemState &state) const
{
    if (item.command == Command::revertDocumentToSaved)
        state.enabled = !m_document->filePath().isEmpty() && m_document->isEdited();
}

void DocumentCommands::perform(const MenuItemInfo &item)
{
    switch (item.command) {
    case Command::saveDocument:
        report(save());
        break;
    case Command::saveDocumentAs:
        report(saveAs());
        break;
    case Command::duplicateDocument: {
        std::unique_ptr<TextDocument> copy = duplicate();
        Q_EMIT documentDuplicated(copy.get());
        if (copy->parent())
            copy.release();
        break;
    }
    case Command::renameDocument:
        if (m_document->filePath().isEmpty()) {
            report(saveAs());
        } else {
            bool accepted = false;
            const QString name = QInputDialog::getText(
                m_window, L(QStringLiteral("Renommer"), QStringLiteral("Rename")),
                L(QStringLiteral("Nouveau nom :"), QStringLiteral("New name:")), QLineEdit::Normal,
                m_document->displayName(), &accepted);
            if (accepted)
                report(renameTo(name.trimmed()));
        }
        break;
    case Command::moveDocument:
        if (m_document->filePath().isEmpty()) {
            report(saveAs());
        } else {
            const QString folder = FilePanels::chooseFolder(
                m_window, QFileInfo(m_document->filePath()).absolutePath());
            if (!folder.isEmpty())
                report(moveTo(folder));
        }
        break;
    case Command::revertDocumentToSaved:
        m_document->protectUnsavedChanges();
        if (Alerts::confirmRevert(m_window, m_document->displayName()))
            report(revertToSaved());
        break;
    default:
        break;
    }
}

} // namespace plumeo
