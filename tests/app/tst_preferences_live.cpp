// The preferences opened from the tray of a running controller: networking switched and the
// listener moved at once (seen by loopback clients), the defaults of new notes, the block list
// against the live server, the event sounds of creating, deleting and receiving notes, and
// what a save then writes.
#include "app/StickyNote.h"
#include "app/TrayMenu.h"
#include "net/InsereBloq.h"
#include "net/NoteServer.h"
#include "notes/ConfNota.h"
#include "notes/ControllerEvents.h"
#include "notes/PostIt.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "platform/WavePlayer.h"
#include "store/NoteStore.h"
#include "support/DialogDriving.h"
#include "support/TestFiles.h"
#include "support/WaitUntil.h"
#include "support/StartedController.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

const QByteArray kBanner("Corkvane waiting for commands...\r\n");
const QByteArray C("\xA2", 1);

QString programFolder()
{
    return qEnvironmentVariable("CORKVANE_BIN_DIR") + QLatin1Char('/');
}

quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::AnyIPv4, 0) ? probe.serverPort() : 0;
}

// A sending computer on loopback. Everything waits by pumping the event loop, since the server
// runs on this same thread.
struct Peer
{
    QTcpSocket socket;
    QByteArray received;

    bool connectTo(quint16 port)
    {
        socket.connectToHost(QHostAddress(QStringLiteral("127.0.0.1")), port);
        return waitUntil([this] { return socket.state() == QAbstractSocket::ConnectedState
                                         || socket.state() == QAbstractSocket::UnconnectedState; }, 5000)
               && socket.state() == QAbstractSocket::ConnectedState;
    }
    bool greeted()
    {
        return readAtLeast(kBanner.size()) && received.startsWith(kBanner);
    }
    bool readAtLeast(qsizetype count, int ms = 5000)
    {
        return waitUntil([&] {
            received += socket.readAll();
            return received.size() >= count;
        }, ms);
    }
    void send(const QByteArray &bytes)
    {
        socket.write(bytes);
        waitUntil([this] { return socket.bytesToWrite() == 0; }, 2000);
    }
};

// A note as the sender writes it, each command followed by a blank line.
QByteArray noteLines(const QByteArray &title)
{
    return "new" + C + "ana" + C + title + C + "8454143" + C + "175" + C + "120" + C + "8454143" + C + "Arial" + C + "10"
           + C + "0" + C + "nobold" + C + "noitalic\r\n\r\n" + "line" + C + "hello\r\n\r\n" + "end" + C + "\r\n\r\n";
}

} // namespace

