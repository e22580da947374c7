#include "net/AsyncSocket.h"
#include "net/SocketServer.h"

#include <QElapsedTimer>
#include <QtTest>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A plain blocking-connect peer, so the bytes and the moment of each write are ours to choose.
class Peer
{
public:
    explicit Peer(quint16 port, const char *host = "127.0.0.1")
    {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        inet_pton(AF_INET, host, &a.sin_addr);
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (::connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
            ::close(fd);
            fd = -1;
        }
    }
    ~Peer() { close(); }
    void write(const QByteArray &bytes)
    {
        for (qsizetype at = 0; at < bytes.size();) {
            const ssize_t n = ::send(fd, bytes.constData() + at, size_t(bytes.size() - at), MSG_NOSIGNAL);
            if (n <= 0)
                return;
            at += n;
        }
    }
    // Reads while pumping the event loop, until `done` holds, the peer closes or time runs out.
    QByteArray read(const std::function<bool(const QByteArray &)> &done, int ms = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms && !done(received) && !ended) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            char buf[65536];
            const ssize_t n = ::recv(fd, buf, sizeof buf, MSG_DONTWAIT);
            if (n > 0)
                received.append(buf, n);
            else if (n == 0 || (errno != EAGAIN && errno != EINTR))
                ended = true;
        }
        return received;
    }
    QByteArray readLine() { return read([](const QByteArray &r) { return r.contains("\r\n"); }); }
    bool waitClosed() { read([](const QByteArray &) { return false; }, 5000); return ended; }
    quint16 localPort() const
    {
        sockaddr_in a{};
        socklen_t len = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len);
        return ntohs(a.sin_port);
    }
    void close()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    int fd = -1;
    QByteArray received;
    bool ended = false;
};

quint16 listenLocal(TAsyncSocket &s, const QString &addr = QStringLiteral("127.0.0.1"))
{
    s.setAddr(addr);
    s.setPort(QStringLiteral("0"));
    s.Listen();
    return s.BoundPort().toUShort();
}

// A port nobody listens on (free at the moment it is returned).
quint16 closedPort()
{
    TAsyncSocket probe;
    const quint16 port = listenLocal(probe);
    probe.Close();
    return port;
}

// A server whose clients run in line mode and log every event they see.
struct LineServer
{
    TSocketServer server;
    QStringList log;
    QList<TSocketClient *> clients;
    quint16 port = 0;

    explicit LineServer(std::function<void(TSocketClient *)> setup = {})
    {
        server.setObjectName(QStringLiteral("Srv"));
        server.OnClientConnect = [this, setup](TCustomSocketServer *, TSocketClient *c, int) {
            clients.append(c);
            c->setLineMode(true);
            c->OnDataAvailable = [this](TAsyncSocket *s, int) { log << "data:" + QString::fromLatin1(s->ReceiveText()); };
            c->OnSessionClosed = [this](TAsyncSocket *, int e) { log << QStringLiteral("closed:%1").arg(e); };
            c->OnLineLimitExceeded = [this](TAsyncSocket *, qsizetype n, bool &) { log << QStringLiteral("limit:%1").arg(n); };
            if (setup)
                setup(c);
        };
        server.OnClientDisconnect = [this](TCustomSocketServer *, TSocketClient *c, int) {
            log << "gone:" + c->objectName();
            clients.removeOne(c);
        };
        port = listenLocal(server);
    }
    bool waitFor(const QString &entry, int ms = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (!log.contains(entry) && t.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return log.contains(entry);
    }
};

ESocketError caught(const std::function<void()> &call)
{
    try {
        call();
    } catch (const ESocketError &e) {
        return e;
    }
    return ESocketError(QStringLiteral("nothing raised"));
}

} // namespace

