#pragma once

#include "base/AppIdentifier.h"

#include <QString>

namespace plumeo {

// Fixed names and values of the self-updater.
namespace UpdaterConstants {

// The GitHub repository whose latest release is the default source of updates.
inline QString defaultRepo()
{
    return QStringLiteral("plumeo-editor/plumeo");
}
// The key under which a manifest that lists several applications lists this one.
inline QString defaultBundleId()
{
    return appIdentifier();
}
inline QString autoCheckKey()
{
    return appKey(u".autoCheckUpdates");
}
inline QString lastCheckKey()
{
    return appKey(u".lastUpdateCheck");
}
// A manifest URL the user chose, stored in the settings.
inline QString updateUrlKey()
{
    return appKey(u".updateURL");
}
inline const char *envUrlKey()
{
    return "VANTLE_UPDATE_URL";
}
inline QString githubApiHost()
{
    return QStringLiteral("api.github.com");
}
inline constexpr double autoCheckIntervalSeconds = 86400;
// Time allowed without a byte received before a check or a download gives up.
inline constexpr int checkTimeoutMs = 20'000;
inline constexpr int downloadTimeoutMs = 120'000;

} // namespace UpdaterConstants

} // namespace plumeo
