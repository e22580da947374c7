// The built program as a user runs it: first start, SIGTERM, a store written by a Windows
// installation, the clipboard message, and an overdue recurring alarm.
#include "platform/Locale.h"
#include "store/IniFile.h"
#include "store/NoteStore.h"
#include "support/ProgramRun.h"
#include "support/TestFiles.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

using TestFiles::crlf;

QByteArray shipped(const QString &name)
{
    return TestFiles::readAll(ProgramRun::binFolder() + name);
}

LoadedStore loadStore(const QString &path, const QDateTime &moment = QDateTime(QDate(2000, 1, 1), QTime(0, 0)))
{
    return NoteStore::load(path, moment, Paths::loginName(), ProgramRun::binFolder());
}

} // namespace

class TestProgram : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(QFile::exists(ProgramRun::binFolder() + "corkvane"));
        QVERIFY(QFile::exists(ProgramRun::binFolder() + "corkvane-msg"));
    }

    void firstStartCopiesTheStoreOfTheLocaleAndSigtermSaves_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("first");
        QTest::newRow("Portuguese") << "pt_BR.UTF-8" << "default_ptb.cvf";
        QTest::newRow("C") << "C" << "default_enu.cvf";
    }
    void firstStartCopiesTheStoreOfTheLocaleAndSigtermSaves()
    {
        QFETCH(QString, lang);
        QFETCH(QString, first);
        ProgramRun run(lang);
        QVERIFY(run.start());
        QCOMPARE(run.storeBytes(), shipped(first));
        QCOMPARE(QFileInfo(run.dataFolder()).permissions() & 0077, QFileDevice::Permissions());
        QCOMPARE(run.terminate(), 0);

        QCOMPARE(QFileInfo(run.storePath()).permissions() & 0077, QFileDevice::Permissions());
        const LoadedStore saved = loadStore(run.storePath());
        const LoadedStore original = NoteStore::read(IniFile(shipped(first)), QDateTime(), Paths::loginName(), ProgramRun::binFolder());
        QCOMPARE(saved.notes, original.notes);
        QCOMPARE(saved.settings, original.settings);
    }

    // Sound output, TLS and printing live in modules loaded when first needed: a start loads
    // none of them nor the large libraries behind them.
    void aStartLoadsNoOnDemandLibrary()
    {
        ProgramRun run("pt_BR.UTF-8");
        QVERIFY(run.start());
        QFile maps(QStringLiteral("/proc/%1/maps").arg(run.process.processId()));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray mapped = maps.readAll();
        QVERIFY(mapped.contains("libQt6Widgets"));
        for (const char *library : {"libcorkvane-sound", "libcorkvane-tls", "libQt6Multimedia", "libssl.so",
                                    "libcrypto.so", "libcorkvane-print", "libQt6PrintSupport"})
            QVERIFY2(!mapped.contains(library), library);
        QCOMPARE(run.terminate(), 0);
    }

    void aStoreFromWindowsSurvivesStartAndStop()
    {
        ProgramRun run;
        const QByteArray windowsStore = crlf(
            "[Stick2]\n"
            "caption=Reuni\xE3o de equipe\n"
            "visible=1\n"
            "alarm=1\n"
            "AlarmDateTime=25/12/2099 14:30:00\n"
            "UseSound=1\n"
            "SoundFile=C:\\WINDOWS\\Media\\tada.wav\n"
            "Dia1=0\nDia2=1\nDia3=1\nDia4=1\nDia5=1\nDia6=1\nDia7=0\n"
            "Remember=1\nRememberNo=2\nRememberUnit=1\n"
            "note=Pauta:\\n- or\xE7""amento\\n- f\xE9rias\\n\n"
            "posx=abc\nposy=0x20\nwidth=300\nheight=200\n"
            "FontName=Courier New\nFontSize=12\nFontColor=255\nFontBold=1\nFontItalic=2\nColor=16777215\n"
            "[General]\n"
            "NumStickies=3\n"
            "UseSounds=0\n"
            "User=Jos\xE9\n"
            "DefaultLang=Port\n"
            "DefaultColor=8454143\n"
            "TimeAutoSave=0x0F\n"
            "AutoSave=1\n"
            "[stick0]\n"
            "caption=escondida\n"
            "VISIBLE=0\n"
            "note=  \"entre aspas\"  \n"
            "Color=8126463\n"
            "[Network]\n"
            "Enabled=0\nPortTCP=7801\nListcount=2\nList0=10.0.0.1\nList1=host.example\nBlocktype=2\n"
            "[Stick1]\n"
            "caption=com rodap\xE9\n"
            "Rodape=De ana (10.0.0.7)\n"
            "topmost=1\n"
            "DarkCaption=1\nTrackPosition=20\n");
        run.writeStore(windowsStore);
        const LoadedStore before = NoteStore::read(IniFile(windowsStore), QDateTime(), Paths::loginName(), ProgramRun::binFolder());
        QCOMPARE(before.notes.size(), 3);

        QVERIFY(run.start());
        QCOMPARE(run.terminate(), 0);
        const LoadedStore after = loadStore(run.storePath());
        QCOMPARE(after.settings, before.settings);
        QCOMPARE(after.notes, before.notes);
        QCOMPARE(after.notes[0].caption, QStringLiteral("escondida"));
        QVERIFY(!after.notes[0].visible);
        QCOMPARE(after.notes[2].note, QString::fromUtf8("Pauta:\r\n- orçamento\r\n- férias\r\n"));
        QCOMPARE(after.notes[2].posx, 400);
        QCOMPARE(after.notes[2].posy, 32);
        const IniFile saved = IniFile::fromFile(run.storePath());
        QVERIFY(saved.sectionExists("Stick0") && saved.sectionExists("Stick2") && !saved.sectionExists("Stick3"));
        QCOMPARE(saved.readInteger("General", "TimeAutoSave", 0), 15);

        const QByteArray firstSave = run.storeBytes();
        QVERIFY(run.start());
        QCOMPARE(run.terminate(), 0);
        QCOMPARE(run.storeBytes(), firstSave);
    }

    void clipboardMessagesCreateUserNotesOnePerGuardPeriod()
    {
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
        ProgramRun run;
        QVERIFY(run.start());
        QCOMPARE(run.sendClipboardMessage(), 0);
        QCOMPARE(run.sendClipboardMessage(), 0);  // within 5 s of the first: no second note
        QTest::qWait(6000);
        QCOMPARE(run.sendClipboardMessage(), 0);
        QTest::qWait(6000);
        QCOMPARE(run.sendClipboardMessage(), 0);
        QTest::qWait(1000);
        QCOMPARE(run.terminate(), 0);

        const LoadedStore saved = loadStore(run.storePath());
        QCOMPARE(saved.notes.size(), 4);  // the welcome note and three new ones
        const QList<QPoint> places{{3, 0}, {20, 86}, {67, 27}};
        const QRegularExpression dated(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d$"));
        for (int i = 0; i < 3; ++i) {
            const NoteData &note = saved.notes[i + 1];
            QCOMPARE(QPoint(note.posx, note.posy), places[i]);
            QCOMPARE(note.color, saved.settings.recGeral.DefaultColor);
            QVERIFY2(dated.match(note.caption).hasMatch(), qPrintable(note.caption));
        }
        Locale::overrideLocaleId(-1);
    }

    void aSecondProgramLeavesTheFirstAlone()
    {
        ProgramRun run;
        QVERIFY(run.start());
        const QByteArray store = run.storeBytes();
        QProcess second;
        second.setProcessEnvironment(run.env);
        second.start(ProgramRun::binFolder() + "corkvane", {});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 0);  // it handed over to the running program
        QCOMPARE(run.process.state(), QProcess::Running);
        QCOMPARE(run.terminate(), 0);
        QCOMPARE(loadStore(run.storePath()).notes.size(), NoteStore::read(IniFile(store), {}, Paths::loginName(), ProgramRun::binFolder()).notes.size());
    }

    // A second start and the desktop entry's actions reach the running program; the store it
    // saves on SIGTERM shows what each did.
    void requestsReachTheRunningProgram_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("newNotes");
        QTest::addColumn<bool>("hiddenShown");
        QTest::newRow("second start") << "corkvane" << QStringList{} << 0 << true;
        QTest::newRow("--new-note") << "corkvane" << QStringList{"--new-note"} << 1 << false;
        QTest::newRow("--show-all") << "corkvane" << QStringList{"--show-all"} << 0 << true;
        QTest::newRow("--preferences") << "corkvane" << QStringList{"--preferences"} << 0 << false;
        // The notes window: neither a note of its own nor the clipboard's.
        QTest::newRow("--notes") << "corkvane" << QStringList{"--notes"} << 0 << false;
        QTest::newRow("msg notes") << "corkvane-msg" << QStringList{"notes"} << 0 << false;
        QTest::newRow("msg new-note") << "corkvane-msg" << QStringList{"new-note"} << 1 << false;
        QTest::newRow("msg show-all") << "corkvane-msg" << QStringList{"show-all"} << 0 << true;
        QTest::newRow("msg clipboard") << "corkvane-msg" << QStringList{"clipboard"} << 1 << false;
    }
    void requestsReachTheRunningProgram()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, arguments);
        QFETCH(int, newNotes);
        QFETCH(bool, hiddenShown);
        ProgramRun run;
        run.writeStore(crlf("[General]\nNumStickies=2\nAutoSave=0\n[Stick0]\ncaption=hidden\nvisible=0\n"
                            "[Stick1]\ncaption=shown\nvisible=1\n"));
        QVERIFY(run.start());
        QProcess request;
        request.setProcessEnvironment(run.env);
        request.start(ProgramRun::binFolder() + command, arguments);
        QVERIFY(request.waitForFinished(20000));
        QCOMPARE(request.exitCode(), 0);
        QTest::qWait(1000);
        QCOMPARE(run.terminate(), 0);
        const LoadedStore saved = loadStore(run.storePath());
        QCOMPARE(saved.notes.size(), 2 + newNotes);
        QCOMPARE(saved.notes[0].visible, hiddenShown);
    }

    void anActionStartsTheProgramWhenNoneRuns()
    {
        ProgramRun run;
        run.writeStore(crlf("[General]\nNumStickies=1\nAutoSave=0\n[Stick0]\ncaption=a\nvisible=1\n"));
        QVERIFY(run.start(20000, {"--new-note"}));
        QTest::qWait(1000);
        QCOMPARE(run.terminate(), 0);
        QCOMPARE(loadStore(run.storePath()).notes.size(), 2);
    }

    void theMessageCommandFailsWithoutAProgram()
    {
        ProgramRun run;
        QByteArray error;
        QCOMPARE(run.sendClipboardMessage(&error), 1);
        QCOMPARE(error.count('\n'), 1);
        QVERIFY(error.startsWith("corkvane-msg: no Corkvane is running"));
    }

    void anOverdueRecurringAlarmRingsAndIsSavedAtOnce()
    {
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
        ProgramRun run;
        const QDateTime yesterdayTen(QDate::currentDate().addDays(-1), QTime(10, 0));
        const QDateTime oneShot = QDateTime::currentDateTime().addSecs(-60);
        // The one-shot alarm sits in the lower slot, so it has rung when the recurring one saves.
        run.writeStore(crlf("[General]\nNumStickies=2\nAutoSave=0\nDefaultLang=Port\n"
                            "[Stick0]\ncaption=once\nalarm=1\nAlarmDateTime=")
                       + Locale::formatStoredDateTime(oneShot).toLatin1()
                       + crlf("\n[Stick1]\ncaption=every two hours\nalarm=1\nAlarmDateTime=")
                       + Locale::formatStoredDateTime(yesterdayTen).toLatin1()
                       + crlf("\nRemember=1\nRememberNo=2\nRememberUnit=1\n"));
        const QByteArray written = run.storeBytes();

        QElapsedTimer sinceStart;
        QVERIFY(run.start());
        sinceStart.start();
        while (run.storeBytes() == written && sinceStart.elapsed() < 5000)
            QTest::qWait(50);
        QVERIFY2(sinceStart.elapsed() < 2000, "the recurring alarm did not rewrite the store at once");

        // One step of two hours, then whole days until the moment is not in the past.
        QDateTime expected = yesterdayTen.addSecs(2 * 3600);
        const QDateTime now = QDateTime::currentDateTime();
        while (expected < now)
            expected = expected.addDays(1);
        LoadedStore rewritten = loadStore(run.storePath());
        QVERIFY(rewritten.notes[1].alarm);
        QCOMPARE(rewritten.notes[1].alarmDateTime, expected);
        QVERIFY(!rewritten.notes[0].alarm);  // the one-shot alarm rang and was cleared in memory

        QCOMPARE(run.terminate(), 0);
        rewritten = loadStore(run.storePath());
        QVERIFY(!rewritten.notes[0].alarm);
        QVERIFY(!IniFile::fromFile(run.storePath()).valueExists("Stick0", "AlarmDateTime"));
        Locale::overrideLocaleId(-1);
    }

    // A note of 100000 characters, far beyond the 2047 a Windows installation reads, comes
    // through start after start to its last byte; sizes no screen can show no longer stop the
    // program from starting.
    void aLongNoteSurvivesEveryRestart()
    {
        ProgramRun run;
        QByteArray note = "  \"in\xED" "cio\" entre aspas\\n";
        for (int i = 0; note.size() < 100000; ++i)
            note += "linha " + QByteArray::number(i) + " \x80 \x97 a\xE7\xE3o = 'x' \x93y\x94\\n";
        note = note.left(99994) + "fim ' ";
        run.writeStore(crlf("[General]\nNumStickies=1\nDefaultLang=Port\nAutoSave=0\n[Stick0]\ncaption=longa\n"
                            "Width=100000\nHeight=2147483647\nnote=\"") + note + "\"\r\n");
        QByteArray first;
        for (int restart = 0; restart < 3; ++restart) {
            QVERIFY(run.start());
            QCOMPARE(run.terminate(), 0);
            const QByteArray bytes = run.storeBytes();
            // Quoted, for the blanks at both ends.
            QVERIFY(bytes.contains("\r\nnote=\"" + note + "\"\r\n"));
            QCOMPARE(IniFile(bytes).readString("Stick0", "note").size(), 100000);
            if (restart == 0)
                first = bytes;
            QCOMPARE(bytes, first);
        }
        const LoadedStore saved = loadStore(run.storePath());
        QVERIFY(saved.notes.value(0).width <= 16384 && saved.notes.value(0).height <= 16384);
    }

    // Each region's program writes and reads the alarm moments in that region's own form.
    void alarmMomentsStayInTheRegionsForm_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QByteArray>("moment");
        QTest::newRow("en_US") << "en_US.UTF-8" << QByteArray("12/25/2099 9:30:00 AM");
        QTest::newRow("en_GB") << "en_GB.UTF-8" << QByteArray("25/12/2099 09:30:00");
        QTest::newRow("pt_BR") << "pt_BR.UTF-8" << QByteArray("25/12/2099 09:30:00");
        QTest::newRow("de_DE") << "de_DE.UTF-8" << QByteArray("25.12.2099 09:30:00");
    }
    void alarmMomentsStayInTheRegionsForm()
    {
        QFETCH(QString, lang);
        QFETCH(QByteArray, moment);
        ProgramRun run(lang);
        // A second note in the pt-BR form, which every region reads.
        run.writeStore(crlf("[General]\nNumStickies=2\nDefaultLang=Port\nAutoSave=0\n"
                            "[Stick0]\ncaption=a\nalarm=1\nAlarmDateTime=" + moment + "\n"
                            "[Stick1]\ncaption=b\nalarm=1\nAlarmDateTime=24/12/2099 18:00:00\n"));
        QVERIFY(run.start());
        QCOMPARE(run.terminate(), 0);
        const IniFile saved = IniFile::fromFile(run.storePath());
        QCOMPARE(saved.readString("Stick0", "AlarmDateTime").toLatin1(), moment);
        const QByteArray christmasEve = lang.startsWith("en_US") ? "12/24/2099 6:00:00 PM"
                                        : lang.startsWith("de_DE") ? "24.12.2099 18:00:00"
                                                                   : "24/12/2099 18:00:00";
        QCOMPARE(saved.readString("Stick1", "AlarmDateTime").toLatin1(), christmasEve);
    }
};

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
