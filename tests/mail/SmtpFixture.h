#pragma once
// The loopback SMTP server of smtp_fixture.py (aiosmtpd), run for the length of a test case:
// the port it took, and the envelope and bytes of each mail it accepted.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

class SmtpFixture
{
public:
    // Empty when the server is up, else why not.
    QString start(const QString &user, const QString &password)
    {
        if (!m_out.isValid())
            return QStringLiteral("no temporary folder");
        const QString script = qEnvironmentVariable("CORKVANE_TEST_SOURCE_DIR") + QStringLiteral("/tests/mail/smtp_fixture.py");
        m_server.setProgram(QStringLiteral("/usr/bin/python3"));
        m_server.setArguments({script, QStringLiteral("--out"), m_out.path(), QStringLiteral("--user"), user,
                               QStringLiteral("--password"), password});
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.start();
        if (!m_server.waitForStarted(10000))
            return QStringLiteral("the test SMTP server (python3-aiosmtpd) did not start");
        QElapsedTimer t;
        t.start();
        while (!m_server.canReadLine() && t.elapsed() < 15000)
            m_server.waitForReadyRead(500);
        const QByteArray line = m_server.readLine().trimmed();
        if (!line.startsWith("PORT "))
            return QStringLiteral("the test SMTP server said: ") + QString::fromLatin1(line);
        m_port = QString::fromLatin1(line.mid(5));
        return {};
    }

    void stop()
    {
        if (m_server.state() == QProcess::NotRunning)
            return;
        m_server.closeWriteChannel();
        if (!m_server.waitForFinished(5000)) {
            m_server.kill();
            m_server.waitForFinished(2000);
        }
    }

    ~SmtpFixture() { stop(); }

    QString port() const { return m_port; }

    // How many mails the server has accepted so far.
    int count() const
    {
        return int(QDir(m_out.path()).entryList({QStringLiteral("mail*.envelope")}, QDir::Files).size());
    }

    // Mail n (from 1): false when the server has not accepted it.
    bool mail(int n, QJsonObject &envelope, QByteArray &data) const
    {
        QFile e(m_out.filePath(QStringLiteral("mail%1.envelope").arg(n)));
        QFile d(m_out.filePath(QStringLiteral("mail%1.data").arg(n)));
        if (!e.open(QIODevice::ReadOnly) || !d.open(QIODevice::ReadOnly))
            return false;
        envelope = QJsonDocument::fromJson(e.readAll()).object();
        data = d.readAll();
        return true;
    }

private:
    QProcess m_server;
    QTemporaryDir m_out;
    QString m_port;
};
