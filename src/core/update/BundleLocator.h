#pragma once

#include "base/Result.h"
#include "update/UpdaterError.h"

#include <QString>

namespace plumeo {

// Finds the application bundle (a folder whose name ends in ".app", any case) in an unpacked
// archive.
namespace BundleLocator {

// The first bundle among folder's own entries, by name; else the first met walking the tree below
// it, folders in name order, never descending into a bundle, a hidden entry or a symbolic link;
// else appBundleNotFound. Hidden entries and symbolic links are never answers.
Result<QString, UpdaterError> findAppBundle(const QString &folder);

} // namespace BundleLocator

} // namespace plumeo
