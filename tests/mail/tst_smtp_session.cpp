// The SMTP client against a scripted server: the replies and misbehaviour a real server will
// not produce on demand, and the exact lines the client puts on the wire.
#include "FakeSmtpServer.h"

#include "mail/SmtpAuth.h"
#include "mail/SmtpClient.h"
#include "platform/Clock.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Trace
{
    QList<QPair<TSmtpRequest, int>> done;
    QStringList display, commands, responses;
    QList<int> closed;

    void attach(TSmtpClientBase &c)
    {
        c.OnRequestDone = [this](TSmtpClientBase *, TSmtpRequest rq, quint16 error) { done.append({rq, error}); };
        c.OnDisplay = [this](TSmtpClientBase *, const QString &m) { display << m; };
        c.OnCommand = [this](TSmtpClientBase *, const QString &m) { commands << m; };
        c.OnResponse = [this](TSmtpClientBase *, const QString &m) { responses << m; };
        c.OnSessionClosed = [this](TSmtpClientBase *, int e) { closed << e; };
    }
    // Waits for the next request-done and returns it; a second one for the same request
    // would show up in `done` as well.
    QPair<TSmtpRequest, int> next(int ms = 5000)
    {
        const qsizetype before = consumed;
        if (!waitUntil([&] { return done.size() > before; }, ms))
            return {TSmtpRequest(-1), -1};
        return done.at(consumed++);
    }
    qsizetype consumed = 0;
};

void aim(TSmtpClientBase &c, FakeSmtpServer &s)
{
    c.setHost(QStringLiteral("127.0.0.1"));
    c.setPort(s.port());
    c.setSignOn(QStringLiteral("tester.local"));
}

using Done = QPair<TSmtpRequest, int>;

// The AUTH lines as the owner is shown them: the mechanism names, never the credentials.
QStringList maskedAuthLines(const QList<QByteArray> &sent)
{
    QStringList out;
    for (const QByteArray &l : sent) {
        if (l.startsWith("AUTH PLAIN "))
            out << QStringLiteral("AUTH PLAIN ****");
        else if (l.startsWith("AUTH "))
            out << QString::fromLatin1(l);
        else
            out << QStringLiteral("****");
    }
    return out;
}

QString raised(const std::function<void()> &call)
{
    try {
        call();
    } catch (const ESmtpError &e) {
        return e.message();
    }
    return {};
}

} // namespace

class TestSmtpSession : public QObject
{
    Q_OBJECT
private slots:
    void openWithHeloReadsSplitMultiLineReplies()
    {
        FakeSmtpServer s;
        s.greeting = "220-fake.corkvane\r\n";
        s.onLine = [&](const QByteArray &line) {
            if (line.startsWith("HELO")) {
                s.send("25");
                s.sendLater("0-one\r\n250 t", 30);
                s.sendLater("wo\r\n", 60);
            } else
                s.standardReply(line);
        };
        TSmtpClient c;
        Trace t;
        t.attach(c);
        aim(c, s);
        QList<TSmtpState> states;
        c.OnStateChange = [&](TSmtpClientBase *sender, TSmtpState) { states << sender->State(); };
        s.listen();
        QTimer::singleShot(40, &s, [&] { s.send("220 ready\r\n"); });
        c.Open();
        QVERIFY(t.done.isEmpty()); // never from inside the call
        QCOMPARE(t.next(), Done(smtpOpen, 0));
        QCOMPARE(s.lines, (QList<QByteArray>{"HELO tester.local"}));
        QCOMPARE(t.responses, (QStringList{"220-fake.corkvane", "220 ready", "250-one", "250 two"}));
        QVERIFY(t.display.contains("< 250-one") && t.display.contains("< 250 two"));
        QCOMPARE(t.commands, (QStringList{"HELO tester.local"}));
        QCOMPARE(c.LastResponse(), QStringLiteral("250 two"));
        QCOMPARE(c.State(), smtpReady);
        QCOMPARE(states, (QList<TSmtpState>{smtpDnsLookup, smtpConnecting, smtpWaitingBanner, smtpConnected,
                                            smtpInternalReady, smtpWaitingResponse, smtpInternalReady, smtpReady}));
        QVERIFY(c.Connected());

        c.Quit();
        QCOMPARE(t.next(), Done(smtpQuit, 0));
        QVERIFY(waitUntil([&] { return !c.Connected(); }));
        QCOMPARE(t.closed.size(), 1);
        QCOMPARE(t.done.size(), 2);
    }

