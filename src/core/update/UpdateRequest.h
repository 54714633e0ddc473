#pragma once

#include <optional>

#include <QNetworkReply>
#include <QNetworkRequest>

namespace plumeo {

class UpdaterError;

// The requests the updater sends, and how it reads their failures.
namespace UpdateRequest {

// A request that never answers from a cache, identifies the program ("Plumeo/<version>"), never
// follows a redirect from https to http, and gives up after timeoutMs without a byte received.
// accept is the Accept header; empty leaves it out.
QNetworkRequest make(const QUrl &url, int timeoutMs, const QByteArray &accept);
// Why a finished reply failed, or nothing when it succeeded: a status outside 200 to 299 gives
// invalidHTTPStatus, a time-out (the request was cancelled) or a network failure a systemFailure in
// the interface language.
std::optional<UpdaterError> failureOf(QNetworkReply *reply);

} // namespace UpdateRequest

} // namespace plumeo
