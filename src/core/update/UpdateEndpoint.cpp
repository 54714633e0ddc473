#include "update/UpdateEndpoint.h"

#include "text/UserDefaults.h"
#include "update/CurrentBuild.h"
#include "update/UpdateUrl.h"
#include "update/UpdaterConstants.h"

namespace plumeo {

namespace {

using Resolved = Result<UpdateEndpoint, UpdaterError>;

// Nothing when the source has no value; the endpoint or the error otherwise.
std::optional<Resolved> manifestFrom(const std::optional<QString> &value)
{
    if (!value)
        return std::nullopt;
    const QString text = value->trimmed();
    if (text.isEmpty())
        return std::nullopt;
    if (const std::optional<QUrl> url = UpdateUrl::parse(text))
        return Resolved(UpdateEndpoint{UpdateEndpoint::customManifest, *url});
    return Resolved(UpdaterError::invalidUpdateUrl(text));
}

} // namespace

Resolved
UpdateEndpoint::resolve(const QString &repo,
                        const std::function<std::optional<QString>(const char *name)> &environment,
                        const UserDefaults &defaults,
                        const QString &compiledUrl)
{
    if (auto resolved = manifestFrom(environment(UpdaterConstants::envUrlKey())))
        return *resolved;
    if (auto resolved = manifestFrom(defaults.string(UpdaterConstants::updateUrlKey())))
        return *resolved;
    if (!compiledUrl.trimmed().startsWith(u'@')) {
        if (auto resolved = manifestFrom(compiledUrl))
            return *resolved;
    }
    const QString text = QStringLiteral("https://") + UpdaterConstants::githubApiHost()
                         + QStringLiteral("/repos/") + repo + QStringLiteral("/releases/latest");
    const QUrl url(text, QUrl::StrictMode);
    // The repository must stay one path segment pair: "owner/name", nothing that reshapes the URL.
    const QStringList parts = repo.split(u'/');
    if (!url.isValid() || parts.size() != 2 || parts[0].isEmpty() || parts[1].isEmpty()
        || repo.contains(u'?') || repo.contains(u'#') || repo.contains(u' ')
        || repo.contains(QStringLiteral("..")))
        return UpdaterError::invalidUpdateUrl(repo);
    return UpdateEndpoint{githubLatestRelease, url};
}

Resolved UpdateEndpoint::resolveForProcess(const QString &repo)
{
    const auto environment = [](const char *name) -> std::optional<QString> {
        if (!qEnvironmentVariableIsSet(name))
            return std::nullopt;
        return qEnvironmentVariable(name);
    };
    return resolve(repo, environment, UserDefaults::standard(), CurrentBuild::compiledUpdateUrl());
}

} // namespace plumeo
