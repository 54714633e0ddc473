#include "update/UpdateRequest.h"

#include "text/Localization.h"
#include "update/CurrentBuild.h"
#include "update/UpdaterError.h"

namespace plumeo::UpdateRequest {

QNetworkRequest make(const QUrl &url, int timeoutMs, const QByteArray &accept)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setRawHeader("User-Agent", "Plumeo/" + CurrentBuild::versionString().toUtf8());
    if (!accept.isEmpty())
        request.setRawHeader("Accept", accept);
    return request;
}

std::optional<UpdaterError> failureOf(QNetworkReply *reply)
{
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    // A server that answered with an error status has said what went wrong: that comes first.
    if (status.isValid() && (status.toInt() < 200 || status.toInt() > 299))
        return UpdaterError::invalidHttpStatus(status.toInt());
    if (reply->error() == QNetworkReply::OperationCanceledError)
        return UpdaterError::system(
            L(QStringLiteral("Le serveur de mise à jour ne répond pas (délai dépassé)."),
              QStringLiteral("The update server did not respond in time.")));
    if (reply->error() != QNetworkReply::NoError)
        return UpdaterError::system(
            L(QStringLiteral("Le serveur de mise à jour est injoignable : "),
              QStringLiteral("The update server could not be reached: "))
            + reply->errorString());
    return std::nullopt;
}

} // namespace plumeo::UpdateRequest