    void refusedGreetingClosesTheConnection()
    {
        FakeSmtpServer s;
        s.greeting = "554 no service here\r\n";
        TSmtpClient c;
        Trace t;
        t.attach(c);
        aim(c, s);
        c.Connect();
        QCOMPARE(t.next(), Done(smtpConnect, 10004));
        QCOMPARE(c.LastResponse(), QStringLiteral("554 no service here"));
        QCOMPARE(c.RequestResult(), 554);
        QVERIFY(!c.Connected());

        FakeSmtpServer s2;
        s2.greeting = s.greeting;
        aim(c, s2);
        c.Open();
        QCOMPARE(t.next(), Done(smtpOpen, 554));
        QCOMPARE(c.ErrorMessage(), QStringLiteral("554 no service here"));
        QVERIFY(s2.lines.isEmpty());
    }

    void refusedEhloFallsBackToHeloAndDropsAuth()
    {
        for (const QByteArray &heloReply : {QByteArray("250 hi\r\n"), QByteArray("501 5.5.4 bad name\r\n")}) {
            FakeSmtpServer s;
            s.onLine = [&](const QByteArray &line) {
                if (line.startsWith("EHLO"))
                    s.send("502 5.5.1 EHLO unrecognized\r\n");
                else if (line.startsWith("HELO"))
                    s.send(heloReply);
                else
                    s.standardReply(line);
            };
            TSmtpClient c;
            Trace t;
            t.attach(c);
            aim(c, s);
            c.setAuthType(smtpAuthPlain);
            c.setUsername(QStringLiteral("ana"));
            c.Open();
            const int expected = heloReply.startsWith("250") ? 0 : 501;
            QCOMPARE(t.next(), Done(smtpOpen, expected));
            QCOMPARE(s.lines, (QList<QByteArray>{"EHLO tester.local", "HELO tester.local"}));
            QCOMPARE(c.ErrorMessage(), QStringLiteral("502 5.5.1 EHLO unrecognized"));
            QVERIFY(!c.EsmtpSupported());
        }
    }

    void authExchangesOnTheWire()
    {
        struct Case
        {
            TSmtpAuthType type;
            QString fromName;
            QList<QByteArray> replies; // answers to the AUTH lines, in order
            int result;
            QList<QByteArray> sent;    // the AUTH lines expected
            QString lastResponse;
        };
        const QList<Case> cases = {
            // PLAIN authenticates the user name whatever the sender address is.
            {smtpAuthPlain, QStringLiteral("ana@x.org"), {"235 ok\r\n"}, 0,
             {"AUTH PLAIN " + QByteArray("\0ana\0pw", 7).toBase64()}, QStringLiteral("235 ok")},
            {smtpAuthPlain, QString(), {"535 5.7.8 bad\r\n"}, 535, {"AUTH PLAIN " + QByteArray("\0ana\0pw", 7).toBase64()},
             QStringLiteral("535 5.7.8 bad")},
            // The prompts are not read: user name first, password second, whatever they say.
            {smtpAuthLogin, QString(), {"334 UGFzc3dvcmQ6\r\n", "334 VXNlcm5hbWU6\r\n", "235 ok\r\n"}, 0,
             {"AUTH LOGIN", "YW5h", "cHc="}, QStringLiteral("235 ok")},
            {smtpAuthLogin, QString(), {"504 not here\r\n"}, 504, {"AUTH LOGIN"}, QStringLiteral("504 not here")},
            {smtpAuthLogin, QString(), {"334 VXNlcm5hbWU6\r\n", "535 no such user\r\n"}, 535, {"AUTH LOGIN", "YW5h"},
             QStringLiteral("535 no such user")},
            {smtpAuthCramMD5, QString(), {"334 PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+\r\n", "235 ok\r\n"}, 0,
             {"AUTH CRAM-MD5", SmtpAuth::cramMd5Answer("ana", "pw", "<1896.697170952@postoffice.reston.mci.net>")},
             QStringLiteral("235 ok")},
            {smtpAuthCramMD5, QString(), {"334\r\n"}, 500, {"AUTH CRAM-MD5"},
             QStringLiteral("500 Malformed MD5 Challege: 334")},
        };
        for (const Case &k : cases) {
            FakeSmtpServer s;
            qsizetype next = 0;
            s.onLine = [&](const QByteArray &line) {
                if (line.startsWith("EHLO"))
                    s.standardReply(line);
                else if (next < k.replies.size())
                    s.send(k.replies.at(next++));
            };
            TSmtpClient c;
            Trace t;
            t.attach(c);
            aim(c, s);
            c.setAuthType(k.type);
            c.setUsername(QStringLiteral("ana"));
            c.setPassword(QStringLiteral("pw"));
            c.setFromName(k.fromName);
            c.Open();
            QCOMPARE(t.next(), Done(smtpOpen, k.result));
            QCOMPARE(s.lines.mid(1), k.sent);
            QCOMPARE(c.LastResponse(), k.lastResponse);
            QCOMPARE(c.RequestResult(), k.result);
            // Every AUTH line was shown to the owner before it went out, its credentials masked.
            QCOMPARE(t.commands.mid(1), maskedAuthLines(k.sent));
            for (const QByteArray &l : k.sent) {
                const QString secret = QString::fromLatin1(l.mid(l.lastIndexOf(' ') + 1));
                if (secret != QLatin1String("LOGIN") && secret != QLatin1String("CRAM-MD5"))
                    for (const QString &shown : t.display + t.commands)
                        QVERIFY2(!shown.contains(secret), qPrintable(shown));
            }
        }
    }

