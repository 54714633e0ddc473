#pragma once

#include "document/DocumentError.h"

#include <functional>

#include <QStringList>

namespace plumeo {

struct FileWriteError;

// What the user is told about the safety copies of their unsaved work and the remembered session.
// None of these blocks: each is a message beside the windows. Tests replace them with a receiver
// so that nothing shows.
namespace AutosaveAlerts {

// Unsaved changes could not be kept safe (the state folder may not be written, the disk is full).
// Shown once per run: editing goes on, and later failures say nothing new.
void presentAutosaveProblem(const FileWriteError &error);
// Autosaves that could not be read (damaged, or not Plumeo's) were set aside, unopened.
void presentUnreadableAutosaves(const QStringList &paths);
// The remembered session could not be read: nothing of it was opened.
void presentUnreadableSession(const QString &path);
// Files of the remembered session that no longer open (gone, unreadable): one message naming them
// all.
void presentMissingSessionFiles(const QStringList &paths);

// Sends every message to receiver instead of the screen (an empty one restores the screen), and
// lets presentAutosaveProblem speak again.
void setReceiverForTesting(std::function<void(const DocumentError &)> receiver);

} // namespace AutosaveAlerts

} // namespace plumeo
