// Snapshots of the store: their names, the 20-newest-plus-one-a-day rule, byte copies written
// whole, and the copy of an unreadable store that nothing removes.
#include "platform/Clock.h"
#include "store/Backup.h"
#include "store/NoteStore.h"
#include "store/Snapshots.h"
#include "support/MountNamespace.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

namespace {

const QDateTime kNow(QDate(2026, 3, 14), QTime(12, 0, 0));

QString at(int daysAgo, const QTime &time)
{
    return Snapshots::nameFor(QDateTime(kNow.date().addDays(-daysAgo), time));
}

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

} // namespace

class TestSnapshots : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString store() const { return m_dir.filePath("stickies.cvf"); }
    QString folder() const { return m_dir.path() + "/snapshots/"; }
    QStringList files() const { return QDir(folder()).entryList(QDir::Files, QDir::Name); }

private slots:
    void init()
    {
        QDir(folder()).removeRecursively();
        QFile::remove(store());
    }

    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QDateTime>("moment");  // invalid: not a snapshot's name
        QTest::newRow("snapshot") << "stickies-20260314-092653.cvf" << QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53));
        QTest::newRow("midnight") << "stickies-20251231-000000.cvf" << QDateTime(QDate(2025, 12, 31), QTime(0, 0));
        QTest::newRow("unreadable store") << "stickies-20260314-092653-unreadable.cvf" << QDateTime();
        QTest::newRow("copy cut short") << "stickies-20260314-092653.cvf.Ab12Cd" << QDateTime();
        QTest::newRow("exit backup") << "sticky-20260314_0926.cvf" << QDateTime();
        QTest::newRow("no such day") << "stickies-20260230-092653.cvf" << QDateTime();
        QTest::newRow("no such hour") << "stickies-20260314-252653.cvf" << QDateTime();
        QTest::newRow("signs in the stamp") << "stickies-2026+314-092653.cvf" << QDateTime();
        QTest::newRow("another case") << "Stickies-20260314-092653.cvf" << QDateTime();
        QTest::newRow("other digits") << QString::fromUtf8("stickies-2026031\u0664-092653.cvf") << QDateTime();
    }
    void names()
    {
        QFETCH(QString, name);
        QFETCH(QDateTime, moment);
        const auto parsed = Snapshots::momentOf(name);
        QCOMPARE(parsed.has_value(), moment.isValid());
        if (parsed) {
            QCOMPARE(*parsed, moment);
            QCOMPARE(Snapshots::nameFor(moment), name);
        }
        QCOMPARE(Snapshots::unreadableNameFor(QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53))),
                 QString("stickies-20260314-092653-unreadable.cvf"));
    }

    // The exit and menu backups are listed by the moment their names stand for.
    void backupNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QDateTime>("moment");
        QTest::newRow("backup") << "sticky-20021225_1430.cvf" << QDateTime(QDate(2002, 12, 25), QTime(14, 30));
        QTest::newRow("snapshot") << "stickies-20021225-143000.cvf" << QDateTime();
        QTest::newRow("no underscore") << "sticky-20021225-1430.cvf" << QDateTime();
        QTest::newRow("no such minute") << "sticky-20021225_1460.cvf" << QDateTime();
        QTest::newRow("other digits") << QString::fromUtf8("sticky-2002122٥_1430.cvf") << QDateTime();
        QTest::newRow("longer") << "sticky-20021225_14300.cvf" << QDateTime();
    }
    void backupNames()
    {
        QFETCH(QString, name);
        QFETCH(QDateTime, moment);
        const auto parsed = backupMoment(name);
        QCOMPARE(parsed.has_value(), moment.isValid());
        if (parsed)
            QCOMPARE(backupFileName(*parsed), name);
    }

    // A load tells a file that holds no profile at all from one that is merely empty of notes.
    void aStoreThatIsNoProfileIsToldApart_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("notAProfile");
        QTest::newRow("missing") << QByteArray() << false << false;
        QTest::newRow("empty") << QByteArray() << true << true;
        QTest::newRow("binary") << QByteArray("\x00\x01\x02\xff", 4) << true << true;
        QTest::newRow("keys without a section") << QByteArray("NumStickies=1\r\n") << true << true;
        QTest::newRow("one section") << QByteArray("[General]\r\n") << true << false;
        QTest::newRow("junk, then a section") << QByteArray("\x01\x02junk\r\n[Stick0]\r\ncaption=a\r\n") << true << false;
    }
    void aStoreThatIsNoProfileIsToldApart()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, exists);
        QFETCH(bool, notAProfile);
        if (exists)
            TestFiles::writeAll(store(), bytes);
        QCOMPARE(NoteStore::load(store(), kNow, "ana", "/opt/").notAProfile, notAProfile);
        QCOMPARE(Snapshots::holdsProfile(store()), exists && !notAProfile);
    }

    // Sixty snapshots: ten of today, two a day for the 24 days before, one 29 and one 30 days
    // ago. The 20 newest are today's and those of the last five days; of the older ones only
    // the evening copy of each day within the 30 days stays.
    void retentionOverSixtyNames()
    {
        QStringList names, expectedRemoved;
        for (int hour = 0; hour < 10; ++hour)
            names << at(0, QTime(hour, 0));
        for (int day = 1; day <= 24; ++day) {
            names << at(day, QTime(8, 0)) << at(day, QTime(20, 0));
            if (day > 5)
                expectedRemoved << at(day, QTime(8, 0));
        }
        names << at(29, QTime(10, 0)) << at(30, QTime(23, 59, 59));
        expectedRemoved << at(30, QTime(23, 59, 59));
        QCOMPARE(names.size(), 60);
        // Other files in the folder are never the rule's.
        const QStringList others{"stickies-20200101-000000-unreadable.cvf", "leia-me.txt", "sticky-20200101_0000.cvf"};

        const QStringList removed = Snapshots::toRemove(names + others, kNow);
        QCOMPARE(sorted(removed), sorted(expectedRemoved));
        // The rule is stable: what it keeps, it keeps on being asked again.
        QStringList kept = names;
        for (const QString &name : removed)
            kept.removeAll(name);
        QCOMPARE(kept.size(), 40);
        QVERIFY(Snapshots::toRemove(kept, kNow).isEmpty());
        // A day later, the copy of 29 days ago falls out of the days kept; the 20 newest stay
        // the 20 newest until newer ones come.
        QCOMPARE(Snapshots::toRemove(kept, kNow.addDays(1)), QStringList{at(29, QTime(10, 0))});
    }

    void retentionCases_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("removed");
        QStringList few, oneDay, oneDayRemoved, oldDays, oldRemoved, future;
        for (int i = 0; i < 20; ++i)
            few << at(i * 40, QTime(1, 0));
        for (int i = 0; i < 25; ++i) {
            oneDay << at(3, QTime(7, i));
            if (i < 5)
                oneDayRemoved << at(3, QTime(7, i));
        }
        for (int i = 0; i < 22; ++i) {
            oldDays << at(100 + i, QTime(12, 0));
            if (i >= 20)
                oldRemoved << at(100 + i, QTime(12, 0));
        }
        // Copies stamped ahead of the clock (it was set back) count among the newest.
        for (int i = 1; i <= 21; ++i)
            future << at(-i, QTime(6, 0));
        QTest::newRow("twenty, however old") << few << QStringList();
        QTest::newRow("25 of one day") << oneDay << oneDayRemoved;
        QTest::newRow("22 days long past") << oldDays << oldRemoved;
        QTest::newRow("21 days ahead") << future << QStringList{at(-1, QTime(6, 0))};
        QTest::newRow("nothing") << QStringList() << QStringList();
    }
    void retentionCases()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, removed);
        QCOMPARE(sorted(Snapshots::toRemove(names, kNow)), sorted(removed));
    }

    // A snapshot is a byte copy, private to the user; the same bytes are not copied twice; other
    // bytes within the same second take the next second's name; the rule runs after each copy.
    void takingCopiesBytesOnce()
    {
        QVERIFY(Snapshots::take(store(), kNow).isEmpty());  // no store, nothing to keep
        const QByteArray first("[General]\r\nNumStickies=0\r\n\x80\xe9\r\n");
        TestFiles::writeAll(store(), first);
        QString error;
        const QString a = Snapshots::take(store(), kNow, &error);
        QCOMPARE(a, folder() + "stickies-20260314-120000.cvf");
        QCOMPARE(TestFiles::readAll(a), first);
        QCOMPARE(QFileInfo(folder()).permissions() & 0077, QFileDevice::Permissions());
        QCOMPARE(QFileInfo(a).permissions() & 0077, QFileDevice::Permissions());
        QCOMPARE(Snapshots::take(store(), kNow.addSecs(7200)), a);
        QCOMPARE(files().size(), 1);

        TestFiles::writeAll(store(), "[General]\r\nNumStickies=1\r\n");
        const QString b = Snapshots::take(store(), kNow);
        QCOMPARE(b, folder() + "stickies-20260314-120001.cvf");
        QCOMPARE(TestFiles::readAll(a), first);

        // Thirty more changes a minute apart: the rule leaves 20 of today.
        TestFiles::writeAll(folder() + "stickies-20260314-120000.cvf.Xy12Zz", "cut short");
        for (int i = 1; i <= 30; ++i) {
            TestFiles::writeAll(store(), "[General]\r\nNumStickies=" + QByteArray::number(i + 1) + "\r\n");
            QVERIFY(!Snapshots::take(store(), kNow.addSecs(60 * i)).isEmpty());
        }
        QCOMPARE(files().size(), 20);
        QCOMPARE(Snapshots::list(folder()).first().moment, kNow.addSecs(60 * 30));
        QCOMPARE(Snapshots::list(folder()).last().moment, kNow.addSecs(60 * 11));
    }

    // The copy of an unreadable store is whole, never taken for a snapshot, never removed.
    void anUnreadableStoreIsKeptForGood()
    {
        const QByteArray junk = QByteArray("\x00\xff\x13junk\r\n\x00", 10);
        TestFiles::writeAll(store(), junk);
        const QString kept = Snapshots::keepUnreadable(store(), kNow);
        QCOMPARE(kept, folder() + "stickies-20260314-120000-unreadable.cvf");
        QCOMPARE(TestFiles::readAll(kept), junk);
        for (int i = 0; i < 25; ++i) {
            TestFiles::writeAll(store(), "[General]\r\nNumStickies=" + QByteArray::number(i) + "\r\n");
            QVERIFY(!Snapshots::take(store(), kNow.addSecs(60 * (i + 1))).isEmpty());
        }
        QVERIFY(Snapshots::list(folder()).size() == 20);
        QCOMPARE(TestFiles::readAll(kept), junk);
        // Other junk in the same second gets a name of its own.
        TestFiles::writeAll(store(), "other junk");
        QCOMPARE(Snapshots::keepUnreadable(store(), kNow), folder() + "stickies-20260314-120001-unreadable.cvf");
        QCOMPARE(TestFiles::readAll(kept), junk);
    }

    void aCopyThatCannotBeWrittenSaysWhy()
    {
        TestFiles::writeAll(store(), "[General]\r\n");
        QVERIFY(QDir().mkpath(folder()));
        QString why;
        if (!MountNamespace::enter(&why) || !MountNamespace::makeReadOnly(folder(), &why))
            QSKIP(qPrintable(why));
        QString error;
        QVERIFY(Snapshots::take(store(), kNow, &error).isEmpty());
        QVERIFY(Snapshots::keepUnreadable(store(), kNow, &error).isEmpty());
        MountNamespace::undo(folder());
        QVERIFY2(error.startsWith("Unable to write to " + folder() + "stickies-20260314-120000"), qPrintable(error));
        QVERIFY(files().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSnapshots)
#include "tst_snapshots.moc"
