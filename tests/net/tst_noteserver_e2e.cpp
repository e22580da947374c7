// The installed program receiving notes: build/bin/corkvane runs headless on a fresh home with a
// store that enables networking, a plain TCP client talks to it on 127.0.0.1, and after a
// SIGTERM the saved store shows what arrived.
#include "support/ResidentMemory.h"
#include "platform/Paths.h"
#include "store/NoteStore.h"
#include "support/ProgramRun.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const QByteArray C("\xA2", 1);
const QByteArray kBannerLine("Corkvane waiting for commands...\r\n");
const QByteArray kHelp("Commands are:\n\r  new\n\r  exit\n\r  reply\n\r");

quint16 freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::AnyIPv4, 0))
        return 0;
    return probe.serverPort();
}

QByteArray sampleExchange()
{
    return "new" + C + "ana" + C + "Compras" + C + "8454143" + C + "175" + C + "120" + C + "8454143" + C + "Arial" + C
           + "10" + C + "0" + C + "nobold" + C + "noitalic\r\n\r\n" + "alarm" + C + "26/12/2026 08:00:00" + C + "1" + C
           + "C:\\sons\\gong.wav" + C + "\r\n\r\n" + "line" + C + "Comprar p\xE3o\r\n\r\n" + "line" + C + "\r\n\r\n"
           + "end" + C + "\r\n\r\n";
}


class Client
{
public:
    // From `source`, any address of 127.0.0.0/8.
    explicit Client(quint16 port, const QString &source = QStringLiteral("127.0.0.1"))
    {
        socket.bind(QHostAddress(source), 0);
        socket.connectToHost(QHostAddress::LocalHost, port);
    }
    QByteArray read(qsizetype count, int timeoutMs = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (socket.bytesAvailable() < count && t.elapsed() < timeoutMs
               && socket.state() != QAbstractSocket::UnconnectedState)
            socket.waitForReadyRead(50);
        return socket.read(count);
    }
    // Each command in its own write, as a sender does.
    void sendCommands(const QByteArray &stream)
    {
        qsizetype start = 0;
        for (qsizetype end; (end = stream.indexOf("\r\n\r\n", start)) >= 0; start = end + 4) {
            socket.write(stream.mid(start, end + 4 - start));
            socket.waitForBytesWritten(1000);
        }
    }
    void send(const QByteArray &bytes)
    {
        socket.write(bytes);
        socket.waitForBytesWritten(1000);
    }
    bool waitClosed(int timeoutMs = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (socket.state() != QAbstractSocket::UnconnectedState && t.elapsed() < timeoutMs)
            socket.waitForReadyRead(50);
        return socket.state() == QAbstractSocket::UnconnectedState;
    }
    QTcpSocket socket;
};

// One run of the program on its own home folder, listening for notes on a free port.
class Program
{
public:
    Program(int blocktype, const QStringList &blockList)
    {
        port = freePort();
        AppSettings settings;
        settings.recGeral.UseSounds = false;
        settings.recGeral.AutoSave = false;
        settings.recGeral.User = QStringLiteral("receiver");
        settings.recRede.Enabled = true;
        settings.recRede.PortTCP = QString::number(port);
        settings.recRede.Blocktype = blocktype;
        settings.recRede.BlockList = blockList;
        QDir().mkpath(run.dataFolder());
        saved = bool(NoteStore::save(run.storePath(), settings, {}, true)) && run.start();
    }

    static QString binDir() { return ProgramRun::binFolder(); }

    // Connects once the program listens; the client has read the banner.
    std::unique_ptr<Client> connect()
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 20000 && run.process.state() == QProcess::Running) {
            auto client = std::make_unique<Client>(port);
            if (client->socket.waitForConnected(500)) {
                if (client->read(kBannerLine.size()) == kBannerLine)
                    return client;
                return nullptr;
            }
            QTest::qWait(100);
        }
        return nullptr;
    }

    // SIGTERM, then the store the program saved on its way out.
    QList<NoteData> stop()
    {
        if (run.terminate() != 0)
            return {};
        return NoteStore::load(run.storePath(), QDateTime::currentDateTime(), Paths::loginName(), binDir()).notes;
    }

    ProgramRun run;
    quint16 port = 0;
    bool saved = false;
};

} // namespace

