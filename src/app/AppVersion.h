#pragma once

#include <optional>

#include <QIcon>
#include <QString>

namespace plumeo {

// The version this build reports, from the build settings, and the application icon.
namespace AppVersion {

// The version, or "dev" when the build has none (empty, or an unfilled "@…" placeholder).
QString shortVersion();
// The build number under the same rule, or nothing.
std::optional<QString> build();
// "Plumeo 1.2.0 (45)", or "Plumeo 1.2.0" without a build number.
QString description();
// "v1.2.0", or "dev".
QString shortLabel();
// The application icon, compiled into the program.
const QIcon &icon();

// The rules above applied to given values, for testing.
QString shortVersion(const QString &raw);
std::optional<QString> build(const QString &raw);

} // namespace AppVersion

} // namespace plumeo
