#pragma once

#include "base/Result.h"
#include "update/UpdaterError.h"

#include <functional>
#include <optional>

#include <QUrl>

namespace plumeo {

class UserDefaults;

// Where the updater asks for the latest release: a JSON manifest, or GitHub's latest-release
// resource of a repository.
struct UpdateEndpoint
{
    enum Kind { customManifest, githubLatestRelease };

    Kind kind;
    QUrl url;

    // The first source that holds a value decides, in this order: the environment variable
    // VANTLE_UPDATE_URL, the URL stored in the settings, the URL compiled in, then GitHub's
    // latest release of repo. A value that is only white space counts as absent; a present value
    // that is not an acceptable URL (UpdateUrl) stops the search with invalidUpdateURL rather than
    // falling through to a source the user did not choose. A compiled-in value still reading
    // "@…" is an unexpanded placeholder and counts as absent.
    static Result<UpdateEndpoint, UpdaterError>
    resolve(const QString &repo,
            const std::function<std::optional<QString>(const char *name)> &environment,
            const UserDefaults &defaults,
            const QString &compiledUrl);
    // resolve() with the process's environment, the standard settings and the compiled-in URL.
    static Result<UpdateEndpoint, UpdaterError> resolveForProcess(const QString &repo);

    friend bool operator==(const UpdateEndpoint &, const UpdateEndpoint &) = default;
};

} // namespace plumeo