    void authNeedsEhloAndAMechanism()
    {
        FakeSmtpServer s;
        TSmtpClient c;
        Trace t;
        t.attach(c);
        aim(c, s);
        c.setAuthType(smtpAuthLogin);
        c.Connect();
        QCOMPARE(t.next(), Done(smtpConnect, 0));
        c.Helo();
        QCOMPARE(t.next(), Done(smtpHelo, 0));
        c.Auth();
        QCOMPARE(t.next(), Done(smtpAuth, 500));
        QCOMPARE(c.LastResponse(), QStringLiteral("500 ESMTP not supported."));
        c.Ehlo();
        QCOMPARE(t.next(), Done(smtpEhlo, 0));
        QVERIFY(c.EsmtpSupported());
        c.setAuthType(smtpAuthNone);
        c.Auth();
        QCOMPARE(t.next(), Done(smtpAuth, 500));
        QCOMPARE(c.LastResponse(), QStringLiteral("500 No Authorization Type Selected."));
        QCOMPARE(c.StatusCode(), 500);
        // Plain requests keep the first failure text.
        QCOMPARE(c.ErrorMessage(), QStringLiteral("500 ESMTP not supported."));
        QCOMPARE(s.lines, (QList<QByteArray>{"HELO tester.local", "EHLO tester.local"}));
    }

    void everyRecipientIsTriedAndTheLastDecides()
    {
        for (const QByteArray &refused : {QByteArray("b@y"), QByteArray("c@z")}) {
            FakeSmtpServer s;
            s.onLine = [&](const QByteArray &line) {
                if (line.startsWith("RCPT") && line.contains(refused))
                    s.send("550 5.1.1 no such user\r\n");
                else
                    s.standardReply(line);
            };
            TSmtpClient c;
            Trace t;
            t.attach(c);
            aim(c, s);
            c.setFromName(QStringLiteral("  ana@x.org "));
            c.setRcptName({QStringLiteral(" a@x "), QStringLiteral("Bia <b@y>"), QStringLiteral("c@z")});
            c.setMailMessage({QStringLiteral("hello")});
            c.Open();
            QCOMPARE(t.next(), Done(smtpOpen, 0));
            c.Mail();
            const bool lastRefused = refused == "c@z";
            QCOMPARE(t.next(), Done(smtpMail, lastRefused ? 550 : 0));
            QList<QByteArray> expected = {"HELO tester.local", "MAIL FROM:<ana@x.org>", "RCPT TO:<a@x>",
                                          "RCPT TO:Bia <b@y>", "RCPT TO:<c@z>"};
            if (!lastRefused)
                expected << "DATA";
            QCOMPARE(s.lines, expected);
            QCOMPARE(c.ErrorMessage(), QStringLiteral("550 5.1.1 no such user"));
        }
    }

