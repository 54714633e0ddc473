#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QTcpServer>

// A tiny HTTP/1.1 server on the loopback interface for the updater's tests: each path answers a
// fixed status and body, or never answers at all (a stalled server). Connections close after one
// answer. The headers of the last request are kept for inspection.
class LocalHttpServer : public QObject
{
    Q_OBJECT
public:
    struct Route
    {
        int status = 200;
        QByteArray body;
        bool stall = false; // accept the request and never answer
    };

    LocalHttpServer();

    QString url(const QString &path) const;
    void route(const QString &path, Route answer) { m_routes.insert(path, std::move(answer)); }
    // Header names are lower-cased.
    QHash<QByteArray, QByteArray> lastHeaders() const { return m_lastHeaders; }
    int requestCount() const { return m_requests; }

private:
    void serve(class QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QString, Route> m_routes;
    QHash<QByteArray, QByteArray> m_lastHeaders;
    int m_requests = 0;
};
