#include "SessionKeeper.h"

#include "AutosaveAlerts.h"
#include "DocumentController.h"
#include "DocumentRecovery.h"
#include "document/DocumentAutosaver.h"
#include "document/TextDocument.h"
#include "editor/EditorView.h"
#include "editor/EditorViewController.h"
#include "editor/EditorWindowController.h"
#include "io/FileReader.h"
#include "io/NativePath.h"
#include "io/StateFolder.h"
#include "session/AutosaveRecord.h"
#include "session/AutosaveStore.h"

#include <QAbstractScrollArea>
#include <QDir>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>

namespace plumeo {

namespace {

QAbstractScrollArea *scrollAreaOf(EditorViewController *editor)
{
    return editor && editor->editorView()
               ? qobject_cast<QAbstractScrollArea *>(editor->editorView()->widget())
               : nullptr;
}

} // namespace

SessionKeeper::SessionKeeper(QString folder)
    : m_folder(std::move(folder))
{}

QString SessionKeeper::standardFolder()
{
    return StateFolder::path() + QStringLiteral("/session");
}

QString SessionKeeper::sessionFile() const
{
    return m_folder + QStringLiteral("/session.json");
}

void SessionKeeper::capture()
{
    m_state = {};
    QDir().mkpath(m_folder);
    int copyNumber = 0;
    for (EditorWindowController *window : EditorWindowController::all()) {
        SessionState::Window noted;
        for (TextDocument *document : window->documents()) {
            SessionState::Tab tab;
            if (!document->filePath().isEmpty()) {
                tab.filePath = document->filePath();
            } else if (document->isEdited()) {
                AutosaveRecord record;
                record.untitledName = document->displayName();
                record.encoding = document->encoding().rawValue();
                record.hasBOM = document->hasBOM();
                record.lineEnding = document->lineEnding();
                record.richText = document->isRichText();
                record.savedAt = QDateTime::currentDateTimeUtc();
                if (!record.richText)
                    record.text = document->text();
                else if (auto rtf = document->data())
                    record.rtf = std::move(rtf.value());
                tab.untitledCopy = QStringLiteral("untitled-%1.plumeo-autosave").arg(++copyNumber);
                const QString path = m_folder + u'/' + tab.untitledCopy;
                // A copy that cannot be written leaves the document to its question at quit.
                if (!AutosaveStore::writeFile(path, record.toBytes()))
                    continue;
                m_copies.append(path);
                document->setKeptForNextLaunch(true);
                m_kept.emplace_back(document);
            } else {
                continue; // an empty untitled document is not worth a tab
            }
            if (EditorViewController *editor = window->editorFor(document)) {
                const QTextCursor cursor = editor->editorView()->textCursor();
                tab.caret = cursor.position();
                tab.anchor = cursor.anchor();
                if (QAbstractScrollArea *area = scrollAreaOf(editor))
                    tab.scroll = area->verticalScrollBar()->value();
                if (document == window->currentDocument())
                    noted.current = int(noted.tabs.size());
            }
            noted.tabs.push_back(std::move(tab));
        }
        if (!noted.tabs.empty())
            m_state.windows.push_back(std::move(noted));
    }
    if (m_state.windows.empty()) {
        forget();
        return;
    }
    // Written before any document closes: the untitled ones are closed on the strength of it.
    if (const auto written = AutosaveStore::writeFile(sessionFile(), m_state.toJson()); !written) {
        qCWarning(logAutosave) << "session not kept:" << written.error().reason();
        abandon();
    }
}

void SessionKeeper::removeCopies()
{
    for (const QString &path : std::as_const(m_copies))
        AutosaveStore::removeFile(path);
    m_copies.clear();
}

void SessionKeeper::abandon()
{
    const bool someClosed = std::any_of(m_kept.begin(), m_kept.end(),
                                        [](const QPointer<TextDocument> &kept) { return !kept; });
    for (const QPointer<TextDocument> &document : m_kept)
        if (document)
            document->setKeptForNextLaunch(false);
    m_kept.clear();
    // A kept document already closed (in a window the quit got through) lives on only in its copy:
    // the session stays, to bring it back at the next start.
    if (someClosed) {
        m_copies.clear();
        return;
    }
    removeCopies();
    AutosaveStore::removeFile(sessionFile());
    m_state = {};
}

void SessionKeeper::commit()
{
    m_kept.clear();
    m_copies.clear();
}

void SessionKeeper::forget()
{
    const QDir folder(m_folder);
    for (const QString &name : folder.entryList({QStringLiteral("untitled-*.plumeo-autosave")},
                                                QDir::Files | QDir::System))
        AutosaveStore::removeFile(folder.filePath(name));
    AutosaveStore::removeFile(sessionFile());
}

int SessionKeeper::restore(DocumentController &controller)
{
    if (!QFileInfo::exists(sessionFile()))
        return 0;
    auto bytes = FileReader::readRegularFile(sessionFile());
    auto session = bytes ? SessionState::fromJson(bytes.value())
                         : Result<SessionState, QString>(QStringLiteral("unreadable"));
    if (!session) {
        qCWarning(logAutosave) << "session not restored:" << sessionFile() << session.error();
        AutosaveAlerts::presentUnreadableSession(sessionFile());
        // Read once: a damaged session is not told about at every start.
        forget();
        return 0;
    }

    int opened = 0;
    QStringList skipped;
    std::vector<TextDocument *> restoredUntitled;
    for (const SessionState::Window &noted : session.value().windows) {
        EditorWindowController *window = nullptr;
        TextDocument *front = nullptr;
        for (size_t at = 0; at < noted.tabs.size(); ++at) {
            const SessionState::Tab &tab = noted.tabs[at];
            TextDocument *document = nullptr;
            if (!tab.filePath.isEmpty()) {
                // Only a regular file: never a pipe or a device a damaged session names.
                auto result = QFileInfo(tab.filePath).isFile()
                                  ? controller.openDocument(tab.filePath, false)
                                  : Result<TextDocument *, DocumentError>(DocumentError{});
                if (!result) {
                    skipped.append(tab.filePath);
                    continue;
                }
                document = result.value();
            } else {
                auto copy = FileReader::readRegularFile(m_folder + u'/' + tab.untitledCopy);
                auto record = copy ? AutosaveRecord::fromBytes(copy.value())
                                   : Result<AutosaveRecord, QString>(QStringLiteral("missing"));
                if (!record || !record.value().filePath.isEmpty()) {
                    qCWarning(logAutosave)
                        << "untitled document of the session not restored:" << tab.untitledCopy;
                    continue;
                }
                document = DocumentRecovery::restore(controller, record.value(), false);
                restoredUntitled.push_back(document);
            }
            // Already shown (named twice): it stays where it is.
            bool shown = false;
            for (EditorWindowController *other : EditorWindowController::all())
                shown = shown || other->editorFor(document);
            if (shown)
                continue;
            if (!window)
                window = controller.newWindow();
            EditorViewController *editor = window->addDocument(document);
            // A large file is still loading: its caret and scroll position may not be in yet.
            editor->whenLoaded([editor, document, tab] {
                const int length = document->textStorage()->characterCount() - 1;
                QTextCursor cursor(document->textStorage());
                cursor.setPosition(std::clamp(tab.anchor, 0, length));
                cursor.setPosition(std::clamp(tab.caret, 0, length), QTextCursor::KeepAnchor);
                editor->editorView()->setTextCursor(cursor);
                // The scroll bar has its range once the view is laid out.
                if (QAbstractScrollArea *area = scrollAreaOf(editor))
                    QTimer::singleShot(0, area, [area, scroll = tab.scroll] {
                        area->verticalScrollBar()->setValue(scroll);
                    });
            });
            if (int(at) == noted.current)
                front = document;
            ++opened;
        }
        if (window) {
            if (front)
                window->showDocument(front);
            window->show();
        }
    }
    // Each restored untitled document is now kept by this process before its copy goes.
    for (TextDocument *document : restoredUntitled)
        controller.autosaver()->saveNow(document);
    forget();
    if (!skipped.isEmpty())
        AutosaveAlerts::presentMissingSessionFiles(skipped);
    if (EditorWindowController *front = EditorWindowController::frontmost())
        front->bringToFront();
    return opened;
}

} // namespace plumeo