class TestSockets : public QObject
{
    Q_OBJECT
private slots:
    void errorTextsAndCodes()
    {
        QCOMPARE(SocketErrors::text(10061), QStringLiteral("Connection refused"));
        QCOMPARE(SocketErrors::text(11004), QStringLiteral("No Data"));
        QCOMPARE(SocketErrors::text(0), QStringLiteral("No Error"));
        QCOMPARE(SocketErrors::text(12345), QStringLiteral("Not a WinSock error"));
        QCOMPARE(SocketErrors::fromErrno(ECONNREFUSED), 10061);
        QCOMPARE(SocketErrors::fromErrno(EADDRINUSE), 10048);
        QCOMPARE(SocketErrors::fromErrno(ENOTCONN), 10057);
        QCOMPARE(SocketErrors::fromErrno(EHOSTUNREACH), 10065);
        QCOMPARE(SocketErrors::fromErrno(EPIPE), 10054);
        const ESocketError e(10057, QStringLiteral("Send"));
        QCOMPARE(e.message(), QStringLiteral("Error 10057 in function Send\r\nSocket is not connected"));
        QCOMPARE(exceptionClassName(e), QStringLiteral("ESocketError"));
    }

    void argumentChecksAndClosedOnlyProperties()
    {
        TAsyncSocket s;
        QCOMPARE(s.State(), ssClosed);
        QCOMPARE(s.BoundAddr(), QStringLiteral("error"));
        QCOMPARE(caught([&] { s.Connect(); }).message(), QStringLiteral("Connect: No Port Specified"));
        s.setPort(QStringLiteral("1"));
        QCOMPARE(caught([&] { s.Connect(); }).message(), QStringLiteral("Connect: No IP Address Specified"));
        s.setProto(QString());
        s.setAddr(QStringLiteral("  127.0.0.1 "));
        QCOMPARE(s.Addr(), QStringLiteral("127.0.0.1"));
        QCOMPARE(caught([&] { s.Connect(); }).message(), QStringLiteral("Connect: No Protocol Specified"));
        QCOMPARE(caught([&] { s.Listen(); }).message(), QStringLiteral("listen: protocol not assigned"));
        s.setProto(QStringLiteral("tcp"));
        s.setAddr(QStringLiteral("no-such-host.invalid"));
        QVERIFY(caught([&] { s.Connect(); }).message().startsWith(
            QStringLiteral("connect: ResolveHost: Cannot convert host address 'no-such-host.invalid', Error #")));
        QCOMPARE(s.State(), ssClosed);

        TAsyncSocket l;
        const quint16 port = listenLocal(l);
        QCOMPARE(l.State(), ssListening);
        QCOMPARE(l.BoundAddr(), QStringLiteral("127.0.0.1"));
        QVERIFY(port != 0);
        QCOMPARE(caught([&] { l.setAddr(QStringLiteral("x")); }).message(), QStringLiteral("Cannot change Addr if not closed"));
        QCOMPARE(caught([&] { l.setPort(QStringLiteral("1")); }).message(), QStringLiteral("Cannot change Port if not closed"));
        QCOMPARE(caught([&] { l.Connect(); }).message(), QStringLiteral("Connect: Socket already in use"));

        // A taken port fails in Bind with 10048 and leaves the second socket closed.
        TAsyncSocket second;
        const ESocketError e = caught([&] {
            second.setAddr(QStringLiteral("127.0.0.1"));
            second.setPort(QString::number(port));
            second.Listen();
        });
        QCOMPARE(e.code(), 10048);
        QCOMPARE(e.function(), QStringLiteral("Bind"));
        QCOMPARE(second.State(), ssClosed);

        QVERIFY(!TAsyncSocket::GetLocalHostName().isEmpty());
    }

    void sendOnAClosedSocketRaises10057()
    {
        TAsyncSocket s;
        int closed = 0;
        s.OnSessionClosed = [&](TAsyncSocket *, int) { ++closed; };
        const ESocketError e = caught([&] { s.SendText("x"); });
        QCOMPARE(e.code(), 10057);
        QCOMPARE(e.function(), QStringLiteral("Send"));
        QCOMPARE(closed, 0);
        // With OnError assigned the failure is handed over instead of raised.
        int reported = 0;
        s.OnError = [&](TAsyncSocket *, const ESocketError &err) { reported = err.code(); };
        QCOMPARE(s.SendText("x"), qsizetype(-1));
        QCOMPARE(reported, 10057);
    }

