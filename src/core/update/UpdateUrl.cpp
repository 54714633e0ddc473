#include "update/UpdateUrl.h"

#include <QHostAddress>

namespace plumeo::UpdateUrl {

namespace {

bool isLoopbackHost(const QString &host)
{
    if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

} // namespace

bool isAcceptable(const QUrl &url)
{
    if (!url.isValid() || url.isRelative() || url.host().isEmpty() || !url.userInfo().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QStringLiteral("https"))
        return true;
    return scheme == QStringLiteral("http") && isLoopbackHost(url.host());
}

std::optional<QUrl> parse(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!isAcceptable(url))
        return std::nullopt;
    return url;
}

} // namespace plumeo::UpdateUrl
