#pragma once

#include "base/Result.h"
#include "update/UpdaterError.h"

#include <optional>

#include <QByteArray>
#include <QString>

namespace plumeo {

// SHA-256 digests written as 64 lower-case hexadecimal digits.
namespace Sha256 {

QString hexOf(const QByteArray &data);
// The digest of a file's contents, read in pieces; systemFailure when it cannot be read.
Result<QString, UpdaterError> hexOfFile(const QString &path);
// Checks a file against an expected digest, compared without regard to case after trimming. An
// absent or blank expected digest skips the check (the bundle's signature still applies); a
// difference gives checksumMismatch with the expected digest lower-cased.
Result<void, UpdaterError> verifyFile(const QString &path, const std::optional<QString> &expected);

} // namespace Sha256

} // namespace plumeo
