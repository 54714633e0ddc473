#include "document/DocumentFileMonitor.h"

#include "DocumentController.h"
#include "document/TextDocument.h"
#include "io/FileIdentity.h"
#include "io/NativePath.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QSet>
#include <QTimer>

namespace plumeo {

DocumentFileMonitor::DocumentFileMonitor(QObject *parent)
    : QObject(parent)
    , m_watcher(new QFileSystemWatcher(this))
    , m_pending(new QTimer(this))
{
    // Programs write a file in several steps (truncate, write, rename): look once they are done.
    m_pending->setSingleShot(true);
    m_pending->setInterval(150);
    connect(m_pending, &QTimer::timeout, this, &DocumentFileMonitor::checkAll);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &DocumentFileMonitor::scheduleCheck);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this,
            &DocumentFileMonitor::scheduleCheck);
    if (auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(application, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state == Qt::ApplicationActive)
                        scheduleCheck();
                });
}

void DocumentFileMonitor::watch(TextDocument *document)
{
    for (const auto &watched : m_documents)
        if (watched == document)
            return;
    m_documents.emplace_back(document);
    connect(document, &TextDocument::fileChanged, this, &DocumentFileMonitor::rewatch);
    connect(document, &QObject::destroyed, this, [this] {
        std::erase_if(m_documents, [](const QPointer<TextDocument> &d) { return d.isNull(); });
        rewatch();
    });
    rewatch();
}

void DocumentFileMonitor::scheduleCheck()
{
    m_pending->start();
}

void DocumentFileMonitor::rewatch()
{
    // Qt's watcher takes paths as text and would encode escaped bytes wrongly; such files are
    // still checked on activation and before every save.
    QSet<QString> wanted;
    for (const auto &document : m_documents) {
        if (!document || document->filePath().isEmpty()
            || NativePath::hasEscapes(document->filePath()))
            continue;
        // The folder too: a file replaced by rename, or one that comes back, shows there.
        wanted.insert(document->filePath());
        wanted.insert(QFileInfo(document->filePath()).absolutePath());
    }
    QStringList stale;
    for (const QString &path : m_watcher->files() + m_watcher->directories())
        if (!wanted.contains(path))
            stale << path;
    if (!stale.isEmpty())
        m_watcher->removePaths(stale);
    QStringList missing;
    const QStringList present = m_watcher->files() + m_watcher->directories();
    for (const QString &path : wanted)
        if (!present.contains(path) && QFileInfo::exists(path))
            missing << path;
    if (!missing.isEmpty())
        m_watcher->addPaths(missing);
}

void DocumentFileMonitor::checkAll()
{
    for (const auto &document : std::vector(m_documents))
        if (document)
            check(document);
    // A file replaced by rename is a new inode the watcher does not follow yet.
    rewatch();
}

void DocumentFileMonitor::check(TextDocument *document)
{
    if (document->filePath().isEmpty() || !document->diskIdentity())
        return;
    const auto current = FileIdentity::of(document->filePath());
    if (!current) {
        document->setDiskState(TextDocument::DiskState::missing);
        return;
    }
    if (current->isUnchanged(*document->diskIdentity())) {
        document->setDiskState(TextDocument::DiskState::inSync);
        return;
    }
    if (document->dismissedDiskIdentity()
        && current->isUnchanged(*document->dismissedDiskIdentity()))
        return;
    if (!document->isEdited() && !document->streamLoad() && reload(document))
        return;
    document->setDiskState(TextDocument::DiskState::changed);
}

Result<void, DocumentError> DocumentFileMonitor::reload(TextDocument *document)
{
    auto loaded = DocumentController::loadFile(document->filePath());
    if (!loaded)
        return loaded.error();
    return document->reloadFromDisk(loaded.value().bytes, loaded.value().type,
                                    loaded.value().identity);
}

} // namespace plumeo
