#pragma once

#include "base/Result.h"
#include "document/DocumentError.h"

#include <vector>

#include <QObject>
#include <QPointer>

class QFileSystemWatcher;
class QTimer;

namespace plumeo {

class TextDocument;

// Notices when another program changes, replaces, deletes or moves the file of an open document,
// and brings the document in step: an unedited document reloads (its views keep the caret and the
// scroll position); an edited one is marked as changed on disk, and its editor asks the user which
// version to keep. Nothing is ever overwritten from here.
//
// A file system watcher reports most changes; since it misses some (and loses a file replaced by
// rename), every document is also checked when Plumeo becomes the active application, and a save
// compares the disk with what was read right before writing.
class DocumentFileMonitor : public QObject
{
    Q_OBJECT
public:
    explicit DocumentFileMonitor(QObject *parent = nullptr);

    // Follows document's file from now on (and its new file after Save As, rename or move).
    void watch(TextDocument *document);
    // Compares every watched document with its file now.
    void checkAll();
    // Compares one document with its file and acts on the difference.
    void check(TextDocument *document);
    // Reads the document's file again, dropping its unsaved changes. Presents nothing: on failure
    // the document is as it was, and the error says why the file could not be read.
    static Result<void, DocumentError> reload(TextDocument *document);

private:
    void rewatch();
    void scheduleCheck();

    QFileSystemWatcher *m_watcher;
    QTimer *m_pending;
    std::vector<QPointer<TextDocument>> m_documents;
};

} // namespace plumeo
