// The updater's state, texts and panel against a server on the loopback interface.
#include "ActionDispatcher.h"
#include "AppDelegate.h"
#include "core/update/LocalHttpServer.h"
#include "editor/EditorModel.h"
#include "editor/StatusBar.h"
#include "editor/StatusBarActions.h"
#include "text/Localization.h"
#include "text/UserDefaults.h"
#include "update/CurrentBuild.h"
#include "update/Updater.h"
#include "update/UpdaterError.h"
#include "windows/HostedWindows.h"
#include "windows/UpdateView.h"

#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include <gtest/gtest.h>

namespace plumeo {
namespace {

using namespace Qt::Literals::StringLiterals;

class UpdaterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        defaults = std::make_unique<UserDefaults>(dir.filePath(u"settings.json"_s));
        updater = std::make_unique<Updater>(*defaults);
        updater->setPresentUpdateUi([this] { ++presented; });
        server.route(u"/new.json"_s,
                     {200,
                      R"({"version":"v99.1","url":")" + server.url(u"/p.zip"_s).toUtf8()
                          + R"(","notes_fr":"Plus rapide.","notes_en":"Faster.",
                               "html_url":"https://example.org/r"})",
                      false});
        server.route(u"/old.json"_s,
                     {200, R"({"version":"0.0.1","url":"https://e.org/p.zip"})", false});
        server.route(u"/broken.json"_s, {500, "{}", false});
        Localization::setCurrent(AppLanguage::fr);
    }
    void TearDown() override
    {
        qunsetenv("VANTLE_UPDATE_URL");
        Localization::setCurrent(AppLanguage::fr);
    }

    // Runs a check against path and waits for its end.
    void check(const QString &path, bool userInitiated = true)
    {
        qputenv("VANTLE_UPDATE_URL", server.url(path).toUtf8());
        updater->checkForUpdates(userInitiated);
        EXPECT_EQ(updater->state().kind, Updater::State::checking);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return updater->state().kind != Updater::State::checking; }));
    }

    QTemporaryDir dir;
    LocalHttpServer server;
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<Updater> updater;
    int presented = 0;
};

