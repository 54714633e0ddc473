#pragma once

#include "ActionResponder.h"

#include <optional>

#include <QObject>
#include <QStringList>

class QMenu;

namespace plumeo {

class DocumentController;
class QtTranslations;
class SignalHandler;

// Prepares the application before any window exists (Qt's own texts in the interface language,
// settings defaults, dark appearance, document controller, menus), opens the files it is given,
// and handles the application-wide commands. The application quits when its last window closes,
// or through Quit.
class AppDelegate : public QObject, public ActionResponder
{
    Q_OBJECT
public:
    struct SnapshotRequest
    {
        QString output;
        std::optional<QString> input;
    };

    explicit AppDelegate(QObject *parent = nullptr);
    ~AppDelegate() override;

    static AppDelegate *shared();

    // Launch preparation, given the arguments after the program name.
    void applicationWillFinishLaunching(const QStringList &arguments);
    // The last step of launch, once the files given are open: with a snapshot request, starts
    // snapshot mode, which ends the event loop with its status.
    void applicationDidFinishLaunching();
    // Opens the files named in arguments as LaunchOptions reads them (options skipped), each at
    // its place when one is given, in a new window for --new-window. A file that does not exist in
    // a folder that does opens as a new document. Errors are presented one by one. Returns how
    // many names were files to open and how many of them opened.
    struct OpenResult
    {
        int requested = 0;
        int opened = 0;
        bool newWindow = false; // --new-window was given
    };
    OpenResult openFiles(const QStringList &arguments);
    // The names openFiles would try to open, in order.
    static QStringList fileArguments(const QStringList &arguments);
    // arguments with each relative file name made absolute against workingFolder, by text alone
    // (escaped bytes stay as they are, symbolic links are not resolved); options are unchanged.
    static QStringList withAbsoluteFiles(QStringList arguments, const QString &workingFolder);
    // Whether a file argument names something only this process can read: its standard input or
    // another of its descriptors (`/dev/stdin`, `<(cmd)` as /dev/fd/63, /proc/self/…). Such a
    // launch opens its files itself: the running instance would read its own descriptors.
    static bool namesOwnDescriptors(const QStringList &arguments);
    // Brings back the work of earlier runs, once the files of the command line are open: offers
    // the unsaved documents of a Plumeo that stopped without saving them, then, for a start
    // without files (plainStart) and with the restoreSession setting on, reopens the windows of
    // the last quit. How many documents this opened.
    int bringBackEarlierWork(bool plainStart);
    bool applicationShouldOpenUntitledFile() const { return !m_snapshotRequest.has_value(); }

    DocumentController *documentController() const { return m_documentController; }
    const std::optional<SnapshotRequest> &snapshotRequest() const { return m_snapshotRequest; }
    static std::optional<SnapshotRequest> snapshotRequest(const QStringList &arguments);

    // Asks every window to close (saving as the user decides), then quits. False if the user
    // cancelled, or if a termination is already asking.
    bool terminate();
    // SIGTERM and SIGHUP, once launched: terminate(), which prompts for unsaved documents and quits
    // at once when there are none. A cancelled prompt leaves the application running.
    void terminationRequested();
    // Whether terminate() has decided to quit: launch checks it before running the event loop.
    bool isQuitting() const { return m_quitting; }

    void validate(const MenuItemInfo &item, MenuItemState &state) const override;
    void perform(const MenuItemInfo &item) override;

private:
    void menuAboutToShow(QMenu *menu);
    static void fillWindowMenu(QMenu *menu);

    DocumentController *m_documentController = nullptr;
    std::optional<SnapshotRequest> m_snapshotRequest;
    SignalHandler *m_signalHandler = nullptr;
    QtTranslations *m_qtTranslations = nullptr; // a child: removes its catalogue as it goes
    bool m_terminating = false;
    bool m_quitting = false;
};

} // namespace plumeo
