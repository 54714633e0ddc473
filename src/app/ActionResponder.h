#pragma once

#include "MenuItemInfo.h"

#include <optional>

#include <QString>

namespace plumeo {

// How a menu item looks when its menu opens: enabled, checked (nothing: not checkable), for items
// whose title depends on the state a new title, and for items shown only in some states whether
// it shows.
struct MenuItemState
{
    bool enabled = true;
    std::optional<bool> checked;
    std::optional<QString> title;
    // Nothing: the item keeps its visibility.
    std::optional<bool> visible;
};

// Something that can handle menu commands: the editor, its view controller, a document, the
// document controller, the application delegate. The dispatcher asks each along the chain in turn;
// the first that handles a command performs it and says how its item looks. An item nothing handles
// is disabled. Who handles what is decided in one place, handlerOf(): a responder answers the
// commands given to its kind.
class ActionResponder
{
public:
    explicit ActionResponder(CommandHandler kind)
        : m_kind(kind)
    {}
    virtual ~ActionResponder() = default;

    CommandHandler responderKind() const { return m_kind; }
    bool handles(Command command) const { return handlerOf(command) == m_kind; }
    virtual void perform(const MenuItemInfo &item) = 0;
    // Called only for items this responder handles. Enabled by default.
    virtual void validate(const MenuItemInfo &item, MenuItemState &state) const
    {
        Q_UNUSED(item);
        Q_UNUSED(state);
    }

private:
    CommandHandler m_kind;
};

} // namespace plumeo
