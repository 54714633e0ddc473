#pragma once

#include "Command.h"

#include <optional>

#include <QAction>
#include <QPointer>
#include <QVariant>

namespace plumeo {

// What a menu item asks for, carried on its QAction: a command, a represented object (the language,
// encoding, file or window an item of a generated menu stands for) and a target. A null target
// means "whoever first handles it": the focused editor, its view controller, the document, the
// window, the document controller, the application delegate, in that order. The action dispatcher
// reads these to route and validate items.
struct MenuItemInfo
{
    Command command;
    QVariant representedObject = {};
    QPointer<QObject> target = {};

    // The item's request, or nothing for items that carry none (those that open a submenu).
    static std::optional<MenuItemInfo> of(const QAction *item)
    {
        const QVariant raw = item->property("plumeoCommand");
        if (!raw.isValid())
            return std::nullopt;
        const auto command = Commands::fromRaw(raw.toInt());
        if (!command)
            return std::nullopt;
        return MenuItemInfo{*command, item->property("plumeoRepresentedObject"),
                            item->property("plumeoTarget").value<QObject *>()};
    }

    void applyTo(QAction *item) const
    {
        item->setProperty("plumeoCommand", int(command));
        item->setProperty("plumeoRepresentedObject", representedObject);
        item->setProperty("plumeoTarget", QVariant::fromValue<QObject *>(target.data()));
    }
};

} // namespace plumeo
