#pragma once

#include "MenuItemInfo.h"

#include <optional>

#include <QString>

namespace plumeo {

// How a menu item looks when its menu opens: enabled, checked (nothing: not checkable) and, for
// items whose title depends on the state, a new title.
struct MenuItemState
{
    bool enabled = true;
    std::optional<bool> checked;
    std::optional<QString> title;
};

// Something that can handle menu commands: the editor, its view controller, a document, the
// document controller, the application delegate. The dispatcher asks each along the chain in turn;
// the first that handles a command performs it and says how its item looks. An item nothing handles
// is disabled.
class ActionResponder
{
public:
    virtual ~ActionResponder() = default;

    virtual bool handles(const MenuItemInfo &item) const = 0;
    virtual void perform(const MenuItemInfo &item) = 0;
    // Called only for items this responder handles. Enabled by default.
    virtual void validate(const MenuItemInfo &item, MenuItemState &state) const
    {
        Q_UNUSED(item);
        Q_UNUSED(state);
    }
};

} // namespace plumeo
