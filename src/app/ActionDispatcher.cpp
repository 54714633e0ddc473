#include "ActionDispatcher.h"

#include "MenuMnemonics.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

namespace plumeo {

ActionDispatcher &ActionDispatcher::shared()
{
    static ActionDispatcher *instance = new ActionDispatcher;
    return *instance;
}

ActionDispatcher::ActionDispatcher()
{
    if (auto *application = qobject_cast<QApplication *>(QCoreApplication::instance()))
        connect(application, &QApplication::focusChanged, this,
                [this](QWidget *, QWidget *now) { focusChanged(now); });
}

namespace {

bool isMenu(const QWidget *widget)
{
    return qobject_cast<const QMenuBar *>(widget) || qobject_cast<const QMenu *>(widget);
}

// The mnemonics of item's siblings, which a new title of item must not take.
QSet<QChar> mnemonicsBeside(const QMenu *menu, const QAction *item)
{
    QSet<QChar> taken;
    for (const QAction *action : menu->actions())
        if (action != item && !action->isSeparator())
            if (const QChar c = MenuMnemonics::of(action->text()); !c.isNull())
                taken.insert(c);
    return taken;
}

} // namespace

void ActionDispatcher::focusChanged(QWidget *now)
{
    if (!now || isMenu(now))
        return;
    QWidget *window = now->window();
    if (m_lastFocus.contains(window) && m_lastFocus[window] == now)
        return;
    if (!m_lastFocus.contains(window))
        connect(window, &QObject::destroyed, this, [this, window] { m_lastFocus.remove(window); });
    m_lastFocus[window] = now;
}

QWidget *ActionDispatcher::chainStart() const
{
    QWidget *focus = QApplication::focusWidget();
    if (focus && !isMenu(focus))
        return focus;
    QWidget *window = QApplication::activeWindow();
    QWidget *last = window ? m_lastFocus.value(window).data() : nullptr;
    // Only a widget still in the window and able to take the focus back (not a retired view).
    return last && last->window() == window && last->isVisible() ? last : focus;
}

std::vector<ActionResponder *> ActionDispatcher::chain() const
{
    std::vector<ActionResponder *> responders;
    QWidget *window = QApplication::activeWindow();
    for (QWidget *widget = chainStart(); widget; widget = widget->parentWidget()) {
        if (auto *responder = dynamic_cast<ActionResponder *>(widget))
            responders.push_back(responder);
        if (widget->isWindow())
            break;
    }
    if (window && m_windowResponders)
        for (ActionResponder *responder : m_windowResponders(window))
            responders.push_back(responder);
    for (ActionResponder *responder : m_applicationResponders)
        responders.push_back(responder);
    return responders;
}

ActionResponder *ActionDispatcher::responderFor(const MenuItemInfo &item) const
{
    if (item.target) {
        auto *target = dynamic_cast<ActionResponder *>(item.target.data());
        return target && target->handles(item.command) ? target : nullptr;
    }
    for (ActionResponder *responder : chain())
        if (responder->handles(item.command))
            return responder;
    return nullptr;
}

MenuItemState ActionDispatcher::validate(const MenuItemInfo &item) const
{
    MenuItemState state;
    ActionResponder *responder = responderFor(item);
    if (!responder) {
        state.enabled = false;
        return state;
    }
    responder->validate(item, state);
    return state;
}

bool ActionDispatcher::perform(const MenuItemInfo &item)
{
    ActionResponder *responder = responderFor(item);
    if (!responder)
        return false;
    MenuItemState state;
    responder->validate(item, state);
    if (!state.enabled)
        return false;
    responder->perform(item);
    return true;
}

void ActionDispatcher::validateMenu(QMenu *menu)
{
    for (QAction *action : menu->actions()) {
        if (action->isSeparator() || action->menu())
            continue;
        const auto item = MenuItemInfo::of(action);
        if (!item)
            continue;
        const MenuItemState state = validate(*item);
        action->setEnabled(state.enabled);
        action->setCheckable(state.checked.has_value());
        if (state.checked)
            action->setChecked(*state.checked);
        if (state.visible)
            action->setVisible(*state.visible);
        if (state.title && MenuMnemonics::plain(action->text()) != *state.title)
            action->setText(MenuMnemonics::retitled(action->text(), *state.title,
                                                    mnemonicsBeside(menu, action)));
    }
}

void ActionDispatcher::install(QMenu *menu)
{
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        Q_EMIT menuAboutToShow(menu);
        validateMenu(menu);
    });
    connect(menu, &QMenu::aboutToHide, menu, [menu] {
        // Shortcuts of items disabled while the menu was open must work again; perform() validates.
        for (QAction *action : menu->actions())
            if (!action->isSeparator() && !action->menu() && MenuItemInfo::of(action))
                action->setEnabled(true);
    });
    connect(menu, &QMenu::triggered, this, [this, menu](QAction *action) {
        // Submenus report their items' triggers to their parents too; handle each once, where it
        // lives.
        if (action->parent() != menu && !menu->actions().contains(action))
            return;
        const auto item = MenuItemInfo::of(action);
        if (!item || !perform(*item))
            QApplication::beep();
    });
    for (QAction *action : menu->actions())
        if (QMenu *submenu = action->menu())
            install(submenu);
}

void ActionDispatcher::install(QMenuBar *menuBar)
{
    for (QAction *action : menuBar->actions())
        if (QMenu *menu = action->menu())
            install(menu);
}

} // namespace plumeo
