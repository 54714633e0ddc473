#pragma once

#include "base/Result.h"
#include "update/UpdaterError.h"

#include <optional>

#include <QByteArray>
#include <QString>

namespace plumeo {

// The bundle this program runs from: Plumeo.app/bin/plumeo makes Plumeo.app the bundle.
namespace RunningBundle {

// The bundle folder of an executable in its "bin" folder, when that folder's parent ends in ".app"
// (any case); nothing otherwise.
std::optional<QString> bundleOf(const QString &executableDir);
// bundleOf() for this process.
std::optional<QString> path();
// Where an update goes: the running bundle, else ~/Applications/Plumeo.app.
QString installDestination();
// The key an update must be signed with: the running bundle's own signer. Nothing when the program
// does not run from a bundle, or from one that was never signed (a development bundle); an error
// when the bundle has a signature folder whose key cannot be read, so that a damaged bundle never
// lowers the bar.
Result<std::optional<QByteArray>, UpdaterError>
requiredSigner(const std::optional<QString> &bundle);

} // namespace RunningBundle

} // namespace plumeo