    void refusedDataSendsNothingOfTheMessage()
    {
        FakeSmtpServer s;
        s.onLine = [&](const QByteArray &line) {
            if (line == "DATA")
                s.send("554 5.5.1 no valid recipients\r\n");
            else
                s.standardReply(line);
        };
        TSmtpClient c;
        Trace t;
        t.attach(c);
        aim(c, s);
        c.setFromName(QStringLiteral("ana@x.org"));
        // A line break typed into an address must not start a command of its own.
        c.setRcptName({QStringLiteral("b@y\r\nRSET")});
        c.setMailMessage({QStringLiteral("secret text")});
        c.Open();
        QCOMPARE(t.next(), Done(smtpOpen, 0));
        c.Mail();
        QCOMPARE(t.next(), Done(smtpMail, 554));
        c.Quit();
        QCOMPARE(t.next(), Done(smtpQuit, 0));
        // The line after DATA is the QUIT: no header or message line went out.
        QCOMPARE(s.lines.mid(s.lines.indexOf("DATA")), (QList<QByteArray>{"DATA", "QUIT"}));
        QCOMPARE(s.lines.at(2), QByteArray("RCPT TO:<b@y  RSET>"));
        QVERIFY(!s.lines.contains("RSET"));
        QVERIFY(!s.raw.contains("secret") && !s.raw.contains("Subject"));
    }

    void messageLinesOnTheWire()
    {
        MockClock clock(QDateTime(QDate(2026, 12, 7), QTime(18, 4, 5), Qt::OffsetFromUTC, -3 * 3600));
        FakeSmtpServer s;
        TSmtpClient c;
        Trace t;
        t.attach(c);
        aim(c, s);
        c.setFromName(QStringLiteral("ana@x.org"));
        c.setRcptName({QStringLiteral("b@y")});
        c.setHdrFrom(QStringLiteral("Ana <ana@x.org>"));
        c.setHdrTo(QStringLiteral("b@y"));
        c.setHdrSubject(QStringLiteral("Lembrete"));
        c.setMailMessage({QStringLiteral("."), QStringLiteral(".hidden"), QStringLiteral("a\r\n.\r\nb"),
                          QStringLiteral("\r\n\r\n"), QString(1100, QLatin1Char('x'))});
        c.OnProcessHeader = [](TSmtpClientBase *, QList<QByteArray> &h) { h << "X-Mailer: Corkvane"; };
        c.OnHeaderLine = [](TSmtpClientBase *, QByteArray &msg, int size) {
            QCOMPARE(size, 1024);
            if (msg.startsWith("Subject:"))
                msg += " (1)";
        };
        c.Open();
        QCOMPARE(t.next(), Done(smtpOpen, 0));
        c.Mail();
        QCOMPARE(t.next(), Done(smtpMail, 0));
        const QList<QByteArray> expected = {
            "From: Ana <ana@x.org>", "To: b@y", "Subject: Lembrete (1)", "Sender: Ana <ana@x.org>", "Mime-Version: 1.0",
            "Content-Type: text/plain; charset=\"windows-1252\"", "Content-Transfer-Encoding: 8bit",
            "Date: Mon, 7 Dec 2026 18:04:05 -0300", "X-Mailer: Corkvane", "",
            "..", "..hidden", "a", "..", "b", "", "", "", QByteArray(1023, 'x')};
        QCOMPARE(s.dataLines, expected);
        QVERIFY(t.display.contains("> .."));

        // With its own headers the message starts right after DATA; the header hooks are silent.
        c.setOwnHeaders(true);
        c.setMailMessage({QStringLiteral("Subject: own"), QString(), QStringLiteral("body")});
        c.Mail();
        QCOMPARE(t.next(), Done(smtpMail, 0));
        QCOMPARE(s.dataLines, (QList<QByteArray>{"Subject: own", "", "body"}));
    }

