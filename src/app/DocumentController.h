#pragma once

#include "ActionResponder.h"
#include "base/Result.h"
#include "document/DocumentError.h"
#include "editor/EditorWindowController.h"
#include "io/FileIdentity.h"

#include <memory>
#include <vector>

#include <QObject>

class QMenu;

namespace plumeo {

class DocumentAutosaver;
class DocumentFileMonitor;
class OpenedFile;
class TextDocument;

// Opens documents: decides what a file may be opened as (refusing binary data before any document
// exists), reads it into a TextDocument and shows it as a tab of the frontmost editor window. Also
// creates new documents, runs the open dialog, keeps the recent-files list and fills its menu.
//
// It owns every open document (they are its children) and the editor windows it creates, and
// answers what those windows ask for: a closed tab's document goes, dropped files open, a copy
// made by an editor is adopted and shown, a tab moves to a window of its own.
class DocumentController : public QObject, public ActionResponder
{
    Q_OBJECT
public:
    explicit DocumentController(QObject *parent = nullptr);
    // Closes its windows without asking, then its documents go.
    ~DocumentController() override;

    // How the windows it creates get their menu bar (none until set).
    void setMenuBarFactory(EditorWindowController::MenuBarFactory factory)
    {
        m_menuBarFactory = std::move(factory);
    }

    static QString defaultType();
    // The type a file is opened as: "public.rtf" for the rtf extension (any case) or content
    // starting with "{\rtf", otherwise "public.plain-text". Refuses unreadable files and binary
    // data.
    static Result<QString, DocumentError> typeForContents(const QString &path);
    // The same decision for bytes already read from path (at least their first 8192 bytes).
    static Result<QString, DocumentError> typeForBytes(const QString &path, QByteArrayView bytes);

    // A regular file read once, with its type and identity, or why it could not be.
    struct LoadedFile
    {
        QByteArray bytes;
        QString type;
        FileIdentity identity;
    };
    static Result<LoadedFile, DocumentError> loadFile(const QString &path);

    // The open document for path (already open, under this name or another one for the same file:
    // that one), or the error that prevented opening it. path is in NativePath form. A FIFO or a
    // pipe opens as an untitled document that fills while its data arrives.
    Result<TextDocument *, DocumentError> openDocument(const QString &path, bool display = true);
    // Opens path, presenting the error in an alert when it cannot be opened.
    TextDocument *openDocumentReportingErrors(const QString &path);
    // Opens each of paths, presenting errors one by one; how many of them opened.
    int openDocumentsReportingErrors(const QStringList &paths);
    // Like openDocument, but a path that names nothing in a folder that exists gives a new, empty
    // document titled with its name, in the preferred encoding and line ending, written there by
    // its first save (nothing is created before). A path whose folder does not exist is an error.
    Result<TextDocument *, DocumentError> openOrCreateDocument(const QString &path,
                                                               bool display = true);
    // openOrCreateDocument, presenting the error in an alert. With window non-null, the document
    // is shown in *window (made on first use and kept there for the next files) instead of the
    // frontmost window; a document already shown elsewhere stays where it is.
    TextDocument *openOrCreateDocumentReportingErrors(const QString &path,
                                                      EditorWindowController **window = nullptr);
    // Puts the caret of document's editor at 1-based line and column (UTF-16 units; the start of
    // the line without one), clamped to the text, and scrolls it into view.
    void showPlace(TextDocument *document, qint64 line, std::optional<qint64> column);
    // A new, empty, untitled document, shown in the frontmost window.
    TextDocument *newDocument(bool display = true);
    // A new, empty, untitled document in a window of its own.
    TextDocument *newDocumentInNewWindow();
    // Takes document over (a copy made by an editor, say) and returns it.
    TextDocument *adopt(std::unique_ptr<TextDocument> document);
    // Closes document: it goes from the list and is deleted (its tab, if any, must be gone).
    void close(TextDocument *document);
    // A new, empty editor window, wired to this controller (not shown yet).
    EditorWindowController *newWindow() { return makeWindow(); }
    // Shows document as a tab of the frontmost editor window (a new window when there is none).
    void display(TextDocument *document);
    // The open document whose file is path, under that name or another one (a link), if any.
    TextDocument *documentForPath(const QString &path) const;
    // Watches the files of open documents for changes made by other programs.
    DocumentFileMonitor *fileMonitor() const { return m_fileMonitor; }
    // Keeps every document's unsaved changes safe in the state folder.
    DocumentAutosaver *autosaver() const { return m_autosaver; }
    // Every open document, shown or not, oldest first.
    std::vector<TextDocument *> documents() const;

    void validate(const MenuItemInfo &item, MenuItemState &state) const override;
    void perform(const MenuItemInfo &item) override;

    // Refills an "Open Recent" menu with the current list.
    static void fillRecentMenu(QMenu *menu);

Q_SIGNALS:
    // The last of its editor windows closed (after its documents were saved or dismissed).
    void lastWindowClosed();

private:
    TextDocument *openStream(const QString &path, OpenedFile file, bool display);
    void
    streamDidFinish(TextDocument *document, const QByteArray &bytes, int outcome, int systemError);
    TextDocument *makeUntitledDocument();
    // A new editor window, wired to this controller.
    EditorWindowController *makeWindow();
    void moveToNewWindow(EditorWindowController *from, TextDocument *document);

    int m_untitledCount = 0;
    DocumentFileMonitor *m_fileMonitor;
    DocumentAutosaver *m_autosaver;
    EditorWindowController::MenuBarFactory m_menuBarFactory;
    std::vector<EditorWindowController *> m_windows; // removed as each is destroyed
};

} // namespace plumeo
