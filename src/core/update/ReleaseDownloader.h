#pragma once

#include "base/Result.h"
#include "update/UpdaterError.h"

#include <functional>

#include <QFile>
#include <QObject>
#include <QPointer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace plumeo {

// Downloads a release archive straight into a file, never holding it in memory.
class ReleaseDownloader : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void(const Result<void, UpdaterError> &)>;

    // network must outlive the downloader.
    explicit ReleaseDownloader(QNetworkAccessManager *network, QObject *parent = nullptr);

    // Time allowed without a byte received; 120 seconds unless changed.
    void setTimeoutMs(int timeoutMs) { m_timeoutMs = timeoutMs; }
    // Archives larger than this are refused; 512 MiB unless changed.
    void setMaximumBytes(qint64 bytes) { m_maximumBytes = bytes; }

    // Writes the body of url to filePath, which must not exist yet, and calls done once from the
    // event loop. On failure the file is removed: an HTTP status outside 200 to 299 gives
    // invalidHTTPStatus, a network or disk failure a systemFailure.
    void download(const QUrl &url, const QString &filePath, Done done);

Q_SIGNALS:
    // total is -1 while the size is unknown.
    void progress(qint64 received, qint64 total);

private:
    void finish(const Result<void, UpdaterError> &result);

    QNetworkAccessManager *const m_network;
    int m_timeoutMs;
    qint64 m_maximumBytes = 512LL * 1024 * 1024;
    QPointer<QNetworkReply> m_reply;
    QFile m_file;
    qint64 m_written = 0;
    bool m_created = false; // the file is ours to remove
    std::optional<UpdaterError> m_failure;
    Done m_done;
};

} // namespace plumeo
