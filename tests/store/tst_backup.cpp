#include "store/Backup.h"

#include <QTemporaryDir>
#include <QtTest>

class TestBackup : public QObject
{
    Q_OBJECT
private slots:
    void namesCarryTheMinuteOfTheCopy()
    {
        QCOMPARE(backupFileName(QDateTime(QDate(2002, 12, 25), QTime(14, 30, 59))), QStringLiteral("sticky-20021225_1430.cvf"));
        QCOMPARE(backupFileName(QDateTime(QDate(2003, 3, 3), QTime(9, 5))), QStringLiteral("sticky-20030303_0905.cvf"));
    }

    void copiesByteForByteAndReplacesTheSameMinute()
    {
        QTemporaryDir dir;
        const QString store = dir.filePath("stickies.cvf");
        QFile f(store);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[General]\r\nUser=Jo\xE3o\r\n");
        f.close();
        const QDateTime when(QDate(2003, 3, 3), QTime(9, 5));
        QDir().mkdir(dir.filePath("bak"));
        const QString copy = backupStore(store, dir.filePath("bak"), when);  // no trailing slash
        QCOMPARE(copy, dir.filePath("bak/sticky-20030303_0905.cvf"));
        QFile c(copy);
        QVERIFY(c.open(QIODevice::ReadOnly));
        QCOMPARE(c.readAll(), QByteArray("[General]\r\nUser=Jo\xE3o\r\n"));
        QCOMPARE(c.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), QFileDevice::Permissions());
        c.close();

        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("second");
        f.close();
        QCOMPARE(backupStore(store, dir.filePath("bak/"), when), copy);
        QVERIFY(c.open(QIODevice::ReadOnly));
        QCOMPARE(c.readAll(), QByteArray("second"));
    }

    void aFailedCopyReturnsNoName()
    {
        QTemporaryDir dir;
        const QString store = dir.filePath("stickies.cvf");
        QFile f(store);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.close();
        QVERIFY(backupStore(store, dir.filePath("missing-folder"), QDateTime::currentDateTime()).isEmpty());
        QVERIFY(backupStore(dir.filePath("no-store.cvf"), dir.path(), QDateTime::currentDateTime()).isEmpty());
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
