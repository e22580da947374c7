#include "FakeNoteSink.h"
#include "net/BlockList.h"
#include "net/NoteServer.h"
#include "platform/Clock.h"
#include "platform/Locale.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <memory>

namespace {

const QByteArray C("\xA2", 1);

quint16 freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::AnyIPv4, 0))
        return 0;
    return probe.serverPort();
}

QByteArray newCommand(const QByteArray &user, const QByteArray &title)
{
    return "new" + C + user + C + title + C + "8454143" + C + "175" + C + "120" + C + "8454143" + C + "Arial" + C + "10" + C + "0" + C
           + "nobold" + C + "noitalic\r\n\r\n";
}

// A plain TCP client on 127.0.0.1, as another installation (or a person with a terminal) is.
class Peer
{
public:
    // From `source`, any address of 127.0.0.0/8.
    explicit Peer(quint16 port, const QString &source = QStringLiteral("127.0.0.1"))
    {
        socket.bind(QHostAddress(source), 0);
        socket.connectToHost(QHostAddress::LocalHost, port);
    }
    // Waits for `count` bytes and takes them.
    QByteArray read(qsizetype count, int timeoutMs = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (socket.bytesAvailable() < count && t.elapsed() < timeoutMs)
            QTest::qWait(5);
        return socket.read(count);
    }
    QByteArray banner() { return read(34); }
    void send(const QByteArray &bytes)
    {
        socket.write(bytes);
        socket.flush();
    }
    bool waitClosed(int timeoutMs = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (socket.state() != QAbstractSocket::UnconnectedState && t.elapsed() < timeoutMs)
            QTest::qWait(5);
        return socket.state() == QAbstractSocket::UnconnectedState;
    }
    QTcpSocket socket;
};

struct Fixture
{
    AppSettings settings;
    FakeNoteSink sink;
    NoteServer server{settings, sink, QStringLiteral("/opt/corkvane/")};
    quint16 port = 0;

    Fixture()
    {
        port = freePort();
        settings.recRede.PortTCP = QString::number(port);
        server.StartNoteServer();
    }
    bool logged(const QString &text) const { return server.eventLog().lines().contains(text); }
    bool loggedPart(const QString &part) const
    {
        return server.eventLog().lines().join(QLatin1Char('\n')).contains(part);
    }
    int finishedNotes() const
    {
        int n = 0;
        for (const FakeNote &note : sink.notes)
            n += note.finished;
        return n;
    }
};

} // namespace

