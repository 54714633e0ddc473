#pragma once

#include "ActionResponder.h"

#include <functional>
#include <vector>

#include <QHash>
#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace plumeo {

// Routes menu commands along the responder chain, as a desktop application's menus do: the focused
// widget and its ancestors (the editor, its view controller), then whatever the active window
// contributes (its current document, the window itself), then the application-wide responders (the
// document controller, the application delegate). Items with a target go to that target alone.
//
// Menus are validated when they are about to show. Once a menu closes its items are enabled again,
// so that a shortcut always reaches perform(), which validates once more before acting.
//
// The chain starts from the widget that has the keyboard focus in the active window or, while the
// menu bar or a menu holds it (a menu opened from the keyboard, or one after another), from the
// widget that had it last in that window: the editor the user was typing in.
class ActionDispatcher : public QObject
{
    Q_OBJECT
public:
    static ActionDispatcher &shared();

    // A window supplies the responders between the focused widget and the application: given the
    // active window, they are returned in order (document first, then the window controller).
    using WindowResponders = std::function<std::vector<ActionResponder *>(QWidget *window)>;
    void setWindowResponders(WindowResponders responders)
    {
        m_windowResponders = std::move(responders);
    }
    // The last links of the chain, in order (document controller, application delegate).
    void setApplicationResponders(std::vector<ActionResponder *> responders)
    {
        m_applicationResponders = std::move(responders);
    }

    // Routes every item of menuBar through the chain.
    void install(QMenuBar *menuBar);
    void install(QMenu *menu);

    // The chain for a command, as it stands now; the first responder that handles item, or null.
    ActionResponder *responderFor(const MenuItemInfo &item) const;
    MenuItemState validate(const MenuItemInfo &item) const;
    // Performs item if something handles it and it is enabled; false otherwise.
    bool perform(const MenuItemInfo &item);

    // Validates every item of menu (not its submenus: they validate when they open).
    void validateMenu(QMenu *menu);

Q_SIGNALS:
    // A menu is about to show: owners of dynamic menus (recent files, the window list) refill it.
    void menuAboutToShow(QMenu *menu);

private:
    std::vector<ActionResponder *> chain() const;
    QWidget *chainStart() const;
    void focusChanged(QWidget *now);

    ActionDispatcher();

    WindowResponders m_windowResponders;
    // The last widget outside the menus that had the focus, per window.
    QHash<QWidget *, QPointer<QWidget>> m_lastFocus;
    std::vector<ActionResponder *> m_applicationResponders;
};

} // namespace plumeo
