#include "AppDelegate.h"

#include "ActionDispatcher.h"
#include "Alerts.h"
#include "AppVersion.h"
#include "DarkAppearance.h"
#include "DocumentController.h"
#include "DocumentRecovery.h"
#include "LaunchOptions.h"
#include "MainMenu.h"
#include "MenuMnemonics.h"
#include "Preferences.h"
#include "SessionKeeper.h"
#include "SignalHandler.h"
#include "base/AppIdentifier.h"
#include "document/DocumentAutosaver.h"
#include "editor/EditorWindowController.h"
#include "help/HelpWindowController.h"
#include "text/Localization.h"
#include "text/QtTranslations.h"
#include "text/UserDefaults.h"
#include "update/Updater.h"
#include "windows/HostedWindows.h"
#include "windows/Snapshot.h"

#include <csignal>

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QUrl>

namespace plumeo {

namespace {

AppDelegate *sharedDelegate = nullptr;

// Tells the user, once, when the settings cannot be read or kept; the store itself has no widgets.
void reportSettingsProblems()
{
    static bool watching = false;
    if (watching)
        return;
    watching = true;
    UserDefaults &store = UserDefaults::standard();
    store.watchForChanges();
    if (const QString problem = store.loadProblem(); !problem.isEmpty())
        Alerts::presentSettingsProblem({problem, std::nullopt});
    QObject::connect(&store, &UserDefaults::writeFailed, [](const QString &reason) {
        Alerts::presentSettingsProblem(
            {L(QStringLiteral("Vos réglages n’ont pas pu être enregistrés."),
               QStringLiteral("Your settings couldn’t be saved.")),
             reason + u' '
                 + L(QStringLiteral("Vos changements restent en vigueur jusqu’à ce que vous "
                                    "quittiez Plumeo."),
                     QStringLiteral("Your changes stay in effect until you quit Plumeo."))});
    });
}

} // namespace

AppDelegate::AppDelegate(QObject *parent)
    : QObject(parent)
    , ActionResponder(CommandHandler::application)
{
    if (!sharedDelegate)
        sharedDelegate = this;
}

AppDelegate::~AppDelegate()
{
    if (sharedDelegate == this)
        sharedDelegate = nullptr;
}

AppDelegate *AppDelegate::shared()
{
    return sharedDelegate;
}

std::optional<AppDelegate::SnapshotRequest>
AppDelegate::snapshotRequest(const QStringList &arguments)
{
    const qsizetype at = arguments.indexOf(QStringLiteral("--snapshot"));
    if (at < 0)
        return std::nullopt;
    SnapshotRequest request;
    request.output =
        at + 1 < arguments.size() ? arguments[at + 1] : QStringLiteral("/tmp/plumeo-snapshot.png");
    if (at + 2 < arguments.size())
        request.input = arguments[at + 2];
    return request;
}

void AppDelegate::applicationWillFinishLaunching(const QStringList &arguments)
{
    // Before anything can show a dialog: Qt's own texts in it follow the interface language.
    if (!m_qtTranslations)
        m_qtTranslations = new QtTranslations(QtTranslations::standardFolder(), this);
    Preferences::registerDefaults();
    reportSettingsProblems();
    if (auto *application = qobject_cast<QApplication *>(QCoreApplication::instance())) {
        applyDarkAppearance(*application);
        // Installed, the theme has the icon at every size; from the build tree, the compiled-in
        // copy.
        QApplication::setWindowIcon(QIcon::fromTheme(appIdentifier(), AppVersion::icon()));
        QApplication::setQuitOnLastWindowClosed(false);
    }
    m_documentController = new DocumentController(this);
    // As Linux applications do, closing the last window quits (its documents were settled by then).
    connect(m_documentController, &DocumentController::lastWindowClosed, this, [this] {
        m_quitting = true;
        QCoreApplication::quit();
    });
    m_documentController->setMenuBarFactory([this] {
        QMenuBar *bar = MainMenu::build(this);
        ActionDispatcher::shared().install(bar);
        return bar;
    });

    ActionDispatcher &dispatcher = ActionDispatcher::shared();
    dispatcher.setWindowResponders(&EditorWindowController::respondersOf);
    dispatcher.setApplicationResponders({m_documentController, this});
    connect(&dispatcher, &ActionDispatcher::menuAboutToShow, this, &AppDelegate::menuAboutToShow,
            Qt::UniqueConnection);

    m_snapshotRequest = snapshotRequest(arguments);

    // A logout or `kill` asks to quit the way Quit does, so that unsaved work gets its prompt.
    if (!m_signalHandler) {
        m_signalHandler = new SignalHandler({SIGTERM, SIGHUP}, this);
        connect(m_signalHandler, &SignalHandler::received, this,
                &AppDelegate::terminationRequested);
    }
}

void AppDelegate::applicationDidFinishLaunching()
{
    if (m_snapshotRequest) {
        Snapshot::run(m_snapshotRequest->output, m_snapshotRequest->input, m_documentController);
        return;
    }
    Updater &updater = Updater::shared();
    updater.setPresentUpdateUi([] { HostedWindows::show(HostedWindows::Kind::update); });
    updater.setQuit([] { return AppDelegate::shared() && AppDelegate::shared()->terminate(); });
    updater.checkForUpdatesOnLaunchIfNeeded();
}

void AppDelegate::terminationRequested()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        m_quitting = true;
        QCoreApplication::quit();
        return;
    }
    if (!terminate())
        return;
    // A signal during launch finds alerts up (a file that could not be opened) before the event
    // loop runs, where quit() does nothing: close them so that launch can see it is to stop.
    while (QWidget *modal = QApplication::activeModalWidget())
        if (!modal->close())
            break;
}

