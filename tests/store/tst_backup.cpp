#include "store/Backup.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <cstring>

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
        QVERIFY(!QFileInfo::exists(dir.filePath("missing-folder")));
    }

    // The exit backup makes its folder when it is missing, or says why it cannot.
    void aMissingFolderIsMadeOrTheReasonGiven_data()
    {
        QTest::addColumn<QString>("folder");  // under the test's folder
        QTest::addColumn<int>("error");        // 0: the copy is made
        QTest::newRow("existing") << "bak" << 0;
        QTest::newRow("missing") << "new" << 0;
        QTest::newRow("missing, several levels") << "a/b/c/" << 0;
        QTest::newRow("a file in the way") << "file/sub" << ENOTDIR;
        QTest::newRow("the folder is a file") << "file" << ENOTDIR;
    }
    void aMissingFolderIsMadeOrTheReasonGiven()
    {
        QFETCH(QString, folder);
        QFETCH(int, error);
        QTemporaryDir dir;
        const QString store = dir.filePath("stickies.cvf");
        QFile f(store);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Network]\r\nPassword=x\r\n");
        f.close();
        QDir().mkdir(dir.filePath("bak"));
        QFile file(dir.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        const QDateTime when(QDate(2003, 3, 3), QTime(9, 5));
        const QString target = QDir::cleanPath(dir.filePath(folder)) + "/sticky-20030303_0905.cvf";
        QString reason;
        const QString copy = backupStore(store, dir.filePath(folder), when, &reason, BackupFolder::CreateWhenMissing);
        if (error == 0) {
            QCOMPARE(QDir::cleanPath(copy), target);
            QVERIFY(reason.isEmpty());
            QFile c(copy);
            QVERIFY(c.open(QIODevice::ReadOnly));
            QCOMPARE(c.readAll(), QByteArray("[Network]\r\nPassword=x\r\n"));
            // Made private: the copy holds the mail password.
            if (folder != "bak")
                QCOMPARE(QFileInfo(dir.filePath(folder.section('/', 0, 0))).permissions() & 0077, QFileDevice::Permissions());
        } else {
            QVERIFY(copy.isEmpty());
            QVERIFY2(reason.startsWith("Unable to write to " + dir.filePath(folder)), qPrintable(reason));
            QVERIFY2(reason.endsWith("\n" + qt_error_string(error)), qPrintable(reason));
        }
        // Without leave to make it, a missing folder stays missing and the reason is the system's.
        reason.clear();
        QVERIFY(backupStore(store, dir.filePath("other"), when, &reason).isEmpty());
        QVERIFY(!QFileInfo::exists(dir.filePath("other")));
        QCOMPARE(reason, "Unable to write to " + dir.filePath("other/sticky-20030303_0905.cvf") + "\n"
                             + qt_error_string(ENOENT));
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
