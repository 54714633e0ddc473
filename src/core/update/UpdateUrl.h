#pragma once

#include <optional>

#include <QString>
#include <QUrl>

namespace plumeo {

// Which URLs the updater talks to. An update reaches the user's disk, so everything it fetches
// travels over TLS; plain http is accepted only for a server on this machine (the loopback
// interface), where no network lies between the two ends. The signature check stays the real
// guard either way.
namespace UpdateUrl {

// text parsed strictly: nothing when it is not an absolute https URL with a host, or an http URL
// whose host is loopback ("localhost", 127.0.0.0/8, ::1).
std::optional<QUrl> parse(const QString &text);
bool isAcceptable(const QUrl &url);

} // namespace UpdateUrl

} // namespace plumeo
