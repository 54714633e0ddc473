#include "update/ReleaseDownloader.h"

#include "text/Localization.h"
#include "update/UpdateRequest.h"
#include "update/UpdaterConstants.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

#include <unistd.h>

namespace plumeo {

ReleaseDownloader::ReleaseDownloader(QNetworkAccessManager *network, QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_timeoutMs(UpdaterConstants::downloadTimeoutMs)
{}

void ReleaseDownloader::download(const QUrl &url, const QString &filePath, Done done)
{
    m_done = std::move(done);
    m_failure.reset();
    m_written = 0;
    m_file.setFileName(filePath);
    m_created = false;
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        const UpdaterError error = UpdaterError::system(m_file.errorString());
        QMetaObject::invokeMethod(
            this, [this, error] { finish(error); }, Qt::QueuedConnection);
        return;
    }
    m_created = true;
    QNetworkReply *reply = m_network->get(UpdateRequest::make(url, m_timeoutMs, {}));
    m_reply = reply;
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (m_failure || (status.isValid() && (status.toInt() < 200 || status.toInt() > 299)))
            return; // an error page is not the archive; finished() reports the status
        const QByteArray chunk = reply->readAll();
        m_written += chunk.size();
        if (m_written > m_maximumBytes) {
            m_failure = UpdaterError::system(
                L(QStringLiteral("L’archive téléchargée dépasse %1 octets.").arg(m_maximumBytes),
                  QStringLiteral("The downloaded archive exceeds %1 bytes.").arg(m_maximumBytes)));
            reply->abort();
        } else if (m_file.write(chunk) != chunk.size()) {
            m_failure = UpdaterError::system(m_file.errorString());
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::downloadProgress, this, &ReleaseDownloader::progress);
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        if (m_failure) {
            finish(*m_failure);
            return;
        }
        if (const std::optional<UpdaterError> failure = UpdateRequest::failureOf(reply)) {
            finish(*failure);
            return;
        }
        if (!m_file.flush() || m_file.handle() < 0 || ::fsync(m_file.handle()) != 0) {
            finish(UpdaterError::system(m_file.errorString()));
            return;
        }
        finish({});
    });
}

void ReleaseDownloader::finish(const Result<void, UpdaterError> &result)
{
    if (m_file.isOpen())
        m_file.close();
    if (!result && m_created)
        m_file.remove();
    if (Done done = std::exchange(m_done, nullptr))
        done(result);
}

} // namespace plumeo