class TestNoteServerE2E : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(Program::binDir() + QStringLiteral("corkvane")), "build the corkvane target first");
    }

    void receivesAndSavesTheSampleNote()
    {
        Program program(0, {});
        QVERIFY(program.saved);
        auto client = program.connect();
        QVERIFY2(client, "the program did not greet a client on its PortTCP");

        client->send("help\r\n");
        QCOMPARE(client->read(39), kHelp);
        // The same line again without a blank line between is a repeat and gets no answer.
        client->send("help\r\nHELP\r\n");
        QCOMPARE(client->read(39), kHelp);
        QCOMPARE(client->read(1, 300), QByteArray());

        // A malformed "new" aborts its own connection and keeps its half-built note.
        auto broken = program.connect();
        QVERIFY(broken);
        broken->sendCommands("new" + C + "ana" + C + "Com" + C + "pras" + C + "8454143" + C + "175\r\n\r\n");
        QVERIFY(broken->waitClosed());
        // 81 unfinished bytes close a connection.
        auto flood = program.connect();
        QVERIFY(flood);
        flood->send(QByteArray(81, 'x'));
        QVERIFY(flood->waitClosed());

        // The first connection goes on working.
        client->sendCommands(sampleExchange());
        client->send("exit\r\n");
        QVERIFY(client->waitClosed());

        // Each "line" is a new last line of the text, an empty one at the start included.
        auto blanks = program.connect();
        QVERIFY(blanks);
        blanks->sendCommands("new" + C + "bia" + C + "Vazias" + C + "255" + C + "175" + C + "120" + C + "255" + C + "Arial" + C
                             + "10" + C + "0" + C + "nobold" + C + "noitalic\r\n\r\n" + "line" + C + "\r\n\r\n" + "line" + C
                             + "\r\n\r\n" + "line" + C + "x\xA0y\r\n\r\n" + "end" + C + "\r\n\r\n");
        blanks->send("exit\r\n");
        QVERIFY(blanks->waitClosed());

        const QList<NoteData> notes = program.stop();
        QCOMPARE(notes.size(), 3);
        QCOMPARE(notes[2].note, QString::fromUtf8("\r\n\r\nx\u00A0y"));
        QCOMPARE(notes[0].caption, QStringLiteral("Com"));

        const NoteData &n = notes[1];
        QCOMPARE(n.caption, QStringLiteral("Compras"));
        QVERIFY(n.visible);
        QCOMPARE(n.color, 8454143);
        // The window holds the sender's text area: title bar, margins and footer around it.
        QCOMPARE(n.width, 175 + 5);
        QCOMPARE(n.font, (NoteFont{QStringLiteral("Arial"), 10, 0, false, false}));
        QCOMPARE(n.rodape, QStringLiteral("De ana (127.0.0.1)"));
        QCOMPARE(n.note.split(QStringLiteral("\r\n")).first(), QString::fromUtf8("Comprar pão"));
        QVERIFY(n.note.trimmed() == QString::fromUtf8("Comprar pão"));
        QVERIFY(n.alarm);
        QCOMPARE(n.alarmDateTime, QDateTime(QDate(2026, 12, 26), QTime(8, 0)));
        QVERIFY(n.useSound);
        QCOMPARE(QFileInfo(n.soundFile).canonicalFilePath(), QFileInfo(Program::binDir() + QStringLiteral("boing.wav")).canonicalFilePath());
        QVERIFY(QFileInfo(n.soundFile).isFile());
        QCOMPARE(n.height, 120 + 13 + 5 + 12);
    }

    // Twenty notes of 4096 x 4096 from two addresses: each window is only as large as the
    // screen, so the program stays alive and its memory grows by little.
    void hugeNotesCostNoMoreThanTheScreen()
    {
        Program program(0, {});
        QVERIFY(program.saved);
        auto settle = program.connect();
        QVERIFY(settle);
        settle->send("help\r\n");
        QCOMPARE(settle->read(39), kHelp);
        QTest::qWait(500);
        const qint64 pid = program.run.process.processId();
        const qint64 before = ResidentMemory::kilobytes(pid);

        for (const char *source : {"127.0.0.2", "127.0.0.3"}) {
            Client client(program.port, QString::fromLatin1(source));
            QCOMPARE(client.read(kBannerLine.size()), kBannerLine);
            for (int i = 0; i < 10; ++i)
                client.sendCommands("new" + C + source + C + "huge " + QByteArray::number(i) + C + "8454143" + C + "4096" + C
                                    + "4096" + C + "8454143" + C + "Arial" + C + "10" + C + "0" + C + "nobold" + C
                                    + "noitalic\r\n\r\n" + "line" + C + "x\r\n\r\n" + "end" + C + "\r\n\r\n");
            client.send("help\r\n");
            QCOMPARE(client.read(39), kHelp);  // every note before it was taken in
        }
        // Time for every window to be shown and painted.
        QTest::qWait(1500);
        QCOMPARE(program.run.process.state(), QProcess::Running);
        const qint64 after = ResidentMemory::kilobytes(pid);
        qInfo("resident memory: %lld kB before the twenty notes, %lld kB after", before, after);
        QVERIFY(before > 0 && after > 0);
        QVERIFY2(after - before < 400 * 1024, qPrintable(QStringLiteral("grew by %1 kB").arg(after - before)));

        const QList<NoteData> notes = program.stop();
        QCOMPARE(notes.size(), 20);
        const QSize screen(800, 800);  // the one screen of Qt's offscreen platform
        for (const NoteData &n : notes) {
            QVERIFY2(n.width <= screen.width() && n.height <= screen.height(),
                     qPrintable(QStringLiteral("%1: %2 x %3").arg(n.caption).arg(n.width).arg(n.height)));
            QCOMPARE(n.note, QStringLiteral("x"));
        }
    }

    void blockedSendersLeaveNoNote_data()
    {
        QTest::addColumn<int>("blocktype");
        QTest::addColumn<QStringList>("blockList");
        QTest::addColumn<bool>("received");
        QTest::newRow("block all") << 1 << QStringList{} << false;
        QTest::newRow("address listed") << 2 << QStringList{QStringLiteral("10.0.0.9"), QStringLiteral("127.0.0.1")} << false;
        QTest::newRow("name listed") << 2 << QStringList{QStringLiteral("localhost")} << true;
    }

    void blockedSendersLeaveNoNote()
    {
        QFETCH(int, blocktype);
        QFETCH(QStringList, blockList);
        QFETCH(bool, received);

        Program program(blocktype, blockList);
        QVERIFY(program.saved);
        auto client = program.connect();
        QVERIFY2(client, "a blocked sender is still accepted and greeted");
        client->send("help\r\n");
        QCOMPARE(client->read(39, received ? 5000 : 500), received ? kHelp : QByteArray());
        client->sendCommands(sampleExchange());
        client->send("exit\r\n");
        // "exit" from a blocked sender is ignored too: the connection stays open.
        QCOMPARE(client->waitClosed(received ? 5000 : 500), received);
        client.reset();

        const QList<NoteData> notes = program.stop();
        QCOMPARE(notes.size(), received ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(TestNoteServerE2E)
#include "tst_noteserver_e2e.moc"
