// The send dialog lists the programs found on the local network, live, and a note sent to a
// found one goes to the port that program announced, inside scripts/dnssd-env.sh's network.
#include "net/DnssdEnv.h"
#include "net/EnviaComputador.h"
#include "net/LoopbackPeers.h"
#include "net/NoteSender.h"
#include "net/PeerDiscovery.h"
#include "platform/Dialogs.h"
#include "platform/Recipients.h"
#include "support/WaitUntil.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using dnssdenv::itemNamed;

class TestDiscoverySend : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        Dialogs::setTestMode(true);
        Dialogs::resetAnswers();
    }

    void foundProgramGetsTheNoteOnItsAnnouncedPort()
    {
        DNSSD_REQUIRE_ENV();
        // The found program listens away from PortTCP; a typed address still uses PortTCP.
        LoopbackPeers::Receiver found("10.78.0.1");
        LoopbackPeers::Receiver typed("127.0.0.1");
        QVERIFY(found.listening() && typed.listening());
        QVERIFY(found.port() != typed.port());
        PeerDiscovery other;
        other.announce(found.port(), "bia", "mesa-2");

        QTimer tmrConecta;
        tmrConecta.setSingleShot(true);
        AppSettings settings;
        settings.recRede.PortTCP = QString::number(typed.port());
        NoteSender sender(tmrConecta);
        TfrmEnviaComputador dialog(sender, settings);
        NoteProtocol::OutgoingNote note;
        note.user = "ana";
        note.title = QString::fromUtf8("Reunião");
        note.text = "linha 1\nlinha 2";
        dialog.setNoteSource([note](int) { return std::optional<NoteProtocol::OutgoingNote>(note); });
        PeerDiscovery mine;
        dialog.setDiscovery(&mine);
        dialog.prepare(1);
        dialog.show();

        auto *list = dialog.findChild<QListWidget *>("lstEncontrados");
        auto *para = dialog.findChild<QLineEdit *>("txtPara");
        QVERIFY(list && para && list->isVisible());
        QVERIFY(waitUntil([&] { return itemNamed(list, "bia em mesa-2") != nullptr; }, 8000));
        QVERIFY(!dialog.findChild<QLabel *>("lblBusca")->isVisible());

        para->setText("127.0.0.1");
        emit list->itemActivated(itemNamed(list, "bia em mesa-2"));
        QCOMPARE(para->text(), Recipients::mergeChosen("127.0.0.1", {"10.78.0.1"}));
        QCOMPARE(dialog.portFor("10.78.0.1"), QString::number(found.port()));
        QCOMPARE(dialog.portFor("127.0.0.1"), QString::number(typed.port()));
        // Chosen twice, listed once.
        emit list->itemActivated(itemNamed(list, "bia em mesa-2"));
        QCOMPARE(para->text(), Recipients::mergeChosen("127.0.0.1", {"10.78.0.1"}));

        // The context menu offers the found program to the contact book: the user's name,
        // the address the list adds, the host name as a remark.
        auto *addContact = list->findChild<QAction *>("mnuAdicionarContato");
        QVERIFY(addContact && !addContact->isEnabled());
        QStringList proposed;
        dialog.setContactProposer([&](const QString &name, const QString &address, const QString &host) {
            proposed = {name, address, host};
        });
        list->setCurrentItem(itemNamed(list, "bia em mesa-2"));
        QVERIFY(list->actions().contains(addContact) && addContact->isEnabled());
        addContact->trigger();
        QCOMPARE(proposed.mid(0, 2), (QStringList{"bia", "10.78.0.1"}));
        QVERIFY2(proposed.at(2).endsWith(".local"), qPrintable(proposed.at(2)));

        dialog.findChild<QPushButton *>("cmdEnviar")->click();
        const QByteArray wire = NoteProtocol::encodeNote(note).join();
        QVERIFY(waitUntil([&] { return found.received.size() == 1 && typed.received.size() == 1; }, 5000));
        QVERIFY(waitUntil([&] { return found.received.at(0).contains(wire) && typed.received.at(0).contains(wire); }, 5000));

        // The list follows the network: the other program goes, its entry goes.
        other.withdraw();
        QVERIFY(waitUntil([&] { return itemNamed(list, "bia em mesa-2") == nullptr; }, 8000));
    }

    // No daemon: the dialog says so in place of the list, once, and works on with typed
    // addresses; the list comes back with the daemon.
    void daemonAwayIsShownAndRecovered()
    {
        DNSSD_REQUIRE_ENV();
        LoopbackPeers::Receiver found("10.78.0.1");
        PeerDiscovery other;
        other.announce(found.port(), "cris", "mesa-3");
        QTimer tmrConecta;
        AppSettings settings;
        NoteSender sender(tmrConecta);
        TfrmEnviaComputador dialog(sender, settings);
        PeerDiscovery mine;
        dialog.setDiscovery(&mine);
        dialog.show();
        auto *list = dialog.findChild<QListWidget *>("lstEncontrados");
        auto *busca = dialog.findChild<QLabel *>("lblBusca");
        QVERIFY(waitUntil([&] { return itemNamed(list, "cris em mesa-3") != nullptr; }, 8000));

        QVERIFY(dnssdenv::daemon("daemon-stop"));
        QVERIFY(waitUntil([&] { return busca->isVisible(); }, 5000));
        QCOMPARE(busca->text(), QString::fromUtf8("Busca na rede indisponível"));
        QCOMPARE(list->count(), 0);
        QVERIFY(Dialogs::shownMessages().isEmpty());

        QVERIFY(dnssdenv::daemon("daemon-start"));
        QVERIFY(waitUntil([&] { return itemNamed(list, "cris em mesa-3") != nullptr; }, 15000));
        QVERIFY(!busca->isVisible());
    }
};

int main(int argc, char **argv)
{
    dnssdenv::enter(argc, argv);
    QApplication app(argc, argv);
    TestDiscoverySend t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_discovery_send.moc"
