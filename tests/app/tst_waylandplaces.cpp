// The program under a Wayland compositor, through XWayland: a headless Weston places every X
// window where it likes, yet the notes nobody moved keep their places in the store.
#include "store/NoteStore.h"
#include "support/ProgramRun.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

class TestWaylandPlaces : public QObject
{
    Q_OBJECT

    QTemporaryDir m_runtime;
    QProcess m_weston;
    QString m_display;
    QByteArray m_log;

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("Xwayland")).isEmpty())
            QSKIP("weston or Xwayland is not installed (scripts/deps.sh installs them)");
        QFile::setPermissions(m_runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("DISPLAY"));
        m_weston.setProcessEnvironment(env);
        m_weston.setProcessChannelMode(QProcess::MergedChannels);
        m_weston.start(QStringLiteral("weston"), {QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--xwayland"),
                                                  QStringLiteral("--use-pixman"), QStringLiteral("--idle-time=0"),
                                                  QStringLiteral("--socket=corkvane-test")});
        if (!m_weston.waitForStarted(5000))
            QSKIP("weston cannot be started");
        // Weston names the X display it serves once its XWayland module is up.
        const QRegularExpression listening(QStringLiteral("xserver listening on display (:\\d+)"));
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 15000 && m_weston.state() == QProcess::Running && m_display.isEmpty()) {
            m_weston.waitForReadyRead(200);
            m_log += m_weston.readAll();
            if (const auto match = listening.match(QString::fromLocal8Bit(m_log)); match.hasMatch())
                m_display = match.captured(1);
        }
        if (m_display.isEmpty())
            QSKIP(qPrintable(QStringLiteral("headless Weston with XWayland did not start: ") + QString::fromLocal8Bit(m_log.right(600))));
    }

    void cleanupTestCase()
    {
        if (m_weston.state() != QProcess::NotRunning) {
            m_weston.terminate();
            if (!m_weston.waitForFinished(5000))
                m_weston.kill();
            m_weston.waitForFinished(2000);
        }
    }

    void unmovedNotesKeepTheirPlaces()
    {
        ProgramRun run;
        run.env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        run.env.insert(QStringLiteral("DISPLAY"), m_display);
        run.env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        run.process.setProcessEnvironment(run.env);
        run.writeStore("[General]\r\nDefaultLang=Port\r\nNumStickies=2\r\nAutoSave=1\r\n"
                       "[Stick0]\r\ncaption=primeira\r\nposx=700\r\nposy=400\r\nWidth=180\r\nHeight=147\r\n"
                       "[Stick1]\r\ncaption=segunda\r\nposx=300\r\nposy=500\r\nWidth=200\r\nHeight=120\r\n");
        if (!run.start(30000)) {
            m_log += m_weston.readAll();
            QSKIP(qPrintable(QStringLiteral("Corkvane did not come up on XWayland: ") + QString::fromLocal8Bit(m_log.right(600))));
        }
        // Time for the compositor to map and place the windows, and for their moves to arrive.
        QTest::qWait(2000);
        QCOMPARE(run.terminate(), 0);
        const LoadedStore saved = NoteStore::load(run.storePath(), QDateTime::currentDateTime(), QString(), QString());
        QCOMPARE(saved.notes.size(), 2);
        QCOMPARE(QRect(saved.notes.at(0).posx, saved.notes.at(0).posy, saved.notes.at(0).width, saved.notes.at(0).height),
                 QRect(700, 400, 180, 147));
        QCOMPARE(QRect(saved.notes.at(1).posx, saved.notes.at(1).posy, saved.notes.at(1).width, saved.notes.at(1).height),
                 QRect(300, 500, 200, 120));
    }
};

QTEST_GUILESS_MAIN(TestWaylandPlaces)
#include "tst_waylandplaces.moc"