namespace {

// The positions in arguments of the words that name files to open (not "-": standard input).
QList<qsizetype> fileArgumentPositions(const QStringList &arguments)
{
    QList<qsizetype> positions;
    for (const LaunchFile &file : LaunchOptions::parse(arguments).files)
        if (arguments[file.argumentIndex] != u"-")
            positions.append(file.argumentIndex);
    return positions;
}

} // namespace

QStringList AppDelegate::fileArguments(const QStringList &arguments)
{
    QStringList files;
    for (const LaunchFile &file : LaunchOptions::parse(arguments).files)
        files.append(file.path);
    return files;
}

QStringList AppDelegate::withAbsoluteFiles(QStringList arguments, const QString &workingFolder)
{
    for (const qsizetype at : fileArgumentPositions(arguments))
        if (!arguments[at].startsWith(u'/'))
            arguments[at] = QDir::cleanPath(workingFolder + u'/' + arguments[at]);
    return arguments;
}

bool AppDelegate::namesOwnDescriptors(const QStringList &arguments)
{
    const QString ownProcess = QStringLiteral("/proc/%1/").arg(QCoreApplication::applicationPid());
    for (const QString &path : fileArguments(arguments)) {
        const QString clean = QDir::cleanPath(path);
        if (clean == u"/dev/stdin" || clean.startsWith(u"/dev/fd/")
            || clean.startsWith(u"/proc/self/") || clean.startsWith(u"/proc/thread-self/")
            || clean.startsWith(ownProcess))
            return true;
    }
    return false;
}

AppDelegate::OpenResult AppDelegate::openFiles(const QStringList &arguments)
{
    const LaunchOptions options = LaunchOptions::parse(arguments);
    OpenResult result{int(options.files.size()), 0, options.newWindow};
    EditorWindowController *window = nullptr;
    for (const LaunchFile &file : options.files) {
        TextDocument *document = m_documentController->openOrCreateDocumentReportingErrors(
            file.path, options.newWindow ? &window : nullptr);
        if (!document)
            continue;
        ++result.opened;
        if (file.place)
            m_documentController->showPlace(document, file.place->line, file.place->column);
    }
    return result;
}

