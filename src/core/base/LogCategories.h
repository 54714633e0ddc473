#pragma once

#include <QLoggingCategory>

namespace plumeo {

// Plumeo's diagnostics, one category per area, so that a user or a test can turn an area up or down
// (QT_LOGGING_RULES="plumeo.highlighter.warning=false") and a test can tell its messages apart.
// What the user must know goes in an alert; these are for whoever reads the terminal.
Q_DECLARE_LOGGING_CATEGORY(logSettings)    // plumeo.settings: the settings file and its store
Q_DECLARE_LOGGING_CATEGORY(logHighlighter) // plumeo.highlighter: colouring fell out of step
Q_DECLARE_LOGGING_CATEGORY(logLaunch)      // plumeo.launch: the command line and the start
Q_DECLARE_LOGGING_CATEGORY(logVersions)    // plumeo.versions: the history of saved files

} // namespace plumeo
