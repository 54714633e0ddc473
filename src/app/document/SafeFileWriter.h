#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

namespace plumeo {

// Replaces a file's contents without ever leaving it half-written: the bytes go to a temporary file
// beside the target, are flushed to disk, take the target's permissions (and owner, where allowed),
// and the temporary file is then renamed over the target. A symbolic link is written through, not
// replaced. On any failure the target is untouched and the temporary file is removed.
namespace SafeFileWriter {

// Nothing on success; the system's reason otherwise.
std::optional<QString> write(const QString &path, QByteArrayView bytes);

} // namespace SafeFileWriter

} // namespace plumeo