    void refusedConnectIsReportedAsAnEvent()
    {
        TAsyncSocket s;
        QList<int> connected;
        int closed = 0;
        s.OnSessionConnected = [&](TAsyncSocket *, int e) { connected << e; };
        s.OnSessionClosed = [&](TAsyncSocket *, int) { ++closed; };
        s.setAddr(QStringLiteral("127.0.0.1"));
        s.setPort(QString::number(closedPort()));
        s.Connect();
        QCOMPARE(s.State(), ssConnecting);
        QVERIFY(connected.isEmpty());
        QTRY_COMPARE(connected, QList<int>{10061});
        QCOMPARE(s.State(), ssClosed);
        QCOMPARE(closed, 0);
        // The socket is usable again once closed.
        s.setPort(QStringLiteral("1"));
    }

    void linesAcrossReadsAndInOneRead()
    {
        LineServer srv;
        Peer peer(srv.port);
        QCOMPARE(peer.readLine(), QByteArray("Welcome\r\n"));
        QCOMPARE(srv.clients.first()->objectName(), QStringLiteral("SrvClient1"));
        QCOMPARE(srv.clients.first()->PeerAddr(), QStringLiteral("127.0.0.1"));
        QCOMPARE(srv.clients.first()->PeerPort(), QString::number(peer.localPort()));
        QCOMPARE(srv.clients.first()->BoundPort(), QString::number(srv.port));

        peer.write("first\r");
        QTest::qWait(50);
        QVERIFY(srv.log.isEmpty());
        peer.write("\nsecond\r\nthird\r\n");
        QVERIFY(srv.waitFor("data:third\r\n"));
        QCOMPARE(srv.log, (QStringList{"data:first\r\n", "data:second\r\n", "data:third\r\n"}));
    }

    void lineLimitAndEditing()
    {
        LineServer srv([](TSocketClient *c) {
            c->setLineLimit(80);
            c->setLineEdit(true);
        });
        Peer peer(srv.port);
        peer.readLine();
        peer.write("ab\bc\r\na\tb\r\n" + QByteArray(200, 'L') + "\r\n");
        QVERIFY(srv.waitFor("data:" + QString(200, 'L') + "\r\n"));
        QCOMPARE(srv.log.mid(0, 2), (QStringList{"data:ac\r\n", "data:a       b\r\n"}));
        QVERIFY(!srv.log.join(' ').contains("limit"));

        peer.write(QByteArray(81, 'x'));
        QVERIFY(srv.waitFor("limit:81"));
        // The unfinished bytes were cleared: the next line starts afresh.
        peer.write("ok\r\n");
        QVERIFY(srv.waitFor("data:ok\r\n"));
    }

    void partlyReadLinesAreOfferedAgain()
    {
        // A reader taking 3 bytes at a time gets the rest of its line offered until it is
        // done; a reader that takes nothing is not asked about the same line forever.
        QList<QByteArray> pieces;
        int ignored = 0;
        LineServer srv([&](TSocketClient *c) {
            c->OnDataAvailable = [&](TAsyncSocket *s, int) {
                if (pieces.join().endsWith("\r\n")) {
                    ++ignored;
                    return;
                }
                char buf[3];
                pieces << QByteArray(buf, s->Receive(buf, sizeof buf));
            };
        });
        Peer peer(srv.port);
        peer.readLine();
        peer.write("abcdefg\r\nskip\r\n");
        QTRY_COMPARE(ignored, 1);
        QCOMPARE(pieces, (QList<QByteArray>{"abc", "def", "g\r\n"}));
        QTest::qWait(50);
        QCOMPARE(ignored, 1);
    }

    void lastBytesArriveBeforeTheClose()
    {
        LineServer srv;
        Peer peer(srv.port);
        peer.readLine();
        peer.write("one\r\ntwo");
        peer.close();
        QVERIFY(srv.waitFor("gone:SrvClient1"));
        QCOMPARE(srv.log, (QStringList{"data:one\r\n", "data:two", "closed:0", "gone:SrvClient1"}));
        QCOMPARE(srv.server.ClientCount(), 0);
    }

    void switchingLineModeHandsOverBufferedBytes()
    {
        // The first handler sees raw bytes, reads none of them and switches to line mode
        // (replacing itself): what it left is delivered as lines once it has returned.
        LineServer srv([&](TSocketClient *c) {
            const auto lineHandler = c->OnDataAvailable;
            c->setLineMode(false);
            c->OnDataAvailable = [&srv, c, lineHandler](TAsyncSocket *, int) {
                srv.log << QStringLiteral("raw:%1").arg(c->RcvdCount());
                c->OnDataAvailable = lineHandler;
                c->setLineMode(true);
                srv.log << QStringLiteral("switched");
            };
        });
        Peer peer(srv.port);
        peer.readLine();
        peer.write("a\r\nb\r\nc");
        QVERIFY(srv.waitFor("data:b\r\n"));
        QCOMPARE(srv.log, (QStringList{"raw:7", "switched", "data:a\r\n", "data:b\r\n"}));
        peer.close();
        QVERIFY(srv.waitFor("closed:0"));
        QCOMPARE(srv.log.mid(4, 2), (QStringList{"data:c", "closed:0"}));
    }

