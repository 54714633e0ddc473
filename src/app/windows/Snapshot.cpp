#include "Snapshot.h"

#include "ActionDispatcher.h"
#include "AppDelegate.h"
#include "DocumentController.h"
#include "FilePanels.h"
#include "HostedWindows.h"
#include "MainMenu.h"
#include "MenuMnemonics.h"
#include "WindowMotion.h"
#include "document/TextDocument.h"
#include "editor/EditorViewController.h"
#include "editor/EditorWindowController.h"
#include "editor/SyntaxHighlighter.h"
#include "help/HelpWindowController.h"
#include "io/NativePath.h"
#include "io/SafeFileWriter.h"
#include "io/SystemError.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <system_error>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

namespace plumeo::Snapshot {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr double defaultDelay = 0.6;
const QSize documentContentSize(1180, 740);
constexpr int menuOpenMilliseconds = 400;

// The windows a snapshot can ask for by name. One that fails to appear is reported, never replaced
// by a picture of some other window.
using WindowShower = std::function<QWidget *()>;
const std::map<QString, WindowShower> &namedWindows()
{
    static const std::map<QString, WindowShower> windows{
        {u"about"_s, [] { return HostedWindows::show(HostedWindows::Kind::about); }},
        {u"shortcuts"_s, [] { return HostedWindows::show(HostedWindows::Kind::shortcuts); }},
        {u"settings"_s, [] { return HostedWindows::show(HostedWindows::Kind::settings); }},
        {u"help"_s,
         [] {
             HelpWindowController::shared().show();
             return HelpWindowController::shared().window();
         }},
    };
    return windows;
}

bool finished = false;

// Prints line and ends the event loop (every loop running, dialogs' included) with status.
void finish(int status, const QString &line, FILE *stream)
{
    if (finished)
        return;
    finished = true;
    if (!line.isNull()) {
        std::fputs(line.toUtf8().append('\n').constData(), stream);
        std::fflush(stream);
    }
    QCoreApplication::exit(status);
}

void fail(int status, const QString &reason)
{
    finish(status, u"snapshot error: "_s + reason, stderr);
}

EditorWindowController *windowOf(const TextDocument *document)
{
    if (!document)
        return nullptr;
    for (EditorWindowController *window : EditorWindowController::all())
        if (window->editorFor(document))
            return window;
    return nullptr;
}

// Gives the window the snapshot's content size: its central area, menu bar aside.
void setContentSize(EditorWindowController *window)
{
    if (!window)
        return;
    window->resize(documentContentSize);
    if (window->layout())
        window->layout()->activate();
    const QSize content =
        window->centralWidget() ? window->centralWidget()->size() : window->size();
    window->resize(window->size() + documentContentSize - content);
    if (window->layout())
        window->layout()->activate();
}

void finishHighlighting(EditorWindowController *window)
{
    if (!window)
        return;
    for (TextDocument *document : window->documents())
        if (EditorViewController *editor = window->editorFor(document))
            if (SyntaxHighlighter *highlighter = editor->highlighter())
                while (highlighter->dirtyFirst())
                    highlighter->relexDirtyLines();
}

// Creates path's parent folders; 0 or the errno that stopped it.
int createParentFolders(const QString &path)
{
    const QString parent = QFileInfo(path).path();
    std::error_code error;
    std::filesystem::create_directories(
        std::filesystem::path(NativePath::encode(parent).toStdString()), error);
    return error ? error.value() : 0;
}

void write(const QByteArray &png, const QString &output)
{
    QString path = expandedPath(output);
    if (QFileInfo(path).isRelative())
        path = QDir::current().absoluteFilePath(path);
    if (const int error = createParentFolders(path)) {
        fail(1, SystemError::describe(error));
        return;
    }
    const auto written = SafeFileWriter::write(path, png);
    if (!written) {
        fail(1, written.error().reason());
        return;
    }
    finish(0, u"snapshot written to %1 (%2 bytes)"_s.arg(path).arg(png.size()), stdout);
}

void listMenu(QMenu *menu)
{
    QStringList lines = menuListing(menu);
    QString text;
    for (const QString &line : lines)
        text += line + u'\n';
    std::fputs(text.toUtf8().constData(), stdout);
    std::fflush(stdout);
    finish(0, QString(), stdout);
}

void showMenu(const QString &title, EditorWindowController *documentWindow)
{
    QMenuBar *bar = documentWindow ? documentWindow->menuBar() : nullptr;
    std::unique_ptr<QMenuBar> own;
    if (!bar) {
        own.reset(MainMenu::build(AppDelegate::shared()));
        ActionDispatcher::shared().install(own.get());
        bar = own.get();
    }
    QMenu *menu = topLevelMenu(bar, title);
    if (!menu) {
        finish(0, QString(), stdout);
        return;
    }
    QWidget *window = documentWindow;
    if (!window)
        for (QWidget *candidate : QApplication::topLevelWidgets())
            if (candidate->isVisible() && !qobject_cast<QMenu *>(candidate)) {
                window = candidate;
                break;
            }
    if (!window) {
        listMenu(menu);
        return;
    }
    // Shown for real, so that it is filled and validated as a user would see it.
    window->activateWindow();
    menu->popup(window->mapToGlobal(QPoint(0, 0)));
    QPointer<QMenu> shown(menu);
    QTimer::singleShot(menuOpenMilliseconds, [shown, bar = own.release()] {
        if (shown) {
            shown->hide();
            listMenu(shown);
        } else {
            fail(3, u"the menu closed before it could be listed"_s);
        }
        delete bar;
    });
}

void capture(const QString &output,
             QPointer<QWidget> target,
             QPointer<TextDocument> document,
             bool targetUnavailable)
{
    EditorWindowController *documentWindow = windowOf(document);
    if (qEnvironmentVariableIsSet("PLUMEO_SNAPSHOT_MENU")) {
        showMenu(qEnvironmentVariable("PLUMEO_SNAPSHOT_MENU"), documentWindow);
        return;
    }
    QWidget *window = targetUnavailable ? nullptr : target.data();
    if (!window && !targetUnavailable) {
        window = documentWindow;
        if (!window && !EditorWindowController::all().empty())
            window = EditorWindowController::all().front();
    }
    if (!window || !window->isVisible()) {
        fail(2, u"no window"_s);
        return;
    }
    finishHighlighting(qobject_cast<EditorWindowController *>(window));
    if (window->layout())
        window->layout()->activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const auto png = render(window);
    if (!png) {
        fail(3, u"the window could not be drawn"_s);
        return;
    }
    write(*png, output);
}

void start(const QString &output,
           const std::optional<QString> &input,
           DocumentController *controller)
{
    WindowMotion::reduceForThisRun();
    HostedWindowController::leaveFramesAloneForThisRun();
    const int waitMilliseconds = int(std::lround(
        std::min(delay(qEnvironmentVariableIsSet("PLUMEO_SNAPSHOT_DELAY")
                           ? std::optional(qEnvironmentVariable("PLUMEO_SNAPSHOT_DELAY"))
                           : std::nullopt),
                 double(INT_MAX) / 1000)
        * 1000));

    TextDocument *document = nullptr;
    if (input && !input->isEmpty()) {
        QString path = expandedPath(*input);
        if (QFileInfo(path).isRelative())
            path = QDir::current().absoluteFilePath(path);
        const auto opened = controller->openDocument(path, true);
        if (!opened) {
            fail(1, opened.error().description);
            return;
        }
        document = opened.value();
        setContentSize(windowOf(document));
    } else {
        document = controller->newDocument(true);
        // A failure leaves the empty document, still worth a picture.
        if (document && !document->isRichText()
            && document->read(sampleText().toUtf8(), TextDocument::plainTextType()))
            setContentSize(windowOf(document));
    }

    const QString windowName = qEnvironmentVariable("PLUMEO_SNAPSHOT_WINDOW");
    if (windowName == u"open") {
        QTimer::singleShot(waitMilliseconds, [] {
            const bool configured = FilePanels::panelConfigured();
            finish(configured ? 0 : 5,
                   u"open panel configured by beginOpenPanel: "_s
                       + (configured ? u"true"_s : u"false"_s),
                   stdout);
        });
        // The dialog is modal: this returns when the timer above has ended the run.
        controller->perform(MenuItemInfo{Command::openDocument});
        return;
    }
    QPointer<QWidget> target;
    bool targetUnavailable = false;
    if (const auto named = namedWindows().find(windowName); named != namedWindows().end()) {
        target = named->second();
        targetUnavailable = target.isNull();
    }
    QTimer::singleShot(
        waitMilliseconds,
        [output, target, document = QPointer<TextDocument>(document), targetUnavailable] {
            capture(output, target, document, targetUnavailable);
        });
}

} // namespace

