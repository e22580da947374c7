// The program on a desktop of its own whose notification area comes late: an XEmbed tray
// (Debian's trayer) or a StatusNotifierItem host and watcher on the session bus (Debian's
// gtk-sni-tray-standalone) started seconds after the program, stopped and started again as a
// panel restart would. The icon turns up in it each time, without a restart of the program;
// with no notification area at all the program runs on.
#include "support/ProgramRun.h"
#include "support/VirtualDesktop.h"
#include "support/WaitUntil.h"
#include "support/XWindows.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QtTest>

namespace {

// How long the program runs before the notification area comes, as at a login where the
// autostarted program wins the race against the panel.
constexpr int kPanelLateMs = 4000;
constexpr int kArrivalMs = 15000;

} // namespace

class TestTrayArrival : public QObject
{
    Q_OBJECT

    // Starts the program on `desktop` and waits for its start-up step.
    static bool startProgram(ProgramRun &run, const VirtualDesktop &desktop)
    {
        run.env = desktop.environment(run.env);
        run.env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        run.process.setProcessEnvironment(run.env);
        return run.start();
    }

    // The program's icon windows embedded in trayer's panel, shown and of a real size.
    static int iconsInTray(const QString &display)
    {
        XWindows x(display);
        int icons = 0;
        for (const XWindows::Window &w : x.withInstance("corkvane"))
            if (w.ancestors.contains("trayer") && w.viewable && w.width > 1 && w.height > 1)
                ++icons;
        return icons;
    }

    // The StatusNotifierItems the watcher on `bus` lists that belong to process `pid`.
    static int itemsOf(QDBusConnection &bus, qint64 pid)
    {
        QDBusMessage get = QDBusMessage::createMethodCall(
            QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << QStringLiteral("org.kde.StatusNotifierWatcher") << QStringLiteral("RegisteredStatusNotifierItems");
        const QDBusMessage reply = bus.call(get, QDBus::Block, 2000);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return 0;
        const QStringList items = qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toStringList();
        int mine = 0;
        for (const QString &item : items) {
            // "service/path" or a bare service name.
            const QString service = item.section(QLatin1Char('/'), 0, 0);
            const QDBusReply<uint> owner = bus.interface()->servicePid(service);
            if (owner.isValid() && owner.value() == pid)
                ++mine;
        }
        return mine;
    }

private slots:
    void anXEmbedTrayThatComesLateGetsTheIcon()
    {
        QString why;
        VirtualDesktop desktop;
        if (!desktop.start(&why))
            QSKIP(qPrintable(why));
        const QString trayer = VirtualDesktop::tool(QStringLiteral("trayer"), QStringLiteral("trayer"), &why);
        if (trayer.isEmpty())
            QSKIP(qPrintable(why));

        ProgramRun run;
        QVERIFY(startProgram(run, desktop));
        QTest::qWait(kPanelLateMs);
        // No notification area so far: the program runs on, iconless.
        QCOMPARE(run.process.state(), QProcess::Running);
        QCOMPARE(iconsInTray(desktop.displayName()), 0);

        const QStringList panel{QStringLiteral("--edge"), QStringLiteral("top")};
        QProcess *tray = desktop.launch(trayer, panel);
        QVERIFY(tray);
        QVERIFY2(waitUntil([&] { return iconsInTray(desktop.displayName()) == 1; }, kArrivalMs),
                 "the icon never went into the tray that came late");

        // The panel restarts: the icon goes with it and comes back into the new one.
        VirtualDesktop::end(tray);
        QVERIFY(waitUntil([&] { return iconsInTray(desktop.displayName()) == 0; }, kArrivalMs));
        QVERIFY(desktop.launch(trayer, panel));
        QVERIFY2(waitUntil([&] { return iconsInTray(desktop.displayName()) == 1; }, kArrivalMs),
                 "the icon did not come back into the restarted tray");

        QCOMPARE(run.process.state(), QProcess::Running);
        QCOMPARE(run.terminate(), 0);
    }

    void aStatusNotifierHostThatComesLateGetsTheItem()
    {
        QString why;
        VirtualDesktop desktop;
        if (!desktop.start(&why))
            QSKIP(qPrintable(why));
        const QString host = VirtualDesktop::tool(QStringLiteral("gtk-sni-tray-standalone"),
                                                  QStringLiteral("haskell-gtk-sni-tray-utils"), &why);
        if (host.isEmpty())
            QSKIP(qPrintable(why));
        QDBusConnection bus = QDBusConnection::connectToBus(desktop.busAddress(), QStringLiteral("tray-arrival"));
        QVERIFY(bus.isConnected());

        ProgramRun run;
        QVERIFY(startProgram(run, desktop));
        QTest::qWait(kPanelLateMs);
        QCOMPARE(run.process.state(), QProcess::Running);
        QVERIFY(!bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")));

        // The tray with its own watcher: the watcher registers on the bus, the tray registers
        // itself with it as the host.
        const QStringList panel{QStringLiteral("--watcher"), QStringLiteral("--top")};
        QProcess *tray = desktop.launch(host, panel);
        QVERIFY(tray);
        QVERIFY2(waitUntil([&] { return itemsOf(bus, run.process.processId()) == 1; }, kArrivalMs),
                 "the watcher that came late never got the program's item");

        // A panel restart: a new watcher, and the item registers with it again.
        VirtualDesktop::end(tray);
        QVERIFY(waitUntil([&] { return !bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")); },
                          kArrivalMs));
        QVERIFY(desktop.launch(host, panel));
        QVERIFY2(waitUntil([&] { return itemsOf(bus, run.process.processId()) == 1; }, kArrivalMs),
                 "the restarted watcher never got the program's item");

        QCOMPARE(run.process.state(), QProcess::Running);
        QCOMPARE(run.terminate(), 0);
        QDBusConnection::disconnectFromBus(QStringLiteral("tray-arrival"));
    }
};

QTEST_MAIN(TestTrayArrival)
#include "tst_trayarrival.moc"
