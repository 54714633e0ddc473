#pragma once

#include "base/Result.h"
#include "update/ReleaseInfo.h"
#include "update/UpdateEndpoint.h"
#include "update/UpdaterError.h"

#include <functional>

#include <QObject>
#include <QPointer>

class QNetworkAccessManager;
class QNetworkReply;

namespace plumeo {

// Asks an endpoint for its latest release. One request at a time per fetcher; the answer arrives
// through the event loop, so the caller's thread is never blocked.
class ReleaseFetcher : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void(const Result<ReleaseInfo, UpdaterError> &)>;

    // network must outlive the fetcher.
    ReleaseFetcher(QNetworkAccessManager *network, QString bundleId, QObject *parent = nullptr);

    // Time allowed without a byte received; 20 seconds unless changed.
    void setTimeoutMs(int timeoutMs) { m_timeoutMs = timeoutMs; }

    // Sends the request and calls done once, from the event loop, with the parsed release or the
    // reason it failed. Answers larger than 4 MiB are refused as malformed. A fetch started while
    // another runs abandons the first, whose done is then never called.
    void fetch(const UpdateEndpoint &endpoint, Done done);

private:
    void finish(QNetworkReply *reply, UpdateEndpoint::Kind kind, const Done &done);

    QNetworkAccessManager *const m_network;
    const QString m_bundleId;
    int m_timeoutMs;
    QPointer<QNetworkReply> m_reply;
    bool m_tooLarge = false;
};

} // namespace plumeo
