// The send-by-e-mail dialog driven through its own controls against a real SMTP server on
// 127.0.0.1 (aiosmtpd, which checks the credentials itself), a silent server, a closed port
// and a scripted server that refuses.
#include "FakeSmtpServer.h"
#include "SmtpFixture.h"

#include "mail/EnviarEmail.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/TextCodec.h"
#include "support/WaitUntil.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QScopeGuard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTcpServer>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>
#include <ctime>
#include <memory>

namespace {

const QString kLogin = QStringLiteral("ana@corkvane.test");
const QString kPassword = QString::fromUtf8("s3nha-çã!");
const QString kEmail = QStringLiteral("ana.silva@corkvane.test");
const QString kWeb = QStringLiteral("https://www.corkvane.org/");
const QString kSuccess = QStringLiteral("O e-mail foi enviado com sucesso!");
const QString kFailure = QString::fromUtf8("O e-mail não foi enviado! Verifique as configurações de rede.");

QByteArray crlf(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &l : lines)
        out += l + "\r\n";
    return out;
}

// A port on which nothing listens.
QString closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const QString port = QString::number(probe.serverPort());
    probe.close();
    return port;
}

// Accepts every connection and never says a word.
class SilentServer : public QTcpServer
{
public:
    SilentServer() { listen(QHostAddress::LocalHost, 0); }
    QString port() const { return QString::number(serverPort()); }
    int accepted = 0;

protected:
    void incomingConnection(qintptr fd) override
    {
        auto *s = new QTcpSocket(this);
        s->setSocketDescriptor(fd);
        ++accepted;
    }
};

} // namespace

class TestEnviarEmail : public QObject
{
    Q_OBJECT

    SmtpFixture m_fixture;
    AppSettings m_settings;
    std::unique_ptr<TfrmEnviarEmail> m_dialog;
    QStringList m_status;

    template <typename T>
    T *control(const char *name) const
    {
        T *c = m_dialog->findChild<T *>(QLatin1String(name));
        if (!c)
            qFatal("no control %s", name);
        return c;
    }
    QLineEdit *txtPara() const { return control<QLineEdit>("txtPara"); }
    QPushButton *button(const char *name) const { return control<QPushButton>(name); }
    QString status() const { return control<QStatusBar>("stsEMail")->currentMessage(); }

    // Shows the dialog for a note, types the recipients and presses "&Enviar"; the press
    // returns once the whole send has been handled, result box included.
    void send(const QString &para, const QString &title = QStringLiteral("Compras"),
              const QString &text = QStringLiteral("leite"))
    {
        m_dialog->prepare(title, text);
        m_dialog->show();
        txtPara()->setText(para);
        Dialogs::clearShownMessages();
        m_status.clear();
        button("cmdEnviar")->click();
    }

    QString lastBox() const
    {
        const auto shown = Dialogs::shownMessages();
        return shown.isEmpty() ? QString() : shown.last().title + QLatin1Char('|') + shown.last().text;
    }

    void aimAt(const QString &port, int authType = 0)
    {
        m_settings.recRede.SMTPServer = QStringLiteral("127.0.0.1");
        m_settings.recRede.SMTPPort = port;
        m_settings.recRede.Authtype = authType;
    }

private slots:
    void initTestCase()
    {
        Dialogs::setTestMode(true);
        const QString failed = m_fixture.start(kLogin, kPassword);
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
        m_settings.recRede.Email = kEmail;
        m_settings.recRede.Username = kLogin;
        m_settings.recRede.Password = kPassword;
        m_settings.recGeral.User = QStringLiteral("Ana Silva");
    }

    void init()
    {
        // One dialog per case: within a case it serves every mail, as in the program.
        m_dialog = std::make_unique<TfrmEnviarEmail>(&m_settings);
        m_dialog->setWebAddress([] { return kWeb; });
        m_dialog->smtpClient()->setSignOn(QStringLiteral("tester.local"));
        connect(control<QStatusBar>("stsEMail"), &QStatusBar::messageChanged, this,
                [this](const QString &m) { m_status << m; });
        Dialogs::resetAnswers();
        aimAt(m_fixture.port());
    }

    void cleanup() { m_dialog.reset(); }