TEST_F(UpdaterTest, ACheckEndsUpToDateWithANewReleaseOrWithTheErrorAndThePanelSaysSo)
{
    UpdateView view(*updater, {});
    EXPECT_EQ(view.statusLabel()->text(), u"Recherche de mises à jour…");
    EXPECT_TRUE(view.okButton()->isVisibleTo(&view));

    // A newer release: offered, with its notes in the interface language.
    EXPECT_FALSE(updater->lastCheckDate());
    check(u"/new.json"_s);
    ASSERT_EQ(updater->state().kind, Updater::State::updateAvailable);
    ASSERT_TRUE(updater->availableRelease());
    EXPECT_EQ(updater->availableRelease()->version, u"99.1");
    EXPECT_EQ(presented, 2) << "at the start of a user's check and when it finds a release";
    EXPECT_TRUE(updater->lastCheckDate());
    EXPECT_EQ(view.statusLabel()->text(), u"Nouvelle version disponible : v99.1");
    EXPECT_EQ(view.notesHeader()->text(), u"NOTES DE VERSION — v99.1");
    EXPECT_EQ(view.notes()->toPlainText(), u"Plus rapide.");
    EXPECT_EQ(view.webPageButton()->text(), u"Voir sur GitHub ↗");
    EXPECT_TRUE(view.laterButton()->isVisibleTo(&view));
    EXPECT_TRUE(view.installButton()->isVisibleTo(&view));
    EXPECT_TRUE(view.installButton()->isDefault());
    EXPECT_FALSE(view.okButton()->isVisibleTo(&view));
    Localization::setCurrent(AppLanguage::en);
    EXPECT_EQ(view.statusLabel()->text(), u"New version available: v99.1");
    EXPECT_EQ(view.notesHeader()->text(), u"RELEASE NOTES — v99.1");
    EXPECT_EQ(view.notes()->toPlainText(), u"Faster.");
    EXPECT_EQ(view.installButton()->text(), u"Update & Relaunch");
    EXPECT_EQ(view.laterButton()->text(), u"Later");

    // Nothing newer: the release is withdrawn.
    check(u"/old.json"_s, false);
    EXPECT_EQ(presented, 2) << "an automatic check never opens the panel";
    EXPECT_EQ(updater->state().kind, Updater::State::upToDate);
    EXPECT_FALSE(updater->availableRelease());
    EXPECT_EQ(view.statusLabel()->text(),
              u"Plumeo is up to date (v%1)."_s.arg(CurrentBuild::versionString()));
    EXPECT_FALSE(view.notes()->isVisibleTo(&view));
    Localization::setCurrent(AppLanguage::fr);
    EXPECT_EQ(view.statusLabel()->text(),
              u"Plumeo est à jour (v%1)."_s.arg(CurrentBuild::versionString()));

    // A failure: the error's own words, Retry and OK, and the last check kept for the next launch.
    const QDateTime before = QDateTime::fromSecsSinceEpoch(1'700'000'000, Qt::UTC);
    updater->setLastCheckDate(before);
    check(u"/broken.json"_s);
    EXPECT_EQ(updater->state().kind, Updater::State::error);
    EXPECT_EQ(view.statusLabel()->text(), UpdaterError::invalidHttpStatus(500).errorDescription());
    EXPECT_EQ(updater->lastCheckDate(), before);
    EXPECT_TRUE(view.retryButton()->isVisibleTo(&view));
    EXPECT_TRUE(view.okButton()->isVisibleTo(&view));
    EXPECT_TRUE(view.okButton()->isDefault());
    // The message stays in the language it was made in until the next check.
    const QString message = view.statusLabel()->text();
    Localization::setCurrent(AppLanguage::en);
    EXPECT_EQ(view.statusLabel()->text(), message);
    EXPECT_EQ(view.retryButton()->text(), u"Retry");
}

TEST_F(UpdaterTest, SettingsAreStoredUnderTheirKeysAndTheCheckBoxFollowsThem)
{
    UpdateView view(*updater, {});
    EXPECT_TRUE(updater->autoCheckEnabled());
    EXPECT_TRUE(view.autoCheckBox()->isChecked());
    int changes = 0;
    QObject::connect(updater.get(), &Updater::changed, [&] { ++changes; });
    view.autoCheckBox()->setChecked(false);
    EXPECT_EQ(defaults->boolean(u"com.vantle.plumeo.autoCheckUpdates"_s), false);
    EXPECT_EQ(changes, 1);
    defaults->set(u"com.vantle.plumeo.autoCheckUpdates"_s, true);
    EXPECT_TRUE(view.autoCheckBox()->isChecked());

    defaults->set(u"com.vantle.plumeo.lastUpdateCheck"_s, -5.0);
    EXPECT_FALSE(updater->lastCheckDate());
    const QDateTime now = QDateTime::fromSecsSinceEpoch(1'800'000'000, Qt::UTC);
    EXPECT_TRUE(updater->shouldAutoCheck(now));
    updater->setLastCheckDate(now.addSecs(-23 * 3600));
    EXPECT_EQ(defaults->number(u"com.vantle.plumeo.lastUpdateCheck"_s),
              1'800'000'000.0 - 23 * 3600);
    EXPECT_FALSE(updater->shouldAutoCheck(now));
    updater->setLastCheckDate(now.addSecs(-24 * 3600));
    EXPECT_TRUE(updater->shouldAutoCheck(now));
    updater->setAutoCheckEnabled(false);
    EXPECT_FALSE(updater->shouldAutoCheck(now));
    updater->setLastCheckDate(std::nullopt);
    EXPECT_FALSE(defaults->contains(u"com.vantle.plumeo.lastUpdateCheck"_s));
}

TEST_F(UpdaterTest, TheLaunchCheckIsSkippedInTestsCommandLineRunsAndDevelopmentBuilds)
{
    const auto none = [](const char *) { return false; };
    const auto only = [](const char *wanted) {
        return [wanted](const char *name) { return qstrcmp(name, wanted) == 0; };
    };
    const QString tree = u"/work/plumeo/build"_s;
    EXPECT_FALSE(Updater::isRunningInTestsOrCli({u"/usr/bin/plumeo"_s}, none, tree));
    EXPECT_FALSE(Updater::isRunningInTestsOrCli({}, none, tree));
    EXPECT_TRUE(
        Updater::isRunningInTestsOrCli({u"/usr/bin/plumeo"_s}, only("PLUMEO_TESTING"), tree));
    EXPECT_TRUE(
        Updater::isRunningInTestsOrCli({u"/usr/bin/plumeo"_s}, only("XCTestBundlePath"), tree));
    for (const QString &option : {u"--snapshot"_s, u"--help"_s, u"--version"_s})
        EXPECT_TRUE(Updater::isRunningInTestsOrCli({u"/usr/bin/plumeo"_s, option}, none, tree));
    const QStringList development{u"/work/plumeo/build/src/app/plumeo"_s};
    EXPECT_TRUE(Updater::isRunningInTestsOrCli(development, none, tree));
    EXPECT_TRUE(Updater::isRunningInTestsOrCli({u"/src/.build/debug/plumeo"_s}, none, tree));
    EXPECT_FALSE(
        Updater::isRunningInTestsOrCli({u"/work/plumeo/build-release/plumeo"_s}, none, tree));
    EXPECT_FALSE(Updater::isRunningInTestsOrCli(development, only("VANTLE_UPDATE_URL"), tree));
    EXPECT_TRUE(Updater::isRunningInTestsOrCli({u"/usr/bin/plumeo"_s, u"--snapshot"_s},
                                               only("VANTLE_UPDATE_URL"), tree));

    // This very run is a test: even due and pointed at a server, the launch check asks nothing.
    EXPECT_TRUE(Updater::isRunningInTestsOrCli());
    qputenv("VANTLE_UPDATE_URL", server.url(u"/new.json"_s).toUtf8());
    ASSERT_TRUE(updater->shouldAutoCheck(QDateTime::currentDateTimeUtc()));
    updater->checkForUpdatesOnLaunchIfNeeded();
    QCoreApplication::processEvents();
    EXPECT_EQ(updater->state().kind, Updater::State::idle);
    EXPECT_EQ(server.requestCount(), 0);
}

TEST_F(UpdaterTest, ADownloadReportsItsBytesAndAFailedVerificationEndsInAnError)
{
    const QByteArray archive(200 * 1024, 'x');
    server.route(u"/p.zip"_s, {200, archive, false});
    check(u"/new.json"_s);
    ReleaseInfo release = *updater->availableRelease();
    release.sha256 =
        QString::fromLatin1(QCryptographicHash::hash("other", QCryptographicHash::Sha256).toHex());
    bool quit = false;
    updater->setQuit([&] { return quit = true; });

    UpdateView view(*updater, {});
    std::vector<Updater::State::Kind> kinds;
    qint64 lastReceived = 0;
    bool progressShown = false;
    QObject::connect(updater.get(), &Updater::changed, [&] {
        if (kinds.empty() || kinds.back() != updater->state().kind)
            kinds.push_back(updater->state().kind);
        EXPECT_GE(updater->receivedBytes(), lastReceived);
        lastReceived = updater->receivedBytes();
        if (updater->state().kind == Updater::State::downloading && updater->totalBytes() > 0) {
            progressShown = view.downloadProgress()->isVisibleTo(&view);
            EXPECT_EQ(view.downloadProgress()->value(),
                      int(updater->receivedBytes() * 1000 / updater->totalBytes()));
            EXPECT_EQ(view.statusLabel()->text(), u"Téléchargement de v99.1…");
            EXPECT_TRUE(view.closeButton()->isVisibleTo(&view));
            EXPECT_FALSE(view.closeButton()->isEnabled());
        }
    });
    updater->downloadAndInstall(release);
    ASSERT_TRUE(QTest::qWaitFor([&] { return updater->state().kind == Updater::State::error; }));
    EXPECT_EQ(kinds,
              (std::vector<Updater::State::Kind>{
                  Updater::State::downloading, Updater::State::installing, Updater::State::error}));
    EXPECT_EQ(updater->receivedBytes(), archive.size());
    EXPECT_EQ(updater->totalBytes(), archive.size());
    EXPECT_TRUE(progressShown);
    EXPECT_EQ(view.statusLabel()->text(),
              UpdaterError::checksum(
                  *release.sha256,
                  QString::fromLatin1(
                      QCryptographicHash::hash(archive, QCryptographicHash::Sha256).toHex()))
                  .errorDescription());
    EXPECT_FALSE(quit);
}

TEST(UpdateCommandTest, CheckForUpdatesShowsOneWindowAndSettingsCheckNowTakesTheSamePath)
{
    AppDelegate application;
    const MenuItemInfo item{Command::checkForUpdates, {}, &application};
    EXPECT_TRUE(ActionDispatcher::shared().validate(item).enabled);
    ActionDispatcher::shared().perform(item);
    ActionDispatcher::shared().perform(item);
    HostedWindowController *controller = HostedWindows::existing(HostedWindows::Kind::update);
    ASSERT_TRUE(controller);
    ASSERT_TRUE(controller->window());
    EXPECT_TRUE(controller->window()->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the replaced content
    EXPECT_EQ(controller->window()->findChildren<UpdateView *>().size(), 1);
    int windows = 0;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->isVisible() && !top->findChildren<UpdateView *>().isEmpty())
            ++windows;
    EXPECT_EQ(windows, 1);
    const QString title = controller->window()->windowTitle();
    EXPECT_TRUE(title == u"Mise à jour de Plumeo" || title == u"Plumeo Update")
        << title.toStdString();
    EXPECT_EQ(Updater::shared().state().kind, Updater::State::checking);

    QWidget *settings = HostedWindows::show(HostedWindows::Kind::settings);
    auto *checkNow = settings->findChild<QPushButton *>(u"checkNowButton"_s);
    ASSERT_TRUE(checkNow);
    EXPECT_TRUE(checkNow->isEnabled());
    controller->window()->close();
    checkNow->click();
    EXPECT_TRUE(controller->window()->isVisible());
    settings->close();
    controller->window()->close();
}

TEST(UpdatePillTest, TheStatusBarOffersAFoundReleaseAndOpensThePanel)
{
    LocalHttpServer server;
    server.route(u"/new.json"_s, {200, R"({"version":"99.2","url":"https://e.org/p.zip"})", false});
    server.route(u"/old.json"_s,
                 {200, R"({"version":"0.0.1","url":"https://e.org/p.zip"})", false});
    Updater &updater = Updater::shared();
    int presented = 0;
    updater.setPresentUpdateUi([&] { ++presented; });
    EditorModel model;
    StatusBar bar(&model, {});
    const auto checkAt = [&](const QString &path) {
        qputenv("VANTLE_UPDATE_URL", server.url(path).toUtf8());
        updater.checkForUpdates(false);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return updater.state().kind != Updater::State::checking; }));
    };
    checkAt(u"/old.json"_s);
    EXPECT_FALSE(bar.updatePill()->isVisibleTo(&bar));
    checkAt(u"/new.json"_s);
    EXPECT_TRUE(bar.updatePill()->isVisibleTo(&bar));
    EXPECT_EQ(presented, 0) << "a check of its own never opens the panel";
    Localization::setCurrent(AppLanguage::fr);
    EXPECT_EQ(bar.updatePill()->text(), u"↑ v99.2");
    EXPECT_EQ(bar.updatePill()->toolTip(),
              u"Mise à jour v99.2 disponible — cliquer pour installer");
    Localization::setCurrent(AppLanguage::en);
    EXPECT_EQ(bar.updatePill()->toolTip(), u"Update v99.2 available — click to install");
    bar.updatePill()->click();
    EXPECT_EQ(presented, 1);
    checkAt(u"/old.json"_s);
    EXPECT_FALSE(bar.updatePill()->isVisibleTo(&bar));
    updater.setPresentUpdateUi({});
    qunsetenv("VANTLE_UPDATE_URL");
    Localization::setCurrent(AppLanguage::fr);
}

} // namespace
} // namespace plumeo
