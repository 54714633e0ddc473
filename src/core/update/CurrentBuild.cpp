#include "update/CurrentBuild.h"

#include "update/ReleaseVersion.h"
#include "update/UpdateBuildInfo.h"

namespace plumeo::CurrentBuild {

QString versionFrom(const QString &raw)
{
    if (raw.isEmpty() || raw.startsWith(u'@'))
        return QStringLiteral("0.11.0");
    return ReleaseVersion::normalize(raw);
}

std::optional<qint64> buildFrom(const QString &raw)
{
    if (raw.startsWith(u'@'))
        return std::nullopt;
    return ReleaseVersion::parseBuildNumber(raw);
}

QString versionString()
{
    return versionFrom(QString::fromUtf8(updatebuildinfo::version));
}

std::optional<qint64> buildNumber()
{
    return buildFrom(QString::fromUtf8(updatebuildinfo::buildNumber));
}

QString compiledUpdateUrl()
{
    return QString::fromUtf8(updatebuildinfo::updateUrl);
}

} // namespace plumeo::CurrentBuild