class TestPreferencesLive : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;

    std::unique_ptr<TfStickyNote> makeController(const QByteArray &store)
    {
        return startedController(programFolder(), m_home->path(), store);
    }

    // "&Preferências..." from the tray, with `act` run inside the dialog.
    static void preferences(TfStickyNote &controller, std::function<void(TfrmConfNota *)> act)
    {
        bool opened = false;
        whenModal<TfrmConfNota>([&](TfrmConfNota *d) {
            opened = true;
            act(d);
        });
        QAction *row = controller.trayMenu()->item(QStringLiteral("mnuPreferencias"));
        controller.trayMenu()->rebuildNoteLists();
        QVERIFY(row->isVisible());
        row->trigger();
        QVERIFY(opened);
    }

    static void enableNetworking(TfrmConfNota *d, quint16 port)
    {
        child<QTabWidget>(d, "pagGeral")->setCurrentWidget(child(d, "tbsRede"));
        setChecked(d, "chkHabilitaRede", true);
        typeInto(d, "txtPortaTCP", QString::number(port));
    }

    LoadedStore saved(TfStickyNote &controller)
    {
        return NoteStore::load(controller.storePath(), Clock::now(), QStringLiteral("tester"), programFolder());
    }

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", m_home->filePath("config").toLocal8Bit());
        Dialogs::setTestMode(true);
        Dialogs::resetAnswers();
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
    }

    void cleanup()
    {
        Locale::overrideLocaleId(-1);
        TWavePlayer::setPlayHook({});
        QVERIFY(!QApplication::activeModalWidget());
    }

    void networkingAndItsPortTakeEffectAtOnce()
    {
        auto controller = makeController("[General]\r\nNumStickies=0\r\n[Network]\r\nEnabled=0\r\n");
        NoteServer *server = controller->noteServer();
        QVERIFY(!server->isListening());
        const quint16 first = freePort();
        preferences(*controller, [&](TfrmConfNota *d) {
            enableNetworking(d, first);
            click(d, "cmdOK");
        });
        QVERIFY(server->isListening());
        {
            Peer peer;
            QVERIFY(peer.connectTo(first));
            QVERIFY(peer.greeted());
        }

        // A changed port moves the listener: the new port answers, the old one no longer does.
        const quint16 second = freePort();
        preferences(*controller, [&](TfrmConfNota *d) {
            QVERIFY(child<QCheckBox>(d, "chkHabilitaRede")->isChecked());
            enableNetworking(d, second);
            click(d, "cmdOK");
        });
        QCOMPARE(server->listeningPort(), QString::number(second));
        {
            Peer peer;
            QVERIFY(peer.connectTo(second));
            QVERIFY(peer.greeted());
            Peer old;
            QVERIFY(!old.connectTo(first));
        }

        // A port already taken is reported, and the listener stays where it was.
        QTcpServer squatter;
        QVERIFY(squatter.listen(QHostAddress::AnyIPv4, 0));
        preferences(*controller, [&](TfrmConfNota *d) {
            enableNetworking(d, squatter.serverPort());
            click(d, "cmdOK");
        });
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QVERIFY2(Dialogs::shownMessages().at(0).text.contains(QStringLiteral("in use")),
                 qPrintable(Dialogs::shownMessages().at(0).text));
        QCOMPARE(server->listeningPort(), QString::number(second));
        {
            Peer peer;
            QVERIFY(peer.connectTo(second));
            QVERIFY(peer.greeted());
        }

        // Networking off closes the listener at once; a save keeps what was chosen.
        preferences(*controller, [&](TfrmConfNota *d) {
            typeInto(d, "txtPortaTCP", QString::number(second));
            click(d, "chkHabilitaRede");
            click(d, "cmdOK");
        });
        QVERIFY(!server->isListening());
        {
            Peer peer;
            QVERIFY(!peer.connectTo(second));
        }
        QVERIFY(controller->saveStore().isEmpty());
        const NetworkSettings stored = saved(*controller).settings.recRede;
        QVERIFY(!stored.Enabled);
        QCOMPARE(stored.PortTCP, QString::number(second));
    }

    void newDefaultsReachOnlyNewNotesAndTheStore()
    {
        auto controller = makeController("[General]\r\nNumStickies=0\r\nDarkCaption=0\r\nTrackPosition=9\r\n"
                                         "DefaultColor=8454143\r\n[Network]\r\nAuthtype=2\r\nUsername=ana\r\n"
                                         "Password=s3cret\r\n");
        const int before = controller->createNote(TfStickyNote::NoteKind::User);
        const QColor chosen(0x40, 0x80, 0xC0);
        preferences(*controller, [&](TfrmConfNota *d) {
            child<QTabWidget>(d, "pagGeral")->setCurrentWidget(child(d, "tabFonteCor"));
            Dialogs::setNextColor(chosen);
            click(d, "cmdCordeFundo");
            QVERIFY(!child<QCheckBox>(d, "chkCorCaption")->isChecked());
            child<QTabWidget>(d, "pagGeral")->setCurrentWidget(child(d, "tbsRede"));
            child<QComboBox>(d, "AuthComboBox")->setCurrentIndex(0);  // "Nenhuma"
            click(d, "cmdOK");
        });
        const int after = controller->createNote(TfStickyNote::NoteKind::User);
        QCOMPARE(controller->note(before)->color(), 8454143);
        QCOMPARE(controller->note(after)->color(), fromQColor(chosen));
        QVERIFY(!controller->note(after)->darkCaption());

        QVERIFY(controller->saveStore().isEmpty());
        const AppSettings stored = saved(*controller).settings;
        QCOMPARE(stored, controller->settings());
        QCOMPARE(stored.recGeral.DefaultColor, fromQColor(chosen));
        QVERIFY(!stored.recGeral.DarkCaption);
        QCOMPARE(stored.recGeral.TrackPosition, 1);
        QCOMPARE(stored.recRede.Authtype, 0);
        QVERIFY(stored.recRede.Username.isEmpty() && stored.recRede.Password.isEmpty());
    }

    void blockListAgainstTheLiveServer_data()
    {
        QTest::addColumn<QByteArray>("storedList");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("warning");
        const QString none;
        QTest::newRow("own address blocked") << QByteArray() << "radBloqueiaSel" << QStringList{"127.0.0.1"} << false << none;
        // A name can no longer be added; one left in a store from elsewhere still blocks nothing.
        QTest::newRow("a computer name blocks nothing")
            << QByteArray("Blocktype=2\r\nListcount=1\r\nList0=localhost\r\n") << "radBloqueiaSel" << QStringList()
            << true << none;
        QTest::newRow("block all") << QByteArray() << "radBloqueiaTudo" << QStringList() << false << none;
        QTest::newRow("empty selection accepts all")
            << QByteArray() << "radBloqueiaSel" << QStringList() << true
            << QString::fromUtf8("Você não inseriu nenhum elemento na lista de bloqueio. O sistema aceitará todas as "
                                 "mensagens.");
        // Option 0 shows no list; choosing the selection and adding one entry replaces the stored one.
        QTest::newRow("stored list replaced") << QByteArray("Blocktype=0\r\nListcount=1\r\nList0=127.0.0.1\r\n")
                                              << "radBloqueiaSel" << QStringList{"10.9.9.9"} << true << none;
        QTest::newRow("stored list unused by option 0") << QByteArray("Blocktype=2\r\nListcount=1\r\nList0=127.0.0.1\r\n")
                                                        << "radNaoBloqueia" << QStringList() << true << none;
    }
    void blockListAgainstTheLiveServer()
    {
        QFETCH(QByteArray, storedList);
        QFETCH(QString, option);
        QFETCH(QStringList, added);
        QFETCH(bool, accepted);
        QFETCH(QString, warning);
        auto controller = makeController("[General]\r\nNumStickies=0\r\n[Network]\r\n" + storedList);
        const QStringList storedBefore = controller->settings().recRede.BlockList;
        const quint16 port = freePort();
        preferences(*controller, [&](TfrmConfNota *d) {
            enableNetworking(d, port);
            click(d, option.toLatin1().constData());
            for (const QString &entry : added) {
                whenModal<TfrmInsereBloq>([entry](TfrmInsereBloq *b) {
                    QTest::keyClicks(child(b, "txtBloq"), entry);
                    click(b, "cmdOK");
                });
                click(d, "cmdAdicionaBloqueio");
            }
            click(d, "cmdOK");
        });
        QCOMPARE(Dialogs::shownMessages().size(), warning.isEmpty() ? 0 : 1);
        if (!warning.isEmpty())
            QCOMPARE(Dialogs::shownMessages().at(0).text, warning);
        const NetworkSettings &n = controller->settings().recRede;
        if (option == QLatin1String("radBloqueiaSel"))
            QCOMPARE(n.BlockList, (storedList.contains("Blocktype=2") ? storedBefore : QStringList()) + added);
        else
            QCOMPARE(n.BlockList, storedBefore);

        Peer peer;
        QVERIFY(peer.connectTo(port));
        QVERIFY(peer.greeted());  // blocked senders are still greeted
        peer.received.clear();
        peer.send("help\r\n\r\n");
        peer.send(noteLines("from the peer"));
        QCOMPARE(peer.readAtLeast(1, accepted ? 5000 : 500), accepted);
        QVERIFY(waitUntil([&] { return controller->noteTable().count() == (accepted ? 1 : 0); }, accepted ? 5000 : 500));
        QCOMPARE(controller->noteTable().count(), accepted ? 1 : 0);
        QVERIFY(peer.received.isEmpty() || peer.received.startsWith("Commands are:"));
    }

    void eventSoundsFollowUseSounds_data()
    {
        QTest::addColumn<bool>("useSounds");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }
    void eventSoundsFollowUseSounds()
    {
        QFETCH(bool, useSounds);
        const quint16 port = freePort();
        auto controller = makeController("[General]\r\nNumStickies=0\r\nAskDelete=0\r\nUseSounds=" + QByteArray(useSounds ? "0" : "1")
                                         + "\r\nSoundNewSticky=/s/new.wav\r\nSoundDelSticky=/s/del.wav\r\n"
                                           "SoundRecSticky=/s/rec.wav\r\n[Network]\r\nEnabled=1\r\nPortTCP="
                                         + QByteArray::number(port) + "\r\n");
        QVERIFY(controller->noteServer()->isListening());
        // The switch itself goes through the "Sons" page.
        preferences(*controller, [&](TfrmConfNota *d) {
            child<QTabWidget>(d, "pagGeral")->setCurrentWidget(child(d, "tabSons"));
            click(d, useSounds ? "radUsaSom" : "radNaoUsaSom");
            click(d, "cmdOK");
        });
        QCOMPARE(controller->settings().recGeral.UseSounds, useSounds);

        QStringList played;
        TWavePlayer::setPlayHook([&played](const QString &file) { played << file; });
        controller->trayMenu()->item(QStringLiteral("cmdNovaNota"))->trigger();
        QCOMPARE(controller->noteTable().count(), 1);
        QCoreApplication::postEvent(controller.get(), new DeleteNoteRequest(0));
        QVERIFY(waitUntil([&] { return !controller->note(0); }));
        Peer peer;
        QVERIFY(peer.connectTo(port));
        QVERIFY(peer.greeted());
        peer.send(noteLines("received"));
        QVERIFY(waitUntil([&] { return controller->noteTable().count() == 2; }));
        if (useSounds)
            QCOMPARE(played, (QStringList{"/s/new.wav", "/s/del.wav", "/s/rec.wav"}));
        else
            QVERIFY2(played.isEmpty(), qPrintable(played.join(QLatin1Char(' '))));
    }
};

QTEST_MAIN(TestPreferencesLive)
#include "tst_preferences_live.moc"
