#pragma once

#include "Updater.h"

#include <optional>

#include <QString>

namespace plumeo {

// What the update panel says about the updater, in the interface language of the moment (an
// error's message excepted: it stays in the language it was made in).
namespace UpdateTexts {

// The status line of state.
QString status(const Updater::State &state);
// The release whose notes the panel shows: the one being offered, downloaded or installed, else
// the one the last check found.
std::optional<ReleaseInfo> activeRelease(const Updater::State &state,
                                         const std::optional<ReleaseInfo> &available);
// "NOTES DE VERSION — v1.4.0" / "RELEASE NOTES — v1.4.0".
QString notesHeader(const ReleaseInfo &release);

} // namespace UpdateTexts

} // namespace plumeo
