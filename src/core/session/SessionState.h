#pragma once

#include "base/Result.h"

#include <vector>

#include <QByteArray>
#include <QString>

namespace plumeo {

// The windows and tabs open when Plumeo quit, to be opened again by the next plain start.
//
// Stored as a JSON file in the state folder. A tab is a file, or an untitled document with
// unsaved text, kept as an autosave file (AutosaveRecord) in the session's folder and named here
// by its file name alone. Positions are UTF-16 offsets into the text; scroll is the vertical scroll
// bar's value. A file that is not exactly such a session (not JSON, fields of the wrong kind, more
// windows or tabs than any user has, a path into the system's own folders, a name that leads out of
// the session folder) is refused as a whole: nothing of it is opened.
struct SessionState
{
    static constexpr int windowLimit = 100;
    static constexpr int tabLimit = 1000; // over all windows

    struct Tab
    {
        QString filePath;     // absolute, NativePath form; empty for an untitled document
        QString untitledCopy; // the file name of its autosave in the session folder
        int caret = 0;        // the cursor's position
        int anchor = 0;       // the other end of the selection (the caret when none)
        int scroll = 0;
        friend bool operator==(const Tab &, const Tab &) = default;
    };
    struct Window
    {
        std::vector<Tab> tabs;
        int current = 0; // index of the tab in front
        friend bool operator==(const Window &, const Window &) = default;
    };

    std::vector<Window> windows;

    QByteArray toJson() const;
    // The session in bytes, or why they are not one (in English, for the log).
    static Result<SessionState, QString> fromJson(QByteArrayView bytes);

    friend bool operator==(const SessionState &, const SessionState &) = default;
};

} // namespace plumeo
