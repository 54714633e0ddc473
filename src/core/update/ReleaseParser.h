#pragma once

#include "base/Result.h"
#include "update/ReleaseInfo.h"
#include "update/UpdaterError.h"

#include <optional>

#include <QByteArray>

namespace plumeo {

// Reads the two answers a release endpoint gives. Every malformed answer is refused with an
// UpdaterError; a download URL that is not an acceptable update URL (UpdateUrl) counts as missing.
namespace ReleaseParser {

// GitHub's latest-release object: the version from "tag_name", the first asset whose name or URL
// ends in ".zip" (any case), the notes from "body" in both languages, the digest from the asset's
// "digest" ("sha256:…") or else from the notes.
Result<ReleaseInfo, UpdaterError> parseGitHubRelease(const QByteArray &data);
// A manifest: a GitHub release object as above, or an entry with "version" and "url" (or
// "download_url", "downloadURL"), found under bundleId, else under "apps" then bundleId, else at
// the root.
Result<ReleaseInfo, UpdaterError> parseManifest(const QByteArray &data, const QString &bundleId);
// The first "SHA-256: <64 hex digits>" (or "sha256 = …", back-quotes allowed) in release notes,
// lower-cased.
std::optional<QString> extractSha256(const QString &body);

} // namespace ReleaseParser

} // namespace plumeo
