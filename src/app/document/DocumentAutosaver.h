#pragma once

#include "io/SafeFileWriter.h"

#include <atomic>
#include <memory>
#include <unordered_map>

#include <QObject>
#include <QThreadPool>

class QTimer;

namespace plumeo {

class AutosaveStore;
class TextDocument;

// Keeps a copy of every document's unsaved changes in an AutosaveStore of this process, so that a
// crash, a kill or a power cut loses at most the last two seconds of typing.
//
// A document's autosave is written quietDelay after typing pauses, and at least every longestDelay
// while typing goes on. The text is taken on the main thread the cheap way (the storage's raw
// text); turning it into the file's bytes and writing them happen on a worker, one write at a time
// in the order asked, so typing never waits for the disk, and a write made obsolete by a newer one
// queued behind it is skipped. Rich documents are turned into RTF on the main thread (Qt's text
// classes are not for other threads) and written by the worker.
//
// The autosave goes when the document no longer has unsaved changes (saved, changes undone) and
// when discard() says its changes were given up. A document destroyed otherwise (the process ending
// without its prompts) keeps its autosave: that is the work recovery brings back.
//
// Only the user's unsaved text is written here; the document's own file is never touched.
class DocumentAutosaver : public QObject
{
    Q_OBJECT
public:
    static constexpr int quietDelay = 1000;   // ms after the last change
    static constexpr int longestDelay = 2000; // ms after the first change not yet written

    // root: the folder holding every process's autosave folder (created at the first write).
    explicit DocumentAutosaver(QString root, QObject *parent = nullptr);
    // Waits for the writes in flight.
    ~DocumentAutosaver() override;

    // StateFolder::path() + "/autosave".
    static QString standardRoot();
    QString root() const { return m_root; }

    // Starts following document's changes (again: nothing more happens).
    void watch(TextDocument *document);
    // Writes document's unsaved changes at once and waits until they are on disk: before a step
    // that could lose them. Whether they are (or there were none).
    bool saveNow(TextDocument *document);
    void saveAllNow();
    // document's changes were given up (closed with "Don't Save"): its autosave goes.
    void discard(TextDocument *document);
    // Where document's autosave is, once one was asked for (and not removed since); empty
    // otherwise.
    QString autosavePath(const TextDocument *document) const;
    // Waits until the writes asked so far are done.
    void waitForWrites();

Q_SIGNALS:
    // A write failed (the state folder cannot be written, the disk is full). Emitted for each
    // failure; the document is unaffected and the next change tries again.
    void writeFailed(const FileWriteError &error);

private:
    struct Entry
    {
        QString name;
        QTimer *quiet = nullptr;
        QTimer *longest = nullptr;
        // Bumped by every write or removal asked: a queued write older than it is skipped.
        std::shared_ptr<std::atomic<quint64>> generation;
        bool onDisk = false;
    };

    void changed(TextDocument *document);
    void flush(TextDocument *document, bool wait);
    void removeAutosave(Entry &entry);
    bool ensureStore();

    QString m_root;
    std::shared_ptr<AutosaveStore> m_store;
    std::unordered_map<const TextDocument *, Entry> m_entries;
    int m_nextNumber = 0;
    QThreadPool m_pool;
};

} // namespace plumeo
