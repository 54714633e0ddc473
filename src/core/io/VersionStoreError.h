#pragma once

#include <QString>

namespace plumeo {

// Why the version store could not keep, list or give back a version. kind is what a caller acts
// on; systemError is the errno behind it (0 when the store itself refused); detail is a fixed
// English text for the log, naming the file concerned.
struct VersionStoreError
{
    enum class Kind {
        cannotWrite,    // the store folder, an index or a content could not be written
        damagedIndex,   // the index is not one the store wrote: unreadable, not JSON, invalid
        missingContents // a listed version's bytes are gone or are not what the index says
    };
    Kind kind = Kind::cannotWrite;
    int systemError = 0;
    QString detail;

    // One sentence in the interface language, for a window that shows the history.
    QString description() const;
    // What goes in the log: kind, detail and the system's reason.
    QString logText() const;
};

} // namespace plumeo
