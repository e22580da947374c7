#pragma once
// One Syncthing instance from Debian for the end-to-end sync test, in a network namespace of
// its own: made with `syncthing generate`, its config.xml edited to know both computers (one
// of them dialling the other at its static address), share one folder watched for changes with a short rescan, and reach
// nothing else (global and local discovery, relays, NAT, usage and crash reports, upgrades
// all off), then run with `syncthing serve` until stopped.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

class SyncthingPeer
{
public:
    SyncthingPeer(const QString &home, const QString &nameSpace, const QString &address)
        : m_home(home), m_nameSpace(nameSpace), m_address(address)
    {
    }
    ~SyncthingPeer() { stop(); }

    QString home() const { return m_home; }
    QString deviceId() const { return m_deviceId; }

    // Keys, certificate and the first config; the device id. False with the reason in `error`.
    bool generate(QString *error)
    {
        QProcess p;
        p.start(QStringLiteral("syncthing"), {QStringLiteral("generate"), QStringLiteral("--home=") + m_home,
                                              QStringLiteral("--no-default-folder")});
        if (!p.waitForFinished(60000) || p.exitCode() != 0) {
            *error = QStringLiteral("syncthing generate failed: ") + QString::fromLocal8Bit(p.readAllStandardError());
            return false;
        }
        p.start(QStringLiteral("syncthing"), {QStringLiteral("serve"), QStringLiteral("--home=") + m_home, QStringLiteral("--device-id")});
        if (!p.waitForFinished(60000) || p.exitCode() != 0) {
            *error = QStringLiteral("syncthing --device-id failed");
            return false;
        }
        m_deviceId = QString::fromLatin1(p.readAllStandardOutput()).trimmed();
        return !m_deviceId.isEmpty();
    }

    struct Device
    {
        QString id;
        QString name;
        QString address;
    };

    // Both computers share `folder` under the id "corkvane". Only the one that `dials` knows the
    // other's address: when both dial at once after a restart, each engine can drop the other's
    // half-made connection and wait out a 20 s handshake timeout before trying again.
    bool configure(const QString &folder, const QList<Device> &devices, bool dials, QString *error)
    {
        QFile file(m_home + QStringLiteral("/config.xml"));
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("no config.xml");
            return false;
        }
        QString xml = QString::fromUtf8(file.readAll());
        file.close();
        const QList<QPair<QString, QString>> options{
            {"listenAddress", "tcp://" + m_address + ":22000"},
            {"globalAnnounceEnabled", "false"},
            {"localAnnounceEnabled", "false"},
            {"relaysEnabled", "false"},
            {"natEnabled", "false"},
            {"urAccepted", "-1"},
            {"autoUpgradeIntervalH", "0"},
            {"crashReportingEnabled", "false"},
            {"startBrowser", "false"},
            {"reconnectionIntervalS", "2"},
            {"stunKeepaliveStartS", "0"},
            {"stunKeepaliveMinS", "0"},
        };
        for (const auto &[key, value] : options) {
            const QRegularExpression element(QStringLiteral("<%1>[^<]*</%1>").arg(key));
            if (!xml.contains(element)) {
                *error = QStringLiteral("config.xml has no <%1>").arg(key);
                return false;
            }
            xml.replace(element, QStringLiteral("<%1>%2</%1>").arg(key, value));
        }
        xml.replace(QStringLiteral("<gui enabled=\"true\""), QStringLiteral("<gui enabled=\"false\""));
        xml.replace(QRegularExpression(QStringLiteral("<minHomeDiskFree unit=\"%\">[^<]*<")),
                    QStringLiteral("<minHomeDiskFree unit=\"%\">0<"));
        // The device list is written anew: this computer and the other one, at fixed addresses.
        xml.remove(QRegularExpression(QStringLiteral("\\s*<device id=\"[^\"]*\" name=[^>]*>.*?</device>"),
                                      QRegularExpression::DotMatchesEverythingOption));
        // The folder takes every setting of the engine's own defaults for new folders (left
        // out, a setting reads as zero: no conflict copies at all), then ours.
        const QRegularExpression defaults(QStringLiteral("<defaults>\\s*<folder [^>]*>(.*?)</folder>"),
                                          QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch folderDefaults = defaults.match(xml);
        if (!folderDefaults.hasMatch()) {
            *error = QStringLiteral("config.xml has no folder defaults");
            return false;
        }
        QString settings = folderDefaults.captured(1);
        settings.remove(QRegularExpression(QStringLiteral("<device [^>]*>.*?</device>"), QRegularExpression::DotMatchesEverythingOption));
        settings.replace(QRegularExpression(QStringLiteral("<minDiskFree unit=\"%\">[^<]*<")),
                         QStringLiteral("<minDiskFree unit=\"%\">0<"));
        QString added = QStringLiteral(
                            "<folder id=\"corkvane\" label=\"corkvane\" path=\"%1\" type=\"sendreceive\" rescanIntervalS=\"5\" "
                            "fsWatcherEnabled=\"true\" fsWatcherDelayS=\"1\" ignorePerms=\"false\" autoNormalize=\"true\">")
                            .arg(folder.toHtmlEscaped());
        for (const Device &d : devices)
            added += QStringLiteral("<device id=\"%1\" introducedBy=\"\"></device>").arg(d.id);
        added += settings + QStringLiteral("</folder>");
        for (const Device &d : devices) {
            const QString address = dials || d.address == m_address ? QStringLiteral("tcp://%1:22000").arg(d.address)
                                                                    : QStringLiteral("dynamic");
            added += QStringLiteral("<device id=\"%1\" name=\"%2\" compression=\"metadata\" introducer=\"false\" "
                                    "skipIntroductionRemovals=\"false\" introducedBy=\"\"><address>%3</address></device>")
                         .arg(d.id, d.name, address);
        }
        const QRegularExpression root(QStringLiteral("<configuration version=\"\\d+\">"));
        const QRegularExpressionMatch m = root.match(xml);
        if (!m.hasMatch()) {
            *error = QStringLiteral("config.xml has no <configuration>");
            return false;
        }
        xml.insert(m.capturedEnd(), added);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(xml.toUtf8()) < 0) {
            *error = QStringLiteral("cannot write config.xml");
            return false;
        }
        // The engine refuses a folder without its marker.
        QDir().mkpath(folder + QStringLiteral("/.stfolder"));
        return true;
    }

    bool start()
    {
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.setStandardOutputFile(m_home + QStringLiteral("/serve.log"), QIODevice::Append);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("STNOUPGRADE"), QStringLiteral("1"));
        env.insert(QStringLiteral("STNODEFAULTFOLDER"), QStringLiteral("1"));
        m_process.setProcessEnvironment(env);
        m_process.start(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("exec"), m_nameSpace, QStringLiteral("syncthing"),
                                              QStringLiteral("serve"), QStringLiteral("--home=") + m_home,
                                              QStringLiteral("--no-browser"), QStringLiteral("--no-restart")});
        return m_process.waitForStarted(10000);
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(15000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    bool running() const { return m_process.state() == QProcess::Running; }
    QString log() const
    {
        QFile f(m_home + QStringLiteral("/serve.log"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll().right(4000)) : QString();
    }

private:
    QString m_home;
    QString m_nameSpace;
    QString m_address;
    QString m_deviceId;
    QProcess m_process;
};
