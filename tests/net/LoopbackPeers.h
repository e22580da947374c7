#pragma once
// Peers a sender meets on loopback, all on one port (a sender dials the same PortTCP for every
// recipient, so recipients differ by address): a receiver that records what each connection
// brought, and a host that never answers a connect.
#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <functional>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace LoopbackPeers {

inline sockaddr_in address(const char *host, quint16 port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    inet_pton(AF_INET, host, &a.sin_addr);
    return a;
}

// Non-blocking connect; 1 connected, 0 still pending after `ms`, -1 failed.
inline int tryConnect(int fd, const sockaddr_in &a, int ms)
{
    fcntl(fd, F_SETFL, O_NONBLOCK);
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&a), sizeof a) == 0)
        return 1;
    pollfd p{fd, POLLOUT, 0};
    if (::poll(&p, 1, ms) == 0)
        return 0;
    int err = 0;
    socklen_t len = sizeof err;
    getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len);
    return err == 0 ? 1 : -1;
}

// A listener with no room in its accept queue: a backlog of 0 holds one finished connection,
// and once that one waits, the kernel drops every further SYN, so a connect hangs as it would
// towards a host that is switched off.
class SilentHost
{
public:
    SilentHost(const char *host, quint16 port)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        int on = 1;
        setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        const sockaddr_in a = address(host, port);
        if (::bind(m_listener, reinterpret_cast<const sockaddr *>(&a), sizeof a) != 0 || ::listen(m_listener, 0) != 0)
            return;
        m_filler = ::socket(AF_INET, SOCK_STREAM, 0);
        if (tryConnect(m_filler, a, 2000) != 1)
            return;
        const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
        m_silent = tryConnect(probe, a, 300) == 0;
        ::close(probe);
    }
    ~SilentHost()
    {
        for (int fd : {m_filler, m_listener})
            if (fd >= 0)
                ::close(fd);
    }
    // Whether a connect to it really hangs on this kernel.
    bool silent() const { return m_silent; }

private:
    int m_listener = -1;
    int m_filler = -1;
    bool m_silent = false;
};

// Accepts on one address and keeps, per connection, every byte it brought. `onData` may act on
// a connection as its bytes arrive (close it, reset it).
class Receiver : public QObject
{
public:
    explicit Receiver(const char *host, quint16 port = 0)
    {
        m_server.listen(QHostAddress(QString::fromLatin1(host)), port);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = m_server.nextPendingConnection()) {
                const qsizetype index = received.size();
                received.append(QByteArray());
                QObject::connect(s, &QTcpSocket::readyRead, this, [this, s, index] {
                    received[index] += s->readAll();
                    if (onData)
                        onData(s, received[index]);
                });
            }
        });
    }
    bool listening() const { return m_server.isListening(); }
    quint16 port() const { return m_server.serverPort(); }

    // Drops the connection with a reset rather than a close.
    static void reset(QTcpSocket *s)
    {
        linger l{1, 0};
        setsockopt(int(s->socketDescriptor()), SOL_SOCKET, SO_LINGER, &l, sizeof l);
        s->close();
    }

    QList<QByteArray> received;
    std::function<void(QTcpSocket *, const QByteArray &)> onData;

private:
    QTcpServer m_server;
};

} // namespace LoopbackPeers
