// The SMTP client over STARTTLS and TLS from the first byte, against aiosmtpd on 127.0.0.1
// with certificates from a private authority made here. The server takes a password only
// over TLS and logs every byte it received, so a test can tell what reached it.
#include "FakeSmtpServer.h"
#include "mail/SmtpClient.h"
#include "support/PeerProcess.h"
#include "support/TestPki.h"
#include "support/WaitUntil.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kLogin = QStringLiteral("ana@corkvane.test");
const QString kPassword = QStringLiteral("app-senha-9f3k");

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

} // namespace

Q_DECLARE_METATYPE(TSmtpSecurity)
Q_DECLARE_METATYPE(TSmtpAuthType)

class TestSmtpTls : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TestPki> m_pki;
    PeerProcess m_smtp, m_broken;
    QList<QPair<TSmtpRequest, int>> m_done;

    int run(TSmtpClient &c, void (TSmtpClientBase::*request)(), int ms = 10000)
    {
        const qsizetype before = m_done.size();
        (c.*request)();
        if (!waitUntil([&] { return m_done.size() > before; }, ms))
            return -1;
        return m_done.last().second;
    }

    void aim(TSmtpClient &c, const QString &port, TSmtpSecurity security, TSmtpAuthType auth = smtpAuthPlain)
    {
        c.OnRequestDone = [this](TSmtpClientBase *, TSmtpRequest rq, quint16 e) { m_done.append({rq, e}); };
        c.setHost(QStringLiteral("localhost"));
        c.setPort(port);
        c.setSignOn(QStringLiteral("tester.local"));
        c.setSecurity(security);
        c.setTrustAnchorFile(m_pki->caFile());
        c.setAuthType(auth);
        c.setUsername(kLogin);
        c.setPassword(kPassword);
        c.setFromName(kLogin);
        c.setRcptName({QStringLiteral("bia@corkvane.test")});
        c.setMailMessage({QStringLiteral("protegido")});
    }

    QByteArray serverLog(const QString &listener)
    {
        QFile f(m_dir.filePath(listener + QStringLiteral(".log")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Nothing of the credentials reached the server, in any form the mechanisms send.
    static bool holdsCredential(const QByteArray &log)
    {
        return log.contains("AUTH") || log.contains(kPassword.toLatin1()) || log.contains(kLogin.toLatin1().toBase64()) ||
               log.contains(kPassword.toLatin1().toBase64());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_pki = std::make_unique<TestPki>(m_dir.path());
        const auto good = m_pki->server(QStringLiteral("localhost"), QStringLiteral("DNS:localhost"));
        const auto other = m_pki->server(QStringLiteral("other"), QStringLiteral("DNS:smtp.other.test"));
        const auto expired = m_pki->server(QStringLiteral("expired"), QStringLiteral("DNS:localhost"), -90, -2);
        const auto stranger = m_pki->server(QStringLiteral("stranger"), QStringLiteral("DNS:localhost"), -1, 30, true);
        auto listen = [](const QString &name, const QString &mode, const TestPki::Issued &c) {
            return QStringLiteral("--listen=%1:%2:%3:%4").arg(name, mode, c.cert, c.key);
        };
        QVERIFY2(m_smtp.start(QStringLiteral("tests/mail/smtp_fixture.py"),
                              {QStringLiteral("--out"), m_dir.path(), QStringLiteral("--user"), kLogin,
                               QStringLiteral("--password"), kPassword, listen("starttls", "starttls", good),
                               listen("tls", "tls", good), QStringLiteral("--listen=plain:plain"),
                               listen("other", "starttls", other), listen("expired", "tls", expired),
                               listen("stranger", "starttls", stranger)}),
                 "the test SMTP server (python3-aiosmtpd) did not start");
        QVERIFY2(m_broken.start(QStringLiteral("tests/net/tls_peer.py"),
                                {QStringLiteral("--out"), m_dir.path(), listen("garbage", "garbage", good),
                                 listen("halfway", "halfway", good), listen("stall", "stall", good),
                                 listen("spoil", "spoil", good)}),
                 "the TLS test peer did not start");
    }

    void cleanupTestCase()
    {
        m_smtp.stop();
        m_broken.stop();
    }

    void mailIsDeliveredOverTls_data()
    {
        QTest::addColumn<QString>("listener");
        QTest::addColumn<TSmtpSecurity>("security");
        QTest::addColumn<TSmtpAuthType>("auth");
        for (const auto &[name, security] : {std::pair{"starttls", smtpSecuritySTARTTLS}, std::pair{"tls", smtpSecurityTLS}}) {
            QTest::addRow("%s PLAIN", name) << QString::fromLatin1(name) << security << smtpAuthPlain;
            QTest::addRow("%s LOGIN", name) << QString::fromLatin1(name) << security << smtpAuthLogin;
            QTest::addRow("%s CRAM-MD5", name) << QString::fromLatin1(name) << security << smtpAuthCramMD5;
        }
    }
    void mailIsDeliveredOverTls()
    {
        QFETCH(QString, listener);
        QFETCH(TSmtpSecurity, security);
        QFETCH(TSmtpAuthType, auth);
        const qsizetype logBefore = serverLog(listener).size();
        TSmtpClient c;
        aim(c, m_smtp.port(listener), security, auth);
        QCOMPARE(run(c, &TSmtpClientBase::Open), 0);
        QVERIFY(c.TlsActive());
        QCOMPARE(c.SecurityFailure(), smtpSecurityOk);
        QVERIFY(c.securityFailureText().isEmpty());
        QVERIFY(c.ServerOffers(QStringLiteral("auth")));
        QVERIFY(!c.ServerOffers(QStringLiteral("STARTTLS")));   // the capabilities are those after TLS
        QCOMPARE(c.LastResponse(), QStringLiteral("235 2.7.0 Authentication successful"));
        QCOMPARE(run(c, &TSmtpClientBase::Mail), 0);
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("queued as (\\d+)")).match(c.LastResponse());
        QVERIFY(m.hasMatch());
        QFile envelope(m_dir.filePath(QStringLiteral("mail%1.envelope").arg(m.captured(1))));
        QVERIFY(envelope.open(QIODevice::ReadOnly));
        QCOMPARE(QJsonDocument::fromJson(envelope.readAll()).object().value("login").toString(), kLogin);
        QCOMPARE(run(c, &TSmtpClientBase::Quit), 0);

        const QByteArray log = serverLog(listener).mid(logBefore);
        if (security == smtpSecuritySTARTTLS)
            QVERIFY2(log.startsWith("EHLO tester.local\r\nSTARTTLS\r\nEHLO tester.local\r\nAUTH "), log.constData());
        else
            QVERIFY2(log.startsWith("EHLO tester.local\r\nAUTH "), log.constData());
    }

    void passwordOnlyAfterTls()
    {
        // The same server, reached in the clear, refuses the password...
        TSmtpClient plain;
        aim(plain, m_smtp.port("starttls"), smtpSecurityNone);
        QCOMPARE(run(plain, &TSmtpClientBase::Open), 538);
        QVERIFY(plain.ServerOffers(QStringLiteral("STARTTLS")));
        QVERIFY(!plain.ServerOffers(QStringLiteral("AUTH")));
        plain.Abort();
        // ...and with security chosen but no authentication, EHLO still greets it.
        const qsizetype logBefore = serverLog("starttls").size();
        TSmtpClient open;
        aim(open, m_smtp.port("starttls"), smtpSecuritySTARTTLS, smtpAuthNone);
        QCOMPARE(run(open, &TSmtpClientBase::Open), 0);
        QVERIFY(open.TlsActive());
        QVERIFY(open.EsmtpSupported());
        QCOMPARE(run(open, &TSmtpClientBase::Mail), 0);
        QCOMPARE(run(open, &TSmtpClientBase::Quit), 0);
        QVERIFY(serverLog("starttls").mid(logBefore).startsWith("EHLO tester.local\r\nSTARTTLS\r\nEHLO tester.local\r\nMAIL"));
    }

    void badCertificateStopsBeforeAuth_data()
    {
        QTest::addColumn<QString>("listener");
        QTest::addColumn<TSmtpSecurity>("security");
        QTest::addColumn<QString>("reason");
        QTest::newRow("another host's") << "other" << smtpSecuritySTARTTLS << "hostname mismatch";
        QTest::newRow("expired") << "expired" << smtpSecurityTLS << "certificate has expired";
        QTest::newRow("unknown authority") << "stranger" << smtpSecuritySTARTTLS << "unable to get local issuer certificate";
    }
    void badCertificateStopsBeforeAuth()
    {
        QFETCH(QString, listener);
        QFETCH(TSmtpSecurity, security);
        QFETCH(QString, reason);
        const qsizetype logBefore = serverLog(listener).size();
        TSmtpClient c;
        aim(c, m_smtp.port(listener), security, smtpAuthLogin);
        const int result = run(c, &TSmtpClientBase::Open);
        QVERIFY(result > 0);
        QCOMPARE(c.SecurityFailure(), smtpCertificateRejected);
        QCOMPARE(c.SecurityFailureReason(), reason);
        QCOMPARE(c.securityFailureText(), QString::fromUtf8("O certificado do servidor não é válido para localhost: ") + reason);
        QVERIFY2(c.ErrorMessage().contains(reason), qPrintable(c.ErrorMessage()));
        QVERIFY(waitUntil([&] { return !c.Connected(); }));
        QCOMPARE(c.State(), smtpReady);
        QVERIFY_THROWS_EXCEPTION(ESmtpError, c.Mail());
        QTest::qWait(200);
        const QByteArray log = serverLog(listener).mid(logBefore);
        QVERIFY2(!holdsCredential(log), log.constData());
        QCOMPARE(log, security == smtpSecuritySTARTTLS ? QByteArray("EHLO tester.local\r\nSTARTTLS\r\n") : QByteArray());
    }

    void startTlsNotOfferedSendsNothingMore()
    {
        const qsizetype logBefore = serverLog("plain").size();
        TSmtpClient c;
        aim(c, m_smtp.port("plain"), smtpSecuritySTARTTLS, smtpAuthPlain);
        QVERIFY(run(c, &TSmtpClientBase::Open) > 0);
        QCOMPARE(c.SecurityFailure(), smtpStartTlsNotOffered);
        QCOMPARE(c.ErrorMessage(), QStringLiteral("500 STARTTLS not offered by the server: nothing was sent in the clear."));
        QVERIFY(c.securityFailureText().contains(QLatin1String("localhost")));
        QVERIFY(c.securityFailureText().contains(QLatin1String("STARTTLS")));
        QVERIFY(waitUntil([&] { return !c.Connected(); }));
        QTest::qWait(200);
        QCOMPARE(serverLog("plain").mid(logBefore), QByteArray("EHLO tester.local\r\n"));
        // A later Open starts afresh: the failure of the last one is not kept.
        c.setSecurity(smtpSecurityNone);
        c.setAuthType(smtpAuthNone);
        QCOMPARE(run(c, &TSmtpClientBase::Open), 0);
        QCOMPARE(c.SecurityFailure(), smtpSecurityOk);
        QVERIFY(!c.TlsActive());
        QCOMPARE(run(c, &TSmtpClientBase::Quit), 0);
    }

    void brokenPeersFailCleanly_data()
    {
        QTest::addColumn<QString>("listener");
        QTest::newRow("plain text instead of records") << "garbage";
        QTest::newRow("torn down halfway") << "halfway";
        QTest::newRow("stops answering") << "stall";
        QTest::newRow("forged record after the handshake") << "spoil";
    }
    void brokenPeersFailCleanly()
    {
        QFETCH(QString, listener);
        const int descriptors = openDescriptors();
        {
            TSmtpClient c;
            aim(c, m_broken.port(listener), smtpSecurityTLS);
            if (listener == QLatin1String("stall")) {
                // The caller's time-out ends the wait; the request still ends exactly once.
                QCOMPARE(run(c, &TSmtpClientBase::Open, 700), -1);
                const qsizetype before = m_done.size();
                c.Abort();
                QVERIFY(waitUntil([&] { return m_done.size() > before; }));
                QCOMPARE(m_done.size(), before + 1);
                QCOMPARE(m_done.last().first, smtpOpen);
                QCOMPARE(m_done.last().second, 426);
                QCOMPARE(c.ErrorMessage(), QStringLiteral("426 Operation aborted."));
            } else {
                QCOMPARE(run(c, &TSmtpClientBase::Open), 500);
                QCOMPARE(c.SecurityFailure(), smtpTlsFailed);
                QVERIFY(!c.SecurityFailureReason().isEmpty());
                QVERIFY2(c.securityFailureText().startsWith(QString::fromUtf8("A conexão segura com localhost falhou: ")),
                         qPrintable(c.securityFailureText()));
            }
            QVERIFY(waitUntil([&] { return !c.Connected() && c.State() == smtpReady; }));
            // The greeting of the garbage peer was never taken for the server's.
            QVERIFY(!c.LastResponse().startsWith(QLatin1String("220")));
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(openDescriptors(), descriptors);
    }

    // Scripted answers to EHLO and STARTTLS: whatever the server says, nothing goes out in the
    // clear after the point where TLS should have begun.
    void startTlsNeverContinuesInTheClear_data()
    {
        QTest::addColumn<QByteArray>("ehloReply");
        QTest::addColumn<QByteArray>("startTlsReply");
        QTest::addColumn<int>("failure");
        QTest::addColumn<QByteArray>("plainSent");   // every plain-text line the server got
        const QByteArray offered = "250-fake.corkvane\r\n250-STARTTLS\r\n250 AUTH PLAIN\r\n";
        QTest::newRow("replies pipelined behind the 220")
            << offered << QByteArray("220 go ahead\r\n250-fake.corkvane\r\n250 AUTH PLAIN\r\n235 welcome\r\n")
            << int(smtpTlsFailed) << QByteArray("EHLO tester.local\r\nSTARTTLS\r\n");
        QTest::newRow("STARTTLS refused") << offered << QByteArray("454 4.7.0 TLS not available\r\n")
                                          << int(smtpStartTlsNotOffered)
                                          << QByteArray("EHLO tester.local\r\nSTARTTLS\r\n");
        QTest::newRow("EHLO refused: no HELO instead") << QByteArray("502 5.5.2 no EHLO here\r\n") << QByteArray()
                                                       << int(smtpStartTlsNotOffered)
                                                       << QByteArray("EHLO tester.local\r\n");
    }
    void startTlsNeverContinuesInTheClear()
    {
        QFETCH(QByteArray, ehloReply);
        QFETCH(QByteArray, startTlsReply);
        QFETCH(int, failure);
        QFETCH(QByteArray, plainSent);
        FakeSmtpServer server;
        server.onLine = [&](const QByteArray &line) {
            if (line.startsWith("EHLO"))
                server.send(ehloReply);
            else if (line == "STARTTLS")
                server.send(startTlsReply);
        };
        TSmtpClient c;
        aim(c, server.port(), smtpSecuritySTARTTLS);
        c.setHost(QStringLiteral("127.0.0.1"));
        const qsizetype before = m_done.size();
        c.Open();
        if (failure == smtpTlsFailed) {
            // The client went on with its TLS hello (a handshake record), which this server
            // cannot answer; the injected 235 was never taken for an answer.
            QVERIFY(waitUntil([&] { return server.raw.size() > plainSent.size(); }));
            QCOMPARE(server.raw.at(plainSent.size()), char(0x16));
            QCOMPARE(m_done.size(), before);
            server.drop();
        }
        QVERIFY(waitUntil([&] { return m_done.size() > before; }));
        QVERIFY(m_done.last().second > 0);
        QCOMPARE(int(c.SecurityFailure()), failure);
        QVERIFY(waitUntil([&] { return !c.Connected(); }));
        QVERIFY(server.raw.startsWith(plainSent));
        if (failure != smtpTlsFailed)
            QCOMPARE(server.raw, plainSent);
        QVERIFY(!server.raw.contains("AUTH") && !server.raw.contains("HELO "));
    }

    void storedSecurityValues()
    {
        const QList<QPair<int, TSmtpSecurity>> cases = {{0, smtpSecurityNone}, {1, smtpSecuritySTARTTLS},
                                                        {2, smtpSecurityTLS}, {3, smtpSecurityTLS},
                                                        {-1, smtpSecurityTLS}};
        for (const auto &[stored, expected] : cases)
            QCOMPARE(smtpSecurityFromStore(stored), expected);
    }
};

QTEST_GUILESS_MAIN(TestSmtpTls)
#include "tst_smtp_tls.moc"
