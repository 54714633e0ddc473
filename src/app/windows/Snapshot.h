#pragma once

#include <optional>

#include <QByteArray>
#include <QString>
#include <QStringList>

class QMenu;
class QMenuBar;
class QWidget;

namespace plumeo {

class DocumentController;

// Snapshot mode: a run without interaction that opens a document (a given file, or an untitled one
// holding a short code sample), optionally an auxiliary window or a menu, waits for the display to
// settle, writes a PNG picture of one window, prints one line and quits with a status:
//
//   0  picture written ("snapshot written to PATH (N bytes)" on standard output), menu listed, or
//      the open-dialog self-test passed
//   1  the document could not be opened, or the picture could not be written
//   2  no window to capture (also for a window this build cannot show)
//   3  the window could not be rendered
//   5  the open-dialog self-test failed
//
// Errors go to standard error as one line, "snapshot error: " and the reason. The environment
// chooses what is pictured: PLUMEO_SNAPSHOT_DELAY (seconds before capturing, 0.6 unless the whole
// text is a number), PLUMEO_SNAPSHOT_WINDOW ("about", "shortcuts", "settings", "help", or "open"
// for the self-test; anything else: the document window), PLUMEO_SNAPSHOT_MENU (the exact title of
// a top-level menu to open and list, one line per item, instead of a picture). Works without a
// display server (QT_QPA_PLATFORM=offscreen) and never fades windows in.
namespace Snapshot {

// Starts the run once the event loop runs; the application's event loop then ends with the status.
void run(const QString &output,
         const std::optional<QString> &input,
         DocumentController *controller);

// The window's picture as PNG, or nothing when it cannot be drawn.
std::optional<QByteArray> render(QWidget *window);

// The rules above, on their own.
// Seconds to wait: text parsed as a whole as a finite number (negative ones wait 0), else 0.6.
double delay(const std::optional<QString> &text);
// The 11 lines of the untitled document, without a line feed at the end.
QString sampleText();
// path with a leading "~" or "~/" made the home folder.
QString expandedPath(const QString &path);
// The first top-level menu of bar whose title reads exactly title (mnemonic markers aside).
QMenu *topLevelMenu(const QMenuBar *bar, const QString &title);
// One line per item: "—" for a separator, the title (as it reads), and " ▸ N" after a submenu's
// title where N is the number of its items.
QStringList menuListing(const QMenu *menu);

} // namespace Snapshot

} // namespace plumeo