    void maxClientsTurnsTheExtraClientAway()
    {
        LineServer srv;
        srv.server.setMaxClients(1);
        Peer first(srv.port);
        QCOMPARE(first.readLine(), QByteArray("Welcome\r\n"));
        Peer second(srv.port);
        QCOMPARE(second.readLine(), QByteArray("Sorry, too many clients\r\n"));
        QVERIFY(second.waitClosed());
        QVERIFY(srv.waitFor("gone:SrvClient2"));
        QCOMPARE(srv.server.ClientCount(), 1);
        QCOMPARE(srv.server.ConnectionCount(), 2);

        // No limit: everyone is greeted, and an empty banner sends nothing.
        srv.server.setMaxClients(0);
        Peer third(srv.port);
        QCOMPARE(third.readLine(), QByteArray("Welcome\r\n"));
        srv.server.setBanner({});
        Peer fourth(srv.port);
        QTRY_COMPARE(srv.server.ClientCount(), 3);
        fourth.write("hi\r\n");
        QVERIFY(srv.waitFor("data:hi\r\n"));
        QVERIFY(fourth.received.isEmpty());

        // A client destroyed by someone else no longer counts against the limit.
        delete srv.server.Client(0);
        QCOMPARE(srv.server.ClientCount(), 2);
        QVERIFY(first.waitClosed());
    }

    void closeLaterAndCloseFromInsideAHandler()
    {
        QStringList states;
        LineServer srv([&](TSocketClient *c) {
            c->OnDataAvailable = [&, c](TAsyncSocket *s, int) {
                const QByteArray line = s->ReceiveText();
                srv.log << "data:" + QString::fromLatin1(line);
                if (line == "exit\r\n") {
                    s->CloseLater();
                    states << QStringLiteral("after CloseLater %1").arg(s->State() == ssConnected);
                } else if (line == "quit\r\n") {
                    s->Close();
                    states << QStringLiteral("after Close %1").arg(s->State() == ssClosed);
                }
                Q_UNUSED(c);
            };
        });
        Peer a(srv.port);
        a.readLine();
        a.write("exit\r\n");
        QVERIFY(a.waitClosed());
        QVERIFY(srv.waitFor("gone:SrvClient1"));
        QCOMPARE(srv.log.count("closed:0"), 1);

        Peer b(srv.port);
        b.readLine();
        b.write("quit\r\nnever\r\n");
        QVERIFY(b.waitClosed());
        QVERIFY(srv.waitFor("gone:SrvClient2"));
        QVERIFY(!srv.log.contains("data:never\r\n"));
        QCOMPARE(srv.log.count("closed:0"), 2);
        QCOMPARE(states, (QStringList{"after CloseLater 1", "after Close 1"}));
    }

    void aHandlerThatPumpsTheEventLoop()
    {
        // While one connection's handler waits in a nested loop, the others are served, and
        // its own lines still come once each and in order.
        LineServer srv;
        Peer slow(srv.port);
        slow.readLine();
        Peer fast(srv.port);
        fast.readLine();
        bool nested = false;
        srv.clients.first()->OnDataAvailable = [&](TAsyncSocket *sock, int) {
            srv.log << "slow:" + QString::fromLatin1(sock->ReceiveText());
            if (!nested) {
                nested = true;
                fast.write("f\r\n");
                slow.write("3\r\n");
                QTest::qWait(200);
            }
        };
        slow.write("1\r\n2\r\n");
        QVERIFY(srv.waitFor("slow:3\r\n"));
        QCOMPARE(srv.log, (QStringList{"slow:1\r\n", "data:f\r\n", "slow:2\r\n", "slow:3\r\n"}));
    }

