#include "DocumentController.h"

#include "Alerts.h"
#include "AutosaveAlerts.h"
#include "FilePanels.h"
#include "LaunchOptions.h"
#include "MenuMnemonics.h"
#include "RecentDocuments.h"
#include "document/DocumentAutosaver.h"
#include "document/DocumentFileMonitor.h"
#include "document/StreamLoad.h"
#include "document/TextDocument.h"
#include "editor/EditorView.h"
#include "editor/EditorViewController.h"
#include "editor/EditorWindowController.h"
#include "io/FileReader.h"
#include "io/NativePath.h"
#include "io/SafeFileWriter.h"
#include "rtf/RtfReader.h"
#include "text/Localization.h"
#include "text/TextFile.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

namespace plumeo {

namespace {

constexpr qsizetype typeProbeLength = 8192;

} // namespace

DocumentController::DocumentController(QObject *parent)
    : QObject(parent)
    , ActionResponder(CommandHandler::documentController)
    , m_fileMonitor(new DocumentFileMonitor(this))
    , m_autosaver(new DocumentAutosaver(DocumentAutosaver::standardRoot(), this))
{
    connect(m_autosaver, &DocumentAutosaver::writeFailed, this,
            &AutosaveAlerts::presentAutosaveProblem);
}

DocumentController::~DocumentController()
{
    // The editors go before the documents they show, and no longer count as closing.
    const std::vector<EditorWindowController *> windows = std::move(m_windows);
    for (EditorWindowController *window : windows) {
        disconnect(window, nullptr, this, nullptr);
        delete window;
    }
}

EditorWindowController *DocumentController::makeWindow()
{
    auto *window = new EditorWindowController(m_menuBarFactory);
    m_windows.push_back(window);
    // When destroyed() arrives the window is only a QObject: compare its address, never use it.
    connect(window, &QObject::destroyed, this, [this, window] {
        std::erase(m_windows, window);
        if (m_windows.empty())
            Q_EMIT lastWindowClosed();
    });
    connect(window, &EditorWindowController::documentClosed, this, &DocumentController::close);
    connect(window, &EditorWindowController::newWindowRequested, this,
            [this, window](TextDocument *document) { moveToNewWindow(window, document); });
    connect(window, &EditorWindowController::openFilesRequested, this,
            &DocumentController::openDocumentsReportingErrors);
    connect(window, &EditorWindowController::documentDuplicated, this,
            [this](TextDocument *copy) { display(adopt(std::unique_ptr<TextDocument>(copy))); });
    return window;
}

void DocumentController::moveToNewWindow(EditorWindowController *from, TextDocument *document)
{
    EditorViewController *editor = from->editorFor(document);
    if (!editor)
        return;
    // The selection lives in the document's storage: it outlasts the editor that showed it.
    const QTextCursor selection = editor->editorView()->textCursor();
    from->takeDocument(document);
    EditorWindowController *window = makeWindow();
    window->addDocument(document)->editorView()->setTextCursor(selection);
    window->show();
    window->activateWindow();
}

TextDocument *DocumentController::adopt(std::unique_ptr<TextDocument> document)
{
    TextDocument *adopted = document.release();
    adopted->setParent(this);
    m_autosaver->watch(adopted);
    return adopted;
}

void DocumentController::close(TextDocument *document)
{
    if (document && document->parent() == this) {
        // Closed after its changes were saved or given up: nothing is left to recover.
        m_autosaver->discard(document);
        delete document;
    }
}

QString DocumentController::defaultType()
{
    return TextDocument::plainTextType();
}

Result<QString, DocumentError> DocumentController::typeForContents(const QString &path)
{
    auto loaded = loadFile(path);
    if (!loaded)
        return loaded.error();
    return loaded.value().type;
}

Result<QString, DocumentError> DocumentController::typeForBytes(const QString &path,
                                                                QByteArrayView bytes)
{
    const QByteArrayView head = bytes.first(std::min(bytes.size(), typeProbeLength));
    // An RTF document ends at its closing brace: the zero byte WordPad writes after it is not text.
    if (TextFile::isBinary(RtfReader::documentPart(head)))
        return DocumentError::notText(path);
    if (QFileInfo(path).suffix().toLower() == u"rtf" || head.startsWith("{\\rtf"))
        return TextDocument::richTextType();
    return TextDocument::plainTextType();
}

Result<DocumentController::LoadedFile, DocumentError>
DocumentController::loadFile(const QString &path)
{
    FileIdentity identity;
    auto bytes = FileReader::readRegularFile(path, &identity);
    if (!bytes)
        return DocumentError::cannotRead(path, bytes.error());
    auto type = typeForBytes(path, bytes.value());
    if (!type)
        return type.error();
    return LoadedFile{std::move(bytes.value()), std::move(type.value()), identity};
}

Result<TextDocument *, DocumentError> DocumentController::openDocument(const QString &path,
                                                                       bool display)
{
    const QString absolute = NativePath::recoverLossy(QFileInfo(path).absoluteFilePath());
    // Opened once and read once: a FIFO's data goes to one reader only.
    auto opened = FileReader::open(absolute);
    if (!opened)
        return DocumentError::cannotRead(absolute, opened.error());
    if (opened.value().kind() == OpenedFile::Kind::stream)
        return openStream(absolute, std::move(opened.value()), display);

    const FileIdentity identity = opened.value().identity();
    for (TextDocument *document : documents()) {
        if (document->filePath() == absolute
            || (document->diskIdentity() && document->diskIdentity()->isSameFile(identity))) {
            if (display)
                this->display(document);
            return document;
        }
    }
    auto read = std::make_unique<TextDocument>();
    QString type;
    {
        // The file's bytes are let go of as soon as they are decoded: a large file's text is
        // still going into the document.
        auto bytes = FileReader::readAll(opened.value());
        if (!bytes)
            return DocumentError::cannotRead(absolute, bytes.error());
        const auto typeFound = typeForBytes(absolute, bytes.value());
        if (!typeFound)
            return typeFound.error();
        type = typeFound.value();
        if (auto done = read->read(bytes.value(), type, TextDocument::Loading::inSlices); !done)
            return done.error();
    }
    TextDocument *document = adopt(std::move(read));
    document->setFilePath(absolute);
    document->setFileType(type);
    document->setDiskIdentity(identity);
    m_fileMonitor->watch(document);
    SafeFileWriter::removeStaleTemporaries(absolute);
    RecentDocuments::note(absolute);
    if (display)
        this->display(document);
    return document;
}

TextDocument *DocumentController::openStream(const QString &path, OpenedFile file, bool display)
{
    TextDocument *document = makeUntitledDocument();
    auto *load = new StreamLoad(std::move(file), FileReader::sizeLimit(), path, document);
    connect(load, &StreamLoad::finished, document,
            [this, document](const QByteArray &bytes, StreamReader::Outcome outcome, int error) {
                streamDidFinish(document, bytes, int(outcome), error);
            });
    document->setStreamLoad(load);
    if (display)
        this->display(document);
    load->start();
    return document;
}

void DocumentController::streamDidFinish(TextDocument *document,
                                         const QByteArray &bytes,
                                         int outcome,
                                         int systemError)
{
    StreamLoad *load = document->streamLoad();
    const QString source = load ? load->sourceName() : QString();
    const qint64 limit = load ? load->limit() : 0;
    document->setStreamLoad(nullptr);
    if (load)
        load->deleteLater();

    QWidget *window = EditorWindowController::frontmost();
    // Its view was read-only, but a menu command may still have put text in: that text stays, and
    // the stream's gets a document of its own.
    if (!document->text().isEmpty() || document->isEdited()) {
        TextDocument *own = makeUntitledDocument();
        this->display(own);
        document = own;
    }
    const auto type = typeForBytes(source, bytes);
    const auto taken = [&]() -> Result<void, DocumentError> {
        if (!type)
            return type.error();
        if (auto read = document->read(bytes, type.value()); !read)
            return read;
        // The text exists nowhere else: closing the document must ask.
        if (!bytes.isEmpty())
            document->noteChange();
        if (StreamReader::Outcome(outcome) == StreamReader::Outcome::limitReached)
            return DocumentError::streamTooLong(source, limit);
        if (StreamReader::Outcome(outcome) == StreamReader::Outcome::failed)
            return DocumentError::cannotRead(
                source, FileReadError{FileReadError::Kind::ioError, systemError, 0, 0});
        return {};
    }();
    if (!taken)
        Alerts::presentError(window, taken.error());
    // What arrived is not text: the empty tab that waited for it goes.
    if (!type)
        for (EditorWindowController *editorWindow : EditorWindowController::all())
            if (editorWindow->editorFor(document))
                editorWindow->closeDocument(document);
}

Result<TextDocument *, DocumentError> DocumentController::openOrCreateDocument(const QString &path,
                                                                               bool display)
{
    const QString absolute = NativePath::recoverLossy(QFileInfo(path).absoluteFilePath());
    const QString folder = QFileInfo(absolute).absolutePath();
    // Only where nothing at all is found: a dangling link is not followed to make its target.
    if (LaunchOptions::existsOnDisk(absolute) || !QFileInfo(folder).isDir()
        || !LaunchOptions::existsOnDisk(folder))
        return openDocument(path, display);
    // Named twice before its first save: the same new document.
    for (TextDocument *document : documents()) {
        if (document->filePath() == absolute) {
            if (display)
                this->display(document);
            return document;
        }
    }
    auto created = std::make_unique<TextDocument>();
    if (QFileInfo(absolute).suffix().toLower() == u"rtf") {
        // Saved where the rtf extension decides how the file is read again: rich text.
        if (auto empty = created->read(QByteArrayLiteral("{\\rtf1}"), TextDocument::richTextType());
            !empty)
            return empty.error();
        created->setFileType(TextDocument::richTextType());
    } else {
        created->setFileType(TextDocument::plainTextType());
    }
    TextDocument *document = adopt(std::move(created));
    document->setFilePath(absolute);
    if (display)
        this->display(document);
    return document;
}

TextDocument *
DocumentController::openOrCreateDocumentReportingErrors(const QString &path,
                                                        EditorWindowController **window)
{
    auto result = openOrCreateDocument(path, window == nullptr);
    if (!result) {
        Alerts::presentError(window && *window ? *window : EditorWindowController::frontmost(),
                             result.error());
        return nullptr;
    }
    TextDocument *document = result.value();
    if (!window)
        return document;
    for (EditorWindowController *shown : EditorWindowController::all()) {
        if (shown->editorFor(document)) {
            shown->showDocument(document);
            shown->bringToFront();
            return document;
        }
    }
    if (!*window)
        *window = makeWindow();
    m_fileMonitor->watch(document);
    (*window)->addDocument(document);
    (*window)->bringToFront();
    return document;
}

void DocumentController::showPlace(TextDocument *document,
                                   qint64 line,
                                   std::optional<qint64> column)
{
    for (EditorWindowController *window : EditorWindowController::all())
        if (EditorViewController *editor = window->editorFor(document))
            editor->goToPlace(line, column.value_or(1));
}

TextDocument *DocumentController::openDocumentReportingErrors(const QString &path)
{
    auto result = openDocument(path);
    if (!result) {
        Alerts::presentError(EditorWindowController::frontmost(), result.error());
        return nullptr;
    }
    return result.value();
}

int DocumentController::openDocumentsReportingErrors(const QStringList &paths)
{
    int opened = 0;
    for (const QString &path : paths)
        opened += openDocumentReportingErrors(path) != nullptr;
    return opened;
}

TextDocument *DocumentController::makeUntitledDocument()
{
    TextDocument *document = adopt(std::make_unique<TextDocument>());
    document->setUntitledNumber(++m_untitledCount);
    return document;
}

TextDocument *DocumentController::newDocument(bool display)
{
    TextDocument *document = makeUntitledDocument();
    if (display)
        this->display(document);
    return document;
}

TextDocument *DocumentController::newDocumentInNewWindow()
{
    TextDocument *document = makeUntitledDocument();
    m_fileMonitor->watch(document);
    EditorWindowController *window = makeWindow();
    window->addDocument(document);
    window->bringToFront();
    return document;
}

void DocumentController::display(TextDocument *document)
{
    m_fileMonitor->watch(document);
    for (EditorWindowController *window : EditorWindowController::all()) {
        if (window->editorFor(document)) {
            window->showDocument(document);
            window->bringToFront();
            return;
        }
    }
    EditorWindowController *window = EditorWindowController::frontmost();
    if (!window)
        window = makeWindow();
    window->addDocument(document);
    window->bringToFront();
}

TextDocument *DocumentController::documentForPath(const QString &path) const
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const auto identity = FileIdentity::of(absolute);
    for (TextDocument *document : documents())
        if (document->filePath() == absolute
            || (identity && document->diskIdentity()
                && document->diskIdentity()->isSameFile(*identity)))
            return document;
    return nullptr;
}