class TestNoteServer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Locale::overrideLocaleId(Locale::kPortugueseBrazil); }

    void greetsAnswersHelpAndClosesOnExit()
    {
        MockClock clock(QDateTime(QDate(2026, 5, 1), QTime(9, 0)));
        Fixture f;
        QVERIFY(f.server.isListening());
        QCOMPARE(f.server.listeningPort(), QString::number(f.port));

        Peer peer(f.port);
        QCOMPARE(peer.banner(), QByteArray("Corkvane waiting for commands...\r\n"));
        const QString remote = QStringLiteral("127.0.0.1/") + QString::number(peer.socket.localPort());
        peer.send("help\r\n");
        QCOMPARE(peer.read(39), NoteProtocol::kHelpText);
        peer.send("HELP\r\n");
        QCOMPARE(peer.read(39), NoteProtocol::kHelpText);
        clock.advanceSecs(65);
        peer.send("exit\r\n");
        QVERIFY(peer.waitClosed());
        QCOMPARE(peer.socket.readAll(), QByteArray());

        QTRY_VERIFY(f.logged(QStringLiteral("Client disconnecting: 127.0.0.1   Duration: 00:01:05")));
        const QStringList log = f.server.eventLog().lines();
        QCOMPARE(log.mid(0, 4), (QStringList{QStringLiteral("Waiting for clients..."),
                                             QStringLiteral("Client connected. Remote: ") + remote + QStringLiteral(" Local: 127.0.0.1/")
                                                 + QString::number(f.port),
                                             QStringLiteral("Received from 127.0.0.1: 'help'"),
                                             QStringLiteral("Received from 127.0.0.1: 'HELP'")}));
        QCOMPARE(f.server.connectionCount(), 0);
    }

    void peersThatHoardAreCutOff()
    {
        Fixture f;
        // A peer that asks for help over and over and never reads the answers.
        QTcpSocket hoarder;
        hoarder.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
        hoarder.setReadBufferSize(1024);
        hoarder.connectToHost(QHostAddress::LocalHost, f.port);
        QVERIFY(hoarder.waitForConnected(5000));
        QByteArray burst;
        for (int i = 0; i < 2000; ++i)
            burst += "help\r\n\r\n";
        QElapsedTimer t;
        t.start();
        while (!f.loggedPart(QStringLiteral("Client does not read its answers: 127.0.0.1")) && t.elapsed() < 20000
               && hoarder.state() == QAbstractSocket::ConnectedState) {
            hoarder.write(burst);
            QTest::qWait(2);
        }
        QTRY_VERIFY(f.loggedPart(QStringLiteral("Client does not read its answers: 127.0.0.1")));
        QTRY_COMPARE(f.server.connectionCount(), 0);

        // Peers that connect and keep still, from as many addresses as it takes: past the
        // ceiling a newcomer takes the place of the oldest of them. (One at a time: the
        // listening backlog is short.)
        auto source = [](int i) { return QStringLiteral("127.0.1.%1").arg(1 + i / NoteServer::kMaxConnectionsPerAddress); };
        std::vector<std::unique_ptr<Peer>> idle;
        for (int i = 0; i < NoteServer::kMaxConnections; ++i) {
            idle.push_back(std::make_unique<Peer>(f.port, source(i)));
            QTRY_COMPARE_WITH_TIMEOUT(f.server.connectionCount(), i + 1, 5000);
        }
        Peer newcomer(f.port, QStringLiteral("127.0.2.1"));
        QCOMPARE(newcomer.banner(), QByteArray("Corkvane waiting for commands...\r\n"));
        QVERIFY(idle.front()->waitClosed());
        QVERIFY(f.logged(QStringLiteral("Too many connections: closing the oldest idle one, from 127.0.1.1, for 127.0.2.1.")));
        QTRY_COMPARE_WITH_TIMEOUT(f.server.connectionCount(), NoteServer::kMaxConnections, 10000);
        newcomer.send(newCommand("ana", "in") + "end" + C + "\r\n\r\n");
        QTRY_COMPARE(f.finishedNotes(), 1);
        idle.clear();
        QTRY_COMPARE_WITH_TIMEOUT(f.server.connectionCount(), 1, 10000);
    }

    // At the ceiling, a connection that is building a note is never the one let go: the oldest
    // idle one is, and only when every connection builds a note is the newcomer turned away.
    void theCeilingSparesNotesInProgress()
    {
        Fixture f;
        f.server.setConnectionLimits(NoteServer::kMaxConnectionsPerAddress, NoteServer::kStallTimeoutMs, 3);
        std::vector<std::unique_ptr<Peer>> peers;
        auto open = [&](const char *source) {
            peers.push_back(std::make_unique<Peer>(f.port, QString::fromLatin1(source)));
            return peers.back().get();
        };
        Peer *building = open("127.0.0.2");
        QCOMPARE(building->banner().size(), 34);
        building->send(newCommand("ana", "first"));
        QTRY_COMPARE(f.sink.notes.size(), 1);
        Peer *idleOld = open("127.0.0.3");
        QCOMPARE(idleOld->banner().size(), 34);
        Peer *idleNew = open("127.0.0.4");
        QCOMPARE(idleNew->banner().size(), 34);

        Peer *fourth = open("127.0.0.5");
        QCOMPARE(fourth->banner().size(), 34);
        QVERIFY(idleOld->waitClosed());
        QCOMPARE(building->socket.state(), QAbstractSocket::ConnectedState);
        QCOMPARE(idleNew->socket.state(), QAbstractSocket::ConnectedState);
        fourth->send(newCommand("bia", "second"));
        idleNew->send(newCommand("caio", "third"));
        QTRY_COMPARE(f.sink.notes.size(), 3);

        // Every connection builds a note now.
        Peer *turnedAway = open("127.0.0.6");
        QCOMPARE(turnedAway->read(6), QByteArray("busy\r\n"));
        QVERIFY(turnedAway->waitClosed());
        QVERIFY(f.logged(QStringLiteral("Too many connections: 127.0.0.6 refused.")));
        // The notes go on and end as sent.
        for (Peer *peer : {building, fourth, idleNew})
            peer->send("line" + C + "x\r\n\r\nend" + C + "\r\n\r\n");
        QTRY_COMPARE(f.finishedNotes(), 3);
        for (const FakeNote &n : std::as_const(f.sink.notes))
            QCOMPARE(n.lines, QStringList{QStringLiteral("x")});
    }

    void oneAddressCannotHoldTheServer()
    {
        Fixture f;
        constexpr int kCap = NoteServer::kMaxConnectionsPerAddress;
        std::vector<std::unique_ptr<Peer>> held;
        for (int i = 0; i < kCap; ++i) {
            held.push_back(std::make_unique<Peer>(f.port, QStringLiteral("127.0.0.2")));
            QCOMPARE(held.back()->banner(), QByteArray("Corkvane waiting for commands...\r\n"));
        }
        // One more from that address is told and turned away.
        Peer extra(f.port, QStringLiteral("127.0.0.2"));
        QCOMPARE(extra.read(6), QByteArray("busy\r\n"));
        QVERIFY(extra.waitClosed());
        QVERIFY(f.logged(QStringLiteral("Too many connections from 127.0.0.2: refused.")));
        // Anyone else is served as ever.
        Peer other(f.port, QStringLiteral("127.0.0.3"));
        QCOMPARE(other.banner().size(), 34);
        other.send(newCommand("ana", "served") + "end" + C + "\r\n\r\n");
        QTRY_COMPARE(f.finishedNotes(), 1);
        QCOMPARE(f.sink.notes.first().title, QStringLiteral("served"));
        // Once one of the held connections ends, its address has room again.
        held.front()->socket.disconnectFromHost();
        QTRY_COMPARE(f.server.connectionCount(), kCap);
        Peer again(f.port, QStringLiteral("127.0.0.2"));
        QCOMPARE(again.banner().size(), 34);
    }

    void connectionsThatMakeNoProgressAreClosed_data()
    {
        QTest::addColumn<QByteArray>("everyTick");  // written every 100 ms
        QTest::addColumn<bool>("closed");
        QTest::newRow("idle") << QByteArray() << true;
        QTest::newRow("a byte at a time") << QByteArray("l") << true;
        QTest::newRow("blank lines carry no command") << QByteArray("\r\n") << true;
        QTest::newRow("a sender's lines") << QByteArray("line" + C + "text\r\n\r\n") << false;
    }

    void connectionsThatMakeNoProgressAreClosed()
    {
        QFETCH(QByteArray, everyTick);
        QFETCH(bool, closed);
        Fixture f;
        f.server.setConnectionLimits(NoteServer::kMaxConnectionsPerAddress, 400);
        Peer peer(f.port);
        QCOMPARE(peer.banner().size(), 34);
        peer.send(newCommand("ana", "slow"));
        // Three times the limit: whatever completes lines now and then is never cut.
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 1200 && peer.socket.state() == QAbstractSocket::ConnectedState) {
            peer.send(everyTick);
            QTest::qWait(100);
        }
        QCOMPARE(peer.socket.state() == QAbstractSocket::ConnectedState, !closed);
        QCOMPARE(f.logged(QStringLiteral("No line from 127.0.0.1 for too long. Closing.")), closed);
        // The note as far as it came stays, and the bytes of a line never ended are not read.
        QCOMPARE(f.sink.notes.size(), 1);
        for (const QString &line : f.sink.notes.first().lines)
            QCOMPARE(line, QStringLiteral("text"));
    }

    void oneAddressCannotBuryTheDesktopInNotes()
    {
        Fixture f;
        Peer flood(f.port, QStringLiteral("127.0.0.2"));
        QCOMPARE(flood.banner().size(), 34);
        QByteArray burst;
        for (int i = 0; i < 100; ++i)
            burst += newCommand("flood", "n" + QByteArray::number(i)) + "line" + C + "x\r\n\r\n";
        flood.send(burst);
        flood.send("help\r\n");
        QCOMPARE(flood.read(39), NoteProtocol::kHelpText);  // every line before it is handled
        QVERIFY(f.logged(QStringLiteral("Too many notes from 127.0.0.2: note refused.")));
        QCOMPARE(f.sink.notes.size(), NoteRateLimit::kBurst);
        for (const FakeNote &n : std::as_const(f.sink.notes))
            QCOMPARE(n.lines, QStringList{QStringLiteral("x")});
        Peer other(f.port, QStringLiteral("127.0.0.3"));
        QCOMPARE(other.banner().size(), 34);
        other.send(newCommand("ana", "served"));
        QTRY_COMPARE(f.sink.notes.size(), NoteRateLimit::kBurst + 1);
    }

    void startStopAndPorts()
    {
        QCOMPARE(NoteServer::portNumber(QStringLiteral(" 7801 ")), 7801);
        QCOMPARE(NoteServer::portNumber(QStringLiteral("65535")), 65535);
        for (const char *bad : {"", "0", "65536", "-1", "+80", "78 01", "no-such-service-here"})
            QCOMPARE(NoteServer::portNumber(QString::fromLatin1(bad)), -1);
        if (QFile::exists(QStringLiteral("/etc/services")))
            QCOMPARE(NoteServer::portNumber(QStringLiteral("http")), 80);

        Fixture f;
        Peer early(f.port);
        QVERIFY(!early.banner().isEmpty());

        // Already listening: a changed port is not taken up.
        f.settings.recRede.PortTCP = QString::number(freePort());
        f.server.StartNoteServer();
        QCOMPARE(f.server.listeningPort(), QString::number(f.port));
        QCOMPARE(f.server.eventLog().lines().count(QStringLiteral("Waiting for clients...")), 1);

        // Stopped: no new connection, but the one already accepted goes on working, note and all.
        early.send(newCommand("ana", "before the stop"));
        QTRY_COMPARE(f.sink.notes.size(), 1);
        f.server.StopNoteServer();
        QVERIFY(!f.server.isListening());
        Peer late(f.port);
        QVERIFY(late.waitClosed());
        early.send("help\r\n");
        QCOMPARE(early.read(39), NoteProtocol::kHelpText);
        early.send("line" + C + "after the stop\r\n\r\n");
        QTRY_COMPARE(f.sink.notes.first().lines.size(), 1);

        // Once the table is to be refilled, the note in progress is let go.
        f.server.ForgetNotesInProgress();
        early.send("line" + C + "after the refill\r\n\r\n");
        QVERIFY(early.waitClosed());
        QTRY_VERIFY(f.loggedPart(QStringLiteral("Client exception occured: ENoteGone: ")));
        QCOMPARE(f.sink.notes.first().lines.size(), 1);

        // A text that names no port fails instead of listening on a port the system picks.
        f.settings.recRede.PortTCP = QStringLiteral("0");
        QVERIFY_THROWS_EXCEPTION(ENoteServerError, f.server.StartNoteServer());
        QVERIFY(!f.server.isListening());

        // A port in use fails with the socket layer's error and leaves the server stopped.
        QTcpServer squatter;
        QVERIFY(squatter.listen(QHostAddress::AnyIPv4, 0));
        f.settings.recRede.PortTCP = QString::number(squatter.serverPort());
        try {
            f.server.StartNoteServer();
            QFAIL("listening on a taken port must fail");
        } catch (const ESocketError &e) {
            QCOMPARE(e.code(), 10048);
            QVERIFY(QString::fromUtf8(e.what()).contains(QLatin1String("Address already in use")));
        }
        QVERIFY(!f.server.isListening());

        // And starts again once the port is sound.
        f.settings.recRede.PortTCP = QString::number(freePort());
        f.server.StartNoteServer();
        QVERIFY(f.server.isListening());
    }

    void sampleExchangeOverTheWire()
    {
        Fixture f;
        Peer peer(f.port);
        QVERIFY(!peer.banner().isEmpty());
        // One send per command, as a sender writes them.
        peer.send(newCommand("ana", "Compras"));
        peer.send("alarm" + C + "26/12/2026 08:00:00" + C + "1" + C + "C:\\sons\\gong.wav" + C + "\r\n\r\n");
        peer.send("line" + C + "Comprar p\xE3o\r\n\r\n");
        peer.send("line" + C + "\r\n\r\n");
        peer.send("end" + C + "\r\n\r\n");
        peer.socket.disconnectFromHost();
        QTRY_COMPARE(f.finishedNotes(), 1);

        const FakeNote &n = f.sink.notes.first();
        QCOMPARE(n.title, QStringLiteral("Compras"));
        QCOMPARE(n.footer, QStringLiteral("De ana (127.0.0.1)"));
        QCOMPARE(n.replyAddress, QStringLiteral("127.0.0.1"));
        QCOMPARE(n.textWidth, 175);
        QCOMPARE(n.textHeight, 120);
        QCOMPARE(n.alarm.moment, QDateTime(QDate(2026, 12, 26), QTime(8, 0)));
        QCOMPARE(n.alarm.soundFile, QStringLiteral("/opt/corkvane/boing.wav"));
        QCOMPARE(n.lines, (QStringList{QString::fromUtf8("Comprar pão"), QString()}));
        QTRY_VERIFY(f.server.eventLog().lines().last().startsWith(QLatin1String("Client disconnecting: 127.0.0.1")));
    }

    void blockedSendersAreLoggedAndIgnored()
    {
        Fixture f;
        f.settings.recRede.Blocktype = BlockList::kBlockAll;
        Peer peer(f.port);
        QCOMPARE(peer.banner(), QByteArray("Corkvane waiting for commands...\r\n"));
        peer.send("help\r\n" + newCommand("ana", "blocked"));
        QTRY_VERIFY(f.loggedPart(QString::fromUtf8("¢blocked¢")));

        // Blocking selected senders: a name never matches, the dotted address does.
        f.settings.recRede.Blocktype = BlockList::kBlockSelected;
        f.settings.recRede.BlockList = {QStringLiteral("localhost")};
        peer.send("HELP\r\n");
        QCOMPARE(peer.read(39), NoteProtocol::kHelpText);
        f.settings.recRede.BlockList << QStringLiteral("127.0.0.1");
        peer.send("\r\nhelp\r\n" + newCommand("ana", "blocked too"));
        QTRY_VERIFY(f.loggedPart(QString::fromUtf8("¢blocked too¢")));
        f.settings.recRede.Blocktype = BlockList::kBlockNone;
        peer.send("\r\nhelp\r\n");
        QCOMPARE(peer.read(39), NoteProtocol::kHelpText);
        // Only the two unblocked answers ever arrived, and no note was made.
        QCOMPARE(peer.read(1, 100), QByteArray());
        QVERIFY(f.sink.notes.isEmpty());
    }

    void repeatsAndTheLineLimit()
    {
        Fixture f;
        Peer peer(f.port);
        QVERIFY(!peer.banner().isEmpty());
        const QByteArray bare = newCommand("u", "t").chopped(2);
        peer.send(bare + bare);
        peer.send("\r\n" + bare);
        QTRY_COMPARE(f.sink.notes.size(), 2);

        // A complete 200-byte line in one read is handled; 80 unfinished bytes are kept.
        const QByteArray longLine = "line" + C + QByteArray(195, 'x');
        peer.send(longLine + "\r\n");
        QTRY_COMPARE(f.sink.notes.last().lines.size(), 1);
        QCOMPARE(f.sink.notes.last().lines.first().size(), 195);
        peer.send(QByteArray(80, 'y'));
        QTest::qWait(100);
        peer.send("\r\n");
        QTRY_VERIFY(f.logged(QStringLiteral("Received from 127.0.0.1: '") + QString(80, QLatin1Char('y')) + QLatin1Char('\'')));
        QCOMPARE(peer.socket.state(), QAbstractSocket::ConnectedState);

        peer.send(QByteArray(81, 'z'));
        QVERIFY(peer.waitClosed());
        QTRY_VERIFY(f.logged(QStringLiteral("Line limit exceeded from 127.0.0.1. Closing.")));
        // The unfinished bytes were dropped, not delivered as a last line.
        QVERIFY(!f.loggedPart(QStringLiteral("zzzz")));
    }

    void aBadCommandAbortsOnlyItsConnection()
    {
        Fixture f;
        Peer bad(f.port);
        Peer good(f.port);
        QVERIFY(!bad.banner().isEmpty());
        QVERIFY(!good.banner().isEmpty());

        good.send(newCommand("bea", "Good"));
        QTRY_COMPARE(f.sink.notes.size(), 1);
        bad.send(newCommand("ana", "Com\xA2pras"));
        QVERIFY(bad.waitClosed());
        QTRY_VERIFY(f.logged(QStringLiteral("Client exception occured: EBadFieldValue: 'pras' is not a valid integer "
                                            "value (field 3 of \"new\")")));
        QCOMPARE(f.sink.notes.size(), 2);
        QCOMPARE(f.sink.notes[1].title, QStringLiteral("Com"));

        good.send("line" + C + "still here\r\n\r\nend" + C + "\r\n\r\nhelp\r\n");
        QCOMPARE(good.read(39), NoteProtocol::kHelpText);
        QCOMPARE(f.sink.notes[0].lines, QStringList{QStringLiteral("still here")});
        QCOMPARE(f.sink.notes[0].finished, 1);

        // The user deletes the note a connection is building: its next command aborts it.
        good.send(newCommand("bea", "Doomed"));
        QTRY_COMPARE(f.sink.notes.size(), 3);
        f.sink.notes.remove(2);
        good.send("line" + C + "too late\r\n\r\n");
        QVERIFY(good.waitClosed());
        QTRY_VERIFY(f.loggedPart(QStringLiteral("Client exception occured: ENoteGone: ")));
        QVERIFY(f.server.isListening());
    }

    void manySimultaneousSenders()
    {
        Fixture f;
        QElapsedTimer clock;
        clock.start();
        qint64 lastTick = 0, longestGap = 0;
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, &timer, [&] {
            const qint64 now = clock.elapsed();
            longestGap = std::max(longestGap, now - lastTick);
            lastTick = now;
            ++ticks;
        });
        timer.start(10);

        constexpr int kSenders = 40;
        std::vector<std::unique_ptr<Peer>> peers;
        for (int i = 0; i < kSenders; ++i) {
            peers.push_back(std::make_unique<Peer>(f.port, QStringLiteral("127.0.3.%1").arg(i + 1)));
            QCOMPARE(peers.back()->banner().size(), 34);
        }
        auto tag = [](int i) { return QByteArray::number(i); };
        // Round by round, every sender writes its next command: the lines of all notes interleave.
        const std::vector<std::function<QByteArray(int)>> script{
            [&](int i) { return newCommand("user" + tag(i), "title" + tag(i)); },
            [&](int i) { return "alarm" + C + "01/06/2027 07:30:00" + C + "0" + C + C + "1" + C + tag(i) + C + "2" + C + "1" + C + "0" + C + "1" + C + "0" + C + "1" + C + "0" + C + "1" + C + "\r\n\r\n"; },
            [&](int i) { return "line" + C + "first of " + tag(i) + "\r\n\r\n"; },
            [&](int) { return "line" + C + "same\r\n\r\n"; },
            [&](int) { return "line" + C + "same\r\n\r\n"; },
            [&](int) { return "end" + C + "\r\n\r\n"; },
        };
        for (const auto &step : script)
            for (int i = 0; i < kSenders; ++i)
                peers[static_cast<size_t>(i)]->send(step(i));
        for (auto &peer : peers)
            peer->socket.disconnectFromHost();

        QTRY_COMPARE_WITH_TIMEOUT(f.finishedNotes(), kSenders, 20000);
        QTRY_COMPARE(f.server.connectionCount(), 0);
        QCOMPARE(f.sink.notes.size(), kSenders);
        QSet<QString> titles;
        for (const FakeNote &n : std::as_const(f.sink.notes)) {
            const QString i = n.title.mid(5);
            titles << n.title;
            QCOMPARE(n.footer, QStringLiteral("De user") + i + QStringLiteral(" (127.0.3.%1)").arg(i.toInt() + 1));
            QCOMPARE(n.lines, (QStringList{QStringLiteral("first of ") + i, QStringLiteral("same"), QStringLiteral("same")}));
            QCOMPARE(n.alarm.rememberNo, i.toInt());
            QVERIFY(n.alarmIcon);
        }
        QCOMPARE(titles.size(), kSenders);
        QVERIFY(ticks > 0);
        QVERIFY2(longestGap < 2000, qPrintable(QStringLiteral("timer starved for %1 ms").arg(longestGap)));
    }
};

QTEST_GUILESS_MAIN(TestNoteServer)
#include "tst_noteserver.moc"