    void longHeaderIsFoldedNotOverrun()
    {
        FakeSmtpServer s;
        TSmtpClient c;
        Trace t;
        t.attach(c);
        aim(c, s);
        QStringList many;
        for (int i = 0; i < 120; ++i)
            many << QStringLiteral("pessoa%1@exemplo.com.br").arg(i);
        c.setFromName(QStringLiteral("ana@x.org"));
        c.setRcptName({QStringLiteral("b@y")});
        c.setHdrTo(many.join(QStringLiteral(", ")));
        c.Open();
        QCOMPARE(t.next(), Done(smtpOpen, 0));
        c.Mail();
        QCOMPARE(t.next(), Done(smtpMail, 0));
        const qsizetype to = s.dataLines.indexOf("To: " + many.first().toLatin1() + ',');
        QVERIFY(to < 0); // the first physical line holds more than one address
        QByteArray unfolded;
        qsizetype i = 1;
        for (; i < s.dataLines.size() && !s.dataLines[i].startsWith("Subject:"); ++i) {
            QVERIFY(s.dataLines[i].size() <= 998);
            unfolded += s.dataLines[i];
        }
        QVERIFY(i > 2);
        QCOMPARE(unfolded, "To: " + many.join(QStringLiteral(", ")).toLatin1());
    }

    void unreadableAttachmentFailsTheMailInsteadOfTruncatingIt()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("later-gone.bin"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("data");
        f.close();
        FakeSmtpServer s;
        TSmtpClient c;
        Trace t;
        t.attach(c);
        aim(c, s);
        c.setFromName(QStringLiteral("ana@x.org"));
        c.setRcptName({QStringLiteral("b@y")});
        c.setMailMessage({QStringLiteral("text")});
        c.setEmailFiles({path});
        QVERIFY(QFile::remove(path));
        c.Open();
        QCOMPARE(t.next(), Done(smtpOpen, 0));
        c.Mail();
        QCOMPARE(t.next(), Done(smtpMail, 500));
        QCOMPARE(c.LastResponse(), QStringLiteral("500 Unable to open file '%1'").arg(path));
        QVERIFY(!c.Connected());
        // The server never saw the end of the message, so it has nothing to deliver.
        QVERIFY(waitUntil([&] { return s.peerClosed; }));
        QVERIFY(s.inData);
        QVERIFY(s.dataLines.contains("text"));
    }

    void droppedConnectionEndsTheRequest()
    {
        FakeSmtpServer s;
        s.onLine = [&](const QByteArray &line) {
            if (line.startsWith("MAIL"))
                s.drop();
            else
                s.standardReply(line);
        };
        TSmtpClient c;
        Trace t;
        t.attach(c);
        aim(c, s);
        c.setFromName(QStringLiteral("ana@x.org"));
        c.setRcptName({QStringLiteral("b@y")});
        c.Open();
        QCOMPARE(t.next(), Done(smtpOpen, 0));
        c.Mail();
        QCOMPARE(t.next(), Done(smtpMail, 10004));
        QCOMPARE(c.RequestResult(), 10004);
        QVERIFY(!c.Connected());
        QCOMPARE(t.closed.size(), 1);
        QCOMPARE(c.State(), smtpReady);
        QCOMPARE(raised([&] { c.Mail(); }), QStringLiteral("SMTP component not connected"));
        // The EHLO fallback does not try HELO on a connection that is gone.
        FakeSmtpServer s2;
        s2.onLine = [&](const QByteArray &) { s2.drop(); };
        aim(c, s2);
        c.setAuthType(smtpAuthCramMD5);
        c.Open();
        QCOMPARE(t.next(), Done(smtpOpen, 10004));
        QCOMPARE(s2.lines, (QList<QByteArray>{"EHLO tester.local"}));
    }

    void abortEndsOpenWith426()
    {
        // Waiting for a greeting that never comes.
        FakeSmtpServer s;
        s.greeting.clear();
        TSmtpClient c;
        Trace t;
        t.attach(c);
        aim(c, s);
        c.Open();
        QVERIFY(waitUntil([&] { return c.State() == smtpWaitingBanner; }));
        c.Abort();
        QCOMPARE(c.State(), smtpReady);
        QCOMPARE(t.next(), Done(smtpOpen, 426));
        QCOMPARE(c.ErrorMessage(), QStringLiteral("426 Operation aborted."));
        QVERIFY(!c.Connected());

        // Still looking the name up.
        c.setHost(QStringLiteral("localhost"));
        c.Open();
        QCOMPARE(c.State(), smtpDnsLookup);
        c.Abort();
        QCOMPARE(t.next(), Done(smtpOpen, 426));
        // Exactly one end each, and the client is usable again.
        QVERIFY(!waitUntil([&] { return t.done.size() > 2; }, 300));
        aim(c, s);
        QCOMPARE(raised([&] { c.Quit(); }), QString());
        QCOMPARE(t.next(), Done(smtpQuit, 0));
    }

