#pragma once
// A loopback test server written in Python (Debian's /usr/bin/python3, which sees Debian's
// packages), started with its arguments; it announces "PORT <name> <n>" per listener and then
// "READY". Stopped by closing its standard input when the object goes.
#include <QElapsedTimer>
#include <QHash>
#include <QProcess>
#include <QString>
#include <QStringList>

class PeerProcess
{
public:
    ~PeerProcess() { stop(); }

    // The script's path is relative to the source tree. False when it did not come up in time.
    bool start(const QString &script, const QStringList &arguments)
    {
        m_process.setProgram(QStringLiteral("/usr/bin/python3"));
        m_process.setArguments(QStringList{qEnvironmentVariable("CORKVANE_TEST_SOURCE_DIR") + QLatin1Char('/') + script} +
                               arguments);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        if (!m_process.waitForStarted(10000))
            return false;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 20000) {
            if (!m_process.canReadLine() && !m_process.waitForReadyRead(500))
                continue;
            const QByteArray line = m_process.readLine().trimmed();
            if (line == "READY")
                return true;
            const QList<QByteArray> words = line.split(' ');
            if (words.size() == 3 && words[0] == "PORT")
                m_ports.insert(QString::fromLatin1(words[1]), QString::fromLatin1(words[2]));
        }
        return false;
    }

    QString port(const QString &name) const { return m_ports.value(name); }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }

private:
    QProcess m_process;
    QHash<QString, QString> m_ports;
};
