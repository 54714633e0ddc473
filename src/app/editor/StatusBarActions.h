#pragma once

#include "ActionResponder.h"

#include <functional>

#include <QPointer>

class QMenu;

namespace plumeo {

// How the status bar reaches the commands it offers: the same way as the menus, so that choosing a
// language, an encoding or a line ending from the bar does exactly what the menu item does, and
// the help, shortcuts and about buttons are enabled exactly when their menu items are.
struct StatusBarActions
{
    // Whom the bar's language, encoding and line-ending items are for: its editor.
    QPointer<QObject> target;
    // Enables, checks and retitles a menu's items as they are about to show.
    std::function<void(QMenu *menu)> validateMenu;
    std::function<MenuItemState(const MenuItemInfo &item)> validate;
    // Performs item when something handles it and it is enabled; false otherwise.
    std::function<bool(const MenuItemInfo &item)> perform;

    // Through the application's action dispatcher, the menus' own path, for target's bar.
    static StatusBarActions throughDispatcher(QObject *target);
};

} // namespace plumeo
