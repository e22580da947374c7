// TLS on the event-driven socket, against Python TLS peers on 127.0.0.1 whose certificates
// come from a private authority made here: bytes both ways, the certificate checks, and peers
// that break the handshake.
#include "net/AsyncSocket.h"
#include "support/PeerProcess.h"
#include "support/TestPki.h"
#include "support/WaitUntil.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

// One client socket with everything it reports recorded.
struct Client
{
    TAsyncSocket socket;
    int connected = -1, tlsDone = -1, closed = -1, sentEvents = 0;
    bool tlsDoneBeforeReturn = false;
    QByteArray received;
    QList<QByteArray> lines;
    QString description;   // as the socket told it when the handshake ended

    Client()
    {
        socket.OnSessionConnected = [this](TAsyncSocket *, int e) { connected = e; };
        socket.OnTlsDone = [this](TAsyncSocket *s, int e) {
            tlsDone = e;
            description = s->TlsEstablished() ? s->TlsDescription() : QStringLiteral("not established");
        };
        socket.OnSessionClosed = [this](TAsyncSocket *, int e) { closed = e; };
        socket.OnDataSent = [this](TAsyncSocket *, int) { ++sentEvents; };
        socket.OnDataAvailable = [this](TAsyncSocket *s, int) {
            const QByteArray bytes = s->ReceiveText();
            if (s->LineMode())
                lines << bytes;
            received += bytes;
        };
    }

    bool connectTo(const QString &port)
    {
        socket.setAddr(QStringLiteral("127.0.0.1"));
        socket.setPort(port);
        socket.Connect();
        return waitUntil([&] { return connected >= 0; }) && connected == 0;
    }

    void startTls(const QString &host, const QString &anchors)
    {
        socket.StartTls(TlsOptions{host, anchors});
        tlsDoneBeforeReturn = tlsDone >= 0;
    }
};

} // namespace

