// The SMTP client against a real server (aiosmtpd on 127.0.0.1, started here): what arrives
// is compared byte for byte, and the server checks the credentials itself, CRAM-MD5 included.
#include "SmtpFixture.h"

#include "mail/SmtpClient.h"
#include "platform/Clock.h"
#include "platform/TextCodec.h"
#include "support/WaitUntil.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtTest>

namespace {

const QString kLogin = QStringLiteral("ana@corkvane.test");
const QString kPassword = QString::fromUtf8("s3nha-çã");

QByteArray crlf(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &l : lines)
        out += l + "\r\n";
    return out;
}

} // namespace

class TestSmtpServer : public QObject
{
    Q_OBJECT

    SmtpFixture m_fixture;
    QList<QPair<TSmtpRequest, int>> m_done;

    // Runs one request to its end; -1 when it did not end in time.
    int run(TSmtpClient &c, void (TSmtpClientBase::*request)())
    {
        const qsizetype before = m_done.size();
        (c.*request)();
        if (!waitUntil([&] { return m_done.size() > before; }))
            return -1;
        return m_done.last().second;
    }

    void aim(TSmtpClient &c)
    {
        c.OnRequestDone = [this](TSmtpClientBase *, TSmtpRequest rq, quint16 e) { m_done.append({rq, e}); };
        c.setHost(QStringLiteral("127.0.0.1"));
        c.setPort(m_fixture.port());
        c.setSignOn(QStringLiteral("tester.local"));
    }

    // The files the server wrote for the mail its last 250 reply named.
    bool received(const TSmtpClient &c, QJsonObject &envelope, QByteArray &data)
    {
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("queued as (\\d+)")).match(c.LastResponse());
        if (!m.hasMatch())
            return false;
        return m_fixture.mail(m.captured(1).toInt(), envelope, data);
    }

