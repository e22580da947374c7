// Sending a note to computers from the send dialog, in this process: every recipient in
// txtPara is tried, failures are told apart from deliveries, and the program keeps running
// while a note is on its way.
#include "net/EnviaComputador.h"
#include "net/NoteSender.h"
#include "platform/Dialogs.h"
#include "LoopbackPeers.h"
#include "support/WaitUntil.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace LoopbackPeers;

namespace {

NoteProtocol::OutgoingNote sampleNote(int lines)
{
    NoteProtocol::OutgoingNote note;
    note.user = "ana";
    note.title = "Compras";
    note.colour = 8454143;
    note.textWidth = 175;
    note.textHeight = 120;
    note.captionColour = 8454143;
    note.font = NoteFont{"Arial", 10, 0, false, true};
    QStringList text;
    for (int i = 0; i < lines; ++i)
        text << (i % 3 == 1 ? QString() : QStringLiteral("linha %1 ção").arg(i));
    note.text = text.join("\r\n");
    return note;
}

QByteArray wire(const NoteProtocol::OutgoingNote &note)
{
    return NoteProtocol::encodeNote(note).join();
}

QStringList statusLines(const TfrmEnviaComputador &dialog)
{
    const QString text = dialog.findChild<QPlainTextEdit *>("memStatus")->toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

QStringList boxes()
{
    QStringList out;
    for (const Dialogs::ShownMessage &m : Dialogs::shownMessages())
        out << m.title + ": " + m.text;
    return out;
}

// A sender and its dialog as the controller sets them up, sending `note` to port `port`.
struct SendRig
{
    SendRig(quint16 port, const NoteProtocol::OutgoingNote &note) : sender(tmrConecta), dialog(sender, settings)
    {
        settings.recRede.PortTCP = QString::number(port);
        tmrConecta.setSingleShot(true);
        dialog.setNoteSource([this, note](int tag) -> std::optional<NoteProtocol::OutgoingNote> {
            ++sourceCalls;
            lastTag = tag;
            return note;
        });
        dialog.prepare(4);
        dialog.show();
    }
    void send(const QString &para)
    {
        dialog.findChild<QLineEdit *>("txtPara")->setText(para);
        QElapsedTimer t;
        t.start();
        button("cmdEnviar")->click();
        elapsed = t.elapsed();
    }
    QAbstractButton *button(const char *name) const { return dialog.findChild<QAbstractButton *>(name); }

    QTimer tmrConecta;
    AppSettings settings;
    NoteSender sender;
    TfrmEnviaComputador dialog;
    int sourceCalls = 0;
    int lastTag = -1;
    qint64 elapsed = 0;
};

} // namespace

class TestSend : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        Dialogs::setTestMode(true);
        Dialogs::resetAnswers();
    }

    void deliveredToEveryRecipient_data()
    {
        QTest::addColumn<QString>("para");
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("alarm");
        QTest::addColumn<int>("connections");
        QTest::newRow("one computer, text with blank lines") << "127.0.0.1" << 5 << false << 1;
        QTest::newRow("two entries, a space after the comma") << "127.0.0.1, 127.0.0.1" << 2 << true << 2;
        QTest::newRow("a note without text") << "127.0.0.1" << 0 << true << 1;
        QTest::newRow("blanks around the addresses, empty entries") << " 127.0.0.1 ,, ,127.0.0.1  " << 1 << false << 2;
    }
    void deliveredToEveryRecipient()
    {
        QFETCH(QString, para);
        QFETCH(int, lines);
        QFETCH(bool, alarm);
        QFETCH(int, connections);
        Receiver receiver("127.0.0.1");
        QVERIFY(receiver.listening());
        NoteProtocol::OutgoingNote note = sampleNote(lines);
        if (alarm) {
            note.alarm.armed = true;
            note.alarm.moment = QDateTime(QDate(2026, 12, 26), QTime(8, 0));
            note.alarm.remember = true;
            note.alarm.rememberNo = 2;
            note.alarm.rememberUnit = 3;
            note.alarm.dia = {false, true, true, true, true, true, false};
        }
        SendRig rig(receiver.port(), note);
        rig.send(para);

        QVERIFY(!rig.dialog.isVisible());
        QCOMPARE(boxes(), QStringList{"Aviso: Nota Enviada!"});
        QCOMPARE(rig.sourceCalls, 1);
        QCOMPARE(rig.lastTag, 4);
        QStringList expected;
        // Each address is shown as it is, without the blanks typed around it.
        for (const QString &to : para.split(',', Qt::SkipEmptyParts))
            if (!to.trimmed().isEmpty())
                expected << "Enviando para " + to.trimmed() + "..." << "Transmitindo Nota..." << "OK!" << "Nota Enviada!";
        QCOMPARE(statusLines(rig.dialog), expected);
        waitUntil([&] {
            return receiver.received.size() == connections
                   && std::all_of(receiver.received.begin(), receiver.received.end(),
                                  [&](const QByteArray &got) { return got == wire(note); });
        });
        QCOMPARE(receiver.received.size(), connections);
        for (const QByteArray &got : receiver.received)
            QCOMPARE(got, wire(note));
        // One pause after each text line and after "end", per recipient.
        const qsizetype paced = NoteProtocol::textLines(note.text).size() + 1;
        QVERIFY(rig.elapsed >= connections * paced * NoteSender::kLinePauseMs - 20);
        QCOMPARE(rig.sender.sockCliente()->State(), ssClosed);
    }

    // A refused recipient, one that never answers and one that takes the note: both failures are
    // told, the good one still gets the note, and the whole send waits for the silent one once.
    void failuresAreToldAndTheRestStillSent()
    {
        std::unique_ptr<Receiver> good;
        std::unique_ptr<SilentHost> silent;
        for (int attempt = 0; attempt < 20 && !silent; ++attempt) {
            good = std::make_unique<Receiver>("127.0.0.1");
            auto candidate = std::make_unique<SilentHost>("127.0.0.3", good->port());
            if (candidate->silent())
                silent = std::move(candidate);
        }
        QVERIFY2(silent, "no loopback listener with a full accept queue could be made to hang a connect");
        const NoteProtocol::OutgoingNote note = sampleNote(3);
        SendRig rig(good->port(), note);
        rig.send("127.0.0.2, 127.0.0.3,127.0.0.1");

        QVERIFY(rig.dialog.isVisible());
        QCOMPARE(boxes(), (QStringList{"Erro: Não foi possível conectar em 127.0.0.2 !",
                                       "Erro: Não foi possível conectar em 127.0.0.3 !"}));
        QCOMPARE(statusLines(rig.dialog),
                 (QStringList{"Não foi possível conectar em 127.0.0.2 !", "Não foi possível conectar em 127.0.0.3 !",
                              "Enviando para 127.0.0.1...", "Transmitindo Nota...", "OK!", "Nota Enviada!"}));
        QVERIFY(waitUntil([&] { return good->received.size() == 1 && good->received[0] == wire(note); }));
        qInfo("refused + silent + good recipient: %lld ms", rig.elapsed);
        QVERIFY2(rig.elapsed >= NoteSender::kConnectLimitMs, qPrintable(QString::number(rig.elapsed)));
        QVERIFY2(rig.elapsed < NoteSender::kConnectLimitMs + 4 * NoteSender::kLinePauseMs + 1500,
                 qPrintable(QString::number(rig.elapsed)));
        QCOMPARE(rig.sender.sockCliente()->State(), ssClosed);
        QVERIFY(rig.button("cmdEnviar")->isEnabled());
        QVERIFY(rig.button("cmdCancelar")->isEnabled());
    }

    void connectionLostDuringTheNoteIsAFailure_data()
    {
        QTest::addColumn<bool>("reset");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("closed after \"new\"") << false << QByteArray("new");
        QTest::newRow("reset after the first text line") << true << QByteArray("line");
    }
    void connectionLostDuringTheNoteIsAFailure()
    {
        QFETCH(bool, reset);
        QFETCH(QByteArray, after);
        Receiver receiver("127.0.0.1");
        receiver.onData = [&](QTcpSocket *s, const QByteArray &got) {
            if (got.contains(after) && s->state() == QAbstractSocket::ConnectedState) {
                if (reset)
                    Receiver::reset(s);
                else
                    s->close();
            }
        };
        SendRig rig(receiver.port(), sampleNote(8));
        rig.send("127.0.0.1");
        QVERIFY(rig.dialog.isVisible());
        // The recipient was reached: the loss of the connection is told, not a failed connect.
        const QString lost = "A conexão com 127.0.0.1 caiu durante o envio: a nota não chegou inteira!";
        QCOMPARE(boxes(), QStringList{"Erro: " + lost});
        QCOMPARE(statusLines(rig.dialog), (QStringList{"Enviando para 127.0.0.1...", "Transmitindo Nota...", lost}));
        QCOMPARE(rig.sender.sockCliente()->State(), ssClosed);
    }

    // A field of commas and blanks names no computer: nothing is sent, and nothing said sent.
    void noAddressIsToldAsSuch_data()
    {
        QTest::addColumn<QString>("para");
        QTest::newRow("commas only") << ",,,";
        QTest::newRow("blanks only") << "   ";
        QTest::newRow("commas and blanks") << " , ,\t, ";
    }
    void noAddressIsToldAsSuch()
    {
        QFETCH(QString, para);
        Receiver receiver("127.0.0.1");
        SendRig rig(receiver.port(), sampleNote(2));
        rig.send(para);
        const QString none = "Nenhum endereço informado: digite o IP ou o nome de pelo menos um computador.";
        QCOMPARE(boxes(), QStringList{"Erro: " + none});
        QCOMPARE(statusLines(rig.dialog), QStringList{none});
        QVERIFY(rig.dialog.isVisible());
        QVERIFY(rig.button("cmdEnviar")->isEnabled());
        QTest::qWait(100);
        QCOMPARE(receiver.received.size(), 0);
    }

    void recipientsPastTheFirst255Characters()
    {
        Receiver receiver("127.0.0.1");
        const NoteProtocol::OutgoingNote note = sampleNote(1);
        SendRig rig(receiver.port(), note);
        const QString para = QString("127.0.0.2,").repeated(30) + "127.0.0.1";
        QVERIFY(para.size() > 255);
        rig.send(para);
        QCOMPARE(boxes().size(), 30);
        QCOMPARE(statusLines(rig.dialog).mid(30), (QStringList{"Enviando para 127.0.0.1...", "Transmitindo Nota...",
                                                               "OK!", "Nota Enviada!"}));
        QVERIFY(waitUntil([&] { return receiver.received.value(0) == wire(note); }));
    }

    // The pauses between lines keep their pace on the wire without stopping the program; the
    // dialog cannot be closed or started again meanwhile.
    void programKeepsRunningWhileSending()
    {
        Receiver receiver("127.0.0.1");
        const NoteProtocol::OutgoingNote note = sampleNote(25);
        SendRig rig(receiver.port(), note);
        QElapsedTimer clock;
        qint64 last = -1, longestGap = 0;
        int ticks = 0;
        bool guarded = true;
        QTimer tick;
        tick.setInterval(20);
        connect(&tick, &QTimer::timeout, this, [&] {
            const qint64 now = clock.elapsed();
            if (last >= 0)
                longestGap = std::max(longestGap, now - last);
            last = now;
            ++ticks;
            if (ticks == 10) {
                rig.dialog.reject();
                rig.dialog.close();
                rig.button("cmdEnviar")->click();
                guarded = rig.dialog.sending() && rig.dialog.isVisible() && !rig.button("cmdEnviar")->isEnabled()
                          && !rig.button("cmdCancelar")->isEnabled() && !rig.button("cmdAddress")->isEnabled();
            }
        });
        clock.start();
        tick.start();
        rig.send("127.0.0.1");
        tick.stop();

        qInfo("25-line note: %lld ms, %d ticks of 20 ms, longest gap %lld ms", rig.elapsed, ticks, longestGap);
        QVERIFY(guarded);
        QCOMPARE(rig.sourceCalls, 1);
        QVERIFY(rig.elapsed >= 26 * NoteSender::kLinePauseMs);
        QVERIFY2(ticks >= rig.elapsed / 40, qPrintable(QString("%1 ticks in %2 ms").arg(ticks).arg(rig.elapsed)));
        QVERIFY2(longestGap < 250, qPrintable(QString("the event loop stood still for %1 ms").arg(longestGap)));
        QCOMPARE(boxes(), QStringList{"Aviso: Nota Enviada!"});
        QVERIFY(waitUntil([&] { return receiver.received.value(0) == wire(note); }));
    }

    void shutdownStopsTheSend()
    {
        Receiver receiver("127.0.0.1");
        SendRig rig(receiver.port(), sampleNote(10));
        QTimer::singleShot(300, &rig.sender, &NoteSender::shutdown);
        rig.send("127.0.0.1,127.0.0.1");
        QVERIFY(rig.elapsed < 1000);
        QVERIFY(boxes().isEmpty());
        QCOMPARE(receiver.received.size(), 1);
        QCOMPARE(rig.sender.sockCliente()->State(), ssClosed);
        QVERIFY(!rig.sender.ConnectToComputer("127.0.0.1", QString::number(receiver.port())));
    }

    void dialogBehaviour()
    {
        SendRig rig(1, sampleNote(1));
        auto *para = rig.dialog.findChild<QLineEdit *>("txtPara");
        // cmdEnviar follows txtPara; the status log keeps its last 1000 lines.
        para->clear();
        QVERIFY(!rig.button("cmdEnviar")->isEnabled());
        para->setText("x");
        QVERIFY(rig.button("cmdEnviar")->isEnabled());
        for (int i = 0; i < 1005; ++i)
            rig.dialog.AddStatus(QString::number(i));
        const QStringList log = statusLines(rig.dialog);
        QCOMPARE(log.size(), 1000);
        QCOMPARE(log.first(), QString("5"));
        QCOMPARE(log.last(), QString("1004"));
        // Shown again: the log is empty, txtPara keeps its text; a reply puts the address there.
        rig.dialog.hide();
        rig.dialog.prepare(7);
        rig.dialog.show();
        QVERIFY(statusLines(rig.dialog).isEmpty());
        QCOMPARE(para->text(), QString("x"));
        rig.dialog.prepare(7, QString("192.168.0.7"));
        QCOMPARE(para->text(), QString("192.168.0.7"));
        rig.dialog.prepare(7, QString());
        QVERIFY(!rig.button("cmdEnviar")->isEnabled());

        QSignalSpy help(&rig.dialog, &TfrmEnviaComputador::helpRequested);
        QTest::keyClick(&rig.dialog, Qt::Key_F1);
        QCOMPARE(help.size(), 1);
        QCOMPARE(help.first().first().toInt(), 9);
    }

    void contactBookChoiceIsMerged_data()
    {
        QTest::addColumn<QString>("para");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QString>("merged");
        QTest::newRow("into an empty field") << "" << QStringList{"10.0.0.1", "pc-ana"} << "10.0.0.1,pc-ana";
        QTest::newRow("appended after a comma") << "pc-bia" << QStringList{"10.0.0.1"} << "pc-bia,10.0.0.1";
        QTest::newRow("inside an address already there") << "10.0.0.12" << QStringList{"10.0.0.1"} << "10.0.0.12";
        QTest::newRow("nothing chosen") << "pc-bia" << QStringList{} << "pc-bia";
    }
    void contactBookChoiceIsMerged()
    {
        QFETCH(QString, para);
        QFETCH(QStringList, chosen);
        QFETCH(QString, merged);
        SendRig rig(1, sampleNote(1));
        rig.dialog.setRecipientChooser([chosen] { return chosen; });
        rig.dialog.findChild<QLineEdit *>("txtPara")->setText(para);
        rig.button("cmdAddress")->click();
        QCOMPARE(rig.dialog.findChild<QLineEdit *>("txtPara")->text(), merged);
    }
};

QTEST_MAIN(TestSend)
#include "tst_send.moc"
