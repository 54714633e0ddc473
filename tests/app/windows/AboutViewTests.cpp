#include "ActionDispatcher.h"
#include "AppDelegate.h"
#include "AppVersion.h"
#include "text/Localization.h"
#include "windows/AboutView.h"
#include "windows/HostedWindows.h"

#include <memory>
#include <set>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace Qt::StringLiterals;

namespace {

class AboutViewTest : public testing::Test
{
protected:
    void TearDown() override { Localization::setCurrent(AppLanguage::system); }

    // A link that handles the commands in handled and records what it was sent.
    AboutView::CommandLink link()
    {
        return {[this](Command command) { return handled.contains(command); },
                [this](Command command) { sent.push_back(command); }};
    }

    std::set<Command> handled;
    std::vector<Command> sent;
};

QStringList shownTexts(const QWidget &view)
{
    QStringList texts;
    for (const QLabel *label : view.findChildren<QLabel *>())
        texts << label->text();
    for (const QPushButton *button : view.findChildren<QPushButton *>())
        texts << button->text();
    return texts;
}

} // namespace

// Clicking the badge puts the version's description on the clipboard and says so until 1.5 s
// after that click; a second click meanwhile does not make the first reset come later.
TEST_F(AboutViewTest, VersionBadgeCopiesTheDescription)
{
    Localization::setCurrent(AppLanguage::en);
    AboutView view(link(), [] {});
    QPushButton *badge = view.versionBadge();
    EXPECT_TRUE(badge->text().endsWith(AppVersion::shortLabel()));
    EXPECT_EQ(badge->toolTip(),
              u"Click to copy “%1” to the clipboard"_s.arg(AppVersion::description()));
    QApplication::clipboard()->setText(u"something else"_s);

    badge->click();
    EXPECT_EQ(QApplication::clipboard()->text(), AppVersion::description());
    EXPECT_TRUE(view.copiedVersion());
    EXPECT_TRUE(badge->text().endsWith(u"Copied"_s));
    Localization::setCurrent(AppLanguage::fr);
    EXPECT_TRUE(badge->text().endsWith(u"Copié"_s));
    EXPECT_EQ(badge->toolTip(), u"Cliquer pour copier « %1 » dans le presse-papiers"_s.arg(
                                    AppVersion::description()));

    // Wait for the first reset only, then see the second click's own reset change nothing more.
    QTimer::singleShot(700, badge, &QPushButton::click);
    QElapsedTimer clock;
    clock.start();
    while (view.copiedVersion() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(view.copiedVersion());
    EXPECT_TRUE(badge->text().endsWith(AppVersion::shortLabel()));
}

// Help, updates and the web site go through the link, enabled only while it handles them.
TEST_F(AboutViewTest, ButtonsSendCommandsOnlyWhenHandled)
{
    Localization::setCurrent(AppLanguage::en);
    bool closed = false;
    AboutView view(link(), [&closed] { closed = true; });
    EXPECT_FALSE(view.helpButton()->isEnabled());
    EXPECT_FALSE(view.updatesButton()->isEnabled());
    EXPECT_FALSE(view.websiteButton()->isEnabled());
    view.helpButton()->click();
    EXPECT_TRUE(sent.empty());

    handled = {Command::showHelp, Command::openVantleAppsWebsite};
    view.refreshCommands();
    EXPECT_TRUE(view.helpButton()->isEnabled());
    EXPECT_FALSE(view.updatesButton()->isEnabled());
    view.helpButton()->click();
    view.websiteButton()->click();
    EXPECT_EQ(sent, (std::vector<Command>{Command::showHelp, Command::openVantleAppsWebsite}));
    EXPECT_EQ(view.helpButton()->text(), u"Help (Ctrl+?)"_s);
    EXPECT_EQ(view.websiteButton()->text(), u"vantle.app"_s);

    EXPECT_TRUE(view.okButton()->isDefault());
    view.okButton()->click();
    EXPECT_TRUE(closed);
}

// Every text is redrawn in the new language at once; four feature cards under the application's
// icon.
TEST_F(AboutViewTest, RedrawsInTheNewLanguage)
{
    ASSERT_FALSE(AppVersion::icon().isNull()) << "the icon compiled into the program";
    EXPECT_FALSE(AppVersion::icon().pixmap(56, 56).isNull());
    ASSERT_EQ(AboutView::features().size(), 4u);
    EXPECT_EQ(AboutView::features()[0].id, u"languages"_s);
    EXPECT_EQ(AboutView::features()[3].id, u"native"_s);

    Localization::setCurrent(AppLanguage::fr);
    AboutView view(link(), [] {});
    const QStringList french = shownTexts(view);
    EXPECT_TRUE(french.contains(u"CE QUE FAIT PLUMEO"_s));
    EXPECT_TRUE(french.contains(u"Coloration par langage"_s));
    EXPECT_TRUE(
        french.contains(u"Éditeur de texte et de code natif, rapide et léger, pour Linux"_s));
    EXPECT_TRUE(french.contains(u"Rechercher des mises à jour…"_s));

    Localization::setCurrent(AppLanguage::en);
    const QStringList english = shownTexts(view);
    EXPECT_TRUE(english.contains(u"WHAT PLUMEO DOES"_s));
    EXPECT_TRUE(english.contains(u"Native and lightweight"_s));
    EXPECT_TRUE(english.contains(u"Native, fast and lightweight text and code editor for Linux"_s));
    EXPECT_TRUE(english.contains(u"Check for Updates…"_s));
    EXPECT_FALSE(english.contains(u"Coloration par langage"_s));
}

// The application's About panel asks the dispatcher, as the menus do: Help and Check for Updates
// are enabled only once the delegate handles them; the web site, which it handles, works.
TEST_F(AboutViewTest, ApplicationPanelUsesTheMenusPath)
{
    AppDelegate delegate;
    const std::unique_ptr<QWidget> content(
        HostedWindows::description(HostedWindows::Kind::about).content([] {}));
    auto *view = qobject_cast<AboutView *>(content.get());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->helpButton()->isEnabled(),
              handlerOf(Command::showHelp) == CommandHandler::application);
    EXPECT_EQ(view->updatesButton()->isEnabled(),
              handlerOf(Command::checkForUpdates) == CommandHandler::application);
    EXPECT_TRUE(view->websiteButton()->isEnabled());
}
