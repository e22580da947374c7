// Corkvane programs find each other through the DNS-SD daemon of a private network namespace.
#include "net/PeerDiscovery.h"
#include "net/DnssdEnv.h"
#include "support/WaitUntil.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

const FoundPeer *findPeer(const PeerDiscovery &d, const QString &name, FoundPeer &out)
{
    for (const FoundPeer &p : d.peers())
        if (p.name == name) {
            out = p;
            return &out;
        }
    return nullptr;
}

bool sees(const PeerDiscovery &d, const QString &name)
{
    FoundPeer p;
    return findPeer(d, name, p) != nullptr;
}

} // namespace

class TestDiscovery : public QObject
{
    Q_OBJECT
private slots:
    void serviceName_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("computer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("both") << "ana" << "mesa-3" << "ana em mesa-3";
        QTest::newRow("trimmed") << "  ana " << " mesa-3 " << "ana em mesa-3";
        QTest::newRow("no user") << "" << "mesa-3" << "mesa-3";
        QTest::newRow("no computer") << "ana" << "" << "ana";
        QTest::newRow("nothing") << "" << "" << "Corkvane";
        // A DNS label holds 63 bytes: accented letters are two each and are never split.
        QTest::newRow("long") << QString(40, QChar(0xE9)) << "mesa" << QString(31, QChar(0xE9));
    }
    void serviceName()
    {
        QFETCH(QString, user);
        QFETCH(QString, computer);
        QFETCH(QString, expected);
        QCOMPARE(PeerDiscovery::serviceName(user, computer), expected);
    }

    // Without a bus the library cannot even wait for the daemon: one report, no block, and
    // announcing meanwhile is harmless.
    void unavailableWithoutBus()
    {
        if (dnssdenv::skipReason().isEmpty())
            QSKIP("covered inside the private network by daemonOutage");
        PeerDiscovery d;
        QSignalSpy avail(&d, &PeerDiscovery::availabilityChanged);
        d.announce(7801, "ana", "mesa-3");
        QTest::qWait(3500); // past one retry
        QVERIFY(!d.isAvailable());
        QCOMPARE(avail.count(), 1);
        QCOMPARE(avail.at(0).at(0).toBool(), false);
        QVERIFY(d.peers().isEmpty());
        QVERIFY(d.announcedName().isEmpty());
    }

    void twoAnnouncersFindEachOther()
    {
        DNSSD_REQUIRE_ENV();
        PeerDiscovery ana, bia;
        QSignalSpy found(&ana, &PeerDiscovery::peerFound);
        ana.announce(7801, "ana", "mesa-3");
        bia.announce(17802, QString::fromUtf8("Bia Conceição"), "mesa-4");
        const QString biaName = QString::fromUtf8("Bia Conceição em mesa-4");
        QVERIFY(waitUntil([&] { return sees(ana, biaName) && sees(bia, "ana em mesa-3"); }, 8000));
        QCOMPARE(ana.announcedName(), QString("ana em mesa-3"));
        QCOMPARE(bia.announcedName(), biaName);

        FoundPeer p;
        QVERIFY(findPeer(ana, biaName, p));
        QCOMPARE(p.port, quint16(17802));
        QCOMPARE(p.user, QString::fromUtf8("Bia Conceição"));
        QCOMPARE(p.address, QString("10.78.0.1"));
        QVERIFY(p.hostName.endsWith(".local"));
        QVERIFY(findPeer(bia, "ana em mesa-3", p));
        QCOMPARE(p.port, quint16(7801));
        // Each one once, however many times the daemon reports it.
        QTest::qWait(500);
        int biaReports = 0;
        for (const auto &args : found)
            biaReports += args.at(0).value<FoundPeer>().name == biaName;
        QCOMPARE(biaReports, 1);
    }

