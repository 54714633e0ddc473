#include "document/DocumentAutosaver.h"

#include "document/TextDocument.h"
#include "io/StateFolder.h"
#include "session/AutosaveRecord.h"
#include "session/AutosaveStore.h"

#include <QTextDocument>
#include <QTimer>

namespace plumeo {

namespace {

// What the worker needs to write one autosave, taken on the main thread.
struct Snapshot
{
    AutosaveRecord record;
    QString rawText; // plain: the storage's raw text, mapped back by codec on the worker
    std::optional<TextStorageCodec> codec;
};

Snapshot snapshotOf(const TextDocument &document)
{
    Snapshot snapshot;
    AutosaveRecord &record = snapshot.record;
    record.filePath = document.filePath();
    if (record.filePath.isEmpty())
        record.untitledName = document.displayName();
    record.encoding = document.encoding().rawValue();
    record.hasBOM = document.hasBOM();
    record.lineEnding = document.lineEnding();
    record.richText = document.isRichText();
    record.savedAt = QDateTime::currentDateTimeUtc();
    if (record.richText) {
        // RTF that cannot be made (it always can) leaves the plain text as the next best thing.
        if (auto rtf = document.data())
            record.rtf = std::move(rtf.value());
        else {
            record.richText = false;
            record.text = document.text();
        }
    } else {
        snapshot.rawText = document.textStorage()->toRawText();
        snapshot.codec = document.storageCodec();
    }
    return snapshot;
}

QByteArray bytesOf(Snapshot &snapshot)
{
    if (snapshot.codec) {
        snapshot.record.text = snapshot.codec->fromStorage(snapshot.rawText);
        snapshot.rawText.clear();
    }
    return snapshot.record.toBytes();
}

} // namespace

DocumentAutosaver::DocumentAutosaver(QString root, QObject *parent)
    : QObject(parent)
    , m_root(std::move(root))
{
    m_pool.setMaxThreadCount(1);
    m_pool.setExpiryTimeout(-1);
}

DocumentAutosaver::~DocumentAutosaver()
{
    m_pool.waitForDone();
}

QString DocumentAutosaver::standardRoot()
{
    return StateFolder::path() + QStringLiteral("/autosave");
}

void DocumentAutosaver::watch(TextDocument *document)
{
    if (m_entries.contains(document))
        return;
    Entry &entry = m_entries[document];
    entry.name = QStringLiteral("document-%1").arg(++m_nextNumber);
    entry.generation = std::make_shared<std::atomic<quint64>>(0);
    entry.quiet = new QTimer(document);
    entry.quiet->setSingleShot(true);
    entry.quiet->setInterval(quietDelay);
    entry.longest = new QTimer(document);
    entry.longest->setSingleShot(true);
    entry.longest->setInterval(longestDelay);
    connect(entry.quiet, &QTimer::timeout, this, [this, document] { flush(document, false); });
    connect(entry.longest, &QTimer::timeout, this, [this, document] { flush(document, false); });

    // Formatting passes of the highlighter change no character: only real edits count.
    connect(document->textStorage(), &QTextDocument::contentsChange, this,
            [this, document](int, int removed, int added) {
                if (removed != 0 || added != 0)
                    changed(document);
            });
    for (const auto signal : {&TextDocument::encodingDidChange, &TextDocument::fileChanged,
                              &TextDocument::textDidReload})
        connect(document, signal, this, [this, document] { changed(document); });
    connect(document, &TextDocument::editedChanged, this, [this, document] { changed(document); });
    connect(document, &TextDocument::unsavedChangesAtRisk, this,
            [this, document] { saveNow(document); });
    connect(document, &QObject::destroyed, this, [this, document] { m_entries.erase(document); });
    if (document->isEdited())
        changed(document);
}

void DocumentAutosaver::changed(TextDocument *document)
{
    const auto found = m_entries.find(document);
    if (found == m_entries.end())
        return;
    Entry &entry = found->second;
    if (!document->isEdited()) {
        entry.quiet->stop();
        entry.longest->stop();
        removeAutosave(entry);
        return;
    }
    if (!entry.longest->isActive())
        entry.longest->start();
    entry.quiet->start();
}

bool DocumentAutosaver::ensureStore()
{
    if (m_store)
        return true;
    auto claimed = AutosaveStore::claimNew(m_root);
    if (!claimed) {
        Q_EMIT writeFailed(claimed.error());
        return false;
    }
    m_store = std::move(claimed.value());
    return true;
}

void DocumentAutosaver::flush(TextDocument *document, bool wait)
{
    const auto found = m_entries.find(document);
    if (found == m_entries.end())
        return;
    Entry &entry = found->second;
    entry.quiet->stop();
    entry.longest->stop();
    if (!document->isEdited()) {
        removeAutosave(entry);
        return;
    }
    if (!ensureStore())
        return;
    // What is kept must be the whole text: restored over the file, half of it would lose the rest.
    document->finishLoading();
    const quint64 generation = ++*entry.generation;
    entry.onDisk = true;
    auto job = [store = m_store, name = entry.name, latest = entry.generation, generation,
                snapshot = snapshotOf(*document)]() mutable -> std::optional<FileWriteError> {
        // A newer write of the same document is queued behind this one.
        if (latest->load() != generation)
            return std::nullopt;
        auto written = store->write(name, bytesOf(snapshot));
        if (!written)
            return written.error();
        return std::nullopt;
    };
    if (wait) {
        m_pool.waitForDone();
        if (const auto failed = job())
            Q_EMIT writeFailed(*failed);
        return;
    }
    m_pool.start([this, job = std::move(job)]() mutable {
        if (const auto failed = job())
            QMetaObject::invokeMethod(
                this, [this, error = *failed] { Q_EMIT writeFailed(error); }, Qt::QueuedConnection);
    });
}

void DocumentAutosaver::removeAutosave(Entry &entry)
{
    if (!entry.onDisk)
        return;
    entry.onDisk = false;
    ++*entry.generation;
    m_pool.start([store = m_store, name = entry.name] { store->remove(name); });
}

bool DocumentAutosaver::saveNow(TextDocument *document)
{
    bool failed = false;
    const auto connection =
        connect(this, &DocumentAutosaver::writeFailed, this, [&failed] { failed = true; });
    flush(document, true);
    disconnect(connection);
    return !failed;
}

void DocumentAutosaver::saveAllNow()
{
    for (auto &[document, entry] : m_entries)
        if (entry.quiet->isActive() || entry.longest->isActive())
            flush(const_cast<TextDocument *>(document), true);
}

void DocumentAutosaver::discard(TextDocument *document)
{
    const auto found = m_entries.find(document);
    if (found == m_entries.end())
        return;
    found->second.quiet->stop();
    found->second.longest->stop();
    removeAutosave(found->second);
}

QString DocumentAutosaver::autosavePath(const TextDocument *document) const
{
    const auto found = m_entries.find(document);
    if (found == m_entries.end() || !found->second.onDisk || !m_store)
        return {};
    return m_store->pathFor(found->second.name);
}

void DocumentAutosaver::waitForWrites()
{
    m_pool.waitForDone();
}

} // namespace plumeo
