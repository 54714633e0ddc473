#pragma once

#include "ActionResponder.h"
#include "base/Result.h"
#include "document/DocumentError.h"
#include "io/FileIdentity.h"

#include <vector>

#include <QObject>

class QMenu;

namespace plumeo {

class DocumentFileMonitor;
class OpenedFile;
class TextDocument;

// Opens documents: decides what a file may be opened as (refusing binary data before any document
// exists), reads it into a TextDocument and shows it as a tab of the frontmost editor window. Also
// creates new documents, runs the open dialog, keeps the recent-files list and fills its menu.
class DocumentController : public QObject, public ActionResponder
{
    Q_OBJECT
public:
    explicit DocumentController(QObject *parent = nullptr);
    ~DocumentController() override;

    // The controller created at launch.
    static DocumentController *shared();

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
    // A new, empty, untitled document, shown in the frontmost window.
    TextDocument *newDocument(bool display = true);
    // Shows document as a tab of the frontmost editor window (a new window when there is none).
    void display(TextDocument *document);
    // The open document whose file is path, under that name or another one (a link), if any.
    TextDocument *documentForPath(const QString &path) const;
    // Watches the files of open documents for changes made by other programs.
    DocumentFileMonitor *fileMonitor() const { return m_fileMonitor; }
    std::vector<TextDocument *> documents() const;

    void validate(const MenuItemInfo &item, MenuItemState &state) const override;
    void perform(const MenuItemInfo &item) override;

    // Refills an "Open Recent" menu with the current list.
    static void fillRecentMenu(QMenu *menu);

private:
    TextDocument *openStream(const QString &path, OpenedFile file, bool display);
    void
    streamDidFinish(TextDocument *document, const QByteArray &bytes, int outcome, int systemError);
    TextDocument *makeUntitledDocument();

    int m_untitledCount = 0;
    DocumentFileMonitor *m_fileMonitor;
};

} // namespace plumeo
