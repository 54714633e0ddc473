#pragma once

#include <optional>

#include <QList>
#include <QString>

namespace plumeo {

// Version texts of releases: "v1.4.0", "2.0-beta+7". Only the numeric part before any "-" or "+"
// takes part in comparisons, so a pre-release equals its final version.
namespace ReleaseVersion {

// Trimmed once, then every leading "v" or "V" removed: " vV1.2 " gives "1.2".
QString normalize(const QString &version);
// The numbers of the normalised version up to its first "-" or "+"; a piece that is not a decimal
// number counts as 0 and empty pieces are dropped: "1.x.2" gives 1, 0, 2; "2..1" gives 2, 1.
QList<qint64> numericComponents(const QString &version);
// -1, 0 or +1 as a is older than, equal to or newer than b; a missing position counts as 0.
int compare(const QString &a, const QString &b);
// Whether the remote release is newer: a greater version, or an equal one whose build numbers are
// both known and the remote one greater.
bool isNewer(const QString &remoteVersion,
             std::optional<qint64> remoteBuild,
             const QString &currentVersion,
             std::optional<qint64> currentBuild);
// A build number written as a decimal integer, sign allowed, surrounding white space ignored.
std::optional<qint64> parseBuildNumber(const QString &text);

} // namespace ReleaseVersion

} // namespace plumeo
