#include "HostedWindows.h"

#include "AboutView.h"
#include "ActionDispatcher.h"
#include "AppDelegate.h"
#include "SettingsView.h"
#include "ShortcutsView.h"
#include "UpdateView.h"
#include "text/Localization.h"
#include "update/Updater.h"

#include <map>

#include <QCoreApplication>

namespace plumeo::HostedWindows {

using namespace Qt::Literals::StringLiterals;

namespace {

// The panels' buttons take the way the menu items take: to the application delegate, through the
// dispatcher, which enables them only while the delegate handles the command.
AboutView::CommandLink applicationCommands()
{
    const auto item = [](Command command) {
        return MenuItemInfo{command, {}, AppDelegate::shared()};
    };
    return {
        [item](Command command) {
            return ActionDispatcher::shared().validate(item(command)).enabled;
        },
        [item](Command command) { ActionDispatcher::shared().perform(item(command)); },
    };
}

std::map<Kind, HostedWindowController *> &controllers()
{
    static std::map<Kind, HostedWindowController *> made;
    return made;
}

// Windows must go while the application object still stands; its post routines run first thing
// in its destructor.
void destroyControllers()
{
    auto &made = controllers();
    for (auto &[kind, controller] : made)
        delete controller;
    made.clear();
}

} // namespace

HostedWindowController::Description description(Kind kind)
{
    switch (kind) {
    case Kind::about:
        return {{580, 420},
                u"PlumeoAbout"_s,
                [] { return L(u"À propos de Plumeo"_s, u"About Plumeo"_s); },
                [](auto close) { return new AboutView(applicationCommands(), std::move(close)); }};
    case Kind::shortcuts:
        return {{820, 520},
                u"PlumeoShortcuts"_s,
                [] { return L(u"Raccourcis clavier"_s, u"Keyboard Shortcuts"_s); },
                [](auto close) { return new ShortcutsView(std::move(close)); }};
    case Kind::settings:
        return {{460, 610},
                u"PlumeoSettings"_s,
                [] { return L(u"Réglages"_s, u"Settings"_s); },
                [](auto) { return new SettingsView; }};
    case Kind::update:
        return {{480, 340},
                u"PlumeoUpdate"_s,
                [] { return L(u"Mise à jour de Plumeo"_s, u"Plumeo Update"_s); },
                [](auto close) { return new UpdateView(Updater::shared(), std::move(close)); }};
    }
    Q_UNREACHABLE();
}

HostedWindowController &controller(Kind kind)
{
    auto &made = controllers();
    if (const auto found = made.find(kind); found != made.end())
        return *found->second;
    if (made.empty())
        qAddPostRoutine(&destroyControllers);
    auto *created = new HostedWindowController(description(kind));
    made.emplace(kind, created);
    return *created;
}

HostedWindowController *existing(Kind kind)
{
    const auto found = controllers().find(kind);
    return found == controllers().end() ? nullptr : found->second;
}

QWidget *show(Kind kind)
{
    HostedWindowController &shared = controller(kind);
    shared.show(false);
    return shared.window();
}

} // namespace plumeo::HostedWindows
