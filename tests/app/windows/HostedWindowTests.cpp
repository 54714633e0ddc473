#include "ActionDispatcher.h"
#include "AppDelegate.h"
#include "text/Localization.h"
#include "text/UserDefaults.h"
#include "windows/HostedWindowController.h"
#include "windows/HostedWindows.h"
#include "windows/WindowMotion.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace Qt::StringLiterals;

namespace {

class HostedWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Localization::setCurrent(AppLanguage::en);
        qputenv("PLUMEO_REDUCE_MOTION", "1");
        UserDefaults::standard().remove(u"windowFrame.TestPanel"_s);
    }
    void TearDown() override
    {
        qunsetenv("PLUMEO_REDUCE_MOTION");
        Localization::setCurrent(AppLanguage::system);
    }

    // A panel whose content counts how often it was built and can close its window.
    HostedWindowController::Description panel()
    {
        return {{300, 200},
                u"TestPanel"_s,
                [] { return L(u"Panneau"_s, u"Panel"_s); },
                [this](std::function<void()> close) {
                    ++built;
                    closeAction = std::move(close);
                    return new QLabel(QString::number(built));
                }};
    }

    int built = 0;
    std::function<void()> closeAction;
};

} // namespace

// A second show reuses the window, with new content and the title of the moment, and brings it
// back when it was closed.
TEST_F(HostedWindowTest, ShowingAgainReusesTheWindowWithFreshContentAndTitle)
{
    HostedWindowController controller(panel());
    EXPECT_EQ(controller.window(), nullptr);
    controller.show();
    QWidget *window = controller.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), u"Panel"_s);
    EXPECT_EQ(window->size(), QSize(300, 200));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "not resizable";
    QPointer<QWidget> first = controller.content();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->window(), window);

    closeAction();
    EXPECT_FALSE(window->isVisible());
    Localization::setCurrent(AppLanguage::fr);
    controller.show();
    EXPECT_EQ(controller.window(), window) << "one window per controller";
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), u"Panneau"_s);
    EXPECT_EQ(built, 2);
    EXPECT_NE(controller.content(), first.data());
    EXPECT_EQ(qobject_cast<QLabel *>(controller.content())->text(), u"2"_s);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first) << "the old content goes";
    int windows = 0;
    for (QWidget *top : QApplication::topLevelWidgets())
        windows += top->windowTitle() == u"Panneau"_s;
    EXPECT_EQ(windows, 1);
}

// The title follows the interface language while the window is open; a controller that is gone
// leaves a close action that does nothing.
TEST_F(HostedWindowTest, TitleFollowsTheLanguageAndCloseOutlivesTheController)
{
    std::function<void()> close;
    {
        HostedWindowController controller(panel());
        controller.show();
        Localization::setCurrent(AppLanguage::fr);
        EXPECT_EQ(controller.window()->windowTitle(), u"Panneau"_s);
        Localization::setCurrent(AppLanguage::en);
        EXPECT_EQ(controller.window()->windowTitle(), u"Panel"_s);
        close = closeAction;
    }
    close();
}

// First shown centred on the screen; the frame the user gave it is remembered, also by the next
// run's controller.
TEST_F(HostedWindowTest, FrameIsCentredFirstThenRemembered)
{
    QPoint moved;
    {
        HostedWindowController controller(panel());
        controller.show();
        QWidget *window = controller.window();
        const QRect screen = window->screen()->availableGeometry();
        EXPECT_LE(std::abs(window->frameGeometry().center().x() - screen.center().x()), 2);
        EXPECT_LE(std::abs(window->frameGeometry().center().y() - screen.center().y()), 2);
        moved = window->pos() + QPoint(37, 23);
        window->move(moved);
        controller.close();
        EXPECT_TRUE(UserDefaults::standard().contains(controller.frameKey()));
    }
    HostedWindowController later(panel());
    later.show();
    EXPECT_EQ(later.window()->pos(), moved);
    EXPECT_EQ(later.window()->size(), QSize(300, 200));
}

// The application's windows: one controller per kind, About and Shortcuts reached by the menu
// commands through the dispatcher, with their sizes, names and titles.
TEST_F(HostedWindowTest, AboutAndShortcutsAreSharedAndAnswerTheirCommands)
{
    AppDelegate delegate;
    ActionDispatcher::shared().setApplicationResponders({&delegate});
    using HostedWindows::Kind;
    EXPECT_EQ(&HostedWindows::controller(Kind::about), &HostedWindows::controller(Kind::about));
    EXPECT_NE(&HostedWindows::controller(Kind::about), &HostedWindows::controller(Kind::shortcuts));

    const struct
    {
        Command command;
        Kind kind;
        QSize size;
        QString autosaveName, title;
    } windows[] = {
        {Command::showAbout, Kind::about, {580, 420}, u"PlumeoAbout"_s, u"About Plumeo"_s},
        {Command::showShortcuts,
         Kind::shortcuts,
         {820, 520},
         u"PlumeoShortcuts"_s,
         u"Keyboard Shortcuts"_s},
    };
    for (const auto &expected : windows) {
        const MenuItemInfo item{expected.command, {}, &delegate};
        EXPECT_TRUE(ActionDispatcher::shared().validate(item).enabled);
        ASSERT_TRUE(ActionDispatcher::shared().perform(item));
        HostedWindowController &controller = HostedWindows::controller(expected.kind);
        ASSERT_NE(controller.window(), nullptr);
        EXPECT_TRUE(controller.window()->isVisible());
        EXPECT_EQ(controller.window()->size(), expected.size);
        EXPECT_EQ(controller.description().autosaveName, expected.autosaveName);
        EXPECT_EQ(controller.window()->windowTitle(), expected.title);
        QWidget *window = controller.window();
        ASSERT_TRUE(ActionDispatcher::shared().perform(item));
        EXPECT_EQ(controller.window(), window);
        controller.close();
    }
    ActionDispatcher::shared().setApplicationResponders({});
}

// Without motion a window appears in its place at once; with it, it starts 8 pixels lower and
// rises to its place.
TEST_F(HostedWindowTest, FadeInRisesToItsPlaceUnlessMotionIsReduced)
{
    QWidget window;
    window.resize(200, 100);
    window.move(100, 100);
    ASSERT_TRUE(WindowMotion::isReduced());
    WindowMotion::fadeIn(&window);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.pos(), QPoint(100, 100));
    EXPECT_EQ(window.windowOpacity(), 1.0);
    EXPECT_EQ(window.findChild<QAbstractAnimation *>(), nullptr);
    window.hide();

    // The offscreen platform has the desktop's animations off: as a desktop with them on.
    qunsetenv("PLUMEO_REDUCE_MOTION");
    const bool effects = QApplication::isEffectEnabled(Qt::UI_General);
    QApplication::setEffectEnabled(Qt::UI_General, false);
    EXPECT_TRUE(WindowMotion::isReduced());
    QApplication::setEffectEnabled(Qt::UI_General, true);
    ASSERT_FALSE(WindowMotion::isReduced());
    WindowMotion::fadeIn(&window);
    QApplication::setEffectEnabled(Qt::UI_General, effects);
    EXPECT_EQ(window.pos(), QPoint(100, 108));
    auto *animation = window.findChild<QAbstractAnimation *>();
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(animation->totalDuration(), 180);
    QSignalSpy finished(animation, &QAbstractAnimation::finished);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(window.pos(), QPoint(100, 100));
    EXPECT_EQ(window.windowOpacity(), 1.0);
}
