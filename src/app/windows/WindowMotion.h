#pragma once

class QWidget;

namespace plumeo {

// How auxiliary windows appear: a short fade-in with a small rise, unless motion is unwanted.
namespace WindowMotion {

// Motion is unwanted when PLUMEO_REDUCE_MOTION is "1", when the desktop has turned its animations
// off (Qt's general UI effect), or for the rest of a run that asked for it (snapshots picture
// windows at once).
bool isReduced();
void reduceForThisRun();

// Shows window in front and activates it. With motion: starts at opacity 0, 8 pixels below its
// place, and eases out to full opacity and its place over 0.18 s. Without: shown where it is, at
// once. The window's geometry must already be final.
void fadeIn(QWidget *window);

} // namespace WindowMotion

} // namespace plumeo
