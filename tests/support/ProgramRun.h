#pragma once
// One run of the built program (build/bin/corkvane) as a user would have it: headless, on a
// fresh home folder and runtime folder of its own, stopped with SIGTERM.
#include "platform/Paths.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class ProgramRun
{
public:
    explicit ProgramRun(const QString &lang = QStringLiteral("pt_BR.UTF-8"))
    {
        QDir().mkpath(runtimeFolder());
        QFile::setPermissions(runtimeFolder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        env = QProcessEnvironment::systemEnvironment();
        for (const char *var : {"LC_ALL", "LC_MESSAGES", "LC_TIME", "LANGUAGE", "XDG_CONFIG_DIRS", "XDG_DOCUMENTS_DIR"})
            env.remove(QString::fromLatin1(var));
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/.config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/.local/share"));
        env.insert(QStringLiteral("LANG"), lang);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }

    ~ProgramRun()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    static QString binFolder() { return qEnvironmentVariable("CORKVANE_BIN_DIR") + QLatin1Char('/'); }
    QString runtimeFolder() const { return home.path() + QStringLiteral("/run"); }
    QString dataFolder() const
    {
        return home.path() + QStringLiteral("/Documents/Corkvane/") + Paths::loginName() + QStringLiteral("/data/");
    }
    QString storePath() const { return dataFolder() + QStringLiteral("stickies.cvf"); }

    void writeStore(const QByteArray &bytes) const
    {
        QDir().mkpath(dataFolder());
        TestFiles::writeAll(storePath(), bytes);
    }

    QByteArray storeBytes() const { return TestFiles::readAll(storePath()); }

    // Starts the program and waits (bounded) until its start-up step has run, which is when it
    // opens the "CorkvaneMsg" endpoint.
    bool start(int timeoutMs = 20000, const QStringList &arguments = {})
    {
        const QString program = binFolder() + QStringLiteral("corkvane");
        if (launcher.isEmpty())
            process.start(program, arguments);
        else
            process.start(launcher.first(), launcher.mid(1) + QStringList{program} + arguments);
        if (!process.waitForStarted(5000))
            return false;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs && process.state() == QProcess::Running) {
            if (QFile::exists(runtimeFolder() + QStringLiteral("/CorkvaneMsg")))
                return true;
            QTest::qWait(50);
        }
        return false;
    }

    // SIGTERM; the exit code, or -1 when the program did not end normally in time.
    int terminate(int timeoutMs = 15000)
    {
        process.terminate();
        if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        return process.exitCode();
    }

    // Runs corkvane-msg in this run's environment; its exit code (-1 when it hung).
    int sendClipboardMessage(QByteArray *standardError = nullptr) const
    {
        QProcess msg;
        msg.setProcessEnvironment(env);
        msg.start(binFolder() + QStringLiteral("corkvane-msg"), {});
        if (!msg.waitForFinished(10000))
            return -1;
        if (standardError)
            *standardError = msg.readAllStandardError();
        return msg.exitCode();
    }

    QTemporaryDir home;
    QProcessEnvironment env;
    QProcess process;
    // A command the program is started through, such as {"ip", "netns", "exec", <namespace>};
    // it must end by running the program in its own process (exec).
    QStringList launcher;
};
