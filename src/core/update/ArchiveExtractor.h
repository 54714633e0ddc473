#pragma once

#include "base/Result.h"
#include "update/UpdaterError.h"

#include <QString>

namespace plumeo {

// Unpacks a downloaded ZIP archive without trusting it. The whole archive is read once before
// anything is written, and every entry must pass:
//  - a relative path without "..", backslashes or control characters;
//  - a regular file, a folder, or a symbolic link whose relative target goes only downwards
//    from the link's folder, with no ".." (no hard links, devices, FIFOs or sockets);
//  - no entry inside a symbolic link met earlier, and no path twice;
//  - at most maxEntries entries and maxBytes bytes in all, counted from the data really written,
//    not from sizes the archive claims.
// libarchive's own guards (no "..", no absolute paths, no writing through links) apply as well.
// Modes are reduced to 0755 (folders, executables) or 0644; owners, set-user-id bits and extended
// attributes are never restored. On any failure the destination is emptied again.
//
// While entries are written the destination is the process's working folder (libarchive's guard
// against absolute paths accepts only relative ones): extract() belongs to the main thread, and
// no other thread may rely on the working folder meanwhile.
class ArchiveExtractor
{
public:
    qint64 maxEntries = 20'000;
    qint64 maxBytes = 512LL * 1024 * 1024;

    // destination is created if missing and must be empty.
    Result<void, UpdaterError> extract(const QString &zipPath, const QString &destination) const;
};

} // namespace plumeo
