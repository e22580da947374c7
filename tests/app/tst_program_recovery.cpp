// The built program as a user runs it, headless: notes left off the screens come back within
// reach, the store as found is kept in snapshots/, and a store that is no profile at all is
// kept whole rather than written over.
#include "store/IniFile.h"
#include "store/NoteStore.h"
#include "store/Snapshots.h"
#include "support/ProgramRun.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

namespace {

QRect placeOf(const NoteData &n)
{
    return QRect(n.posx, n.posy, n.width, n.height);
}

LoadedStore loadSaved(const ProgramRun &run)
{
    return NoteStore::load(run.storePath(), QDateTime::currentDateTime(), QString(), ProgramRun::binFolder());
}

QStringList snapshotNames(const ProgramRun &run)
{
    return QDir(run.dataFolder() + "snapshots").entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestProgramRecovery : public QObject
{
    Q_OBJECT
private slots:
    // The program runs on the same offscreen screen as this test.
    void notesOffTheScreenAreSavedWithinIt()
    {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        ProgramRun run;
        run.writeStore("[General]\r\nDefaultLang=Port\r\nNumStickies=3\r\n"
                       "[Stick0]\r\ncaption=longe\r\nposx=5000\r\nposy=5000\r\nWidth=180\r\nHeight=147\r\n"
                       "[Stick1]\r\ncaption=antes\r\nposx=-3000\r\nposy=-2000\r\nWidth=200\r\nHeight=100\r\n"
                       "[Stick2]\r\ncaption=perto\r\nposx=100\r\nposy=120\r\nWidth=170\r\nHeight=120\r\n");
        QVERIFY(run.start());
        QCOMPARE(run.terminate(), 0);
        const LoadedStore saved = loadSaved(run);
        QCOMPARE(saved.notes.size(), 3);
        QVERIFY2(screen.contains(placeOf(saved.notes.at(0))), qPrintable(QString("%1,%2").arg(saved.notes.at(0).posx).arg(saved.notes.at(0).posy)));
        QVERIFY(screen.contains(placeOf(saved.notes.at(1))));
        QCOMPARE(placeOf(saved.notes.at(0)).size(), QSize(180, 147));
        // Moved as little as it takes: to the far corner for the one, the near one for the other.
        QCOMPARE(placeOf(saved.notes.at(0)).bottomRight(), screen.bottomRight());
        QCOMPARE(placeOf(saved.notes.at(1)).topLeft(), screen.topLeft());
        QCOMPARE(placeOf(saved.notes.at(2)), QRect(100, 120, 170, 120));
    }

    // A start and SIGTERM leave a byte copy of the store as it was found.
    void theStoreAsFoundIsKept()
    {
        ProgramRun run;
        const QByteArray found("[General]\r\nDefaultLang=Port\r\nNumStickies=1\r\n; a remark of the user's\r\n"
                               "[Stick0]\r\ncaption=caf\xe9\r\nnote=um\\ndois\r\nposx=10\r\nposy=10\r\n");
        run.writeStore(found);
        QVERIFY(run.start());
        QCOMPARE(run.terminate(), 0);
        QVERIFY(run.storeBytes() != found);  // the exit save wrote every key
        const QStringList names = snapshotNames(run);
        QCOMPARE(names.size(), 1);
        QVERIFY(Snapshots::momentOf(names.at(0)).has_value());
        QCOMPARE(TestFiles::readAll(run.dataFolder() + "snapshots/" + names.at(0)), found);
        QCOMPARE(QFileInfo(run.dataFolder() + "snapshots").permissions() & 0077, QFileDevice::Permissions());

        // A second run keeps the store it finds, the one the first run left.
        const QByteArray left = run.storeBytes();
        QVERIFY(run.start());
        QCOMPARE(run.terminate(), 0);
        const QStringList after = snapshotNames(run);
        QCOMPARE(after.size(), 2);
        QCOMPARE(TestFiles::readAll(run.dataFolder() + "snapshots/" + after.at(0)), found);
        QCOMPARE(TestFiles::readAll(run.dataFolder() + "snapshots/" + after.at(1)), left);
    }

    void aStoreThatIsNoProfileSurvivesWhole_data()
    {
        QTest::addColumn<QByteArray>("junk");
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary += char((i * 131 + 7) % 256);
        QTest::newRow("binary") << binary;
        QTest::newRow("empty after a crash") << QByteArray();
        QTest::newRow("a picture") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    }
    void aStoreThatIsNoProfileSurvivesWhole()
    {
        QFETCH(QByteArray, junk);
        ProgramRun run;
        run.writeStore(junk);
        QVERIFY(run.start());
        QCOMPARE(run.terminate(), 0);
        const QStringList names = snapshotNames(run);
        QCOMPARE(names.size(), 1);
        QVERIFY2(names.at(0).endsWith("-unreadable.cvf"), qPrintable(names.at(0)));
        QCOMPARE(TestFiles::readAll(run.dataFolder() + "snapshots/" + names.at(0)), junk);
        // The store is a profile again, with the defaults.
        QVERIFY(Snapshots::holdsProfile(run.storePath()));
        QCOMPARE(loadSaved(run).notes.size(), 0);
        // Later runs keep the copy as it is.
        QVERIFY(run.start());
        QCOMPARE(run.terminate(), 0);
        QVERIFY(snapshotNames(run).contains(names.at(0)));
        QCOMPARE(TestFiles::readAll(run.dataFolder() + "snapshots/" + names.at(0)), junk);
    }
};

QTEST_MAIN(TestProgramRecovery)
#include "tst_program_recovery.moc"
