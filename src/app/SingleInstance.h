#pragma once

#include <functional>

#include <QObject>
#include <QStringList>

class QLocalServer;

namespace plumeo {

// One Plumeo per user session. A second launch hands its file arguments (made absolute) to the
// running instance and exits, so that files open as tabs of the existing windows and an instance
// left running without windows is reached again by simply starting Plumeo.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    using Receiver = std::function<void(const QStringList &arguments)>;

    explicit SingleInstance(QObject *parent = nullptr);

    // The name of this user's channel.
    static QString serverName();
    // Sends arguments to a running instance; true when one took them.
    static bool forward(const QStringList &arguments);
    // Becomes the running instance; receiver gets the arguments of later launches.
    bool listen(Receiver receiver);

private:
    QLocalServer *m_server;
    Receiver m_receiver;
};

} // namespace plumeo
