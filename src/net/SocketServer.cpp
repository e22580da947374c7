#include "net/SocketServer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

#include <unistd.h>

#include <utility>

namespace {

const QEvent::Type kClientEndedType = static_cast<QEvent::Type>(QEvent::registerEventType());

// A client's notice to its server that its connection has ended.
class ClientEnded : public QEvent
{
public:
    explicit ClientEnded(TSocketClient *client) : QEvent(kClientEndedType), client(client) {}
    QPointer<TSocketClient> client;
};

} // namespace

TSocketClient::TSocketClient(QObject *owner) : TAsyncSocket(owner) {}

TSocketClient::~TSocketClient()
{
    // Whoever destroys a client, the server must not keep counting it.
    if (m_server)
        m_server->m_clients.removeOne(this);
}

void TSocketClient::sessionEnded()
{
    if (!m_server || m_noticePosted)
        return;
    m_noticePosted = true;
    QCoreApplication::postEvent(m_server, new ClientEnded(this));
}

TCustomSocketServer::TCustomSocketServer(QObject *owner) : TAsyncSocket(owner) {}

TCustomSocketServer::~TCustomSocketServer()
{
    // The clients are children and go with the server; they must not call back into it.
    for (TSocketClient *client : std::as_const(m_clients))
        client->m_server = nullptr;
}

void TCustomSocketServer::sessionAvailable(int error)
{
    if (error != 0)
        return;
    // The accepted descriptor is closed on every way out that does not hand it to a client.
    struct Pending {
        int fd;
        ~Pending()
        {
            if (fd >= 0)
                ::close(fd);
        }
    } pending{Accept()};
    if (pending.fd < 0)
        return;
    ++m_counter;
    TSocketClient *created = m_clientFactory ? m_clientFactory(this) : new TSocketClient(this);
    created->m_server = this;
    m_clients.append(created);
    const QPointer<TSocketClient> client(created);
    if (!fire(OnClientCreate, this, created) || !client)
        return;
    client->setObjectName(objectName() + QStringLiteral("Client") + QString::number(m_counter));
    client->setBanner(m_banner);
    client->Dup(std::exchange(pending.fd, -1));
    if (!fire(OnClientConnect, this, created, 0))
        return;
    if (!client || !m_clients.contains(client) || client->State() != ssConnected)
        return;

    const bool full = m_maxClients >= 1 && m_clients.size() > m_maxClients;
    if (full)
        client->setBanner(m_bannerToBusy);
    if (!client->Banner().isEmpty())
        client->SendText(client->Banner() + "\r\n");
    if (full && client)
        client->Close();
}

bool TCustomSocketServer::event(QEvent *e)
{
    if (e->type() != kClientEndedType)
        return TAsyncSocket::event(e);
    TSocketClient *client = static_cast<ClientEnded *>(e)->client;
    if (client && m_clients.contains(client))
        guarded([&] { clientEnded(client); });
    return true;
}

void TCustomSocketServer::clientEnded(TSocketClient *client)
{
    QPointer<TSocketClient> guard(client);
    m_clients.removeOne(client);
    struct Destroy {
        QPointer<TSocketClient> &guard;
        ~Destroy()
        {
            if (guard)
                guard->destroyWhenIdle();
        }
    } destroy{guard};
    fire(OnClientDisconnect, this, client, 0);
}
