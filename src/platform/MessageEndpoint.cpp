#include "platform/MessageEndpoint.h"

#include <QLocalServer>
#include <QLockFile>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <memory>

#include "platform/ProgramCommand.h"

namespace {
constexpr int kMessageWaitMs = 2000;
}

MessageEndpoint::MessageEndpoint(QObject *parent) : QObject(parent), m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *client = m_server->nextPendingConnection())
            readMessage(client);
    });
}

void MessageEndpoint::readMessage(QLocalSocket *client)
{
    // The message is complete at its line end, when the peer closes, or after a short wait:
    // a peer that connects and stays silent still counts as one message, as it always did.
    auto *wait = new QTimer(client);
    wait->setSingleShot(true);
    auto done = std::make_shared<bool>(false);
    auto finish = [this, client, wait, done] {
        if (*done)
            return;
        *done = true;
        wait->stop();
        const QByteArray message = client->read(ProgramCommand::kMaxMessageBytes);
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        client->disconnectFromServer();
        if (client->state() == QLocalSocket::UnconnectedState)
            client->deleteLater();
        emit messageReceived(message);
    };
    auto check = [client, finish] {
        if (client->bytesAvailable() >= ProgramCommand::kMaxMessageBytes || client->canReadLine()
            || client->state() != QLocalSocket::ConnectedState)
            finish();
    };
    connect(wait, &QTimer::timeout, client, finish);
    connect(client, &QLocalSocket::readyRead, client, check);
    connect(client, &QLocalSocket::disconnected, client, finish);
    wait->start(kMessageWaitMs);
    check();
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
