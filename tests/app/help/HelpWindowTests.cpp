// The help window and its browser: what they show, and what they refuse to load.
#include "AppDelegate.h"
#include "Command.h"
#include "MenuItemInfo.h"
#include "help/HelpBrowser.h"
#include "help/HelpGuide.h"
#include "help/HelpWindowController.h"
#include "text/Localization.h"
#include "text/UserDefaults.h"

#include <QAbstractTextDocumentLayout>
#include <QDesktopServices>
#include <QFile>
#include <QImage>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace Qt::StringLiterals;

namespace {

// Receives the URLs the browser hands to the desktop.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl &url) { opened << url; }
};

class HelpWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Localization::setCurrent(AppLanguage::en);
        for (const QString &scheme : {u"http"_s, u"https"_s, u"mailto"_s, u"file"_s})
            QDesktopServices::setUrlHandler(scheme, &catcher, "open");
    }
    void TearDown() override
    {
        for (const QString &scheme : {u"http"_s, u"https"_s, u"mailto"_s, u"file"_s})
            QDesktopServices::unsetUrlHandler(scheme);
        Localization::setCurrent(AppLanguage::system);
    }

    UrlCatcher catcher;
};

void layOut(HelpBrowser &browser)
{
    browser.resize(800, 600);
    browser.document()->documentLayout()->documentSize();
    browser.grab();
}

} // namespace

TEST_F(HelpWindowTest, LinksStayInTheGuideOrGoToTheDesktop)
{
    HelpBrowser browser;
    browser.setSource(HelpGuide::home());
    ASSERT_TRUE(browser.toPlainText().contains(u"Plumeo Help"_s));

    browser.followLink(QUrl(u"encodings.html#line-endings"_s));
    EXPECT_EQ(browser.source(), QUrl(u"qrc:/help/encodings.html#line-endings"_s));
    EXPECT_TRUE(browser.toPlainText().contains(u"Classic Mac"_s));

    const QUrl here = browser.source();
    for (const QString &outside :
         {u"file:///etc/passwd"_s, u"/etc/passwd"_s, u"../../../../etc/passwd"_s,
          u"qrc:/plumeo/icon.png"_s, u"ftp://example.org/x"_s, u"javascript:alert(1)"_s}) {
        browser.followLink(QUrl(outside));
        EXPECT_EQ(browser.source(), here) << qPrintable(outside);
        EXPECT_FALSE(browser.toPlainText().contains(u"root:"_s)) << qPrintable(outside);
    }
    // Not even by asking the browser directly.
    browser.setSource(QUrl::fromLocalFile(u"/etc/passwd"_s));
    EXPECT_EQ(browser.source(), here);
    EXPECT_TRUE(catcher.opened.isEmpty());

    for (const QString &external :
         {u"https://vantle.app"_s, u"http://example.org/a"_s, u"mailto:someone@example.org"_s}) {
        browser.followLink(QUrl(external));
        EXPECT_EQ(browser.source(), here) << qPrintable(external);
    }
    EXPECT_EQ(catcher.opened,
              (QList<QUrl>{QUrl(u"https://vantle.app"_s), QUrl(u"http://example.org/a"_s),
                           QUrl(u"mailto:someone@example.org"_s)}));
}

// A page that asks for a local file and a network image gets neither: QTextBrowser on its own reads
// local files it is pointed at.
TEST_F(HelpWindowTest, AHostilePageLoadsNothingFromOutsideTheGuide)
{
    QTemporaryDir folder;
    const QString imagePath = folder.filePath(u"secret.png"_s);
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(imagePath));
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const QUrl local = QUrl::fromLocalFile(imagePath);
    const QUrl network(u"http://127.0.0.1:%1/x.png"_s.arg(server.serverPort()));

    HelpBrowser browser;
    browser.setSource(HelpGuide::home());
    browser.setHtml(
        u"<p><img src=\"%1\"><img src=\"%2\"><img src=\"secret.png\">"
        u"<a href=\"file:///etc/passwd\">x</a></p>"_s.arg(local.toString(), network.toString()));
    layOut(browser);
    QCoreApplication::processEvents();

    for (const QUrl &url : {local, network, QUrl(u"secret.png"_s)}) {
        const QVariant loaded = browser.document()->resource(QTextDocument::ImageResource, url);
        // Refused as empty bytes, never turned into a picture.
        EXPECT_EQ(loaded.typeId(), QMetaType::QByteArray) << qPrintable(url.toString());
        EXPECT_TRUE(loaded.toByteArray().isEmpty()) << qPrintable(url.toString());
        EXPECT_TRUE(browser.loadResource(QTextDocument::ImageResource, url).toByteArray().isEmpty())
            << qPrintable(url.toString());
    }
    EXPECT_TRUE(browser.loadResource(QTextDocument::HtmlResource, QUrl(u"file:///etc/passwd"_s))
                    .toByteArray()
                    .isEmpty());
    EXPECT_FALSE(server.hasPendingConnections());
    EXPECT_TRUE(catcher.opened.isEmpty());
}