std::vector<TextDocument *> DocumentController::documents() const
{
    const QList<TextDocument *> children = findChildren<TextDocument *>(Qt::FindDirectChildrenOnly);
    return {children.begin(), children.end()};
}

void DocumentController::validate(const MenuItemInfo &item, MenuItemState &state) const
{
    if (item.command == Command::clearRecentDocuments)
        state.enabled = !RecentDocuments::paths().isEmpty();
}

void DocumentController::perform(const MenuItemInfo &item)
{
    switch (item.command) {
    case Command::newDocument:
        newDocument();
        break;
    case Command::openDocument: {
        // The next file is most often beside the one being read.
        EditorWindowController *window = EditorWindowController::frontmost();
        const TextDocument *current = window ? window->currentDocument() : nullptr;
        const QString folder = current && !current->filePath().isEmpty()
                                   ? QFileInfo(current->filePath()).absolutePath()
                                   : QString();
        for (const QString &path : FilePanels::chooseFilesToOpen(window, folder))
            openDocumentReportingErrors(path);
        break;
    }
    case Command::openRecentDocument:
        if (!openDocumentReportingErrors(item.representedObject.toString()))
            RecentDocuments::forget(item.representedObject.toString());
        break;
    case Command::clearRecentDocuments:
        RecentDocuments::clear();
        break;
    default:
        break;
    }
}

void DocumentController::fillRecentMenu(QMenu *menu)
{
    menu->clear();
    for (const QString &path : RecentDocuments::existingPaths()) {
        QAction *action = menu->addAction(MenuMnemonics::escaped(QFileInfo(path).fileName()));
        action->setToolTip(path);
        MenuItemInfo{Command::openRecentDocument, path}.applyTo(action);
    }
    menu->addSeparator();
    QAction *clear =
        menu->addAction(L(QStringLiteral("Effacer le menu"), QStringLiteral("Clear Menu")));
    MenuItemInfo{Command::clearRecentDocuments}.applyTo(clear);
}

} // namespace plumeo