class TestTls : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TestPki> m_pki;
    PeerProcess m_peer;

    QByteArray peerLog(const QString &name)
    {
        QFile f(m_dir.filePath(name + QStringLiteral(".log")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pki = std::make_unique<TestPki>(m_dir.path());
        const auto good = m_pki->server(QStringLiteral("localhost"), QStringLiteral("DNS:localhost"));
        const auto byAddress = m_pki->server(QStringLiteral("address"), QStringLiteral("IP:127.0.0.1"));
        const auto other = m_pki->server(QStringLiteral("other"), QStringLiteral("DNS:mail.other.test"));
        const auto expired = m_pki->server(QStringLiteral("expired"), QStringLiteral("DNS:localhost"), -60, -1);
        const auto stranger = m_pki->server(QStringLiteral("stranger"), QStringLiteral("DNS:localhost"), -1, 30, true);
        auto listen = [](const QString &name, const QString &mode, const TestPki::Issued &c) {
            return QStringLiteral("--listen=%1:%2:%3:%4").arg(name, mode, c.cert, c.key);
        };
        QVERIFY2(m_peer.start(QStringLiteral("tests/net/tls_peer.py"),
                              {QStringLiteral("--out"), m_dir.path(), listen("good", "echo", good),
                               listen("address", "echo", byAddress), listen("other", "echo", other),
                               listen("expired", "echo", expired), listen("stranger", "echo", stranger),
                               listen("stall", "stall", good), listen("garbage", "garbage", good),
                               listen("halfway", "halfway", good), listen("spoil", "spoil", good)}),
                 "the TLS test peer (/usr/bin/python3) did not start");
    }

    void cleanupTestCase() { m_peer.stop(); }

    void bytesTravelBothWays_data()
    {
        QTest::addColumn<bool>("lineMode");
        QTest::addColumn<int>("size");
        QTest::newRow("raw, larger than any buffer") << false << 700 * 1024;
        QTest::newRow("lines") << true << 0;
    }
    void bytesTravelBothWays()
    {
        QFETCH(bool, lineMode);
        QFETCH(int, size);
        Client c;
        c.socket.setLineMode(lineMode);
        QVERIFY(c.connectTo(m_peer.port("good")));
        c.startTls(QStringLiteral("localhost"), m_pki->caFile());
        QVERIFY(!c.tlsDoneBeforeReturn);
        // Sent before the handshake ends: waits for it, then goes out encrypted.
        QByteArray payload = "primeira linha\r\nsegunda\r\n";
        for (int i = 0; i < size; ++i)
            payload += char('a' + QRandomGenerator::global()->bounded(26));
        if (size)
            payload += "\r\n";
        payload += "BYE\r\n";
        QCOMPARE(c.socket.Send(payload), payload.size());
        QVERIFY(waitUntil([&] { return c.tlsDone >= 0; }));
        QCOMPARE(c.tlsDone, 0);
        QVERIFY2(c.description.startsWith(QLatin1String("TLSv1.")), qPrintable(c.description));
        // The peer answers BYE with close-notify: every byte first, then a clean end.
        QVERIFY(waitUntil([&] { return c.closed >= 0; }, 20000));
        QCOMPARE(c.closed, 0);
        QCOMPARE(c.received.size(), payload.size());
        QVERIFY(c.received == payload);
        if (lineMode)
            QCOMPARE(c.lines, (QList<QByteArray>{"primeira linha\r\n", "segunda\r\n", "BYE\r\n"}));
        QVERIFY(c.sentEvents >= 1);
        QVERIFY(c.socket.TlsErrorText().isEmpty());
        // On the wire the peer saw only TLS records, and decrypted exactly what was sent.
        QVERIFY(peerLog("good").contains(payload));
    }

    void closeSendsCloseNotify()
    {
        Client c;
        QVERIFY(c.connectTo(m_peer.port("good")));
        c.startTls(QStringLiteral("localhost"), m_pki->caFile());
        QVERIFY(waitUntil([&] { return c.tlsDone == 0; }));
        c.socket.Send(QByteArray("ola\r\n"));
        QVERIFY(waitUntil([&] { return c.received == "ola\r\n"; }));
        c.socket.Close();
        QCOMPARE(c.closed, 0);
        QCOMPARE(c.socket.State(), ssClosed);
        QVERIFY_THROWS_EXCEPTION(ESocketError, c.socket.Send(QByteArray("x")));
    }

    void certificateIsChecked_data()
    {
        QTest::addColumn<QString>("listener");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("anchors");   // "ca": the private authority, "env": via SSL_CERT_FILE
        QTest::addColumn<QString>("reason");    // empty: accepted
        QTest::newRow("name matches") << "good" << "localhost" << "ca" << "";
        QTest::newRow("name in capitals") << "good" << "LOCALHOST" << "ca" << "";
        QTest::newRow("address matches") << "address" << "127.0.0.1" << "ca" << "";
        QTest::newRow("system store from SSL_CERT_FILE") << "good" << "localhost" << "env" << "";
        QTest::newRow("another host's certificate") << "other" << "localhost" << "ca" << "hostname mismatch";
        QTest::newRow("a name's certificate for an address") << "good" << "127.0.0.1" << "ca" << "IP address mismatch";
        QTest::newRow("expired") << "expired" << "localhost" << "ca" << "certificate has expired";
        QTest::newRow("unknown authority") << "stranger" << "localhost" << "ca" << "unable to get local issuer";
        QTest::newRow("private authority not trusted") << "good" << "localhost" << "" << "unable to get local issuer";
    }
    void certificateIsChecked()
    {
        QFETCH(QString, listener);
        QFETCH(QString, host);
        QFETCH(QString, anchors);
        QFETCH(QString, reason);
        const QByteArray saved = qgetenv("SSL_CERT_FILE");
        qputenv("SSL_CERT_FILE", anchors == QLatin1String("env") ? QFile::encodeName(m_pki->caFile())
                                                                 : QByteArray("/nonexistent/trust.pem"));
        const qsizetype logBefore = peerLog(listener).size();
        Client c;
        QVERIFY(c.connectTo(m_peer.port(listener)));
        c.startTls(host, anchors == QLatin1String("ca") ? m_pki->caFile() : QString());
        const QByteArray secret = "AUTH PLAIN c2VncmVkbw==\r\n";
        c.socket.Send(secret);
        const bool ended = waitUntil([&] { return c.tlsDone >= 0; });
        qputenv("SSL_CERT_FILE", saved);
        QVERIFY(ended);
        if (reason.isEmpty()) {
            QCOMPARE(c.tlsDone, 0);
            QVERIFY(waitUntil([&] { return c.received == secret; }));
            return;
        }
        QCOMPARE(c.tlsDone, SocketErrors::TlsCertificateRejected);
        QVERIFY(c.socket.TlsCertificateFailed());
        QVERIFY2(c.socket.TlsErrorText().contains(reason, Qt::CaseInsensitive), qPrintable(c.socket.TlsErrorText()));
        QVERIFY(waitUntil([&] { return c.closed >= 0; }));
        QCOMPARE(c.closed, SocketErrors::TlsCertificateRejected);
        QCOMPARE(c.socket.State(), ssClosed);
        // What waited for the handshake never left.
        QTest::qWait(100);
        QCOMPARE(peerLog(listener).size(), logBefore);
        QVERIFY(c.received.isEmpty());
    }

    void brokenPeersFailCleanly_data()
    {
        QTest::addColumn<QString>("listener");
        QTest::addColumn<QString>("reason");
        QTest::newRow("plain text instead of records") << "garbage" << "";
        QTest::newRow("torn down halfway") << "halfway" << "closed the connection during the TLS handshake";
        QTest::newRow("stops answering") << "stall" << "";
    }
    void brokenPeersFailCleanly()
    {
        QFETCH(QString, listener);
        QFETCH(QString, reason);
        const int descriptors = openDescriptors();
        {
            Client c;
            QVERIFY(c.connectTo(m_peer.port(listener)));
            c.startTls(QStringLiteral("localhost"), m_pki->caFile());
            if (listener == QLatin1String("stall")) {
                // No time-out of its own: the caller's bounded wait ends it with Abort.
                QVERIFY(!waitUntil([&] { return c.tlsDone >= 0 || c.closed >= 0; }, 700));
                c.socket.Abort();
                QCOMPARE(c.closed, 0);
                QCOMPARE(c.tlsDone, -1);
            } else {
                QVERIFY(waitUntil([&] { return c.closed >= 0; }));
                QCOMPARE(c.tlsDone, SocketErrors::TlsFailed);
                QCOMPARE(c.closed, SocketErrors::TlsFailed);
                QVERIFY(!c.socket.TlsCertificateFailed());
                QVERIFY(!c.socket.TlsErrorText().isEmpty());
                QVERIFY2(c.socket.TlsErrorText().contains(reason), qPrintable(c.socket.TlsErrorText()));
            }
            QVERIFY(c.received.isEmpty());
            QCOMPARE(c.socket.State(), ssClosed);
            // The loop still runs and the socket can be used again.
            int ticks = 0;
            QTimer::singleShot(0, [&] { ++ticks; });
            QVERIFY(waitUntil([&] { return ticks == 1; }));
            c.connected = c.tlsDone = -1;
            QVERIFY(c.connectTo(m_peer.port("good")));
            c.startTls(QStringLiteral("localhost"), m_pki->caFile());
            QVERIFY(waitUntil([&] { return c.tlsDone == 0; }));
            c.socket.Close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(openDescriptors(), descriptors);
    }

    void forgedRecordEndsTheSession()
    {
        Client c;
        QVERIFY(c.connectTo(m_peer.port("spoil")));
        c.startTls(QStringLiteral("localhost"), m_pki->caFile());
        QVERIFY(waitUntil([&] { return c.closed >= 0; }));
        QCOMPARE(c.tlsDone, 0);
        QCOMPARE(c.closed, SocketErrors::TlsFailed);
        QVERIFY(!c.socket.TlsErrorText().isEmpty());
        QVERIFY(!c.socket.TlsCertificateFailed());
        // Not one byte of the record that failed to authenticate reached the reader.
        QVERIFY(c.received.isEmpty());
    }

    void misuseIsRefused()
    {
        Client c;
        QVERIFY_THROWS_EXCEPTION(ESocketError, c.startTls(QStringLiteral("localhost"), QString()));
        QVERIFY(c.connectTo(m_peer.port("good")));
        // An anchor file that cannot be read fails the handshake, reported later, as an event.
        c.startTls(QStringLiteral("localhost"), m_dir.filePath(QStringLiteral("missing.pem")));
        QVERIFY(!c.tlsDoneBeforeReturn);
        QVERIFY_THROWS_EXCEPTION(ESocketError, c.startTls(QStringLiteral("localhost"), QString()));
        QVERIFY(waitUntil([&] { return c.closed >= 0; }));
        QCOMPARE(c.tlsDone, SocketErrors::TlsFailed);
        QVERIFY2(c.socket.TlsErrorText().contains(QLatin1String("missing.pem")), qPrintable(c.socket.TlsErrorText()));
        QCOMPARE(SocketErrors::text(SocketErrors::TlsCertificateRejected), QStringLiteral("Server certificate not valid"));
    }
};

QTEST_GUILESS_MAIN(TestTls)
#include "tst_tls.moc"
