#pragma once
// A desktop of the test's own: an X server (Debian's Xvfb) and a session bus of its own
// (dbus-daemon, without service activation, so that nothing starts on it unasked), and the
// desktop programs a test starts on them (a tray, a window manager, a notification-area host).
// Everything started here is ended when the object goes.
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

class VirtualDesktop
{
public:
    ~VirtualDesktop()
    {
        // The desktop programs first, the display and the bus last.
        for (auto it = m_programs.rbegin(); it != m_programs.rend(); ++it)
            end(it->get());
        end(m_bus.get());
        end(m_display.get());
    }

    // The path of a program from Debian, or empty (`why` then says which package is missing).
    static QString tool(const QString &name, const QString &package, QString *why)
    {
        const QString path = QStandardPaths::findExecutable(name);
        if (path.isEmpty() && why)
            *why = QStringLiteral("%1 is not installed (Debian package %2; scripts/deps.sh installs it)").arg(name, package);
        return path;
    }

    // Starts the X server and the bus. False, with the reason in `why`, when either fails.
    bool start(QString *why)
    {
        const QString xvfb = tool(QStringLiteral("Xvfb"), QStringLiteral("xvfb"), why);
        const QString daemon = tool(QStringLiteral("dbus-daemon"), QStringLiteral("dbus"), why);
        if (xvfb.isEmpty() || daemon.isEmpty())
            return false;

        m_display = std::make_unique<QProcess>();
        m_display->setProcessChannelMode(QProcess::SeparateChannels);
        m_display->start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                QStringLiteral("tcp"), QStringLiteral("-noreset")});
        const QByteArray number = firstLine(*m_display, 15000);
        if (number.isEmpty()) {
            *why = QStringLiteral("Xvfb did not start");
            return false;
        }
        m_displayName = QStringLiteral(":") + QString::fromLatin1(number);

        QFile config(m_dir.filePath(QStringLiteral("bus.conf")));
        if (!config.open(QIODevice::WriteOnly))
            return false;
        config.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                     " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                     "<busconfig><type>session</type><listen>unix:dir=" + m_dir.path().toUtf8() + "</listen>"
                     "<auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                     "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n");
        config.close();
        m_bus = std::make_unique<QProcess>();
        m_bus->start(daemon, {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                              QStringLiteral("--print-address=1")});
        m_busAddress = QString::fromUtf8(firstLine(*m_bus, 15000));
        if (m_busAddress.isEmpty()) {
            *why = QStringLiteral("dbus-daemon did not start");
            return false;
        }
        return true;
    }

    QString displayName() const { return m_displayName; }
    QString busAddress() const { return m_busAddress; }

    // The environment a program of this desktop runs in: its display and its bus, and no
    // accessibility bus that GTK programs would otherwise start.
    QProcessEnvironment environment(QProcessEnvironment base = QProcessEnvironment::systemEnvironment()) const
    {
        base.insert(QStringLiteral("DISPLAY"), m_displayName);
        base.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
        base.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
        base.remove(QStringLiteral("WAYLAND_DISPLAY"));
        return base;
    }

    // Starts a desktop program; null when it could not be started.
    QProcess *launch(const QString &program, const QStringList &arguments)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment());
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        process->start(program, arguments);
        if (!process->waitForStarted(10000))
            return nullptr;
        m_programs.push_back(std::move(process));
        return m_programs.back().get();
    }

    // Ends a program started by launch() (a panel that quits, say).
    static void end(QProcess *process)
    {
        if (!process || process->state() == QProcess::NotRunning)
            return;
        process->terminate();
        if (!process->waitForFinished(5000)) {
            process->kill();
            process->waitForFinished(3000);
        }
    }

private:
    static QByteArray firstLine(QProcess &process, int timeoutMs)
    {
        if (!process.waitForStarted(5000))
            return {};
        QElapsedTimer t;
        t.start();
        while (!process.canReadLine() && t.elapsed() < timeoutMs && process.state() == QProcess::Running)
            process.waitForReadyRead(200);
        return process.canReadLine() ? process.readLine().trimmed() : QByteArray();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_display;
    std::unique_ptr<QProcess> m_bus;
    std::vector<std::unique_ptr<QProcess>> m_programs;
    QString m_displayName;
    QString m_busAddress;
};
