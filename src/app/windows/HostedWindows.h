#pragma once

#include "HostedWindowController.h"

namespace plumeo {

// The application's auxiliary windows, one shared HostedWindowController per kind, made on first
// use and kept until the application object goes.
//
// Hosting a new view takes two lines: a case in Kind, and in HostedWindows.cpp a case in
// description() giving its content size, autosave name, title and a factory for its content, e.g.
//
//     case Kind::settings:
//         return {{460, 610}, u"PlumeoSettings"_s, [] { return L(u"Réglages"_s, u"Settings"_s); },
//                 [](auto close) { return new SettingsView(std::move(close)); }};
//
// The factory runs at every show; the content it makes is owned by the window. Snapshot mode
// names these windows in its own table (Snapshot.cpp).
namespace HostedWindows {

enum class Kind {
    about,
    shortcuts,
    settings,
    update,
};

// What a kind's controller is made from.
HostedWindowController::Description description(Kind kind);

// The shared controller of kind.
HostedWindowController &controller(Kind kind);
// Whether kind's controller exists yet (retitling and tests ask without creating it).
HostedWindowController *existing(Kind kind);
// Shows kind's window (not resizable, as every caller in the application wants it) and returns it.
QWidget *show(Kind kind);

} // namespace HostedWindows

} // namespace plumeo
