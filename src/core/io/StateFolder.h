#pragma once

#include <QString>

namespace plumeo {

// The per-user folder for what Plumeo keeps between runs that is neither a setting nor a document:
// the copy of a file being rewritten in place. $PLUMEO_STATE_DIR when set (tests use a temporary
// one), else $XDG_STATE_HOME/plumeo, else ~/.local/state/plumeo. In NativePath form; not created.
namespace StateFolder {

QString path();

} // namespace StateFolder

} // namespace plumeo
