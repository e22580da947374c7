#pragma once
// A listening socket that creates one client object per accepted connection, greets it with
// a banner, and destroys the object once its connection has ended.
#include "net/AsyncSocket.h"

#include <QList>

#include <functional>

class TCustomSocketServer;

// One accepted connection, owned by its server.
class TSocketClient : public TAsyncSocket
{
    Q_OBJECT
public:
    explicit TSocketClient(QObject *owner = nullptr);
    ~TSocketClient() override;

    TCustomSocketServer *Server() const { return m_server; }
    QByteArray Banner() const { return m_banner; }
    void setBanner(const QByteArray &banner) { m_banner = banner; }

private:
    friend class TCustomSocketServer;
    void sessionEnded() override;

    TCustomSocketServer *m_server = nullptr;
    QByteArray m_banner = QByteArrayLiteral("Welcome");
    bool m_noticePosted = false;
};

class TCustomSocketServer : public TAsyncSocket
{
    Q_OBJECT
public:
    using ClientEvent = std::function<void(TCustomSocketServer *server, TSocketClient *client)>;
    using ClientErrorEvent = std::function<void(TCustomSocketServer *server, TSocketClient *client, int error)>;

    explicit TCustomSocketServer(QObject *owner = nullptr);
    ~TCustomSocketServer() override;

    // A new client object exists (not yet connected).
    ClientEvent OnClientCreate;
    // The connection was accepted into the client; the banner goes out after this returns.
    ClientErrorEvent OnClientConnect;
    // The client's connection has ended; the client object is destroyed right after.
    ClientErrorEvent OnClientDisconnect;

    QByteArray Banner() const { return m_banner; }
    void setBanner(const QByteArray &banner) { m_banner = banner; }
    QByteArray BannerToBusy() const { return m_bannerToBusy; }
    void setBannerToBusy(const QByteArray &banner) { m_bannerToBusy = banner; }
    // 0 = no limit.
    int MaxClients() const { return m_maxClients; }
    void setMaxClients(int max) { m_maxClients = max; }

    // The class of the client objects created (TSocketClient by default).
    template <class T> void setClientClass()
    {
        m_clientFactory = [](QObject *owner) -> TSocketClient * { return new T(owner); };
    }

    int ClientCount() const { return int(m_clients.size()); }
    TSocketClient *Client(int index) const { return m_clients.value(index); }
    bool IsClient(const TSocketClient *client) const { return m_clients.contains(client); }
    // Connections accepted since the server was made (names the clients).
    int ConnectionCount() const { return m_counter; }

protected:
    bool event(QEvent *e) override;
    void sessionAvailable(int error) override;

private:
    friend class TSocketClient;
    void clientEnded(TSocketClient *client);
    void destroyClient(TSocketClient *client);

    QByteArray m_banner = QByteArrayLiteral("Welcome");
    QByteArray m_bannerToBusy = QByteArrayLiteral("Sorry, too many clients");
    int m_maxClients = 0;
    int m_counter = 0;
    QList<TSocketClient *> m_clients;
    std::function<TSocketClient *(QObject *)> m_clientFactory;
};

class TSocketServer : public TCustomSocketServer
{
    Q_OBJECT
public:
    explicit TSocketServer(QObject *owner = nullptr) : TCustomSocketServer(owner) {}
};