    void aClientClosedAndPumpingOutlivesItsDisconnect()
    {
        // The server's disconnect notice is dispatched inside the handler's own nested loop;
        // the client object must survive until that handler has returned.
        QPointer<TSocketClient> client;
        bool handlerReturned = false;
        bool aliveAfterWait = false;
        LineServer srv([&](TSocketClient *c) {
            client = c;
            c->OnDataAvailable = [&](TAsyncSocket *s, int) {
                s->ReceiveText();
                s->Close();
                srv.waitFor("gone:SrvClient1", 500);
                aliveAfterWait = !client.isNull();
                handlerReturned = true;
            };
        });
        Peer peer(srv.port);
        peer.readLine();
        peer.write("bye\r\n");
        QTRY_VERIFY(handlerReturned);
        QVERIFY(srv.log.contains("gone:SrvClient1"));
        QVERIFY(aliveAfterWait);
        QTRY_VERIFY(client.isNull());
    }

    void exceptionsGoToOnBgException()
    {
        QStringList seen;
        bool keep = false;
        LineServer srv([&](TSocketClient *c) {
            c->OnDataAvailable = [](TAsyncSocket *s, int) {
                s->ReceiveText();
                throw std::runtime_error("bad command");
            };
            c->OnBgException = [&](TAsyncSocket *, const std::exception &e, bool &canClose) {
                seen << QString::fromLatin1(e.what());
                canClose = !keep;
            };
        });
        Peer a(srv.port);
        a.readLine();
        keep = true;
        a.write("x\r\n");
        QTRY_COMPARE(seen.size(), 1);
        QTest::qWait(50);
        QCOMPARE(srv.server.ClientCount(), 1);
        keep = false;
        a.write("y\r\n");
        QVERIFY(a.waitClosed());
        QCOMPARE(seen, (QStringList{"bad command", "bad command"}));
        QVERIFY(srv.waitFor("gone:SrvClient1"));
    }

    void unfinishedInputHasACeiling()
    {
        QString why;
        LineServer srv([&](TSocketClient *c) {
            c->setLineLimit(0);
            c->OnBgException = [&](TAsyncSocket *, const std::exception &e, bool &canClose) {
                why = QString::fromLatin1(e.what());
                canClose = false;   // closed anyway: the ceiling is not negotiable
            };
        });
        Peer peer(srv.port);
        peer.readLine();
        const QByteArray chunk(1024 * 1024, 'z');
        for (int i = 0; i < 5 && !peer.ended; ++i) {
            peer.write(chunk);
            peer.read([](const QByteArray &) { return false; }, 100);
        }
        QVERIFY(peer.waitClosed());
        QVERIFY(why.startsWith(QStringLiteral("Line too long")));
        QVERIFY(srv.waitFor("gone:SrvClient1"));
    }

    void largeSendDrainsWithOneDataSent()
    {
        TAsyncSocket server;
        TAsyncSocket receiver;
        server.OnSessionAvailable = [&](TAsyncSocket *s, int) { receiver.Dup(s->Accept()); };
        const quint16 port = listenLocal(server);

        TAsyncSocket sender;
        int sent = 0;
        bool connected = false;
        sender.OnSessionConnected = [&](TAsyncSocket *, int e) { connected = e == 0; };
        sender.OnDataSent = [&](TAsyncSocket *, int) { ++sent; };
        sender.setAddr(QStringLiteral("127.0.0.1"));
        sender.setPort(QString::number(port));
        const QString localPort = QString::number(closedPort());
        sender.setLocalPort(localPort);
        sender.Connect();
        QTRY_VERIFY(connected);
        QTRY_COMPARE(receiver.State(), ssConnected);
        QCOMPARE(sender.PeerPort(), QString::number(port));
        QCOMPARE(receiver.PeerPort(), localPort);

        // The reader holds back: the receiver stops taking bytes once it holds its ceiling, the
        // platform's buffers fill, and the rest waits in our queue. Send still returns at once.
        QByteArray got;
        bool reading = false;
        receiver.OnDataAvailable = [&](TAsyncSocket *s, int) {
            if (reading)
                got += s->ReceiveText();
        };
        QByteArray big(40 * 1024 * 1024, Qt::Uninitialized);
        for (qsizetype i = 0; i < big.size(); ++i)
            big[i] = char(i * 7 + (i >> 13));
        QElapsedTimer t;
        t.start();
        QCOMPARE(sender.Send(big), big.size());
        QVERIFY(t.elapsed() < 500);
        QVERIFY(sender.BufferedCount() > 0);
        QTest::qWait(200);
        QCOMPARE(sent, 0);
        QVERIFY(sender.BufferedCount() > 0);

        reading = true;
        got += receiver.ReceiveText();
        QTRY_COMPARE_WITH_TIMEOUT(got.size(), big.size(), 15000);
        QVERIFY(got == big);
        QTRY_COMPARE(sent, 1);
        QTest::qWait(50);
        QCOMPARE(sent, 1);

        // A small send leaves at once; its OnDataSent still comes after the call returns.
        QCOMPARE(sender.SendText("tail"), qsizetype(4));
        QCOMPARE(sent, 1);
        QTRY_COMPARE(sent, 2);
    }