private slots:
    void initTestCase()
    {
        const QString failed = m_fixture.start(kLogin, kPassword);
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
    }

    void plainMailArrivesAsSent()
    {
        MockClock clock(QDateTime(QDate(2026, 12, 7), QTime(18, 4, 5), Qt::OffsetFromUTC, -3 * 3600));
        TSmtpClient c;
        aim(c);
        c.setFromName(QStringLiteral(" ana@corkvane.test "));
        c.setRcptName({QStringLiteral("bia@corkvane.test"), QStringLiteral(" <caio@corkvane.test> ")});
        c.setHdrFrom(QStringLiteral("Ana <ana@corkvane.test>"));
        c.setHdrTo(QStringLiteral("bia@corkvane.test, caio@corkvane.test"));
        c.setHdrSubject(QString::fromUtf8("Lembrete: reunião às 9h"));
        const QString longLine(1100, QLatin1Char('z'));
        c.setMailMessage({QString::fromUtf8("Olá, não esqueça!"), QStringLiteral("."), QStringLiteral(".começa"),
                          QString(), QStringLiteral("\r\n\r\n"), longLine, QStringLiteral("fim")});
        QCOMPARE(run(c, &TSmtpClientBase::Open), 0);
        QCOMPARE(run(c, &TSmtpClientBase::Mail), 0);

        QJsonObject env;
        QByteArray data;
        QVERIFY(received(c, env, data));
        QCOMPARE(env.value("from").toString(), kLogin);
        QCOMPARE(env.value("rcpt").toArray(), (QJsonArray{"bia@corkvane.test", "caio@corkvane.test"}));
        QCOMPARE(env.value("helo").toString(), QStringLiteral("tester.local"));
        QVERIFY(env.value("login").isNull());
        const QByteArray expected = crlf({
            "From: Ana <ana@corkvane.test>", "To: bia@corkvane.test, caio@corkvane.test",
            "Subject: =?windows-1252?Q?Lembrete=3A_reuni=E3o_=E0s_9h?=", "Sender: Ana <ana@corkvane.test>",
            "Mime-Version: 1.0", "Content-Type: text/plain; charset=\"windows-1252\"", "Content-Transfer-Encoding: 8bit",
            "Date: Mon, 7 Dec 2026 18:04:05 -0300", "",
            "Ol\xe1, n\xe3o esque\xe7" "a!", ".", ".come\xe7" "a", "", "", "", "", QByteArray(1023, 'z'), "fim"});
        QCOMPARE(data, expected);

        QCOMPARE(run(c, &TSmtpClientBase::Quit), 0);
        QVERIFY(waitUntil([&] { return !c.Connected(); }));
    }

    void everyMechanismAuthenticates()
    {
        struct Case
        {
            TSmtpAuthType type;
            QString username, fromName;
        };
        // PLAIN authenticates the user name, also when the sender address is another one.
        const QList<Case> cases = {{smtpAuthPlain, kLogin, QString()},
                                   {smtpAuthPlain, kLogin, QStringLiteral("ana.silva@corkvane.test")},
                                   {smtpAuthLogin, kLogin, kLogin},
                                   {smtpAuthCramMD5, kLogin, kLogin}};
        for (const Case &k : cases) {
            TSmtpClient c;
            aim(c);
            c.setAuthType(k.type);
            c.setUsername(k.username);
            c.setPassword(kPassword);
            c.setFromName(k.fromName.isEmpty() ? kLogin : k.fromName);
            c.setRcptName({QStringLiteral("bia@corkvane.test")});
            c.setMailMessage({QStringLiteral("autenticado")});
            QCOMPARE(run(c, &TSmtpClientBase::Open), 0);
            QVERIFY(c.EsmtpSupported());
            QCOMPARE(c.LastResponse(), QStringLiteral("235 2.7.0 Authentication successful"));
            QCOMPARE(run(c, &TSmtpClientBase::Mail), 0);
            QJsonObject env;
            QByteArray data;
            QVERIFY(received(c, env, data));
            QCOMPARE(env.value("login").toString(), kLogin);
            QVERIFY(data.endsWith("\r\n\r\nautenticado\r\n"));
            QCOMPARE(run(c, &TSmtpClientBase::Quit), 0);
        }
    }

    void wrongPasswordIsRefused()
    {
        for (const TSmtpAuthType type : {smtpAuthPlain, smtpAuthLogin, smtpAuthCramMD5}) {
            TSmtpClient c;
            aim(c);
            c.setAuthType(type);
            c.setUsername(kLogin);
            c.setPassword(QStringLiteral("wrong"));
            QCOMPARE(run(c, &TSmtpClientBase::Open), 535);
            QCOMPARE(c.ErrorMessage(), QStringLiteral("535 5.7.8 Authentication credentials invalid"));
            QCOMPARE(c.RequestResult(), 535);
            QCOMPARE(c.State(), smtpReady);
            QCOMPARE(run(c, &TSmtpClientBase::Quit), 0);
        }
    }

    void attachmentsArriveIntact()
    {
        MockClock clock(QDateTime(QDate(2026, 12, 7), QTime(21, 30, 0), Qt::OffsetFromUTC, 0));
        QTemporaryDir dir;
        QByteArray binary;
        for (int i = 0; i < 1000; ++i)
            binary.append(char((i * 131 + 7) % 256));
        const QString binPath = dir.filePath(QStringLiteral("foto.bin"));
        const QString txtPath = dir.filePath(QStringLiteral("nota.txt"));
        {
            QFile b(binPath), t(txtPath);
            QVERIFY(b.open(QIODevice::WriteOnly) && t.open(QIODevice::WriteOnly));
            b.write(binary);
            t.write(QByteArray(100, 'n'));
        }
        TSmtpClient c;
        aim(c);
        c.setFromName(kLogin);
        c.setRcptName({QStringLiteral("bia@corkvane.test")});
        c.setHdrFrom(kLogin);
        c.setHdrTo(QStringLiteral("bia@corkvane.test"));
        c.setHdrSubject(QStringLiteral("Anexos"));
        c.setMailMessage({QStringLiteral("Segue.")});
        c.setEmailFiles({binPath, txtPath});
        QCOMPARE(run(c, &TSmtpClientBase::Open), 0);
        QCOMPARE(run(c, &TSmtpClientBase::Mail), 0);
        QJsonObject env;
        QByteArray data;
        QVERIFY(received(c, env, data));

        const QByteArray boundary = "= Multipart Boundary 1207262130";
        QList<QByteArray> lines = {
            "From: ana@corkvane.test", "To: bia@corkvane.test", "Subject: Anexos", "Sender: ana@corkvane.test",
            "Mime-Version: 1.0", "Content-Type: multipart/mixed;\r\n\tboundary=\"" + boundary + '"',
            "Content-Transfer-Encoding: 8bit", "Date: Mon, 7 Dec 2026 21:30:00 +0000", "",
            "This is a multipart MIME message.", "", "--" + boundary,
            "Content-Type: text/plain; charset=\"windows-1252\"", "Content-Transfer-Encoding: 8bit", "", "Segue."};
        const QList<QPair<QByteArray, QByteArray>> files = {{"foto.bin", binary}, {"nota.txt", QByteArray(100, 'n')}};
        for (const auto &[name, bytes] : files) {
            lines << "" << "--" + boundary << "Content-Type: application/octet-stream;" << "\tname=\"" + name + '"'
                  << "Content-Transfer-Encoding: base64" << "Content-Disposition: attachment;"
                  << "\tfilename=\"" + name + '"' << "";
            for (qsizetype at = 0; at < bytes.size(); at += 45)
                lines << bytes.mid(at, 45).toBase64();
        }
        lines << "" << "--" + boundary + "--";
        QCOMPARE(data, crlf(lines));

        // Decoded back from what arrived, the first attachment is the file.
        const qsizetype start = data.indexOf("filename=\"foto.bin\"\r\n\r\n") + 23;
        const qsizetype end = data.indexOf("\r\n\r\n--", start);
        QCOMPARE(QByteArray::fromBase64(data.mid(start, end - start).replace("\r\n", "")), binary);
        QCOMPARE(run(c, &TSmtpClientBase::Quit), 0);
    }
};

QTEST_GUILESS_MAIN(TestSmtpServer)
#include "tst_smtp_server.moc"
