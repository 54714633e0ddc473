#include "update/ReleaseFetcher.h"

#include "update/ReleaseParser.h"
#include "update/UpdateRequest.h"
#include "update/UpdaterConstants.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace plumeo {

namespace {

constexpr qint64 maximumAnswerBytes = 4 * 1024 * 1024;

} // namespace

ReleaseFetcher::ReleaseFetcher(QNetworkAccessManager *network, QString bundleId, QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_bundleId(std::move(bundleId))
    , m_timeoutMs(UpdaterConstants::checkTimeoutMs)
{}

void ReleaseFetcher::fetch(const UpdateEndpoint &endpoint, Done done)
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    const QByteArray accept = endpoint.kind == UpdateEndpoint::githubLatestRelease
                                  ? QByteArrayLiteral("application/vnd.github+json")
                                  : QByteArrayLiteral("application/json");
    m_tooLarge = false;
    QNetworkReply *reply = m_network->get(UpdateRequest::make(endpoint.url, m_timeoutMs, accept));
    m_reply = reply;
    connect(reply, &QNetworkReply::downloadProgress, this, [this, reply](qint64 received, qint64) {
        if (received > maximumAnswerBytes) {
            m_tooLarge = true;
            reply->abort();
        }
    });
    connect(
        reply, &QNetworkReply::finished, this,
        [this, reply, kind = endpoint.kind, done = std::move(done)] { finish(reply, kind, done); });
}

void ReleaseFetcher::finish(QNetworkReply *reply, UpdateEndpoint::Kind kind, const Done &done)
{
    reply->deleteLater();
    m_reply.clear();
    if (m_tooLarge) {
        done(UpdaterError::malformed(QStringLiteral("answer larger than 4 MiB")));
        return;
    }
    if (const std::optional<UpdaterError> failure = UpdateRequest::failureOf(reply)) {
        done(*failure);
        return;
    }
    const QByteArray data = reply->readAll();
    done(kind == UpdateEndpoint::githubLatestRelease
             ? ReleaseParser::parseGitHubRelease(data)
             : ReleaseParser::parseManifest(data, m_bundleId));
}

} // namespace plumeo
