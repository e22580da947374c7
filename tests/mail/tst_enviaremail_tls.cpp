// The send-by-e-mail dialog with the connection security of the "Rede" page, against aiosmtpd
// on 127.0.0.1 speaking STARTTLS or TLS with certificates from a private authority made here.
// The server takes a password only over TLS and logs every byte it received.
#include "mail/EnviarEmail.h"
#include "platform/Dialogs.h"
#include "support/PeerProcess.h"
#include "support/TestPki.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kLogin = QStringLiteral("ana@corkvane.test");
const QString kPassword = QStringLiteral("app-senha-9f3k");
const QString kFailure = QString::fromUtf8("O e-mail não foi enviado! Verifique as configurações de rede.");

} // namespace

class TestEnviarEmailTls : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TestPki> m_pki;
    PeerProcess m_smtp;

    QByteArray serverLog(const QString &listener) const
    {
        QFile f(m_dir.filePath(listener + QStringLiteral(".log")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    int mailCount() const
    {
        return int(QDir(m_dir.path()).entryList({QStringLiteral("mail*.envelope")}, QDir::Files).size());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        Dialogs::setTestMode(true);
        m_pki = std::make_unique<TestPki>(m_dir.path());
        const auto good = m_pki->server(QStringLiteral("localhost"), QStringLiteral("DNS:localhost"));
        const auto other = m_pki->server(QStringLiteral("other"), QStringLiteral("DNS:smtp.other.test"));
        auto listen = [](const QString &name, const QString &mode, const TestPki::Issued &c) {
            return QStringLiteral("--listen=%1:%2:%3:%4").arg(name, mode, c.cert, c.key);
        };
        QVERIFY2(m_smtp.start(QStringLiteral("tests/mail/smtp_fixture.py"),
                              {QStringLiteral("--out"), m_dir.path(), QStringLiteral("--user"), kLogin,
                               QStringLiteral("--password"), kPassword, listen("starttls", "starttls", good),
                               listen("tls", "tls", good), QStringLiteral("--listen=plain:plain"),
                               listen("other", "starttls", other)}),
                 "the test SMTP server (python3-aiosmtpd) did not start");
    }

    void cleanupTestCase() { m_smtp.stop(); }

    void theStoredSecurityIsUsedAtEachSend_data()
    {
        QTest::addColumn<QString>("listener");
        QTest::addColumn<int>("security");
        QTest::addColumn<QString>("box");       // "" for the success box
        QTest::addColumn<QByteArray>("logStart");
        QTest::newRow("STARTTLS, PLAIN") << "starttls" << 1 << QString()
                                         << QByteArray("EHLO tester.local\r\nSTARTTLS\r\nEHLO tester.local\r\nAUTH PLAIN");
        QTest::newRow("SSL/TLS, PLAIN") << "tls" << 2 << QString() << QByteArray("EHLO tester.local\r\nAUTH PLAIN");
        QTest::newRow("another host's certificate")
            << "other" << 1 << QString::fromUtf8("O certificado do servidor não é válido para localhost: hostname mismatch")
            << QByteArray("EHLO tester.local\r\nSTARTTLS\r\n");
        QTest::newRow("STARTTLS not offered")
            << "plain" << 1
            << QString::fromUtf8("O servidor localhost não oferece conexão segura (STARTTLS); nada foi enviado.")
            << QByteArray("EHLO tester.local\r\n");
        // No security chosen: the plain protocol of old, nothing of TLS is tried.
        QTest::newRow("none") << "plain" << 0 << QString() << QByteArray("EHLO tester.local\r\nAUTH PLAIN");
    }
    void theStoredSecurityIsUsedAtEachSend()
    {
        QFETCH(QString, listener);
        QFETCH(int, security);
        QFETCH(QString, box);
        QFETCH(QByteArray, logStart);
        AppSettings settings;
        NetworkSettings &n = settings.recRede;
        n.SMTPServer = QStringLiteral("localhost");
        n.SMTPPort = m_smtp.port(listener);
        n.SMTPSecurity = security;
        n.Authtype = 1;
        n.Username = kLogin;
        n.Password = kPassword;
        n.Email = kLogin;
        TfrmEnviarEmail dialog(&settings);
        dialog.smtpClient()->setSignOn(QStringLiteral("tester.local"));
        dialog.setTrustAnchorFile(m_pki->caFile());
        dialog.setTimeOutInterval(10000);
        const qsizetype logBefore = serverLog(listener).size();
        const int mailsBefore = mailCount();

        dialog.prepare(QStringLiteral("Compras"), QStringLiteral("leite"));
        dialog.show();
        dialog.findChild<QLineEdit *>(QStringLiteral("txtPara"))->setText(QStringLiteral("bia@corkvane.test"));
        Dialogs::clearShownMessages();
        dialog.findChild<QPushButton *>(QStringLiteral("cmdEnviar"))->click();

        const auto shown = Dialogs::shownMessages();
        QCOMPARE(shown.size(), 1);
        if (box.isEmpty()) {
            QCOMPARE(shown.at(0).text, QStringLiteral("O e-mail foi enviado com sucesso!"));
            QCOMPARE(mailCount(), mailsBefore + 1);
            QFile envelope(m_dir.filePath(QStringLiteral("mail%1.envelope").arg(mailsBefore + 1)));
            QVERIFY(envelope.open(QIODevice::ReadOnly));
            if (security != 0)   // this server takes a password only over TLS
                QCOMPARE(QJsonDocument::fromJson(envelope.readAll()).object().value("login").toString(),
                         kLogin);
        } else {
            QCOMPARE(shown.at(0).title + QLatin1Char('|') + shown.at(0).text, QStringLiteral("Erro|") + box);
            QCOMPARE(mailCount(), mailsBefore);
        }
        QTest::qWait(200);
        const QByteArray log = serverLog(listener).mid(logBefore);
        QVERIFY2(log.startsWith(logStart), log.constData());
        if (!box.isEmpty()) {
            QVERIFY2(!log.contains("AUTH") && !log.contains(kPassword.toLatin1()), log.constData());
            QVERIFY2(!log.contains(QByteArray(kLogin.toLatin1() + '\0' + kPassword.toLatin1()).toBase64()), log.constData());
        }
    }

    // A refused certificate on one send says nothing about the next: the generic box returns.
    void aSecurityFailureIsNotCarriedOver()
    {
        AppSettings settings;
        NetworkSettings &n = settings.recRede;
        n.SMTPServer = QStringLiteral("localhost");
        n.SMTPPort = m_smtp.port(QStringLiteral("other"));
        n.SMTPSecurity = 1;
        n.Email = kLogin;
        TfrmEnviarEmail dialog(&settings);
        dialog.setTrustAnchorFile(m_pki->caFile());
        auto sendOnce = [&] {
            dialog.prepare(QStringLiteral("Compras"), QStringLiteral("leite"));
            dialog.show();
            dialog.findChild<QLineEdit *>(QStringLiteral("txtPara"))->setText(QStringLiteral("bia@corkvane.test"));
            Dialogs::clearShownMessages();
            dialog.findChild<QPushButton *>(QStringLiteral("cmdEnviar"))->click();
            return Dialogs::shownMessages().isEmpty() ? QString() : Dialogs::shownMessages().last().text;
        };
        QVERIFY(sendOnce().contains(QLatin1String("hostname mismatch")));
        // Then a port where nothing listens.
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        n.SMTPPort = QString::number(probe.serverPort());
        probe.close();
        n.SMTPSecurity = 0;
        // The refused connection is named, the certificate of the send before is not.
        const QString failure = sendOnce();
        QVERIFY2(failure.startsWith(kFailure + QStringLiteral("\n\n500 ")) && !failure.contains(QLatin1String("mismatch")),
                 qPrintable(failure));
    }
};

QTEST_MAIN(TestEnviarEmailTls)
#include "tst_enviaremail_tls.moc"
