// The program on a desktop of its own whose notification area comes late: an XEmbed tray
// (Debian's trayer) or a StatusNotifierItem host and watcher on the session bus (Debian's
// gtk-sni-tray-standalone) started seconds after the program, stopped and started again as a
// panel restart would. The icon turns up in it each time, without a restart of the program;
// with no notification area at all the program runs on. A message box opened from the menu
// that such a panel shows for the program takes the focus, so that Enter answers it.
#include "support/ProgramRun.h"
#include "support/VirtualDesktop.h"
#include "support/WaitUntil.h"
#include "support/XWindows.h"
#include "platform/WindowTitle.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusReply>
#include <QDBusVariant>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdlib>

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
    static int itemsOf(QDBusConnection &bus, qint64 pid) { return int(itemServices(bus, pid).size()); }

    // The bus names of those items.
    static QStringList itemServices(QDBusConnection &bus, qint64 pid)
    {
        QDBusMessage get = QDBusMessage::createMethodCall(
            QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << QStringLiteral("org.kde.StatusNotifierWatcher") << QStringLiteral("RegisteredStatusNotifierItems");
        const QDBusMessage reply = bus.call(get, QDBus::Block, 2000);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        const QStringList items = qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toStringList();
        QStringList mine;
        for (const QString &item : items) {
            // "service/path" or a bare service name.
            const QString service = item.section(QLatin1Char('/'), 0, 0);
            const QDBusReply<uint> owner = bus.interface()->servicePid(service);
            if (owner.isValid() && owner.value() == pid)
                mine << service;
        }
        return mine;
    }

    // The id of the item with `label` in a layout of the program's exported menu, -1 if none.
    static int menuItem(const QDBusArgument &layout, const QString &label)
    {
        int id = -1;
        QVariantMap properties;
        layout.beginStructure();
        layout >> id >> properties;
        int found = -1;
        layout.beginArray();
        while (!layout.atEnd()) {
            QDBusVariant child;
            layout >> child;
            const int inChild = menuItem(qvariant_cast<QDBusArgument>(child.variant()), label);
            if (found < 0)
                found = inChild;
        }
        layout.endArray();
        layout.endStructure();
        return properties.value(QStringLiteral("label")).toString() == label ? id : found;
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
    void aBoxOpenedFromThePanelsMenuTakesTheFocus()
    {
        QString why;
        VirtualDesktop desktop;
        if (!desktop.start(&why))
            QSKIP(qPrintable(why));
        const QString windowManager = VirtualDesktop::tool(QStringLiteral("openbox"), QStringLiteral("openbox"), &why);
        const QString host = VirtualDesktop::tool(QStringLiteral("gtk-sni-tray-standalone"),
                                                  QStringLiteral("haskell-gtk-sni-tray-utils"), &why);
        const QString keys = VirtualDesktop::tool(QStringLiteral("xdotool"), QStringLiteral("xdotool"), &why);
        if (windowManager.isEmpty() || host.isEmpty() || keys.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY(desktop.launch(host, {QStringLiteral("--watcher"), QStringLiteral("--top")}));
        QDBusConnection bus = QDBusConnection::connectToBus(desktop.busAddress(), QStringLiteral("box-focus"));
        QVERIFY(bus.isConnected());
        QVERIFY(waitUntil([&] { return bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")); },
                          kArrivalMs));
        QTest::qWait(1000);  // the panel settles before the program starts

        // No browser can be found: "Corkvane na Web..." then says so in an error box.
        QTemporaryDir emptyPath;
        ProgramRun run;
        run.env.insert(QStringLiteral("PATH"), emptyPath.path());
        run.env.remove(QStringLiteral("BROWSER"));
        run.env.remove(QStringLiteral("DEFAULT_BROWSER"));
        QVERIFY(startProgram(run, desktop));
        QVERIFY(waitUntil([&] { return itemsOf(bus, run.process.processId()) == 1; }, kArrivalMs));

        // The menu as the panel reads it from the program, and the panel's click on an item.
        const QString service = itemServices(bus, run.process.processId()).value(0);
        QDBusMessage get = QDBusMessage::createMethodCall(service, QStringLiteral("/StatusNotifierItem"),
                                                          QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << QStringLiteral("org.kde.StatusNotifierItem") << QStringLiteral("Menu");
        const QDBusReply<QDBusVariant> menuPath = bus.call(get);
        QVERIFY2(menuPath.isValid(), qPrintable(service + QLatin1Char(' ') + menuPath.error().message()));
        const QString menu = qvariant_cast<QDBusObjectPath>(menuPath.value().variant()).path();
        QDBusMessage layout = QDBusMessage::createMethodCall(service, menu, QStringLiteral("com.canonical.dbusmenu"),
                                                             QStringLiteral("GetLayout"));
        layout << 0 << -1 << QStringList{QStringLiteral("label")};
        const QDBusMessage tree = bus.call(layout);
        QCOMPARE(tree.arguments().size(), 2);
        const int web = menuItem(qvariant_cast<QDBusArgument>(tree.arguments().at(1)), QStringLiteral("Corkvane na Web..."));
        QVERIFY(web >= 0);
        const auto clickWebItem = [&] {
            QDBusMessage click = QDBusMessage::createMethodCall(service, menu, QStringLiteral("com.canonical.dbusmenu"),
                                                                QStringLiteral("Event"));
            click << web << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(0)) << 0u;
            bus.asyncCall(click);
        };

        XWindows x(desktop.displayName());
        QVERIFY(x.connected());
        const QByteArray title = WindowTitle::shown(QStringLiteral("Erro")).toUtf8();
        const auto errorBox = [&] {
            for (const XWindows::Window &w : x.withInstance("corkvane"))
                if (w.viewable && x.textProperty(w.id, "_NET_WM_NAME") == title)
                    return w.id;
            return xcb_window_t(XCB_NONE);
        };
        const auto pressEnter = [&] {
            QProcess enter;
            enter.setProcessEnvironment(desktop.environment());
            enter.start(keys, {QStringLiteral("key"), QStringLiteral("Return")});
            return enter.waitForFinished(10000);
        };

        // Under a window manager, the box opened from the panel's menu (a click the program
        // itself never saw) is the active window, holds the keyboard, and Enter answers it.
        QVERIFY(desktop.launch(windowManager, {}));
        QVERIFY(waitUntil([&] { return !x.textProperty(x.root(), "_NET_SUPPORTING_WM_CHECK").isEmpty(); }, kArrivalMs));
        xcb_window_t box = XCB_NONE;
        clickWebItem();
        QVERIFY2(waitUntil([&] {
                     box = errorBox();
                     return box != XCB_NONE && x.activeWindow() == box && x.lineage(x.focusWindow()).contains(box);
                 }, kArrivalMs),
                 "the error box did not get the focus");
        QVERIFY(pressEnter());
        QVERIFY2(waitUntil([&] { return errorBox() == XCB_NONE; }, kArrivalMs), "Enter did not close the box");

        QCOMPARE(run.terminate(), 0);
        QDBusConnection::disconnectFromBus(QStringLiteral("box-focus"));
    }
};

QTEST_MAIN(TestTrayArrival)
#include "tst_trayarrival.moc"
