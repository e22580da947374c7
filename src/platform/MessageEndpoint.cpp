#include "platform/MessageEndpoint.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

MessageEndpoint::MessageEndpoint(QObject *parent) : QObject(parent), m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *client = m_server->nextPendingConnection()) {
            // The peer only announces itself; whatever it sends is ignored.
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            client->disconnectFromServer();
            emit messageReceived();
        }
    });
}

QString MessageEndpoint::socketPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/CorkvaneMsg");
}

bool MessageEndpoint::listen()
{
    const QString path = socketPath();
    if (m_server->listen(path))
        return true;
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(500)) {
        m_error = QStringLiteral("another Corkvane is already listening on %1").arg(path);
        return false;
    }
    QLocalServer::removeServer(path);
    if (m_server->listen(path))
        return true;
    m_error = m_server->errorString();
    return false;
}

bool MessageEndpoint::isListening() const
{
    return m_server->isListening();
}