    void theFormAndItsControls()
    {
        // The design size, wider where the title needs it.
        QCOMPARE(m_dialog->height(), 224);
        QVERIFY(m_dialog->width() >= 323);
        QCOMPARE(m_dialog->minimumSize(), m_dialog->maximumSize());
        QVERIFY(!(m_dialog->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(m_dialog->tmrTimeOut().interval(), 30000);
        QCOMPARE(control<QLabel>("Label1")->buddy(), txtPara());
        QCOMPARE(control<QLabel>("Label3")->buddy(), control<QPlainTextEdit>("memTexto"));

        // Tab order from the recipients on, the address button included once it is shown.
        m_dialog->setAddressChooser([] { return QStringList(); });
        const QStringList named = {"txtPara", "cmdAddress", "cmdEnviar", "cmdCancelar", "memTexto", "cmdFechar"};
        QStringList order;
        for (QWidget *w = txtPara(); order.size() < named.size(); w = w->nextInFocusChain())
            if (named.contains(w->objectName()))
                order << w->objectName();
        QCOMPARE(order, named);

        QSignalSpy help(m_dialog.get(), &TfrmEnviarEmail::helpRequested);
        m_dialog->show();
        QTest::keyClick(m_dialog.get(), Qt::Key_F1);
        QCOMPARE(help.size(), 1);
        QCOMPARE(help.first().first().toInt(), 8);
    }

    // The subject's caption reads whole in both languages, without a stray access-key mark,
    // and the subject itself stands right of it inside the dialog.
    void subjectCaptionShowsWhole()
    {
        QTranslator english;
        QVERIFY(english.load(qEnvironmentVariable("CORKVANE_BIN_DIR") + QStringLiteral("/corkvane.enu")));
        for (const QString &expected : {QStringLiteral("Assunto:"), QStringLiteral("Subject:")}) {
            if (expected == QLatin1String("Subject:")) {
                QCoreApplication::installTranslator(&english);
                QCoreApplication::processEvents();  // the language change reaches the dialog
            }
            m_dialog->show();
            auto *caption = control<QLabel>("Label2");
            auto *subject = control<QLabel>("lblAssunto");
            QCOMPARE(caption->text(), expected);
            QVERIFY2(caption->width() >= caption->sizeHint().width(),
                     qPrintable(QStringLiteral("%1 < %2").arg(caption->width()).arg(caption->sizeHint().width())));
            QVERIFY(subject->x() > caption->geometry().right());
            QVERIFY(subject->geometry().right() < m_dialog->width());
            QVERIFY(subject->width() > 150);
        }
        QCoreApplication::removeTranslator(&english);
    }

    void subjectTextAndTheSendButtonRule()
    {
        m_dialog->prepare(QStringLiteral("Reunião\r\nBcc: x@y"), QStringLiteral("linha 1\r\nlinha 2\rlinha 3\n"));
        QCOMPARE(control<QLabel>("lblAssunto")->text(), QString::fromUtf8("Corkvane - Reunião  Bcc: x@y"));
        QCOMPARE(control<QPlainTextEdit>("memTexto")->toPlainText(), QStringLiteral("linha 1\nlinha 2\nlinha 3\n"));
        txtPara()->setText(QStringLiteral("left@over"));
        m_dialog->show();
        // Opened empty, and an empty field never sends "RCPT TO:<>".
        QCOMPARE(txtPara()->text(), QString());
        QVERIFY(!button("cmdEnviar")->isEnabled());
        QVERIFY(!button("cmdCancelar")->isEnabled());
        QVERIFY(button("cmdFechar")->isEnabled());
        QTest::keyClick(txtPara(), Qt::Key_Return);
        QVERIFY(m_status.isEmpty());
        QTest::keyClicks(txtPara(), QStringLiteral("b"));
        QVERIFY(button("cmdEnviar")->isEnabled());
        QTest::keyClick(txtPara(), Qt::Key_Backspace);
        QVERIFY(!button("cmdEnviar")->isEnabled());
        // Esc belongs to "&Cancelar", which is off while idle: the dialog stays.
        QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
        QVERIFY(m_dialog->isVisible());
        button("cmdFechar")->click();
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
    }

    void chosenAddressesAreMergedIntoTheField_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QString>("after");
        QTest::newRow("blanks of a contact") << "a@x.org" << QStringList{"  b@y.org ", " "} << "a@x.org,b@y.org";
        QTest::newRow("only blanks") << "" << QStringList{" ", "\t"} << "";
        QTest::newRow("nothing chosen") << "a@x.org" << QStringList() << "a@x.org";
        QTest::newRow("empty field") << "" << QStringList{"a@x.org", "b@y.org"} << "a@x.org,b@y.org";
        QTest::newRow("one already there") << "a@x.org" << QStringList{"a@x.org", "b@y.org"} << "a@x.org,b@y.org";
        QTest::newRow("inside a longer one") << "maria@x.org" << QStringList{"ria@x.org"} << "maria@x.org";
    }
    void chosenAddressesAreMergedIntoTheField()
    {
        QFETCH(QString, before);
        QFETCH(QStringList, chosen);
        QFETCH(QString, after);
        m_dialog->show();
        QVERIFY(!control<QToolButton>("cmdAddress")->isVisible());
        int asked = 0;
        m_dialog->setAddressChooser([&] {
            ++asked;
            return chosen;
        });
        QVERIFY(control<QToolButton>("cmdAddress")->isVisible());
        txtPara()->setText(before);
        control<QToolButton>("cmdAddress")->click();
        QCOMPARE(asked, 1);
        QCOMPARE(txtPara()->text(), after);
        QCOMPARE(button("cmdEnviar")->isEnabled(), !after.isEmpty());
    }

    void messageLinesOfTheEditor_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << "" << QStringList();
        QTest::newRow("one line") << "a" << QStringList{"a"};
        QTest::newRow("final break") << "a\nb\n" << QStringList{"a", "b"};
        QTest::newRow("empty lines kept") << "a\n\n\nb" << QStringList{"a", "", "", "b"};
        // SMTP carries 998 characters a line; longer ones are broken, never cut.
        const QString w997(997, QLatin1Char('w'));
        QTest::newRow("998 fit") << w997 + "z" << QStringList{w997 + "z"};
        QTest::newRow("after the last blank") << "ab " + w997 << QStringList{"ab ", w997};
        QTest::newRow("blanks inside") << w997.left(500) + " " + w997.left(400) + "\t" + w997.left(300)
                                       << QStringList{w997.left(500) + " " + w997.left(400) + "\t", w997.left(300)};
        QTest::newRow("no blank") << w997 + "xyz" << QStringList{w997 + "x", "yz"};
        QTest::newRow("a dot counts its double") << "." + w997 << QStringList{"." + w997.left(996), "w"};
        QTest::newRow("three lines") << QString(2500, QLatin1Char('q'))
                                     << QStringList{QString(998, QLatin1Char('q')), QString(998, QLatin1Char('q')),
                                                    QString(504, QLatin1Char('q'))};
        QTest::newRow("a character in two halves stays whole")
            << w997 + QString::fromUtf8("😀") << QStringList{w997, QString::fromUtf8("😀")};
    }
    void messageLinesOfTheEditor()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        const QString dashes(44, QLatin1Char('-'));
        const QStringList footer = {"\r\n\r\n", "Ana", "\r\n\r\n", dashes, "Este e-mail foi enviado pelo Corkvane",
                                    QString::fromUtf8("Faça o download gratuíto em"), kWeb, dashes};
        QCOMPARE(TfrmEnviarEmail::messageLines(text, QStringLiteral("Ana"), kWeb), lines + footer);
    }

    void theServerReceivesTheNoteAsComposed_data()
    {
        QTest::addColumn<int>("authType");
        QTest::addColumn<QString>("mechanism");
        QTest::newRow("none") << 0 << QString();
        QTest::newRow("PLAIN") << 1 << "PLAIN";
        QTest::newRow("LOGIN") << 2 << "LOGIN";
        QTest::newRow("CRAM-MD5") << 3 << "CRAM-MD5";
    }
    void theServerReceivesTheNoteAsComposed()
    {
        QFETCH(int, authType);
        QFETCH(QString, mechanism);
        MockClock clock(QDateTime(QDate(2026, 12, 7), QTime(18, 4, 5), Qt::OffsetFromUTC, -3 * 3600));
        aimAt(m_fixture.port(), authType);
        const int before = m_fixture.count();
        const QString para = QStringLiteral("bia@corkvane.test, caio@corkvane.test");
        send(para, QString::fromUtf8("Pão"), QString::fromUtf8("Comprar pão\r\n.às 9h\r\n\r\nfim"));
        QCOMPARE(lastBox(), QStringLiteral("Aviso|") + kSuccess);
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QVERIFY(button("cmdEnviar")->isEnabled() && button("cmdFechar")->isEnabled());
        QVERIFY(!button("cmdCancelar")->isEnabled());

        QCOMPARE(m_fixture.count(), before + 1);
        QJsonObject env;
        QByteArray data;
        QVERIFY(m_fixture.mail(before + 1, env, data));
        QCOMPARE(env.value("from").toString(), kEmail);
        QCOMPARE(env.value("rcpt").toArray(), (QJsonArray{"bia@corkvane.test", "caio@corkvane.test"}));
        // PLAIN authenticates the user name, not the sender address.
        QCOMPARE(env.value("login").toString(), mechanism.isEmpty() ? QString() : kLogin);
        QCOMPARE(env.value("mechanism").toString(), mechanism);
        const QByteArray dashes(44, '-');
        QCOMPARE(data, crlf({"From: " + kEmail.toLatin1(), "To: " + para.toLatin1(),
                             "Subject: =?windows-1252?Q?Corkvane_-_P=E3o?=", "Sender: " + kEmail.toLatin1(),
                             "Mime-Version: 1.0", "Content-Type: text/plain; charset=\"windows-1252\"",
                             "Content-Transfer-Encoding: 8bit", "Date: Mon, 7 Dec 2026 18:04:05 -0300",
                             "", "Comprar p\xe3o", ".\xe0s 9h", "", "fim", "", "", "", "Ana Silva", "", "", "", dashes,
                             "Este e-mail foi enviado pelo Corkvane", "Fa\xe7" "a o download gratu\xedto em",
                             kWeb.toLatin1(), dashes}));

        QVERIFY(waitUntil([&] { return status() == QString::fromUtf8("Conexão Terminada!"); }));
        QCOMPARE(m_status.mid(0, 2), (QStringList{"Conectando ao Servidor...", "Conectado!"}));
        QVERIFY(m_status.contains(authType == 0 ? "HELO tester.local" : "EHLO tester.local"));
        QVERIFY(m_status.contains("QUIT"));
        // Each command flashes by; a credential never does, in clear or in base64.
        const QByteArray secret = TextCodec::toWin1252(kPassword);
        const QStringList forbidden = {kPassword, QString::fromLatin1(secret.toBase64()),
                                       QString::fromLatin1(QByteArray('\0' + kLogin.toLatin1() + '\0' + secret).toBase64()),
                                       QString::fromLatin1(kLogin.toLatin1().toBase64())};
        const QStringList fixed = {"Conectando ao Servidor...", "Conectado!", QString::fromUtf8("Conexão Terminada!"),
                                   "AUTH PLAIN ****", "AUTH LOGIN", "AUTH CRAM-MD5", "****", "DATA", ".", "QUIT"};
        for (const QString &shown : std::as_const(m_status)) {
            for (const QString &f : forbidden)
                QVERIFY2(!shown.contains(f), qPrintable(shown));
            QVERIFY2(fixed.contains(shown) || shown.startsWith("HELO ") || shown.startsWith("EHLO ")
                         || shown.startsWith("MAIL FROM:") || shown.startsWith("RCPT TO:"),
                     qPrintable(shown));
        }
        if (authType == 1)
            QVERIFY(m_status.contains("AUTH PLAIN ****"));
        if (authType >= 2)
            QVERIFY(m_status.contains("****"));
    }

    void everyRecipientOfTheFieldGetsItsRcpt()
    {
        // Over 255 characters, doubled and trailing commas, blanks left for the client to trim.
        QStringList addresses;
        QString para;
        for (int i = 0; i < 14; ++i) {
            addresses << QStringLiteral("destinatario%1@corkvane.test").arg(i, 2, 10, QLatin1Char('0'));
            para += QStringLiteral(" ") + addresses.last() + (i == 6 ? QStringLiteral(",,") : QStringLiteral(","));
        }
        QVERIFY(para.size() > 400);
        const int before = m_fixture.count();
        send(para);
        QCOMPARE(lastBox(), QStringLiteral("Aviso|") + kSuccess);
        QJsonObject env;
        QByteArray data;
        QVERIFY(m_fixture.mail(before + 1, env, data));
        QCOMPARE(env.value("rcpt").toVariant().toStringList(), addresses);
        // The To header names the same addresses, without the blanks and empty pieces around them.
        QVERIFY(data.contains("\r\nTo: " + addresses.join(", ").toLatin1() + "\r\n"));
    }

    void aFieldWithoutAnyAddressSendsNothing_data()
    {
        QTest::addColumn<QString>("para");
        QTest::newRow("commas") << ",,,";
        QTest::newRow("blank") << " ";
        QTest::newRow("blanks and commas") << " , ,\t, ";
    }
    void aFieldWithoutAnyAddressSendsNothing()
    {
        QFETCH(QString, para);
        // A server that takes anything, "RCPT TO:<>" included.
        FakeSmtpServer server;
        aimAt(server.port());
        send(para);
        QCOMPARE(lastBox(), QString::fromUtf8("Erro|Informe ao menos um endereço de e-mail em \"Para\"."));
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QCOMPARE(server.connections, 0);
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(txtPara()->text(), para);
        QVERIFY(button("cmdEnviar")->isEnabled() && button("cmdFechar")->isEnabled());
        QVERIFY(!button("cmdCancelar")->isEnabled());
        QVERIFY(!m_dialog->sending());
    }

    void addressesGoOutWithoutTheirBlanks()
    {
        const int before = m_fixture.count();
        send(QStringLiteral("  bia@corkvane.test ,\t caio@corkvane.test  ,, "));
        QCOMPARE(lastBox(), QStringLiteral("Aviso|") + kSuccess);
        QJsonObject env;
        QByteArray data;
        QVERIFY(m_fixture.mail(before + 1, env, data));
        QCOMPARE(env.value("rcpt").toArray(), (QJsonArray{"bia@corkvane.test", "caio@corkvane.test"}));
        QVERIFY(data.startsWith("From: " + kEmail.toLatin1() + "\r\nTo: bia@corkvane.test, caio@corkvane.test\r\n"));
        QVERIFY(m_status.contains("RCPT TO:<bia@corkvane.test>"));
        QVERIFY(m_status.contains("RCPT TO:<caio@corkvane.test>"));
    }

    // The message as a mail program reads it: Python's own e-mail package, on the bytes the
    // server received, with the machine's clock and zone.
    void aMailProgramReadsTheTextTitleAndDateBack_data()
    {
        QTest::addColumn<QByteArray>("tz");
        QTest::addColumn<int>("offsetMinutes");
        QTest::newRow("UTC") << QByteArray("UTC") << 0;
        QTest::newRow("Sao Paulo") << QByteArray("America/Sao_Paulo") << -180;
        QTest::newRow("Kolkata") << QByteArray("Asia/Kolkata") << 330;
    }
    void aMailProgramReadsTheTextTitleAndDateBack()
    {
        QFETCH(QByteArray, tz);
        QFETCH(int, offsetMinutes);
        if (!QFile::exists(QStringLiteral("/usr/share/zoneinfo/") + QString::fromLatin1(tz)))
            QSKIP("the zone is not installed (tzdata)");
        const QByteArray savedTz = qgetenv("TZ");
        qputenv("TZ", tz);
        tzset();
        const auto restoreTz = qScopeGuard([&] {
            if (savedTz.isNull())
                qunsetenv("TZ");
            else
                qputenv("TZ", savedTz);
            tzset();
        });
        QCOMPARE(QDateTime::currentDateTime().offsetFromUtc(), offsetMinutes * 60);

        const QString title = QString::fromUtf8("Preço: 10 € — café");
        QString paragraph;
        for (int i = 0; paragraph.size() < 1400; ++i)
            paragraph += QString::fromUtf8("palavra%1 çã € — ").arg(i);
        // No blank to break at, and a "." where the break falls.
        const QString solid = QString(998, QLatin1Char('x')) + QLatin1Char('.') + QString(300, QLatin1Char('y'));
        const QString text = QString::fromUtf8("Custa 10 € — à vista\n") + paragraph + QLatin1Char('\n') + solid
                             + QStringLiteral("\n.fim");
        const int before = m_fixture.count();
        send(QStringLiteral("bia@corkvane.test"), title, text);
        QCOMPARE(lastBox(), QStringLiteral("Aviso|") + kSuccess);
        QJsonObject env;
        QByteArray data;
        QVERIFY(m_fixture.mail(before + 1, env, data));
        for (const QByteArray &line : data.split('\n'))
            QVERIFY2(line.size() <= 999, line.left(40).constData()); // 998 and the CR

        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral(R"(
import email, email.policy, email.utils, json, sys
msg = email.message_from_bytes(sys.stdin.buffer.read(), policy=email.policy.default)
offset = email.utils.parsedate_to_datetime(str(msg["Date"])).utcoffset()
print(json.dumps({
    "subject": str(msg["Subject"]),
    "type": msg.get_content_type(),
    "charset": msg.get_content_charset(),
    "encoding": str(msg["Content-Transfer-Encoding"]),
    "body": msg.get_content().replace("\r\n", "\n"),
    "zone": None if offset is None else int(offset.total_seconds() // 60),
    "defects": [type(d).__name__ for d in msg.defects],
}))
)")});
        QVERIFY(python.waitForStarted(10000));
        python.write(data);
        python.closeWriteChannel();
        QVERIFY(python.waitForFinished(20000));
        QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
        const QJsonObject read = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
        QCOMPARE(read.value("subject").toString(), QStringLiteral("Corkvane - ") + title);
        QCOMPARE(read.value("type").toString(), QStringLiteral("text/plain"));
        QCOMPARE(read.value("charset").toString(), QStringLiteral("windows-1252"));
        QCOMPARE(read.value("encoding").toString(), QStringLiteral("8bit"));
        QCOMPARE(read.value("defects").toArray(), QJsonArray());
        // A zone that is not known ("-0000") reads as none at all.
        QVERIFY(!read.value("zone").isNull());
        QCOMPARE(read.value("zone").toInt(), offsetMinutes);

        const QString body = read.value("body").toString();
        QVERIFY(body.contains(QString::fromUtf8("Custa 10 € — à vista\n")));
        // Every character arrives; only line breaks were added to the long lines.
        QVERIFY(QString(body).remove(QLatin1Char('\n')).startsWith(QString(text).remove(QLatin1Char('\n'))));
        const QStringList lines = body.split(QLatin1Char('\n'));
        const qsizetype first = lines.indexOf(QString::fromUtf8("Custa 10 € — à vista"));
        QVERIFY(first >= 0);
        // The paragraph breaks after a blank, the solid line where it must.
        QVERIFY(lines.at(first + 1).endsWith(QLatin1Char(' ')) && paragraph.startsWith(lines.at(first + 1)));
        QVERIFY(lines.at(first + 1).size() > 900 && lines.at(first + 1).size() <= 998);
        const qsizetype solidAt = lines.indexOf(QString(998, QLatin1Char('x')));
        QVERIFY(solidAt > first);
        QCOMPARE(lines.at(solidAt + 1), QLatin1Char('.') + QString(300, QLatin1Char('y')));
        QCOMPARE(lines.at(solidAt + 2), QStringLiteral(".fim"));
    }

    void theFailureBoxShowsTheServersReply_data()
    {
        QTest::addColumn<int>("authType");
        QTest::addColumn<QByteArray>("refusedVerb");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("login refused") << 1 << QByteArray("AUTH") << QByteArray("535 5.7.8 Authentication credentials invalid");
        QTest::newRow("sender refused") << 0 << QByteArray("MAIL") << QByteArray("553 5.7.1 Sender address rejected: not owned by user");
        QTest::newRow("DATA refused") << 0 << QByteArray("DATA") << QByteArray("554 5.5.1 Error: no valid recipients");
        QTest::newRow("message refused") << 0 << QByteArray(".") << QByteArray("552 5.3.4 Message size exceeds fixed limit");
        QTest::newRow("greeting refused") << 0 << QByteArray() << QByteArray("554 5.7.1 No SMTP service here");
    }
    void theFailureBoxShowsTheServersReply()
    {
        QFETCH(int, authType);
        QFETCH(QByteArray, refusedVerb);
        QFETCH(QByteArray, reply);
        FakeSmtpServer server;
        if (refusedVerb.isEmpty())
            server.greeting = reply + "\r\n";
        if (refusedVerb == ".")
            server.dataReply = reply + "\r\n";
        server.onLine = [&](const QByteArray &line) {
            if (!refusedVerb.isEmpty() && refusedVerb != "." && line.startsWith(refusedVerb))
                server.send(reply + "\r\n");
            // What a server that wants a login says to a sender who has none.
            else if (authType != 0 && line.startsWith("MAIL"))
                server.send("530 5.7.0 Authentication required\r\n");
            else
                server.standardReply(line);
        };
        aimAt(server.port(), authType);
        m_dialog->setTimeOutInterval(3000);
        send(QStringLiteral("ninguem@corkvane.test"));
        // The first refusal is the one shown: the rest follows from it.
        QCOMPARE(lastBox(), QStringLiteral("Erro|") + kFailure + QStringLiteral("\n\n") + QString::fromLatin1(reply));
        QVERIFY(!m_dialog->isVisible());
        QVERIFY(button("cmdEnviar")->isEnabled() && button("cmdFechar")->isEnabled());
        if (refusedVerb == "AUTH")
            QVERIFY(server.lines.contains("MAIL FROM:<" + kEmail.toLatin1() + '>'));
    }

    void twoMailsInARowEachGetTheirOwnSession()
    {
        const int before = m_fixture.count();
        aimAt(m_fixture.port(), 2);
        send(QStringLiteral("bia@corkvane.test"), QStringLiteral("Um"), QStringLiteral("primeiro"));
        QCOMPARE(lastBox(), QStringLiteral("Aviso|") + kSuccess);
        // At once, while the first session may still be saying goodbye.
        send(QStringLiteral("caio@corkvane.test"), QStringLiteral("Dois"), QStringLiteral("segundo"));
        QCOMPARE(lastBox(), QStringLiteral("Aviso|") + kSuccess);
        QCOMPARE(m_fixture.count(), before + 2);
        for (int i = 1; i <= 2; ++i) {
            QJsonObject env;
            QByteArray data;
            QVERIFY(m_fixture.mail(before + i, env, data));
            QCOMPARE(env.value("rcpt").toArray(), QJsonArray{i == 1 ? "bia@corkvane.test" : "caio@corkvane.test"});
            QVERIFY(data.contains(i == 1 ? "Subject: Corkvane - Um\r\n" : "Subject: Corkvane - Dois\r\n"));
            QVERIFY(data.contains(i == 1 ? "\r\n\r\nprimeiro\r\n" : "\r\n\r\nsegundo\r\n"));
        }
    }

    void aWaitThatRunsOutFails_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::newRow("server that never answers") << true;
        QTest::newRow("nothing listening") << false;
    }
    void aWaitThatRunsOutFails()
    {
        QFETCH(bool, silent);
        SilentServer server;
        aimAt(silent ? server.port() : closedPort());
        m_dialog->setTimeOutInterval(400);
        // The rest of the program goes on meanwhile.
        int ticks = 0;
        QTimer other;
        connect(&other, &QTimer::timeout, [&] { ++ticks; });
        other.start(20);
        QElapsedTimer t;
        t.start();
        for (int round = 0; round < 2; ++round) {
            send(QStringLiteral("bia@corkvane.test"));
            QVERIFY2(status() == QStringLiteral("Timeout!!!"), qPrintable(m_status.join(" / ")));
            // A silent server gave no reason; a refused connection is named.
            if (silent)
                QCOMPARE(lastBox(), QStringLiteral("Erro|") + kFailure);
            else
                QVERIFY2(lastBox().startsWith(QStringLiteral("Erro|") + kFailure + QStringLiteral("\n\n500 "))
                             && lastBox().endsWith(QStringLiteral("(Winsock error #10061)")),
                         qPrintable(lastBox()));
            QVERIFY(!m_dialog->isVisible());
            QVERIFY(button("cmdEnviar")->isEnabled() && button("cmdFechar")->isEnabled());
            QVERIFY(!button("cmdCancelar")->isEnabled());
            QCOMPARE(m_dialog->smtpClient()->State(), smtpReady);
            QVERIFY(!m_dialog->smtpClient()->Connected());
            QCOMPARE(QApplication::overrideCursor(), nullptr);
        }
        // Each of the two sends waited a whole period of its own.
        QVERIFY2(t.elapsed() >= 700 && t.elapsed() < 8000, qPrintable(QString::number(t.elapsed())));
        QVERIFY(ticks > 10);
        QCOMPARE(server.accepted, silent ? 2 : 0);
    }

    void aRefusedRecipientEndsInTheFailureBox()
    {
        FakeSmtpServer server;
        server.onLine = [&](const QByteArray &line) {
            if (line.startsWith("RCPT"))
                server.send("550 5.1.1 no such user\r\n");
            else
                server.standardReply(line);
        };
        aimAt(server.port());
        send(QStringLiteral("ninguem@corkvane.test"));
        QCOMPARE(lastBox(), QStringLiteral("Erro|") + kFailure + QStringLiteral("\n\n550 5.1.1 no such user"));
        QVERIFY(!m_dialog->isVisible());
        QVERIFY(server.lines.size() >= 3);
        QCOMPARE(server.lines.at(2), QByteArray("RCPT TO:<ninguem@corkvane.test>"));
        QVERIFY(!server.lines.contains("DATA"));
    }

    void cancelEndsTheSendAtOnceAndKeepsTheDialog_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("button") << false;
        QTest::newRow("Esc") << true;
    }
    void cancelEndsTheSendAtOnceAndKeepsTheDialog()
    {
        QFETCH(bool, byKey);
        SilentServer server;
        aimAt(server.port());
        bool sendingSeen = false, closeRefused = false;
        QTimer::singleShot(300, this, [&] {
            sendingSeen = m_dialog->sending() && button("cmdCancelar")->isEnabled() && !button("cmdEnviar")->isEnabled()
                          && !button("cmdFechar")->isEnabled() && QApplication::overrideCursor();
            // Neither the close box nor a second press interrupts the send.
            m_dialog->close();
            button("cmdEnviar")->click();
            closeRefused = m_dialog->isVisible() && m_dialog->sending();
            if (byKey)
                QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
            else
                button("cmdCancelar")->click();
        });
        QElapsedTimer t;
        t.start();
        send(QStringLiteral("bia@corkvane.test"));
        QVERIFY2(t.elapsed() < 5000, "the cancelled send went on waiting");
        QVERIFY(sendingSeen);
        QVERIFY(closeRefused);
        QCOMPARE(lastBox(), QStringLiteral("Erro|") + kFailure);
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(txtPara()->text(), QStringLiteral("bia@corkvane.test"));
        QVERIFY(button("cmdEnviar")->isEnabled() && button("cmdFechar")->isEnabled());
        QVERIFY(!button("cmdCancelar")->isEnabled());
        QVERIFY(!m_dialog->smtpClient()->Connected());
        QCOMPARE(server.accepted, 1);

        // The same dialog then sends to a server that answers.
        aimAt(m_fixture.port());
        const int before = m_fixture.count();
        button("cmdEnviar")->click();
        QCOMPARE(lastBox(), QStringLiteral("Aviso|") + kSuccess);
        QCOMPARE(m_fixture.count(), before + 1);
    }

    // Last: once the application is told to quit, no event loop of this process runs again.
    void quittingTheProgramEndsASendQuietly()
    {
        SilentServer server;
        aimAt(server.port());
        QTimer::singleShot(200, this, [] { QCoreApplication::exit(0); });
        QElapsedTimer t;
        t.start();
        send(QStringLiteral("bia@corkvane.test"));
        QVERIFY2(t.elapsed() < 5000, "the send outlived the program");
        QVERIFY(Dialogs::shownMessages().isEmpty());
        QVERIFY(!m_dialog->sending());
        QVERIFY(!m_dialog->smtpClient()->Connected());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(TestEnviarEmail)
#include "tst_enviaremail.moc"
