#pragma once

#include <QString>

class QWidget;

namespace plumeo {

// Where windows were left, kept in the settings under "windowFrame." and the window's autosave name
// (Qt's saved geometry, in base64), so that each opens again where the user put it.
namespace WindowFrames {

QString key(const QString &autosaveName);
// Puts window where it was last left; false when no frame is known or it cannot be used (the
// window is then left as it is).
bool restore(QWidget *window, const QString &autosaveName);
void remember(const QWidget *window, const QString &autosaveName);
// No frame is written for the rest of the run: snapshots picture windows where they would open
// and must not move the user's.
void leaveAloneForThisRun();

} // namespace WindowFrames

} // namespace plumeo
