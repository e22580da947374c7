// The installed program receiving notes: build/bin/corkvane runs headless on a fresh home with a
// store that enables networking, a plain TCP client talks to it on 127.0.0.1, and after a
// SIGTERM the saved store shows what arrived.
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
    explicit Client(quint16 port) { socket.connectToHost(QHostAddress::LocalHost, port); }
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
        QCOMPARE(n.width, 175);
        QCOMPARE(n.font, (NoteFont{QStringLiteral("Arial"), 10, 0, false, false}));
        QCOMPARE(n.rodape, QStringLiteral("De ana (127.0.0.1)"));
        QCOMPARE(n.note.split(QStringLiteral("\r\n")).first(), QString::fromUtf8("Comprar pão"));
        QVERIFY(n.note.trimmed() == QString::fromUtf8("Comprar pão"));
        QVERIFY(n.alarm);
        QCOMPARE(n.alarmDateTime, QDateTime(QDate(2026, 12, 26), QTime(8, 0)));
        QVERIFY(n.useSound);
        QCOMPARE(QFileInfo(n.soundFile).canonicalFilePath(), QFileInfo(Program::binDir() + QStringLiteral("boing.wav")).canonicalFilePath());
        QVERIFY(QFileInfo(n.soundFile).isFile());
        // The window is the text area plus the 12-pixel footer.
        QCOMPARE(n.height, 120 + 12);
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