    // Withdrawing (or closing the program) takes the entry off the others' lists; announcing
    // on another port is seen as the new port.
    void withdrawAndMove()
    {
        DNSSD_REQUIRE_ENV();
        PeerDiscovery watcher;
        PeerDiscovery ana;
        QSignalSpy removed(&watcher, &PeerDiscovery::peerRemoved);
        ana.announce(7801, "ana", "mesa-5");
        QVERIFY(waitUntil([&] { return sees(watcher, "ana em mesa-5"); }, 8000));
        ana.withdraw();
        QVERIFY(waitUntil([&] { return !sees(watcher, "ana em mesa-5"); }, 8000));
        int anaRemovals = 0;
        for (const auto &args : removed)
            anaRemovals += args.at(0).toString() == "ana em mesa-5";
        QCOMPARE(anaRemovals, 1);
        QVERIFY(ana.announcedName().isEmpty());

        ana.announce(7901, "ana", "mesa-5");
        FoundPeer p;
        QVERIFY(waitUntil([&] { return findPeer(watcher, "ana em mesa-5", p) && p.port == 7901; }, 8000));
        {
            PeerDiscovery bia;
            bia.announce(7902, "bia", "mesa-6");
            QVERIFY(waitUntil([&] { return sees(watcher, "bia em mesa-6"); }, 8000));
        }
        QVERIFY(waitUntil([&] { return !sees(watcher, "bia em mesa-6"); }, 8000));
        QVERIFY(sees(watcher, "ana em mesa-5"));
    }

    // The same user on two programs of one computer: the second takes another name, and
    // both stay reachable.
    void nameCollisionRenames()
    {
        DNSSD_REQUIRE_ENV();
        PeerDiscovery first, second;
        first.announce(7811, "ana", "mesa-7");
        QVERIFY(waitUntil([&] { return !first.announcedName().isEmpty(); }, 8000));
        second.announce(7812, "ana", "mesa-7");
        QVERIFY(waitUntil([&] { return !second.announcedName().isEmpty(); }, 8000));
        QCOMPARE(first.announcedName(), QString("ana em mesa-7"));
        QVERIFY(second.announcedName() != first.announcedName());
        QVERIFY(second.announcedName().startsWith("ana em mesa-7"));
        FoundPeer a, b;
        QVERIFY(waitUntil([&] {
            return findPeer(first, first.announcedName(), a) && findPeer(first, second.announcedName(), b);
        }, 8000));
        QCOMPARE(a.port, quint16(7811));
        QCOMPARE(b.port, quint16(7812));
    }

    // The daemon stops: one report, the list empties, the program carries on. It starts
    // again: the list and the announcement come back without anyone asking. A program started
    // while the daemon is down catches up too.
    void daemonOutage()
    {
        DNSSD_REQUIRE_ENV();
        PeerDiscovery ana, bia;
        QSignalSpy avail(&ana, &PeerDiscovery::availabilityChanged);
        ana.announce(7821, "ana", "mesa-8");
        bia.announce(7822, "bia", "mesa-9");
        QVERIFY(waitUntil([&] { return sees(ana, "bia em mesa-9"); }, 8000));
        avail.clear();

        QVERIFY(dnssdenv::daemon("daemon-stop"));
        QVERIFY(waitUntil([&] { return !ana.isAvailable(); }, 5000));
        QVERIFY(ana.peers().isEmpty());
        QVERIFY(ana.announcedName().isEmpty());
        PeerDiscovery late;
        QSignalSpy lateAvail(&late, &PeerDiscovery::availabilityChanged);
        late.announce(7823, "cris", "mesa-10");
        QTest::qWait(1000);
        QCOMPARE(avail.count(), 1);
        QCOMPARE(avail.at(0).at(0).toBool(), false);
        QCOMPARE(lateAvail.count(), 1);
        QCOMPARE(lateAvail.at(0).at(0).toBool(), false);

        QVERIFY(dnssdenv::daemon("daemon-start"));
        QVERIFY(waitUntil([&] {
            return sees(ana, "bia em mesa-9") && sees(bia, "ana em mesa-8") && sees(ana, "cris em mesa-10");
        }, 15000));
        QVERIFY(ana.isAvailable());
        QCOMPARE(avail.count(), 2);
        QCOMPARE(ana.announcedName(), QString("ana em mesa-8"));
    }
};

int main(int argc, char **argv)
{
    dnssdenv::enter(argc, argv);
    if (!dnssdenv::skipReason().isEmpty())
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/corkvane-test-bus");
    QCoreApplication app(argc, argv);
    TestDiscovery t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_discovery.moc"
