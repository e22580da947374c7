// The trash file: what goes in comes out whole, entries expire after 30 days, a file that is not
// a profile is never written over, and a trash that cannot be written keeps nothing back.
#include "platform/Clock.h"
#include "platform/Locale.h"
#include "store/IniFile.h"
#include "store/NoteTrash.h"
#include "support/MountNamespace.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime kNow(QDate(2026, 5, 20), QTime(10, 30, 0));

NoteData richNote(const QString &caption)
{
    NoteData n;
    n.caption = caption;
    n.note = QStringLiteral("  \"primeira linha\r\nsegunda = linha \\ barra\r\n");
    n.alarm = true;
    n.alarmDateTime = QDateTime(QDate(2026, 6, 1), QTime(7, 45, 0));
    n.useSound = true;
    n.soundFile = QStringLiteral("/home/ana/som.wav");
    n.dia = {true, false, true, false, true, false, true};
    n.remember = true;
    n.rememberNo = 3;
    n.rememberUnit = 2;
    n.scrollbar = true;
    n.darkCaption = true;
    n.trackPosition = 7;
    n.posx = -1200;
    n.posy = 2200;
    n.width = 333;
    n.height = 222;
    n.font = NoteFont{QStringLiteral("Courier New"), 14, 0x123456, true, true};
    n.color = 0x00FF80;
    n.rodape = QStringLiteral("De: bia");
    n.topmost = true;
    return n;
}

QStringList captions(const QList<TrashEntry> &entries)
{
    QStringList out;
    for (const TrashEntry &e : entries)
        out << e.note.caption;
    return out;
}

} // namespace

class TestTrash : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath(NoteTrash::fileName()); }

