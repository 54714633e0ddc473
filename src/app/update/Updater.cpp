#include "Updater.h"

#include "BuildInfo.h"
#include "text/Localization.h"
#include "text/UserDefaults.h"
#include "update/CurrentBuild.h"
#include "update/ReleaseFetcher.h"
#include "update/ReleaseVersion.h"
#include "update/RunningBundle.h"
#include "update/UpdateEndpoint.h"
#include "update/UpdateInstallation.h"
#include "update/UpdateSchedule.h"
#include "update/UpdaterConstants.h"

#include <QCoreApplication>
#include <QDir>
#include <QNetworkAccessManager>
#include <QTimer>

namespace plumeo {

Updater::Updater(UserDefaults &defaults, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_network(new QNetworkAccessManager(this))
    , m_fetcher(new ReleaseFetcher(m_network, UpdaterConstants::defaultBundleId(), this))
{
    m_fetcher->setTimeoutMs(UpdaterConstants::checkTimeoutMs);
    // The setting may change from the settings panel or another process as well as from here.
    connect(&m_defaults, &UserDefaults::changed, this, [this](const QString &key) {
        if (key == UpdaterConstants::autoCheckKey())
            emit changed();
    });
}

Updater::~Updater() = default;

Updater &Updater::shared()
{
    // Parented to the application so that its network objects go before Qt does.
    static QPointer<Updater> updater;
    if (!updater)
        updater = new Updater(UserDefaults::standard(), QCoreApplication::instance());
    return *updater;
}

bool Updater::autoCheckEnabled() const
{
    return m_defaults.boolean(UpdaterConstants::autoCheckKey()).value_or(true);
}

void Updater::setAutoCheckEnabled(bool enabled)
{
    m_defaults.set(UpdaterConstants::autoCheckKey(), enabled); // announced through changed()
}

std::optional<QDateTime> Updater::lastCheckDate() const
{
    const std::optional<double> seconds = m_defaults.number(UpdaterConstants::lastCheckKey());
    if (!seconds || *seconds <= 0)
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(qint64(*seconds * 1000), Qt::UTC);
}

void Updater::setLastCheckDate(const std::optional<QDateTime> &date)
{
    if (date)
        m_defaults.set(UpdaterConstants::lastCheckKey(), double(date->toMSecsSinceEpoch()) / 1000);
    else
        m_defaults.remove(UpdaterConstants::lastCheckKey());
}

bool Updater::shouldAutoCheck(const QDateTime &now) const
{
    std::optional<double> last;
    if (const auto date = lastCheckDate())
        last = double(date->toMSecsSinceEpoch()) / 1000;
    return UpdateSchedule::shouldAutoCheck(autoCheckEnabled(), last,
                                           double(now.toMSecsSinceEpoch()) / 1000,
                                           UpdaterConstants::autoCheckIntervalSeconds);
}

void Updater::checkForUpdates(bool userInitiated)
{
    if (userInitiated)
        presentUpdateUi();
    setState({State::checking, {}, std::nullopt});
    const auto endpoint = UpdateEndpoint::resolveForProcess(UpdaterConstants::defaultRepo());
    if (!endpoint) {
        fail(endpoint.error().errorDescription());
        return;
    }
    m_fetcher->fetch(endpoint.value(), [this, userInitiated](const auto &result) {
        if (!result) {
            fail(result.error().errorDescription());
            return;
        }
        setLastCheckDate(QDateTime::currentDateTimeUtc());
        const ReleaseInfo &release = result.value();
        if (!ReleaseVersion::isNewer(release.version, release.build, CurrentBuild::versionString(),
                                     CurrentBuild::buildNumber())) {
            setAvailableRelease(std::nullopt);
            setState({State::upToDate, CurrentBuild::versionString(), std::nullopt});
            return;
        }
        setAvailableRelease(release);
        setState({State::updateAvailable, {}, release});
        if (userInitiated)
            presentUpdateUi();
    });
}

void Updater::checkForUpdatesOnLaunchIfNeeded()
{
    if (isRunningInTestsOrCli() || !shouldAutoCheck(QDateTime::currentDateTimeUtc()))
        return;
    QTimer::singleShot(0, this, [this] { checkForUpdates(false); });
}

void Updater::downloadAndInstall(const ReleaseInfo &release)
{
    if (m_installation)
        return; // one installation at a time: the panel's button is disabled meanwhile
    const auto signer = RunningBundle::requiredSigner(RunningBundle::path());
    if (!signer) {
        fail(signer.error().errorDescription());
        return;
    }
    m_received = 0;
    m_total = -1;
    setState({State::downloading, {}, release});

    UpdateInstallation::Options options;
    options.destination = RunningBundle::installDestination();
    options.requiredSigner = signer.value();
    // The new version starts only once this one has closed its documents as the user chose.
    auto installed = std::make_shared<QString>();
    options.relaunch = [installed](const QString &bundle) {
        *installed = bundle;
        return true;
    };
    m_installation = new UpdateInstallation(m_network, std::move(options), this);
    connect(m_installation, &UpdateInstallation::progress, this,
            [this](qint64 received, qint64 total) {
                m_received = received;
                m_total = total;
                emit changed();
            });
    connect(m_installation, &UpdateInstallation::installing, this, [this, release] {
        setState({State::installing, {}, release});
    });
    m_installation->start(release, [this, installed](const Result<void, UpdaterError> &result) {
        m_installation->deleteLater();
        if (!result) {
            fail(result.error().errorDescription());
            return;
        }
        const bool quitting = m_quit ? m_quit() : (QCoreApplication::quit(), true);
        // Started now, the new version would find this instance still listening and hand it its
        // launch: main starts it once the channel is closed.
        if (quitting)
            installedBundleToStart() = *installed;
    });
}

QString &Updater::installedBundleToStart()
{
    static QString bundle;
    return bundle;
}

bool Updater::isRunningInTestsOrCli()
{
    return isRunningInTestsOrCli(
        QCoreApplication::arguments(),
        [](const char *name) { return qEnvironmentVariableIsSet(name); },
        QString::fromUtf8(buildinfo::buildTree));
}

bool Updater::isRunningInTestsOrCli(const QStringList &arguments,
                                    const std::function<bool(const char *name)> &hasVariable,
                                    const QString &buildTree)
{
    for (const char *name : {"PLUMEO_TESTING", "XCTestConfigurationFilePath", "XCTestBundlePath"})
        if (hasVariable(name))
            return true;
    for (const char16_t *option : {u"--snapshot", u"--help", u"--version"})
        if (arguments.mid(1).contains(QString::fromUtf16(option)))
            return true;
    const QString program = arguments.value(0);
    const QString tree = QDir::cleanPath(buildTree);
    // A developer's build never phones home by itself: one run from the build tree, or by the
    // compiler driver, is left alone unless the developer points it at an update URL.
    const bool development = program.contains(u".build/") || program.contains(u"/usr/bin/c++")
                             || program.contains(u"/usr/bin/g++")
                             || program.contains(u"/usr/bin/clang++") || program.endsWith(u"xctest")
                             || (!tree.isEmpty() && program.startsWith(tree + u'/'));
    return development && !hasVariable(UpdaterConstants::envUrlKey());
}

void Updater::setState(State state)
{
    m_state = std::move(state);
    emit changed();
}

void Updater::setAvailableRelease(std::optional<ReleaseInfo> release)
{
    m_availableRelease = std::move(release);
    emit changed();
}

void Updater::fail(const QString &message)
{
    setState({State::error, message, std::nullopt});
}

} // namespace plumeo