int AppDelegate::bringBackEarlierWork(bool plainStart)
{
    if (m_snapshotRequest)
        return 0;
    int opened =
        DocumentRecovery::offer(*m_documentController, m_documentController->autosaver()->root());
    if (plainStart && Preferences::boolean(Preferences::Key::restoreSession()))
        opened += SessionKeeper(SessionKeeper::standardFolder()).restore(*m_documentController);
    return opened;
}

bool AppDelegate::terminate()
{
    // Already asking (a second signal, or Quit while the prompts of a signal are up): the user is
    // deciding, and closing the same documents twice over would prompt twice.
    if (m_terminating)
        return false;
    const QScopedValueRollback<bool> terminating(m_terminating, true);
    // Every unsaved change is on disk before the first question, whatever the answers.
    if (m_documentController)
        m_documentController->autosaver()->saveAllNow();
    SessionKeeper session(SessionKeeper::standardFolder());
    const bool remembers = Preferences::boolean(Preferences::Key::restoreSession());
    if (remembers)
        session.capture();
    const auto windows = EditorWindowController::all();
    for (EditorWindowController *window : windows)
        if (!window->closeAllDocuments()) {
            session.abandon();
            return false;
        }
    if (remembers)
        session.commit();
    else
        session.forget();
    m_quitting = true;
    QCoreApplication::quit();
    return true;
}

void AppDelegate::validate(const MenuItemInfo &item, MenuItemState &state) const
{
    if (item.command == Command::makeKeyAndOrderFront)
        state.checked = item.representedObject.value<QObject *>() == QApplication::activeWindow();
}

void AppDelegate::perform(const MenuItemInfo &item)
{
    switch (item.command) {
    case Command::terminate:
        terminate();
        break;
    case Command::showHelp:
        HelpWindowController::shared().show();
        break;
    case Command::showAbout:
        HostedWindows::show(HostedWindows::Kind::about);
        break;
    case Command::showShortcuts:
        HostedWindows::show(HostedWindows::Kind::shortcuts);
        break;
    case Command::showSettings:
        HostedWindows::show(HostedWindows::Kind::settings);
        break;
    case Command::checkForUpdates:
        HostedWindows::show(HostedWindows::Kind::update);
        Updater::shared().checkForUpdates(true);
        break;
    case Command::openVantleAppsWebsite:
        QDesktopServices::openUrl(QUrl(MainMenu::makerWebsite.toString()));
        break;
    case Command::arrangeInFront: {
        EditorWindowController *front = EditorWindowController::frontmost();
        for (EditorWindowController *window : EditorWindowController::all())
            if (window != front)
                window->bringToFront();
        if (front)
            front->bringToFront();
        break;
    }
    case Command::makeKeyAndOrderFront:
        if (auto *window =
                qobject_cast<EditorWindowController *>(item.representedObject.value<QObject *>()))
            window->bringToFront();
        break;
    default:
        break;
    }
}

void AppDelegate::menuAboutToShow(QMenu *menu)
{
    if (menu->objectName() == u"openRecentMenu")
        DocumentController::fillRecentMenu(menu);
    else if (menu->objectName() == u"windowsMenu")
        fillWindowMenu(menu);
}

void AppDelegate::fillWindowMenu(QMenu *menu)
{
    for (QAction *action : menu->actions())
        if (action->property("plumeoWindowListItem").toBool())
            delete action;
    QAction *separator = menu->addSeparator();
    separator->setProperty("plumeoWindowListItem", true);
    for (EditorWindowController *window : EditorWindowController::all()) {
        QString title = window->windowTitle();
        title.replace(QStringLiteral("[*]"), QString());
        QAction *action = menu->addAction(MenuMnemonics::escaped(title));
        action->setProperty("plumeoWindowListItem", true);
        MenuItemInfo{Command::makeKeyAndOrderFront, QVariant::fromValue<QObject *>(window)}.applyTo(
            action);
    }
}

} // namespace plumeo
