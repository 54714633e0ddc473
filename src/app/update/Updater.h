#pragma once

#include "update/ReleaseInfo.h"

#include <functional>
#include <optional>

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QStringList>

class QNetworkAccessManager;

namespace plumeo {

class UpdateInstallation;
class UserDefaults;

// What the self-updater is doing and which release it found, for the update panel, the status bar
// and the launch check. Lives on the main thread; every wait on the network goes through the event
// loop, never blocking it.
class Updater : public QObject
{
    Q_OBJECT
public:
    struct State
    {
        enum Kind { idle, checking, upToDate, updateAvailable, downloading, installing, error };
        Kind kind = idle;
        // upToDate: the running version; error: the message, in the language it was made in.
        QString text;
        // updateAvailable, downloading, installing: the release.
        std::optional<ReleaseInfo> release;

        friend bool operator==(const State &, const State &) = default;
    };

    // defaults backs autoCheckEnabled and lastCheckDate and must outlive the updater.
    explicit Updater(UserDefaults &defaults, QObject *parent = nullptr);
    ~Updater() override;

    // The application's updater, on the standard settings.
    static Updater &shared();

    const State &state() const { return m_state; }
    // The release the last successful check found newer than this program; changes only when a
    // check succeeds.
    const std::optional<ReleaseInfo> &availableRelease() const { return m_availableRelease; }
    // Bytes of the archive received and expected while downloading; total is -1 while unknown.
    qint64 receivedBytes() const { return m_received; }
    qint64 totalBytes() const { return m_total; }

    // Stored setting; true when nothing is stored. Setting it stores it and signals changed().
    bool autoCheckEnabled() const;
    void setAutoCheckEnabled(bool enabled);
    // Stored as seconds since 1970 UTC; a stored value ≤ 0 reads as none, none removes the key.
    std::optional<QDateTime> lastCheckDate() const;
    void setLastCheckDate(const std::optional<QDateTime> &date);

    // Run to show the update panel: at the start of a user's check, and again when it finds a
    // release. Unset, nothing is shown.
    void setPresentUpdateUi(std::function<void()> present) { m_present = std::move(present); }
    // Shows the update panel the way the updater does (the status bar's update pill).
    void presentUpdateUi() const
    {
        if (m_present)
            m_present();
    }
    // How the program ends once an update is installed: an orderly quit that lets every document
    // be saved; false when the user stayed. The new version starts only if this returns true.
    void setQuit(std::function<bool()> quit) { m_quit = std::move(quit); }
    // The bundle installed by an update whose quit went ahead, to be started once this process
    // no longer serves launches (main, after the event loop); empty otherwise.
    static QString &installedBundleToStart();

    // Asks the configured endpoint for its latest release. A failed check leaves lastCheckDate as
    // it was, so that a failed automatic check is tried again at the next launch. A check started
    // while another runs replaces it.
    void checkForUpdates(bool userInitiated);
    // At launch: starts a background check when automatic checks are on and a day has passed,
    // never in a test, command-line or development run.
    void checkForUpdatesOnLaunchIfNeeded();
    bool shouldAutoCheck(const QDateTime &now) const;
    // Downloads, verifies and installs release, then quits through the quit action and starts the
    // new version. Any failure ends in the error state and leaves the installed program as it was.
    void downloadAndInstall(const ReleaseInfo &release);

    // Whether this run must never look for updates by itself: a test run (PLUMEO_TESTING, the
    // XCTest variables), a command-line run (--snapshot, --help, --version), or a program started
    // from its build tree or by the compiler driver, unless VANTLE_UPDATE_URL asks for checks.
    static bool isRunningInTestsOrCli();
    // The rule above for any arguments (the program path first) and environment.
    static bool isRunningInTestsOrCli(const QStringList &arguments,
                                      const std::function<bool(const char *name)> &hasVariable,
                                      const QString &buildTree);

Q_SIGNALS:
    // After every assignment to the state, the available release, the automatic-check setting, and
    // after each step of a download, whether or not a value differs.
    void changed();

private:
    void setState(State state);
    void setAvailableRelease(std::optional<ReleaseInfo> release);
    void fail(const QString &message);

    UserDefaults &m_defaults;
    QNetworkAccessManager *m_network;
    State m_state;
    std::optional<ReleaseInfo> m_availableRelease;
    std::function<void()> m_present;
    std::function<bool()> m_quit;
    class ReleaseFetcher *m_fetcher;
    QPointer<UpdateInstallation> m_installation;
    qint64 m_received = 0;
    qint64 m_total = -1;
};

} // namespace plumeo
