#pragma once

#include <QStringList>

namespace plumeo {

// The files opened or saved most recently, newest first, kept across launches in the settings.
namespace RecentDocuments {

inline constexpr int limit = 10;

// Each file once (a hand-edited settings file may repeat one).
QStringList paths();
// Puts path first (removing an older entry for the same file) and keeps the list within limit.
void note(const QString &path);
// Takes path out: the file was renamed, moved, deleted or could not be opened.
void forget(const QString &path);
// Takes out the files that no longer exist; answers the others.
QStringList existingPaths();
void clear();

} // namespace RecentDocuments

} // namespace plumeo
