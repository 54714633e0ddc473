#include "DocumentController.h"

#include "Alerts.h"
#include "FilePanels.h"
#include "RecentDocuments.h"
#include "document/TextDocument.h"
#include "editor/EditorViewController.h"
#include "editor/EditorWindowController.h"
#include "rtf/RtfReader.h"
#include "text/Localization.h"
#include "text/TextFile.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

namespace plumeo {

namespace {

DocumentController *sharedController = nullptr;
constexpr qsizetype typeProbeLength = 8192;

} // namespace

DocumentController::DocumentController(QObject *parent)
    : QObject(parent)
{
    if (!sharedController)
        sharedController = this;
}

DocumentController::~DocumentController()
{
    if (sharedController == this)
        sharedController = nullptr;
}

DocumentController *DocumentController::shared()
{
    return sharedController;
}

QString DocumentController::defaultType()
{
    return TextDocument::plainTextType();
}

Result<QString, DocumentError> DocumentController::typeForContents(const QString &path)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return DocumentError::cannotOpen(path);
    const QByteArray head = file.read(typeProbeLength);
    file.close();
    // An RTF document ends at its closing brace: the zero byte WordPad writes after it is not text.
    if (TextFile::isBinary(RtfReader::documentPart(head)))
        return DocumentError::from(TextFileError::binaryData());
    if (QFileInfo(path).suffix().toLower() == u"rtf" || head.startsWith("{\\rtf"))
        return TextDocument::richTextType();
    return TextDocument::plainTextType();
}

Result<TextDocument *, DocumentError> DocumentController::openDocument(const QString &path,
                                                                       bool display)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (TextDocument *open = documentForPath(absolute)) {
        if (display)
            this->display(open);
        return open;
    }
    const auto type = typeForContents(absolute);
    if (!type)
        return type.error();
    QFile file(absolute);
    if (!file.open(QIODevice::ReadOnly))
        return DocumentError::cannotOpen(absolute);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return DocumentError::cannotOpen(absolute);

    auto *document = new TextDocument;
    if (const auto error = document->read(bytes, type.value())) {
        delete document;
        return DocumentError::from(*error);
    }
    document->setFilePath(absolute);
    document->setFileType(type.value());
    RecentDocuments::note(absolute);
    if (display)
        this->display(document);
    return document;
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

TextDocument *DocumentController::newDocument(bool display)
{
    auto *document = new TextDocument;
    document->setUntitledNumber(++m_untitledCount);
    if (display)
        this->display(document);
    return document;
}

void DocumentController::display(TextDocument *document)
{
    for (EditorWindowController *window : EditorWindowController::all()) {
        if (window->editorFor(document)) {
            window->showDocument(document);
            window->raise();
            window->activateWindow();
            return;
        }
    }
    EditorWindowController *window = EditorWindowController::frontmost();
    if (!window) {
        window = new EditorWindowController;
        window->show();
    }
    window->addDocument(document);
    window->raise();
    window->activateWindow();
}

TextDocument *DocumentController::documentForPath(const QString &path) const
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (TextDocument *document : documents())
        if (document->filePath() == absolute)
            return document;
    return nullptr;
}

std::vector<TextDocument *> DocumentController::documents() const
{
    std::vector<TextDocument *> all;
    for (EditorWindowController *window : EditorWindowController::all())
        for (TextDocument *document : window->documents())
            all.push_back(document);
    return all;
}

bool DocumentController::handles(const MenuItemInfo &item) const
{
    return item.action == u"newDocument:" || item.action == u"openDocument:"
           || item.action == u"openRecentDocument:" || item.action == u"clearRecentDocuments:";
}

void DocumentController::validate(const MenuItemInfo &item, MenuItemState &state) const
{
    if (item.action == u"clearRecentDocuments:")
        state.enabled = !RecentDocuments::paths().isEmpty();
}

void DocumentController::perform(const MenuItemInfo &item)
{
    if (item.action == u"newDocument:") {
        newDocument();
    } else if (item.action == u"openDocument:") {
        for (const QString &path :
             FilePanels::chooseFilesToOpen(EditorWindowController::frontmost()))
            openDocumentReportingErrors(path);
    } else if (item.action == u"openRecentDocument:") {
        openDocumentReportingErrors(item.representedObject.toString());
    } else if (item.action == u"clearRecentDocuments:") {
        RecentDocuments::clear();
    }
}

void DocumentController::fillRecentMenu(QMenu *menu)
{
    menu->clear();
    for (const QString &path : RecentDocuments::paths()) {
        QAction *action = menu->addAction(QFileInfo(path).fileName());
        action->setToolTip(path);
        MenuItemInfo{QStringLiteral("openRecentDocument:"), 0, path, nullptr}.applyTo(action);
    }
    menu->addSeparator();
    QAction *clear =
        menu->addAction(L(QStringLiteral("Effacer le menu"), QStringLiteral("Clear Menu")));
    MenuItemInfo{QStringLiteral("clearRecentDocuments:"), 0, {}, nullptr}.applyTo(clear);
}

} // namespace plumeo
