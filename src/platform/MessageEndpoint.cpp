#include "platform/MessageEndpoint.h"

#include <QLocalServer>
#include <QLockFile>
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

MessageEndpoint::~MessageEndpoint() = default;

QString MessageEndpoint::socketPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/CorkvaneMsg");
}

bool MessageEndpoint::listen()
{
    const QString path = socketPath();
    // The lock tells a live owner from a socket left by a crashed run without connecting to it:
    // a connection would itself be a message and make the other Corkvane create a note.
    if (!m_lock) {
        m_lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
        m_lock->setStaleLockTime(0);
    }
    if (!m_lock->isLocked() && !m_lock->tryLock(0)) {
        m_error = QStringLiteral("another Corkvane is already listening on %1").arg(path);
        return false;
    }
    if (m_server->listen(path))
        return true;
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
