#include "DocumentRecovery.h"

#include "AutosaveAlerts.h"
#include "DocumentController.h"
#include "RecoveryDialog.h"
#include "document/DocumentAutosaver.h"
#include "document/TextDocument.h"
#include "editor/EditorWindowController.h"
#include "io/FileReader.h"
#include "io/NativePath.h"
#include "session/AutosaveStore.h"
#include "text/Encoding.h"

#include <cstdio>

#include <QFileInfo>

namespace plumeo::DocumentRecovery {

namespace {

// The file's text as it is on disk now, for the user to compare; or why it cannot be shown.
std::pair<std::optional<QString>, QString> diskTextOf(const AutosaveRecord &record)
{
    if (record.filePath.isEmpty())
        return {std::nullopt, QString()};
    auto loaded = DocumentController::loadFile(record.filePath);
    if (!loaded)
        return {std::nullopt, loaded.error().description};
    TextDocument reading;
    if (auto read = reading.read(loaded.value().bytes, loaded.value().type); !read)
        return {std::nullopt, read.error().description};
    return {reading.text(), QString()};
}

void setAside(const QString &path)
{
    const QByteArray from = NativePath::encode(path);
    const QByteArray to = NativePath::encode(path + QStringLiteral(".damaged"));
    if (std::rename(from.constData(), to.constData()) != 0)
        AutosaveStore::removeFile(path);
}

} // namespace

TextDocument *restore(DocumentController &controller, const AutosaveRecord &record, bool display)
{
    TextDocument *document = nullptr;
    // Only a regular file is opened: never a pipe or a device an autosave happens to name.
    if (!record.filePath.isEmpty() && QFileInfo(record.filePath).isFile()) {
        if (auto opened = controller.openDocument(record.filePath, false);
            opened && !opened.value()->isEdited())
            document = opened.value();
    }
    if (!document) {
        document = controller.newDocument(false);
        if (record.filePath.isEmpty())
            document->restoreUntitledName(record.untitledName);
        else
            document->setUntitledName(NativePath::display(QFileInfo(record.filePath).fileName()));
    }
    if (record.richText) {
        if (document->read(record.rtf, TextDocument::richTextType()))
            document->noteChange();
    } else {
        Encoding encoding(record.encoding);
        bool hasBOM = record.hasBOM;
        // An encoding this build does not know could never be saved: the text stays, in UTF-8.
        if (!encoding.isKnown()) {
            encoding = Encoding::utf8();
            hasBOM = false;
        }
        document->restoreUnsavedText(record.text, encoding, hasBOM, record.lineEnding);
    }
    if (display)
        controller.display(document);
    return document;
}

int offer(DocumentController &controller, const QString &root)
{
    int restored = 0;
    QStringList unreadable;
    for (const auto &store : AutosaveStore::claimOrphans(root)) {
        for (const QString &path : store->entries()) {
            auto bytes = FileReader::readRegularFile(path);
            auto record = bytes ? AutosaveRecord::fromBytes(bytes.value())
                                : Result<AutosaveRecord, QString>(QStringLiteral("unreadable"));
            if (!record) {
                qCWarning(logAutosave) << "autosave set aside:" << path << record.error();
                setAside(path);
                unreadable.append(path + QStringLiteral(".damaged"));
                continue;
            }
            const auto [diskText, diskProblem] = diskTextOf(record.value());
            switch (RecoveryDialog::ask(record.value(), diskText, diskProblem,
                                        EditorWindowController::frontmost())) {
            case RecoveryDialog::Choice::restore: {
                TextDocument *document = restore(controller, record.value());
                // The work is safe under this process before the old copy goes.
                if (controller.autosaver()->saveNow(document))
                    AutosaveStore::removeFile(path);
                ++restored;
                break;
            }
            case RecoveryDialog::Choice::discard:
                AutosaveStore::removeFile(path);
                break;
            case RecoveryDialog::Choice::later:
                break;
            }
        }
    }
    if (!unreadable.isEmpty())
        AutosaveAlerts::presentUnreadableAutosaves(unreadable);
    return restored;
}

} // namespace plumeo::DocumentRecovery
