#pragma once

#include <QStringList>

namespace plumeo {

// The files opened or saved most recently, newest first, kept across launches in the settings.
namespace RecentDocuments {

inline constexpr int limit = 10;

QStringList paths();
// Puts path first (removing an older entry for the same file) and keeps the list within limit.
void note(const QString &path);
void clear();

} // namespace RecentDocuments

} // namespace plumeo