private slots:
    void initTestCase() { Locale::overrideLocaleId(Locale::kPortugueseBrazil); }
    void init()
    {
        QFile::remove(path());
        for (const QString &name : QDir(m_dir.path()).entryList(QDir::Files))
            QFile::remove(m_dir.filePath(name));
    }

    void besideTheStore()
    {
        QCOMPARE(NoteTrash::besideStore("/home/ana/Documents/Corkvane/ana/data/stickies.cvf"),
                 QString("/home/ana/Documents/Corkvane/ana/data/trash.cvf"));
    }

    // Every key of a note comes back as it went in, with the moment of its deletion; the
    // trash lists the latest deletion first and takes out only what it is asked for.
    void notesComeBackWhole()
    {
        MockClock clock(kNow);
        NoteTrash trash(path());
        NoteData plain;
        plain.caption = "sem alarme";
        plain.note = "x";
        QString first, second, error;
        QVERIFY2(trash.add(richNote("rica"), kNow.addDays(-2), &error, &first), qPrintable(error));
        QVERIFY(trash.add(plain, kNow.addSecs(-60), &error, &second));
        QVERIFY(first != second);

        const QList<TrashEntry> listed = trash.entries(kNow);
        QCOMPARE(captions(listed), QStringList({"sem alarme", "rica"}));
        QCOMPARE(listed.at(1).note, richNote("rica"));
        QCOMPARE(listed.at(1).deletedAt, kNow.addDays(-2));
        QCOMPARE(listed.at(0).note, plain);

        // The file is a profile of the store's form: CR LF, keys as the store writes them.
        const QByteArray bytes = TestFiles::readAll(path());
        QVERIFY(bytes.contains("\r\nDeletedAt=2026-05-18 10:30:00\r\n"));
        QVERIFY(bytes.contains("\r\nposx=-1200\r\n"));
        QVERIFY(!bytes.contains("\n\n") && bytes.count('\n') == bytes.count("\r\n"));

        const auto taken = trash.take({second, "Note999", first}, kNow, &error);
        QVERIFY(taken);
        QCOMPARE(captions(*taken), QStringList({"sem alarme", "rica"}));
        QCOMPARE(taken->at(1).note, richNote("rica"));
        QVERIFY(trash.entries(kNow).isEmpty());
        // Taking what is no longer there changes nothing.
        QVERIFY(trash.take({first}, kNow, &error)->isEmpty());
    }

    void entriesExpireAfterThirtyDays_data()
    {
        QTest::addColumn<QString>("deletedAt");
        QTest::addColumn<bool>("kept");
        QTest::newRow("just now") << "2026-05-20 10:30:00" << true;
        QTest::newRow("exactly 30 days") << "2026-04-20 10:30:00" << true;
        QTest::newRow("30 days and a second") << "2026-04-20 10:29:59" << false;
        QTest::newRow("a year ago") << "2025-05-20 10:30:00" << false;
        QTest::newRow("in the future (clock set back)") << "2027-01-01 00:00:00" << true;
        QTest::newRow("no readable moment") << "ontem" << true;
        QTest::newRow("missing moment") << "" << true;
    }
    void entriesExpireAfterThirtyDays()
    {
        QFETCH(QString, deletedAt);
        QFETCH(bool, kept);
        QByteArray file = "[Note4]\r\ncaption=velha\r\nnote=t\r\n";
        if (!deletedAt.isEmpty())
            file += "DeletedAt=" + deletedAt.toLatin1() + "\r\n";
        TestFiles::writeAll(path(), file);
        NoteTrash trash(path());
        QCOMPARE(trash.entries(kNow).size(), kept ? 1 : 0);
        // A write drops what has expired from the file itself.
        NoteData fresh;
        fresh.caption = "nova";
        QString id;
        QVERIFY(trash.add(fresh, kNow, nullptr, &id));
        QCOMPARE(id, QString("Note5"));
        QCOMPARE(IniFile::fromFile(path()).sectionExists("Note4"), kept);
        QStringList listed = captions(trash.entries(kNow));
        listed.sort();
        QCOMPARE(listed, kept ? QStringList({"nova", "velha"}) : QStringList({"nova"}));
    }

    // Bytes that are no profile (a crash left junk, another program wrote there) go aside
    // whole before the first write; the trash then starts afresh.
    void aFileThatIsNoProfileIsKeptAside_data()
    {
        QTest::addColumn<QByteArray>("junk");
        QTest::newRow("binary") << QByteArray("\x00\x01\xff\xfe garbage\n\x7f", 14);
        QTest::newRow("text without a section") << QByteArray("caption=x\r\nnote=y\r\n");
    }
    void aFileThatIsNoProfileIsKeptAside()
    {
        QFETCH(QByteArray, junk);
        MockClock clock(kNow);
        TestFiles::writeAll(path(), junk);
        NoteTrash trash(path());
        QVERIFY(trash.entries(kNow).isEmpty());
        NoteData n;
        n.caption = "depois";
        QVERIFY(trash.add(n, kNow));
        const QString aside = m_dir.filePath("trash-unreadable-20260520-103000.cvf");
        QCOMPARE(TestFiles::readAll(aside), junk);
        QCOMPARE(captions(trash.entries(kNow)), QStringList({"depois"}));
        QVERIFY(!TestFiles::readAll(path()).contains(junk));
        // Emptying a junk trash keeps its bytes too.
        TestFiles::writeAll(path(), junk);
        QVERIFY(trash.empty());
        QCOMPARE(TestFiles::readAll(m_dir.filePath("trash-unreadable-20260520-103000-2.cvf")), junk);
        QCOMPARE(TestFiles::readAll(path()), QByteArray());
    }

    void emptyingRemovesEveryEntry()
    {
        NoteTrash trash(path());
        for (int i = 0; i < 3; ++i)
            QVERIFY(trash.add(richNote(QString::number(i)), kNow));
        QCOMPARE(trash.entries(kNow).size(), 3);
        QVERIFY(trash.empty());
        QVERIFY(trash.entries(kNow).isEmpty());
        QVERIFY(!TestFiles::readAll(path()).contains("rica"));
    }

    // A trash that cannot be written says why, and the file stays as it was: the caller keeps
    // its note, and nothing is taken out that it would not get.
    void aTrashThatCannotBeWrittenKeepsEverything()
    {
        NoteTrash trash(path());
        QVERIFY(trash.add(richNote("antes"), kNow));
        const QByteArray before = TestFiles::readAll(path());
        const QString id = trash.entries(kNow).at(0).id;
        QString why;
        if (!MountNamespace::enter(&why) || !MountNamespace::makeReadOnly(m_dir.path(), &why))
            QSKIP(qPrintable(why));
        QString error;
        QVERIFY(!trash.add(richNote("depois"), kNow, &error));
        QVERIFY2(error.startsWith("Unable to write to " + path()), qPrintable(error));
        QVERIFY(!trash.take({id}, kNow, &error));
        QVERIFY(!trash.empty(&error));
        MountNamespace::undo(m_dir.path());
        QCOMPARE(TestFiles::readAll(path()), before);
        QCOMPARE(captions(trash.entries(kNow)), QStringList({"antes"}));
    }
};

QTEST_GUILESS_MAIN(TestTrash)
#include "tst_trash.moc"
