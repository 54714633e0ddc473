#pragma once

#include <QAction>
#include <QPointer>
#include <QString>
#include <QVariant>

namespace plumeo {

// What a menu item asks for, carried on its QAction: the action name (a selector-style name such as
// "saveDocument:"), a tag, a represented object and a target. A null target means "whoever first
// handles it": the focused editor, its view controller, the document, the document controller, the
// application delegate, in that order. The action dispatcher reads these to route and validate
// items.
struct MenuItemInfo
{
    QString action;
    int tag = 0;
    QVariant representedObject;
    QPointer<QObject> target;

    static MenuItemInfo of(const QAction *item)
    {
        MenuItemInfo info;
        info.action = item->property("plumeoAction").toString();
        info.tag = item->property("plumeoTag").toInt();
        info.representedObject = item->property("plumeoRepresentedObject");
        info.target = item->property("plumeoTarget").value<QObject *>();
        return info;
    }

    void applyTo(QAction *item) const
    {
        item->setProperty("plumeoAction", action);
        item->setProperty("plumeoTag", tag);
        item->setProperty("plumeoRepresentedObject", representedObject);
        item->setProperty("plumeoTarget", QVariant::fromValue<QObject *>(target.data()));
    }
};

} // namespace plumeo
