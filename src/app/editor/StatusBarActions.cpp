#include "editor/StatusBarActions.h"

#include "ActionDispatcher.h"

namespace plumeo {

StatusBarActions StatusBarActions::throughDispatcher(QObject *target)
{
    return {
        target,
        [](QMenu *menu) { ActionDispatcher::shared().validateMenu(menu); },
        [](const MenuItemInfo &item) { return ActionDispatcher::shared().validate(item); },
        [](const MenuItemInfo &item) { return ActionDispatcher::shared().perform(item); },
    };
}

} // namespace plumeo