TEST_F(HelpWindowTest, OneWindowTitledInTheLanguageShowingTheSamePageInIt)
{
    HelpWindowController &help = HelpWindowController::shared();
    EXPECT_EQ(&help, &HelpWindowController::shared());
    help.show();
    QWidget *window = help.window();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), u"Plumeo Help"_s);
    EXPECT_EQ(window->minimumSize(), QSize(640, 420));

    help.show(u"refused"_s);
    EXPECT_EQ(help.window(), window);
    EXPECT_EQ(help.browser()->source(), QUrl(u"qrc:/help/encodings.html#refused"_s));
    EXPECT_TRUE(help.browser()->toPlainText().contains(u"What Plumeo refuses"_s));

    Localization::setCurrent(AppLanguage::fr);
    EXPECT_EQ(window->windowTitle(), u"Aide Plumeo"_s);
    EXPECT_TRUE(help.browser()->toPlainText().contains(u"Ce que Plumeo refuse"_s));
    EXPECT_FALSE(help.browser()->toPlainText().contains(u"What Plumeo refuses"_s));

    // A second show without a section leaves the page as it is.
    help.show();
    EXPECT_EQ(help.browser()->source(), QUrl(u"qrc:/help/encodings.html#refused"_s));
    // A section that is no anchor name changes nothing.
    help.show(u"x'; location='file:///etc/passwd"_s);
    EXPECT_EQ(help.browser()->source(), QUrl(u"qrc:/help/encodings.html#refused"_s));

    // Back returns to the page read before, in the language of the moment.
    help.browser()->backward();
    EXPECT_EQ(help.browser()->source().adjusted(QUrl::RemoveFragment), HelpGuide::home());
    EXPECT_TRUE(help.browser()->toPlainText().contains(u"Sommaire"_s));
    Localization::setCurrent(AppLanguage::en);
    EXPECT_EQ(window->windowTitle(), u"Plumeo Help"_s);
    EXPECT_TRUE(help.browser()->toPlainText().contains(u"Contents"_s));
    window->close();
}

TEST_F(HelpWindowTest, TheHelpCommandIsTheApplicationsAndOpensTheWindow)
{
    EXPECT_EQ(handlerOf(Command::showHelp), CommandHandler::application);
    EXPECT_NE(Commands::info(Command::showHelp).shortcut.key(), Qt::Key_unknown);
    AppDelegate application;
    ASSERT_TRUE(application.handles(Command::showHelp));
    if (QWidget *window = HelpWindowController::shared().window())
        window->close();
    application.perform(MenuItemInfo{Command::showHelp});
    ASSERT_TRUE(HelpWindowController::shared().window());
    EXPECT_TRUE(HelpWindowController::shared().window()->isVisible());
    HelpWindowController::shared().window()->close();
}

TEST_F(HelpWindowTest, TheWindowKeepsTheFrameTheUserLeftItIn)
{
    HelpWindowController &help = HelpWindowController::shared();
    help.show();
    QWidget *window = help.window();
    ASSERT_NE(window, nullptr);
    window->setGeometry(QRect(QPoint(37, 41), QSize(700, 500)));
    window->close(); // hidden, kept
    const QString key = u"windowFrame.PlumeoHelp"_s;
    ASSERT_TRUE(UserDefaults::standard().contains(key));

    // What the next run's window would be given.
    QWidget fresh;
    fresh.resize(1040, 760);
    ASSERT_TRUE(fresh.restoreGeometry(QByteArray::fromBase64(
        UserDefaults::standard().string(key).value_or(QString()).toLatin1())));
    EXPECT_EQ(fresh.size(), QSize(700, 500));
    UserDefaults::standard().remove(key);
}

#include "HelpWindowTests.moc"