    void misuseIsRefusedAtOnce()
    {
        FakeSmtpServer s;
        TSmtpClient c;
        Trace t;
        t.attach(c);
        aim(c, s);
        QCOMPARE(raised([&] { c.Helo(); }), QStringLiteral("SMTP component not connected"));
        QCOMPARE(raised([&] { c.Mail(); }), QStringLiteral("SMTP component not connected"));
        c.Open();
        QCOMPARE(raised([&] { c.Mail(); }), QStringLiteral("SMTP component not ready"));
        QCOMPARE(raised([&] { c.Quit(); }), QStringLiteral("SMTP component not ready"));
        QCOMPARE(t.next(), Done(smtpOpen, 0));
        QCOMPARE(raised([&] { c.Open(); }), QStringLiteral("SMTP component already connected"));
        QCOMPARE(raised([&] { c.Connect(); }), QStringLiteral("SMTP component already connected"));
        QCOMPARE(raised([&] { c.RcptTo(); }), QStringLiteral("RcptName list is empty"));
        // Inside Mail the missing recipients end the sequence instead of stalling it.
        c.setFromName(QStringLiteral("ana@x.org"));
        c.Mail();
        QCOMPARE(t.next(), Done(smtpMail, 500));
        QCOMPARE(c.LastResponse(), QStringLiteral("500 RcptName list is empty"));

        QTemporaryDir dir;
        QFile f(dir.filePath("a.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QCOMPARE(raised([&] { c.setEmailFiles({QStringLiteral(" ") + f.fileName(), QString(), dir.filePath("missing")}); }),
                 QStringLiteral("File not found '%1'").arg(dir.filePath("missing")));
        QCOMPARE(c.EmailFiles(), QStringList{f.fileName()});
        QCOMPARE(raised([&] { c.setEmailFiles({dir.path()}); }), QStringLiteral("File not found '%1'").arg(dir.path()));
    }

    void brokenRepliesAndRefusedConnections()
    {
        // A reply without a code is no acceptance.
        FakeSmtpServer s;
        s.onLine = [&](const QByteArray &line) {
            if (line.startsWith("HELO"))
                s.send("hello there\r\n");
            else if (line.startsWith("RSET"))
                s.send(QByteArray(5000, 'x'));
            else
                s.standardReply(line);
        };
        TSmtpClient c;
        Trace t;
        t.attach(c);
        aim(c, s);
        c.Connect();
        QCOMPARE(t.next(), Done(smtpConnect, 0));
        c.Helo();
        QCOMPARE(t.next(), Done(smtpHelo, 500));
        // A reply line longer than the receive buffer ends the connection instead of hanging.
        c.Rset();
        QCOMPARE(t.next(), Done(smtpRset, 10004));
        QCOMPARE(c.LastResponse(), QStringLiteral("500 Reply line longer than 4096 bytes"));
        QCOMPARE(c.RequestResult(), 500);
        QVERIFY(!c.Connected());

        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        const QString port = QString::number(closed.serverPort());
        closed.close();
        c.setPort(port);
        c.Connect();
        QCOMPARE(t.next(), Done(smtpConnect, 10061));
        QCOMPARE(c.LastResponse(), QStringLiteral("500 Connection refused (Winsock error #10061)"));
        QCOMPARE(c.RequestResult(), 500);
        QCOMPARE(c.State(), smtpReady);

        c.setHost(QString());
        c.Connect();
        QCOMPARE(t.next(), Done(smtpConnect, 10022));
        QCOMPARE(c.LastResponse(), QStringLiteral("500 Invalid argument (Winsock error #10022)"));
    }
};

QTEST_GUILESS_MAIN(TestSmtpSession)
#include "tst_smtp_session.moc"