void run(const QString &output, const std::optional<QString> &input, DocumentController *controller)
{
    // Exit codes only reach the process from inside the event loop.
    QTimer::singleShot(0, [output, input, controller] { start(output, input, controller); });
}

std::optional<QByteArray> render(QWidget *window)
{
    if (!window)
        return std::nullopt;
    const QPixmap picture = window->grab();
    if (picture.isNull() || picture.width() < 2)
        return std::nullopt;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG") || png.isEmpty())
        return std::nullopt;
    return png;
}

double delay(const std::optional<QString> &text)
{
    if (!text || text->isEmpty() || text->trimmed() != *text)
        return defaultDelay;
    bool ok = false;
    const double seconds = text->toDouble(&ok);
    if (!ok || !std::isfinite(seconds))
        return defaultDelay;
    return std::max(seconds, 0.0);
}

QString sampleText()
{
    return QStringList{
        u"// Plumeo — aperçu"_s,
        u"import Foundation"_s,
        QString(),
        u"struct Clip {"_s,
        u"    var name: String"_s,
        u"    var gain: Float = 0.5"_s,
        QString(),
        u"    func describe() -> String {"_s,
        u"        \"\\(name) à \\(gain) dB\"   // interpolation"_s,
        u"    }"_s,
        u"}"_s,
    }
        .join(u'\n');
}

QString expandedPath(const QString &path)
{
    if (path == u"~")
        return QDir::homePath();
    if (path.startsWith(u"~/"))
        return QDir::homePath() + path.mid(1);
    return path;
}

QMenu *topLevelMenu(const QMenuBar *bar, const QString &title)
{
    for (QAction *action : bar->actions())
        if (action->menu() && MenuMnemonics::plain(action->text()) == title)
            return action->menu();
    return nullptr;
}

QStringList menuListing(const QMenu *menu)
{
    QStringList lines;
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator())
            lines << u"—"_s;
        else if (action->menu())
            lines << MenuMnemonics::plain(action->text()) + u" ▸ "_s
                         + QString::number(action->menu()->actions().size());
        else
            lines << MenuMnemonics::plain(action->text());
    }
    return lines;
}

} // namespace plumeo::Snapshot
