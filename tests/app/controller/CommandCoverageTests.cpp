#include "ActionDispatcher.h"
#include "AppDelegate.h"
#include "ControllerTestSupport.h"
#include "MainMenu.h"
#include "MenuItemInfo.h"
#include "editor/EditorView.h"
#include "editor/EditorViewController.h"

#include <set>

#include <QMenu>
#include <QMenuBar>

using namespace plumeo;
using namespace plumeo::testing;

namespace {

void collectItems(const QWidget *menu, std::vector<MenuItemInfo> &items)
{
    for (const QAction *action : menu->actions()) {
        if (action->menu())
            collectItems(action->menu(), items);
        else if (const auto info = MenuItemInfo::of(action))
            items.push_back(*info);
    }
}

} // namespace

// A command that no responder answers is a greyed item nobody meant: every item the menus build
// reaches one of the real responders of a window, or is on the list of items disabled until what
// they open exists.
TEST_F(ControllerTest, EveryMenuItemIsAnsweredByAResponderOrDisabledOnPurpose)
{
    const std::set<Command> disabledOnPurpose{};
    TextDocument *document = controller()->newDocument();
    EditorWindowController *window = EditorWindowController::all().front();
    EditorViewController *editor = window->editorFor(document);
    ASSERT_TRUE(editor);
    std::vector<ActionResponder *> responders{editor->editorView(), editor};
    for (ActionResponder *responder : window->responders())
        responders.push_back(responder);
    responders.push_back(controller());
    AppDelegate application; // its commands need no launch
    responders.push_back(&application);

    std::vector<MenuItemInfo> items;
    const std::unique_ptr<QMenuBar> bar(MainMenu::build(&application));
    collectItems(bar.get(), items);
    // The generated menus: recent files (with their Clear item) and the window list.
    QMenu generated;
    DocumentController::fillRecentMenu(&generated);
    collectItems(&generated, items);
    items.push_back(MenuItemInfo{Command::openRecentDocument});
    items.push_back(MenuItemInfo{Command::makeKeyAndOrderFront});

    std::set<Command> seen;
    for (const MenuItemInfo &item : items) {
        seen.insert(item.command);
        const QString name = Commands::actionName(item.command);
        const bool answered =
            std::any_of(responders.begin(), responders.end(),
                        [&](ActionResponder *r) { return r->handles(item.command); });
        EXPECT_NE(answered, disabledOnPurpose.contains(item.command)) << qPrintable(name);
        if (item.target) {
            EXPECT_EQ(answered,
                      dynamic_cast<ActionResponder *>(item.target.data())->handles(item.command))
                << qPrintable(name) << " goes to its target only";
        }
        if (disabledOnPurpose.contains(item.command)) {
            EXPECT_FALSE(ActionDispatcher::shared().validate(item).enabled) << qPrintable(name);
        }
    }
    // Every command of the table has an item somewhere.
    EXPECT_EQ(seen.size(), Commands::table.size());
}
