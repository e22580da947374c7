// The built program killed with SIGKILL at random moments while it saves a store of hundreds of
// notes: during the save that SIGTERM starts, and during the saves of recurring alarms, each of
// which rewrites the store as it rings. After every kill the store must be whole (the bytes it
// had before, or a complete save of the same notes), and the next start must find no leftover
// of the interrupted save in the data folder.
#include "platform/Locale.h"
#include "store/NoteStore.h"
#include "store/Snapshots.h"
#include "store/StoreValues.h"
#include "support/ProgramRun.h"
#include "support/TestFiles.h"

#include <QDirIterator>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>
#include <csignal>
#include <sys/stat.h>

namespace {

constexpr int kNotes = 300;
constexpr qint64 kBudgetMs = 40000;

QString caption(int n)
{
    return QStringLiteral("Nota %1 \u2013 reuni\u00e3o").arg(n);
}

QString noteText(int n)
{
    QString text;
    for (int line = 0; line < 6; ++line)
        text += QStringLiteral("Linha %1 da nota %2: or\u00e7amento, f\u00e9rias e o resto da semana.\r\n").arg(line).arg(n);
    return text;
}

QString inode(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? QString::number(st.st_ino) : QString();
}

// Every note gets a recurring alarm: the even ones are overdue and ring (and save) on the first
// tick, the odd ones come due one by one over the next seconds. The rest of the file stays.
QByteArray withAlarmsDue(const QByteArray &store, const QDateTime &now)
{
    IniFile ini(store);
    for (int n = 0; n < kNotes; ++n) {
        const QString s = NoteStore::sectionName(n);
        const QDateTime due = n % 2 == 0 ? now.addSecs(-3600) : now.addMSecs(20 * n);
        ini.writeBool(s, QStringLiteral("alarm"), true);
        ini.writeString(s, QStringLiteral("AlarmDateTime"), StoreValues::formatDateTime(due));
    }
    return ini.toBytes();
}

QByteArray firstStore()
{
    IniFile ini;
    AppSettings settings;
    settings.recGeral.AutoSave = false;
    settings.recGeral.User = QStringLiteral("maria");
    QList<NoteData> notes;
    for (int n = 0; n < kNotes; ++n) {
        NoteData d;
        d.caption = caption(n);
        d.note = noteText(n);
        d.posx = 10 + n;
        d.posy = 20 + n;
        d.alarm = true;
        d.alarmDateTime = QDateTime::currentDateTime();
        d.dia.fill(true);
        d.remember = true;
        d.rememberNo = 1;
        d.rememberUnit = 0;
        notes << d;
    }
    // A section the store does not own, such as the contact book, must survive every save.
    ini.writeString(QStringLiteral("Agenda"), QStringLiteral("Contato0"), QStringLiteral("ana@exemplo.com.br"));
    NoteStore::write(ini, settings, notes, true);
    return ini.toBytes();
}

// A complete save of this store: every note there with its own caption and text, the contact
// section kept, and the bytes exactly those the store writes for what they hold.
QString wholeStoreFault(const QByteArray &bytes)
{
    const IniFile ini(bytes);
    const LoadedStore s = NoteStore::read(ini, QDateTime::currentDateTime(), Paths::loginName(), ProgramRun::binFolder());
    if (s.notes.size() != kNotes || s.declaredNotes != kNotes)
        return QStringLiteral("%1 notes").arg(s.notes.size());
    for (int n = 0; n < kNotes; ++n) {
        const NoteData &d = s.notes[n];
        if (d.caption != caption(n) || d.note != noteText(n) || !d.alarm || !d.remember)
            return QStringLiteral("note %1 differs").arg(n);
    }
    if (ini.readString(QStringLiteral("Agenda"), QStringLiteral("Contato0")) != QLatin1String("ana@exemplo.com.br"))
        return QStringLiteral("the contact section is gone");
    IniFile rewritten(bytes);
    NoteStore::write(rewritten, s.settings, s.notes, s.defaultLang == QLatin1String("Port"));
    if (rewritten.toBytes() != bytes)
        return QStringLiteral("not what a save writes");
    return {};
}

QStringList dataFolderEntries(const ProgramRun &run)
{
    return QDir(run.dataFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// start() of ProgramRun waits for the message endpoint, which a killed run leaves behind: wait
// for the new run's own endpoint instead.
bool restart(ProgramRun &run)
{
    const QString endpoint = run.runtimeFolder() + QStringLiteral("/CorkvaneMsg");
    const QString stale = inode(endpoint);
    run.process.start(ProgramRun::binFolder() + QStringLiteral("corkvane"), {});
    if (!run.process.waitForStarted(5000))
        return false;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 30000 && run.process.state() == QProcess::Running) {
        const QString now = inode(endpoint);
        if (!now.isEmpty() && now != stale)
            return true;
        QTest::qWait(20);
    }
    return false;
}

} // namespace

class TestKillSave : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Locale::overrideLocaleId(Locale::kPortugueseBrazil); }
    void cleanupTestCase() { Locale::overrideLocaleId(-1); }

    void aKilledSaveLeavesTheOldStoreOrTheNewOne()
    {
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        qInfo("seed %u", seed);

        ProgramRun run;
        run.writeStore(firstStore());
        QCOMPARE(wholeStoreFault(run.storeBytes()), QString());

        int runs = 0;
        int keptOld = 0;
        int leftovers = 0;
        QElapsedTimer budget;
        budget.start();
        while (budget.elapsed() < kBudgetMs || runs < 2) {
            const bool duringSigterm = runs % 2 == 1;
            const QByteArray before = withAlarmsDue(run.storeBytes(), QDateTime::currentDateTime());
            TestFiles::writeAll(run.storePath(), before);

            QVERIFY2(restart(run), "the program did not start again after a kill");
            // The start-up step cleared whatever the kill left behind: beside the store only its
            // snapshots remain, every one of them whole.
            QCOMPARE(dataFolderEntries(run), (QStringList{QStringLiteral("snapshots"), NoteStore::fileName()}));
            for (const QString &name : QDir(run.dataFolder() + QStringLiteral("snapshots")).entryList(QDir::Files | QDir::Hidden)) {
                QVERIFY2(Snapshots::momentOf(name).has_value(), qPrintable(name));
                QCOMPARE(wholeStoreFault(TestFiles::readAll(run.dataFolder() + QStringLiteral("snapshots/") + name)), QString());
            }

            if (duringSigterm) {
                QTest::qWait(int(random.bounded(1500)));
                ::kill(pid_t(run.process.processId()), SIGTERM);
                QThread::usleep(random.bounded(40000));
            } else {
                QTest::qWait(int(random.bounded(2500)));
            }
            run.process.kill();
            QVERIFY(run.process.waitForFinished(10000));

            const QByteArray after = run.storeBytes();
            if (after == before) {
                ++keptOld;
            } else {
                const QString fault = wholeStoreFault(after);
                QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("run %1 (%2): the store is torn: %3")
                                                         .arg(runs)
                                                         .arg(duringSigterm ? "SIGTERM" : "alarms")
                                                         .arg(fault)));
            }
            if (dataFolderEntries(run).size() > 2)
                ++leftovers;
            ++runs;
        }
        qInfo("%d kills: %d kept the old store, %d a new one; %d left a temporary file behind", runs,
              keptOld, runs - keptOld, leftovers);

        // And the last store starts and stops as usual.
        QVERIFY(restart(run));
        QCOMPARE(dataFolderEntries(run), (QStringList{QStringLiteral("snapshots"), NoteStore::fileName()}));
        QCOMPARE(run.terminate(), 0);
        QCOMPARE(wholeStoreFault(run.storeBytes()), QString());
        QCOMPARE(dataFolderEntries(run), (QStringList{QStringLiteral("snapshots"), NoteStore::fileName()}));
    }
};

QTEST_MAIN(TestKillSave)
#include "tst_killsave.moc"