    void abortEndsLookupQueueAndConnection()
    {
        TAsyncSocket server;
        TAsyncSocket receiver;
        receiver.OnDataAvailable = [](TAsyncSocket *, int) {};   // holds every byte back
        server.OnSessionAvailable = [&](TAsyncSocket *s, int) { receiver.Dup(s->Accept()); };
        const quint16 port = listenLocal(server);

        TAsyncSocket s;
        QStringList events;
        s.OnDnsLookupDone = [&](TAsyncSocket *, int e) { events << QStringLiteral("dns:%1").arg(e); };
        s.OnSessionClosed = [&](TAsyncSocket *sock, int e) {
            events << QStringLiteral("closed:%1 queued:%2").arg(e).arg(sock->BufferedCount());
        };
        s.setAddr(QStringLiteral("127.0.0.1"));
        s.setPort(QString::number(port));
        s.Connect();
        QTRY_COMPARE(s.State(), ssConnected);
        s.Send(QByteArray(8 * 1024 * 1024, 'q'));
        QVERIFY(s.BufferedCount() > 0);
        s.DnsLookup(QStringLiteral("localhost"));
        s.Abort();
        QCOMPARE(s.State(), ssClosed);
        QCOMPARE(events, (QStringList{"dns:10004", "closed:0 queued:0"}));
        s.Abort();
        s.Close();
        QTest::qWait(100);
        QCOMPARE(events.size(), 2);
    }

    void dnsLookup()
    {
        TAsyncSocket s;
        QList<int> done;
        s.OnDnsLookupDone = [&](TAsyncSocket *, int e) { done << e; };
        s.DnsLookup(QStringLiteral("192.168.1.20"));
        QCOMPARE(done, QList<int>{0});
        QCOMPARE(s.DnsResult(), QStringLiteral("192.168.1.20"));

        QCOMPARE(caught([&] { s.DnsLookup(QStringLiteral("  ")); }).message(), QStringLiteral("DNS lookup: invalid host name."));
        QCOMPARE(done.last(), 10022);

        done.clear();
        s.DnsLookup(QStringLiteral("localhost"));
        QVERIFY(done.isEmpty());
        QTRY_COMPARE(done.size(), 1);
        QCOMPARE(done.first(), 0);
        QVERIFY(s.DnsResultList().contains(QStringLiteral("127.0.0.1")));
        QCOMPARE(s.DnsResult(), QStringLiteral("127.0.0.1"));

        // A cancelled lookup reports 10004 once and never its late answer.
        done.clear();
        s.DnsLookup(QStringLiteral("localhost"));
        s.CancelLookup();
        QCOMPARE(done, QList<int>{10004});
        QTest::qWait(200);
        QCOMPARE(done, QList<int>{10004});
        QVERIFY(s.DnsResult().isEmpty());
    }

    void dualStackListenerReportsIPv4Peers()
    {
        TSocketServer server;
        try {
            listenLocal(server, QStringLiteral("::"));
        } catch (const ESocketError &) {
            QSKIP("no IPv6 on this machine");
        }
        QString peer;
        server.OnClientConnect = [&](TCustomSocketServer *, TSocketClient *c, int) { peer = c->PeerAddr(); };
        Peer p(server.BoundPort().toUShort());
        QTRY_COMPARE(peer, QStringLiteral("127.0.0.1"));
    }
};

QTEST_GUILESS_MAIN(TestSockets)
#include "tst_sockets.moc"
