#pragma once

#include <optional>

#include <QString>

namespace plumeo {

// The version, build number and update URL this program was built with (CMake's project version,
// PLUMEO_BUILD_NUMBER and PLUMEO_UPDATE_URL).
namespace CurrentBuild {

// The normalised project version; "0.11.0" when the build gave none.
QString versionString();
std::optional<qint64> buildNumber();
// The manifest URL compiled in; empty by default.
QString compiledUpdateUrl();

// The rules behind the above, for any raw value: an empty value or one that is still an unexpanded
// "@…@" placeholder counts as absent.
QString versionFrom(const QString &raw);
std::optional<qint64> buildFrom(const QString &raw);

} // namespace CurrentBuild

} // namespace plumeo
