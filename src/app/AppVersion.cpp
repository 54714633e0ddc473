#include "AppVersion.h"

#include "BuildInfo.h"

// The compiled-in resources live in a static library, where nothing names their object file: the
// linker leaves it out unless it is asked for by name, here.
static void initResources()
{
    Q_INIT_RESOURCE(plumeo);
}

namespace plumeo::AppVersion {

namespace {

bool isUsable(const QString &value)
{
    return !value.isEmpty() && !value.startsWith(u'@');
}

} // namespace

QString shortVersion(const QString &raw)
{
    return isUsable(raw) ? raw : QStringLiteral("dev");
}

std::optional<QString> build(const QString &raw)
{
    if (!isUsable(raw))
        return std::nullopt;
    return raw;
}

QString shortVersion()
{
    return shortVersion(QString::fromLatin1(buildinfo::version));
}

std::optional<QString> build()
{
    return build(QString::fromLatin1(buildinfo::buildNumber));
}

QString description()
{
    QString text = QStringLiteral("Plumeo ") + shortVersion();
    if (const auto number = build())
        text += QStringLiteral(" (") + *number + u')';
    return text;
}

QString shortLabel()
{
    const QString version = shortVersion();
    return version == u"dev" ? version : QStringLiteral("v") + version;
}

const QIcon &icon()
{
    static const QIcon instance = [] {
        initResources();
        return QIcon(QStringLiteral(":/plumeo/icon.png"));
    }();
    return instance;
}

} // namespace plumeo::AppVersion
