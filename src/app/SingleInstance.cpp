#include "SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace plumeo {

namespace {

constexpr int timeoutMs = 1500;

// File names are made absolute here: the running instance has another working folder.
QStringList absoluteArguments(const QStringList &arguments)
{
    QStringList result;
    int skip = 0;
    for (const QString &argument : arguments) {
        if (skip > 0) {
            --skip;
            result.append(argument);
            continue;
        }
        if (argument == u"--lang")
            skip = 1;
        if (argument.startsWith(u'-'))
            result.append(argument);
        else
            result.append(QFileInfo(argument).absoluteFilePath());
    }
    return result;
}

} // namespace

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
{}

QString SingleInstance::serverName()
{
    return QStringLiteral("plumeo-") + QString::number(::getuid());
}

bool SingleInstance::forward(const QStringList &arguments)
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray message;
    QDataStream stream(&message, QIODevice::WriteOnly);
    stream << absoluteArguments(arguments);
    socket.write(message);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The instance answers once it has the arguments, so that this launch never exits before they
    // arrived.
    return socket.waitForReadyRead(timeoutMs) && socket.readAll() == "ok";
}

bool SingleInstance::listen(Receiver receiver)
{
    m_receiver = std::move(receiver);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(serverName())) {
        // A channel left behind by an instance that crashed: nobody answered forward(), so take it.
        QLocalServer::removeServer(serverName());
        if (!m_server->listen(serverName()))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                QDataStream stream(socket->readAll());
                QStringList arguments;
                stream >> arguments;
                if (stream.status() != QDataStream::Ok)
                    return;
                socket->write("ok");
                socket->flush();
                if (m_receiver)
                    m_receiver(arguments);
            });
        }
    });
    return true;
}

} // namespace plumeo
