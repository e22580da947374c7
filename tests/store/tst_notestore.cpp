#include "platform/Locale.h"
#include "store/NoteStore.h"
#include "store/StoreValues.h"

#include <QScopeGuard>
#include <QtTest>
#include <cerrno>
#include <cstring>
#include <functional>
#include "support/TestFiles.h"
#include <sys/stat.h>

namespace {

using TestFiles::crlf;
using TestFiles::readAll;
using TestFiles::writeAll;

const QDateTime kLoadMoment(QDate(2024, 3, 9), QTime(8, 15, 0));
const QString kLogin = QStringLiteral("maria");
const QString kProgram = QStringLiteral("/opt/corkvane/");

LoadedStore loadFile(const QString &path)
{
    return NoteStore::load(path, kLoadMoment, kLogin, kProgram);
}

LoadedStore loadBytes(const QByteArray &bytes)
{
    return NoteStore::read(IniFile(bytes), kLoadMoment, kLogin, kProgram);
}

NoteData alarmNote(const QString &caption, const QDateTime &when, int unit)
{
    NoteData n;
    n.caption = caption;
    n.alarm = true;
    n.alarmDateTime = when;
    n.useSound = true;
    n.soundFile = "/home/maria/som.wav";
    n.dia = {true, false, true, false, true, false, true};
    n.remember = true;
    n.rememberNo = 3;
    n.rememberUnit = unit;
    return n;
}

// A store as a Windows installation leaves it after hand edits: sections out of order, key
// names in other letter cases, accents in Windows-1252, values that do not parse.
const QByteArray kWindowsStore = crlf(
    "[Contatos]\n"
    "Count=1\n"
    "Nome1=Jo\xE3o\n"
    "Email1=joao@example.com\n"
    "Notes1=\n"
    "[Stick1]\n"
    "caption=Reuni\xE3o\n"
    "visible=0\n"
    "topmost=1\n"
    "alarm=1\n"
    "AlarmDateTime=25/12/2002 14:30:00\n"
    "UseSound=1\n"
    "SoundFile=C:\\Windows\\Media\\ding.wav\n"
    "Dia1=0\n"
    "Dia7=0\n"
    "Remember=1\n"
    "RememberNo=2\n"
    "RememberUnit=3\n"
    "note=Levar o caf\xE9\\n\\nSala 3 \x80 5\n"
    "posx=abc\n"
    "posy=-20\n"
    "width=300\n"
    "HEIGHT=0x96\n"
    "FontName=Courier New\n"
    "FontSize=12\n"
    "FontColor=255\n"
    "FontBold=2\n"
    "FontItalic=1\n"
    "Color=65535\n"
    "DarkCaption=1\n"
    "TrackPosition=20\n"
    "scrollbar=1\n"
    "Rodape=de: Jos\xE9\n"
    "[network]\n"
    "enabled=1\n"
    "PortTCP=7802\n"
    "SMTPServer=smtp.example.com\n"
    "Password= \"s3nh@ x\" \n"
    "Blocktype=2\n"
    "Authtype=3\n"
    "Listcount=3\n"
    "List0=10.0.0.1\n"
    "List2=maquina\n"
    "[Stick0]\n"
    "caption=25/12/2002 09:00:00\n"
    "note=primeira\n"
    "alarm=0\n"
    "AlarmDateTime=01/01/2003\n"
    "RememberNo=9\n"
    "[General]\n"
    "NumStickies=3\n"
    "numstickies=99\n"
    "User=Jos\xE9\n"
    "DefaultLang=Port\n"
    "TimeAutoSave=0x0F\n"
    "DefaultColor=8454143\n"
    "DefaultFontBold=1\n"
    "DefaultFontItalic=0\n"
    "ShowTime=0\n"
    "AutoSave=sim\n"
    "[Stick2]\n"
    "alarm=1\n"
    "AlarmDateTime=12/25/2002 2:30:00 PM\n");

} // namespace

class TestNoteStore : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Locale::overrideLocaleId(Locale::kPortugueseBrazil); }
    void cleanupTestCase() { Locale::overrideLocaleId(-1); }

    void noteTextEncoding()
    {
        const QString text = "  \"linha 1\r\nlinha = 2\r\n";
        const QString stored = StoreValues::encodeNoteText(text);
        QCOMPARE(stored, "  \"linha 1\\nlinha = 2\\n");
        QCOMPARE(stored.size(), text.size());
        QCOMPARE(StoreValues::decodeNoteText(stored), text);
        // Line breaks that did not come as CR LF still never split the stored line.
        QCOMPARE(StoreValues::encodeNoteText("a\nb\rc\r"), "a\\nb\\nc\\n");
        QCOMPARE(StoreValues::encodeNoteText("\r\r\n\n\r"), "\\n\\n\\n\\n");
        // Breaks and backslashes at every position of a longer text, among wide characters.
        for (int at = 0; at < 40; ++at) {
            QString t = QString::fromUtf8("linha com acentuação e 日本語, mais texto para passar de blocos");
            t.insert(at, "\r\n");
            t.insert(at / 2, "\\/");  // a backslash that does not start "\n"
            const QString e = StoreValues::encodeNoteText(t);
            QCOMPARE(e.size(), t.size());
            QVERIFY(!e.contains('\r') && !e.contains('\n'));
            QCOMPARE(StoreValues::decodeNoteText(e), t);
        }
        QCOMPARE(StoreValues::decodeNoteText("\\\\n\\x\\"), "\\\r\n\\x\\");

        // Through the file: the trailing break survives, a typed "\n" becomes a break, blanks
        // around the text and enclosing quotes stay.
        QList<NoteData> notes(4);
        notes[0].note = "fim com quebra\r\n";
        notes[1].note = "digitado: C:\\novo";
        notes[2].note = "   com brancos   ";
        notes[3].note = "\"entre aspas\"";
        IniFile ini;
        NoteStore::write(ini, AppSettings(), notes, true);
        const LoadedStore back = loadBytes(ini.toBytes());
        QCOMPARE(back.notes.size(), 4);
        QCOMPARE(back.notes[0].note, "fim com quebra\r\n");
        QCOMPARE(back.notes[1].note, "digitado: C:\r\novo");
        QCOMPARE(back.notes[2].note, "   com brancos   ");
        QCOMPARE(back.notes[3].note, "\"entre aspas\"");
    }

    void dateTimesInTheLocaleForm()
    {
        const QDateTime afternoon(QDate(2002, 12, 25), QTime(14, 30, 0));
        const QDateTime midnight(QDate(2002, 12, 25), QTime(0, 0, 0));
        QCOMPARE(StoreValues::formatDateTime(afternoon), "25/12/2002 14:30:00");
        QCOMPARE(StoreValues::formatDateTime(midnight), "25/12/2002");
        QCOMPARE(StoreValues::parseDateTime("25/12/2002", kLoadMoment), midnight);
        QCOMPARE(StoreValues::parseDateTime("", kLoadMoment), kLoadMoment);
        QCOMPARE(StoreValues::parseDateTime("amanh\xE3", kLoadMoment), kLoadMoment);

        Locale::overrideLocaleId(Locale::kEnglishUS);
        QCOMPARE(StoreValues::formatDateTime(afternoon), "12/25/2002 2:30:00 PM");
        // A store written under Portuguese settings still reads.
        QCOMPARE(StoreValues::parseDateTime("25/12/2002 14:30:00", kLoadMoment), afternoon);
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
    }

    void dateTimesReadAsTheLocaleReadsThem()
    {
        const QStringList samples = {
            "25/12/2002 14:30:00", "25/12/2002", "05/01/2003 00:00:01", "5/1/2003 7:05:00",
            "12/25/2002 2:30:00 PM", "12/25/2002 12:00:00 AM", "1/2/2003 12:59:59 PM",
            "1/2/2003", "31/02/2002", "25/12/2002 24:00:00", "25/12/2002 14:30", "2002-12-25",
            " 25/12/2002 14:30:00 ", "25/12/2002 14:30:00 PM", "13/13/2002", ""};
        const QStringList otherForms = {
            "25.12.2002 14:30:00", "5.1.2003 7.05.00", "05.01.2003 07.05.00", "25.12.2002",
            "25-12-2002 14:30:00", "2002. 12. 25. 14:30:00", "25 Dec 2002 14:30:00",
            "25/12/2002 2:30:00 PM", "5/1/2003 12:00:00 AM", "25.12.02 14:30:00", "1.13.2003"};
        // The formats of the identifier, and those of regions with forms of their own.
        const QStringList regions = {"", "en_GB.UTF-8", "de_DE.UTF-8", "fi_FI", "nl_NL", "hu_HU",
                                     "en_AU", "ja_JP", "C"};
        for (const QString &region : regions) {
            for (int id : {Locale::kPortugueseBrazil, Locale::kEnglishUS, 0}) {
                Locale::overrideLocaleId(id);
                Locale::overrideFormatLocale(region);
                for (const QString &text : samples + otherForms)
                    QVERIFY2(StoreValues::parseDateTime(text, kLoadMoment)
                                 == (Locale::parseStoredDateTime(text).isValid()
                                         ? Locale::parseStoredDateTime(text) : kLoadMoment),
                             qPrintable(region + ": " + text));
            }
        }
        Locale::overrideFormatLocale(QString());
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
    }

    // Each region writes and reads its own short date and long time; a value in another form
    // still reads as before, and one that reads in no form is the moment of loading.
    void dateTimesInEachRegionsOwnForm_data()
    {
        QTest::addColumn<QString>("region");
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("stored");
        const QDateTime morning(QDate(2027, 12, 25), QTime(9, 30, 0));
        const QDateTime evening(QDate(2027, 3, 4), QTime(21, 5, 7));
        const QDateTime midnight(QDate(2027, 3, 14), QTime(0, 0));
        QTest::newRow("en_US morning") << "en_US.UTF-8" << morning << "12/25/2027 9:30:00 AM";
        QTest::newRow("en_US evening") << "en_US.UTF-8" << evening << "3/4/2027 9:05:07 PM";
        QTest::newRow("en_US midnight") << "en_US.UTF-8" << midnight << "3/14/2027";
        QTest::newRow("en_GB morning") << "en_GB.UTF-8" << morning << "25/12/2027 09:30:00";
        QTest::newRow("en_GB evening") << "en_GB.UTF-8" << evening << "04/03/2027 21:05:07";
        QTest::newRow("en_GB midnight") << "en_GB" << midnight << "14/03/2027";
        QTest::newRow("pt_BR morning") << "pt_BR.UTF-8" << morning << "25/12/2027 09:30:00";
        QTest::newRow("pt_BR evening") << "pt_BR" << evening << "04/03/2027 21:05:07";
        QTest::newRow("de_DE morning") << "de_DE.UTF-8" << morning << "25.12.2027 09:30:00";
        QTest::newRow("de_DE evening") << "de_DE@euro" << evening << "04.03.2027 21:05:07";
        QTest::newRow("de_DE midnight") << "de_DE.UTF-8" << midnight << "14.03.2027";
    }
    void dateTimesInEachRegionsOwnForm()
    {
        QFETCH(QString, region);
        QFETCH(QDateTime, when);
        QFETCH(QString, stored);
        Locale::overrideFormatLocale(region);
        const auto restore = qScopeGuard([] { Locale::overrideFormatLocale(QString()); });
        QCOMPARE(StoreValues::formatDateTime(when), stored);
        QCOMPARE(StoreValues::parseDateTime(stored, kLoadMoment), when);
        // The pt-BR form is always read.
        const QString ptBr = QLocale::c().toString(when, when.time() == QTime(0, 0) ? "dd/MM/yyyy" : "dd/MM/yyyy HH:mm:ss");
        QCOMPARE(StoreValues::parseDateTime(ptBr, kLoadMoment), when);
        QCOMPARE(StoreValues::parseDateTime("amanh\xE3 cedo", kLoadMoment), kLoadMoment);
        QCOMPARE(StoreValues::parseDateTime("", kLoadMoment), kLoadMoment);

        // Through a store: written in the region's form, read back to the second.
        NoteData note = alarmNote("alarme", when, 2);
        IniFile ini;
        NoteStore::write(ini, AppSettings(), {note}, true);
        QCOMPARE(ini.readString("Stick0", "AlarmDateTime"), stored);
        QCOMPARE(loadBytes(ini.toBytes()).notes.value(0).alarmDateTime, when);
    }

    void englishRegionsStillReadTheUsFormTheyWroteBefore()
    {
        const QDateTime when(QDate(2027, 12, 25), QTime(14, 30, 0));
        for (const char *region : {"en_GB.UTF-8", "en_AU", "en_IE"}) {
            Locale::overrideFormatLocale(QString::fromLatin1(region));
            QCOMPARE(StoreValues::parseDateTime("12/25/2027 2:30:00 PM", kLoadMoment), when);
        }
        // Other regions never wrote it.
        Locale::overrideFormatLocale("de_DE.UTF-8");
        QCOMPARE(StoreValues::parseDateTime("12/25/2027 2:30:00 PM", kLoadMoment), kLoadMoment);
        Locale::overrideFormatLocale(QString());
    }

    void missingFileGivesDefaults()
    {
        QTemporaryDir dir;
        const LoadedStore s = loadFile(dir.filePath("stickies.cvf"));
        QVERIFY(s.notes.isEmpty());
        QVERIFY(!s.truncated);
        QCOMPARE(s.autoSaveCountdown, 600);
        QVERIFY(s.defaultLang.isEmpty());
        AppSettings expected;
        expected.recGeral.User = kLogin;
        expected.recGeral.SoundNewSticky = kProgram + "boing.wav";
        expected.recGeral.SoundDelSticky = kProgram + "recycle.wav";
        expected.recGeral.SoundRecSticky = kProgram + "BIPECOMP.WAV";
        QCOMPARE(s.settings, expected);
    }

    void windowsStoreLoads()
    {
        const LoadedStore s = loadBytes(kWindowsStore);
        const GeneralSettings &g = s.settings.recGeral;
        const NetworkSettings &r = s.settings.recRede;
        QCOMPARE(s.declaredNotes, 3);
        QCOMPARE(g.User, QString::fromUtf8("José"));
        QCOMPARE(g.TimeAutoSave, 15);
        QCOMPARE(s.autoSaveCountdown, 15 * 60);
        QVERIFY(g.DefaultFont.bold);
        QVERIFY(!g.DefaultFont.italic);
        QVERIFY(!g.ShowTime);
        QVERIFY(g.AutoSave);  // unparsable: the default
        QCOMPARE(s.defaultLang, "Port");
        QVERIFY(r.Enabled);
        QCOMPARE(r.PortTCP, "7802");
        QCOMPARE(r.SMTPPort, "25");
        QCOMPARE(r.Password, "s3nh@ x");
        QCOMPARE(r.Blocktype, 2);
        QCOMPARE(r.Authtype, 3);
        QCOMPARE(r.BlockList, (QStringList{"10.0.0.1", "", "maquina"}));

        QCOMPARE(s.notes.size(), 3);
        // Stick0: alarm off, so the alarm keys left in the section are not read.
        const NoteData &n0 = s.notes[0];
        QCOMPARE(n0.caption, "25/12/2002 09:00:00");
        QVERIFY(!n0.alarm);
        QVERIFY(!n0.alarmDateTime.isValid());
        QCOMPARE(n0.rememberNo, 0);
        QCOMPARE(n0.dia, (std::array<bool, 7>{}));
        QCOMPARE(n0.color, 0x7BFFFF);
        QCOMPARE(n0.posx, 400);

        const NoteData &n1 = s.notes[1];
        QCOMPARE(n1.caption, QString::fromUtf8("Reunião"));
        QVERIFY(!n1.visible);
        QVERIFY(n1.topmost);
        QVERIFY(n1.alarm);
        QCOMPARE(n1.alarmDateTime, QDateTime(QDate(2002, 12, 25), QTime(14, 30)));
        QVERIFY(n1.useSound);
        QCOMPARE(n1.soundFile, "C:\\Windows\\Media\\ding.wav");
        QCOMPARE(n1.dia, (std::array<bool, 7>{false, true, true, true, true, true, false}));
        QVERIFY(n1.remember);
        QCOMPARE(n1.rememberNo, 2);
        QCOMPARE(n1.rememberUnit, 3);
        QCOMPARE(n1.note, QString::fromUtf8("Levar o café\r\n\r\nSala 3 € 5"));
        QCOMPARE(n1.posx, 400);
        QCOMPARE(n1.posy, -20);
        QCOMPARE(n1.width, 300);
        QCOMPARE(n1.height, 150);
        QCOMPARE(n1.font.name, "Courier New");
        QCOMPARE(n1.font.size, 12);
        QCOMPARE(n1.font.colour, 255);
        QVERIFY(!n1.font.bold);  // 2 is not exactly 1
        QVERIFY(n1.font.italic);
        QCOMPARE(n1.color, 65535);
        QVERIFY(n1.darkCaption);
        QCOMPARE(n1.trackPosition, 20);
        QVERIFY(n1.scrollbar);
        QCOMPARE(n1.rodape, QString::fromUtf8("de: José"));

        // Stick2: an alarm whose moment does not parse rings at the next check.
        const NoteData &n2 = s.notes[2];
        QVERIFY(n2.alarm);
        QCOMPARE(n2.alarmDateTime, kLoadMoment);
        QCOMPARE(n2.dia, (std::array<bool, 7>{true, true, true, true, true, true, true}));
        QCOMPARE(n2.rememberNo, 1);
        QCOMPARE(n2.width, 180);
        QCOMPARE(n2.height, 147);
        QVERIFY(n2.visible);
    }

    void windowsStoreSavesAndResavesIdentically()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("stickies.cvf");
        writeAll(path, kWindowsStore);
        const LoadedStore first = loadFile(path);
        QVERIFY(NoteStore::save(path, first.settings, first.notes, true));
        const QByteArray once = readAll(path);

        // Sections the store does not own keep their place and text.
        QVERIFY(once.startsWith(crlf("[Contatos]\nCount=1\nNome1=Jo\xE3o\nEmail1=joao@example.com\nNotes1=\n")));
        const IniFile ini(once);
        QCOMPARE(ini.sections(), (QStringList{"Contatos", "network", "General", "Stick0", "Stick1", "Stick2"}));
        QCOMPARE(ini.readString("General", "NumStickies"), "3");
        QCOMPARE(ini.readString("Stick1", "AlarmDateTime"), "25/12/2002 14:30:00");
        QCOMPARE(ini.readString("Stick2", "AlarmDateTime"), "09/03/2024 08:15:00");
        QVERIFY(!ini.valueExists("Stick0", "alarm"));
        QVERIFY(!ini.valueExists("Stick0", "RememberNo"));
        QVERIFY(once.contains("\r\nwidth=300\r\n") == false);  // the old sections are gone whole

        const LoadedStore second = loadFile(path);
        QCOMPARE(second.settings, first.settings);
        QCOMPARE(second.notes, first.notes);
        QVERIFY(NoteStore::save(path, second.settings, second.notes, true));
        QCOMPARE(readAll(path), once);
    }

    void freshStoreRoundTripsByteForByte()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("stickies.cvf");
        AppSettings settings;
        settings.recGeral.User = QString::fromUtf8("Zé");
        settings.recGeral.SoundNewSticky = "/s/boing.wav";
        settings.recGeral.DefaultFont = {"Small Fonts", 7, 0x123456, true, true};
        settings.recGeral.TimeAutoSave = 30;
        settings.recRede.Password = "p=ss;word";
        settings.recRede.BlockList = {"a", QString::fromUtf8("bê"), "c"};

        QList<NoteData> notes;
        notes.append(alarmNote("meia-noite", QDateTime(QDate(2025, 1, 31), QTime(0, 0)), 4));
        NoteData plain;
        plain.caption = QString::fromUtf8("Acentuação ÀÉÎÕÜ");
        plain.note = "linha 1\r\nlinha 2 = x\r\n\r\nfim";
        plain.visible = false;
        plain.rodape = QString::fromUtf8("rodapé");
        plain.font = {"Arial", 14, 0xFF, false, true};
        plain.posx = -5;
        notes.append(plain);
        notes.append(alarmNote("tarde", QDateTime(QDate(2025, 2, 1), QTime(17, 5, 9)), 0));

        QVERIFY(NoteStore::save(path, settings, notes, false));
        const QByteArray once = readAll(path);
        QVERIFY(!once.contains("\n\n") && once.count("\r\n") == once.count('\n'));
        QVERIFY(once.startsWith("[General]\r\nUseSounds=0\r\nSoundNewSticky=/s/boing.wav\r\nDefaultLang=Eng\r\n"));
        QVERIFY(once.contains("TimeAutoSave=30\r\nNumStickies=3\r\n[Network]\r\nEnabled=0\r\nPortTCP=7801\r\n"));
        QVERIFY(once.contains("[Stick0]\r\ncaption=meia-noite\r\nvisible=1\r\ntopmost=0\r\nalarm=1\r\n"
                              "AlarmDateTime=31/01/2025\r\nUseSound=1\r\n"));
        QVERIFY(once.contains("[Stick1]\r\ncaption=Acentua\xE7\xE3o \xC0\xC9\xCE\xD5\xDC\r\nvisible=0\r\n"
                              "topmost=0\r\nnote=linha 1\\nlinha 2 = x\\n\\nfim\r\n"));
        QVERIFY(once.endsWith("Color=8126463\r\n"));  // no footer on the last note

        const LoadedStore back = loadFile(path);
        QCOMPARE(back.settings, settings);
        QCOMPARE(back.notes, notes);
        QCOMPARE(back.defaultLang, "Eng");
        QVERIFY(NoteStore::save(path, back.settings, back.notes, false));
        QCOMPARE(readAll(path), once);
    }

    void deletedNotesAreRenumbered()
    {
        // Four notes saved, then the table's notes 0 and 2 deleted: slots 1 and 3 remain.
        QTemporaryDir dir;
        const QString path = dir.filePath("stickies.cvf");
        QList<NoteData> four;
        for (int i = 0; i < 4; ++i)
            four.append(alarmNote(QString("nota %1").arg(i), QDateTime(QDate(2025, 5, 1 + i), QTime(9, 0)), i));
        four[3].alarm = false;
        QVERIFY(NoteStore::save(path, AppSettings(), four, true));

        NoteData slot3 = four[3];
        slot3.caption = "nota 3";
        QVERIFY(NoteStore::save(path, AppSettings(), {four[1], slot3}, true));
        const IniFile ini(readAll(path));
        QCOMPARE(ini.readInteger("General", "NumStickies", -1), 2);
        QVERIFY(!ini.sectionExists("Stick2"));
        QVERIFY(!ini.sectionExists("Stick3"));
        // Stick1 held an alarm before; the note now written there has none and no alarm keys.
        QCOMPARE(ini.keys("Stick1").filter("Dia").size(), 0);
        QVERIFY(!ini.valueExists("Stick1", "alarm"));

        const LoadedStore back = loadFile(path);
        QCOMPARE(back.notes.size(), 2);
        QCOMPARE(back.notes[0], four[1]);
        QCOMPARE(back.notes[0].rememberUnit, 1);
        QCOMPARE(back.notes[1].caption, "nota 3");
        QVERIFY(!back.notes[1].alarm);
        QCOMPARE(back.notes[1].rememberNo, 0);
    }

    // A hand-edited file spells note sections every way the profile still matches; each copy
    // goes on a save, while names the profile tells apart from a note's stay untouched.
    void noteSectionsInAnySpellingAreReplaced()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("stickies.cvf");
        writeAll(path, crlf("[General]\nNumStickies=3\n[ sTiCk0 ]\nalarm=1\n[STICK2]\nCaption=velha\n"
                            "[Stick02]\nCaption=outra\n[stick 1]\nx=1\n[Stick1000]\nCaption=fim\n"
                            "[Stick1001]\nCaption=fora\n[stick2]\nCaption=copia\n"));
        NoteData note = alarmNote("nova", QDateTime(QDate(2025, 5, 1), QTime(9, 0)), 0);
        note.alarm = false;
        QVERIFY(NoteStore::save(path, AppSettings(), {note}, true));
        const IniFile ini(readAll(path));
        const QStringList sections = ini.sections();
        QCOMPARE(sections, (QStringList{"General", "Stick02", "stick 1", "Stick1001", "Network", "Stick0"}));
        QVERIFY(!ini.valueExists("Stick0", "alarm"));
        QCOMPARE(ini.readString("Stick02", "Caption"), "outra");
        QCOMPARE(loadFile(path).notes.value(0).caption, "nova");
    }

    // A save with the cache writes the very bytes a plain save writes, whatever changed in
    // between, and notices every other writer of the file.
    void cachedSavesWriteWhatPlainSavesWrite()
    {
        QTemporaryDir dir;
        const QString cached = dir.filePath("a.cvf");
        const QString plain = dir.filePath("b.cvf");
        const QByteArray start = crlf("; hand-written\n[General]\nNumStickies=3\nUser=ana\n\n[ sTiCk1 ]\ncaption=velha\n"
                                      "[Contatos]\nNome1=Bia\nCount=1\n[Stick1001]\ncaption=fora\n[Stick0]\nalarm=1\n");
        writeAll(cached, start);
        writeAll(plain, start);
        NoteStore::SaveCache cache;
        AppSettings settings;
        QList<NoteData> notes;
        for (int i = 0; i < 4; ++i)
            notes.append(alarmNote(QString("nota %1").arg(i), QDateTime(QDate(2025, 5, 1 + i), QTime(9, 0)), i));
        auto saveBoth = [&](const char *step) {
            QVERIFY2(NoteStore::save(cached, settings, notes, true, &cache), step);
            QVERIFY2(NoteStore::save(plain, settings, notes, true), step);
            QVERIFY2(readAll(cached) == readAll(plain), step);
        };
        // Another writer of the same bytes to both files, as the contact book would be.
        auto editBoth = [&](const std::function<void(IniFile &)> &edit) {
            for (const QString &path : {cached, plain}) {
                IniFile ini = IniFile::fromFile(path);
                edit(ini);
                QVERIFY(ini.saveToFile(path));
            }
        };

        saveBoth("first save, file read");
        saveBoth("nothing changed");
        notes[2].note = "outro texto";
        saveBoth("one note changed");
        notes.removeFirst();
        saveBoth("a note deleted, the rest renumbered");
        notes.append(notes.first());
        settings.recGeral.User = "bia";
        saveBoth("a note added, a setting changed");
        editBoth([](IniFile &ini) { ini.writeString("Contatos", "Nome2", "Zé"); });
        saveBoth("the contact book written in between");
        QCOMPARE(IniFile::fromFile(cached).readString("Contatos", "Nome2"), QString("Zé"));
        // Rewritten in place with the same size: only the time tells.
        for (const QString &path : {cached, plain}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            const QByteArray bytes = f.readAll();
            f.seek(bytes.indexOf("Nome1=Bia") + 6);
            f.write("Eva");
        }
        saveBoth("edited in place");
        QCOMPARE(IniFile::fromFile(cached).readString("Contatos", "Nome1"), QString("Eva"));
        notes.clear();
        saveBoth("every note deleted");
        QVERIFY(!IniFile::fromFile(cached).sectionExists("Stick0"));
        QVERIFY(IniFile::fromFile(cached).sectionExists("Stick1001"));
    }

    void shrunkBlockListLeavesOldKeys()
    {
        AppSettings settings;
        settings.recRede.BlockList = {"um", "dois", "tres"};
        IniFile ini;
        NoteStore::write(ini, settings, {}, true);
        settings.recRede.BlockList = {"so"};
        NoteStore::write(ini, settings, {}, true);
        QCOMPARE(ini.readString("Network", "List0"), "so");
        QCOMPARE(ini.readString("Network", "List1"), "dois");
        QCOMPARE(ini.readString("Network", "List2"), "tres");
        QCOMPARE(loadBytes(ini.toBytes()).settings.recRede.BlockList, QStringList{"so"});

        // A hand-edited count cannot make the list grow without bound.
        const LoadedStore huge = loadBytes("[Network]\r\nListcount=2147483647\r\nList0=x\r\n");
        QCOMPARE(huge.settings.recRede.BlockList.size(), NoteStore::kMaxBlockListEntries);
        QCOMPARE(huge.settings.recRede.BlockList.first(), "x");
        QVERIFY(loadBytes("[Network]\r\nListcount=-4\r\n").settings.recRede.BlockList.isEmpty());
    }

    void smtpSecurityKey()
    {
        // Absent (a store of an older program) means no security; the value round-trips as
        // written, and a value this program does not know is kept for the one that wrote it.
        QCOMPARE(loadBytes("[Network]\r\nAuthtype=1\r\n").settings.recRede.SMTPSecurity, 0);
        for (const int value : {1, 2, 7}) {
            AppSettings settings;
            settings.recRede.SMTPSecurity = value;
            IniFile ini;
            NoteStore::write(ini, settings, {}, true);
            QCOMPARE(ini.readString("network", "SMTPSecurity"), QString::number(value));
            QCOMPARE(loadBytes(ini.toBytes()).settings.recRede.SMTPSecurity, value);
        }
    }

    void moreNotesThanTheTableHolds()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("stickies.cvf");
        QByteArray bytes = "[General]\r\nNumStickies=1003\r\n";
        for (int n = 0; n < 1003; ++n)
            bytes += "[Stick" + QByteArray::number(n) + "]\r\ncaption=n" + QByteArray::number(n)
                     + "\r\nposx=" + QByteArray::number(n) + "\r\n";
        writeAll(path, bytes);

        const LoadedStore s = loadFile(path);
        QVERIFY(s.truncated);
        QCOMPARE(s.declaredNotes, 1003);
        QCOMPARE(s.notes.size(), 1001);
        QCOMPARE(s.notes.last().caption, "n1000");
        QVERIFY(NoteStore::tooManyNotesText().contains("1001"));

        QVERIFY(NoteStore::save(path, s.settings, s.notes, true));
        const QByteArray saved = readAll(path);
        // The sections beyond the table stay in the file as they were.
        QVERIFY(saved.contains("[Stick1001]\r\ncaption=n1001\r\nposx=1001\r\n"
                               "[Stick1002]\r\ncaption=n1002\r\nposx=1002\r\n"));
        const LoadedStore again = loadFile(path);
        QVERIFY(!again.truncated);
        QCOMPARE(again.notes, s.notes);

        // A note section that appears twice: only the first is read, and a save leaves no
        // copy behind to hand its keys (an alarm, a footer) to the note written in its place.
        IniFile twice(crlf("[General]\nNumStickies=1\n[Stick0]\ncaption=first\n[Other]\nkeep=1\n"
                           "[stick0]\ncaption=copy\nalarm=1\nRodape=old footer\n"));
        const LoadedStore one = NoteStore::read(twice, kLoadMoment, kLogin, kProgram);
        QCOMPARE(one.notes.size(), 1);
        QVERIFY(!one.notes[0].alarm);
        NoteStore::write(twice, one.settings, one.notes, true);
        const QByteArray once = twice.toBytes();
        QCOMPARE(loadBytes(once).notes, one.notes);
        QCOMPARE(once.count("tick0]"), 1);
        QVERIFY(once.contains("[Other]\r\nkeep=1\r\n"));
        NoteStore::write(twice, one.settings, one.notes, true);
        QCOMPARE(twice.toBytes(), once);

        QVERIFY(loadBytes("[General]\r\nNumStickies=-3\r\n").notes.isEmpty());
        // A note section missing below NumStickies is a note with every default.
        QCOMPARE(loadBytes("[General]\r\nNumStickies=1\r\n").notes, QList<NoteData>{NoteData()});
    }

    // Every text the store writes keeps its blanks and quotes through a save and a load.
    void everyStringKeepsItsBlanksAndQuotes_data()
    {
        QTest::addColumn<QString>("shape");  // %1 stands for the field's own name
        QTest::newRow("leading blank") << " %1";
        QTest::newRow("trailing blank") << "%1 ";
        QTest::newRow("blanks around") << "  %1  ";
        QTest::newRow("tab") << "\t%1";
        QTest::newRow("double quoted") << "\"%1\"";
        QTest::newRow("single quoted") << "'%1'";
        QTest::newRow("opening quote") << "\"%1";
        QTest::newRow("closing quote") << "%1'";
        QTest::newRow("quoted with blanks inside") << "\" %1 \"";
        QTest::newRow("blank and quote") << " '%1\"";
        QTest::newRow("inner quotes only") << "a \"%1\" b";
    }
    void everyStringKeepsItsBlanksAndQuotes()
    {
        QFETCH(QString, shape);
        using Field = std::function<QString &(AppSettings &, NoteData &)>;
        const QList<std::pair<const char *, Field>> fields = {
            {"User", [](AppSettings &a, NoteData &) -> QString & { return a.recGeral.User; }},
            {"SoundNewSticky", [](AppSettings &a, NoteData &) -> QString & { return a.recGeral.SoundNewSticky; }},
            {"SoundDelSticky", [](AppSettings &a, NoteData &) -> QString & { return a.recGeral.SoundDelSticky; }},
            {"SoundRecSticky", [](AppSettings &a, NoteData &) -> QString & { return a.recGeral.SoundRecSticky; }},
            {"BackupPath", [](AppSettings &a, NoteData &) -> QString & { return a.recGeral.BackupPath; }},
            {"DefaultFontName", [](AppSettings &a, NoteData &) -> QString & { return a.recGeral.DefaultFont.name; }},
            {"PortTCP", [](AppSettings &a, NoteData &) -> QString & { return a.recRede.PortTCP; }},
            {"SMTPServer", [](AppSettings &a, NoteData &) -> QString & { return a.recRede.SMTPServer; }},
            {"SMTPPort", [](AppSettings &a, NoteData &) -> QString & { return a.recRede.SMTPPort; }},
            {"Username", [](AppSettings &a, NoteData &) -> QString & { return a.recRede.Username; }},
            {"Email", [](AppSettings &a, NoteData &) -> QString & { return a.recRede.Email; }},
            {"Password", [](AppSettings &a, NoteData &) -> QString & { return a.recRede.Password; }},
            {"List0", [](AppSettings &a, NoteData &) -> QString & { return a.recRede.BlockList[0]; }},
            {"List1", [](AppSettings &a, NoteData &) -> QString & { return a.recRede.BlockList[1]; }},
            {"caption", [](AppSettings &, NoteData &n) -> QString & { return n.caption; }},
            {"SoundFile", [](AppSettings &, NoteData &n) -> QString & { return n.soundFile; }},
            {"note", [](AppSettings &, NoteData &n) -> QString & { return n.note; }},
            {"FontName", [](AppSettings &, NoteData &n) -> QString & { return n.font.name; }},
            {"Rodape", [](AppSettings &, NoteData &n) -> QString & { return n.rodape; }},
        };
        AppSettings settings;
        settings.recRede.BlockList = {QString(), QString()};
        NoteData note = alarmNote(QString(), QDateTime(QDate(2027, 5, 1), QTime(8, 0)), 1);
        for (const auto &[name, field] : fields)
            field(settings, note) = shape.arg(QString::fromLatin1(name));
        note.note = shape.arg("linha 1\r\nlinha 2");

        QTemporaryDir dir;
        const QString path = dir.filePath("stickies.cvf");
        QVERIFY(NoteStore::save(path, settings, {note, note}, true));
        const QByteArray once = readAll(path);
        const LoadedStore back = loadFile(path);
        for (const auto &[name, field] : fields) {
            AppSettings loaded = back.settings;
            NoteData loadedNote = back.notes.value(1);
            QVERIFY2(field(loaded, loadedNote) == field(settings, note), name);
        }
        QCOMPARE(back.settings, settings);
        QCOMPARE(back.notes, (QList<NoteData>{note, note}));
        QVERIFY(NoteStore::save(path, back.settings, back.notes, true));
        QCOMPARE(readAll(path), once);
    }

    // No NumStickies can hide the notes the file holds from a load, and with them from the
    // next save, which would erase them.
    void theNoteCountCannotHideNotes_data()
    {
        QTest::addColumn<QByteArray>("count");        // the [General] line, if any
        QTest::addColumn<QList<int>>("sections");     // the Stick sections in the file
        QTest::addColumn<QStringList>("loaded");      // the captions loaded, "" a default note
        const QList<int> three{0, 1, 2};
        const QStringList all{"n0", "n1", "n2"};
        QTest::newRow("negative") << QByteArray("NumStickies=-5") << three << all;
        QTest::newRow("unparsable") << QByteArray("NumStickies=abc") << three << all;
        QTest::newRow("missing") << QByteArray() << three << all;
        QTest::newRow("empty") << QByteArray("NumStickies=") << three << all;
        QTest::newRow("one over three") << QByteArray("NumStickies=1") << three << all;
        QTest::newRow("zero") << QByteArray("NumStickies=0") << three << all;
        QTest::newRow("exact") << QByteArray("NumStickies=3") << three << all;
        QTest::newRow("larger: default notes") << QByteArray("NumStickies=5") << three
                                               << QStringList{"n0", "n1", "n2", "", ""};
        QTest::newRow("after a gap: dropped") << QByteArray("NumStickies=1") << QList<int>{0, 1, 3}
                                              << QStringList{"n0", "n1"};
        QTest::newRow("no Stick0") << QByteArray() << QList<int>{1, 2} << QStringList();
        QTest::newRow("no notes") << QByteArray("NumStickies=x") << QList<int>() << QStringList();
    }
    void theNoteCountCannotHideNotes()
    {
        QFETCH(QByteArray, count);
        QFETCH(QList<int>, sections);
        QFETCH(QStringList, loaded);
        QByteArray bytes = "[General]\r\nUser=ana\r\n" + (count.isEmpty() ? QByteArray() : count + "\r\n");
        for (int n : sections)
            bytes += "[Stick" + QByteArray::number(n) + "]\r\ncaption=n" + QByteArray::number(n)
                     + "\r\nnote=texto " + QByteArray::number(n) + "\r\n";
        QTemporaryDir dir;
        const QString path = dir.filePath("stickies.cvf");
        writeAll(path, bytes);

        const LoadedStore s = loadFile(path);
        QStringList captions;
        for (const NoteData &n : s.notes)
            captions << n.caption;
        QCOMPARE(captions, loaded);
        QVERIFY(!s.truncated);
        for (int i = 0; i < s.notes.size(); ++i)
            QCOMPARE(s.notes[i].note, loaded[i].isEmpty() ? QString() : "texto " + loaded[i].mid(1));

        // The next save keeps every note it loaded, and the load after it finds them all.
        QVERIFY(NoteStore::save(path, s.settings, s.notes, true));
        const IniFile saved = IniFile::fromFile(path);
        QCOMPARE(saved.readInteger("General", "NumStickies", -1), int(loaded.size()));
        QCOMPARE(loadFile(path).notes, s.notes);
    }

    void aRunLongerThanTheTableIsCut()
    {
        QByteArray bytes = "[General]\r\nNumStickies=garbage\r\n";
        for (int n = 0; n < 1005; ++n)
            bytes += "[Stick" + QByteArray::number(n) + "]\r\ncaption=n" + QByteArray::number(n) + "\r\n";
        const LoadedStore s = loadBytes(bytes);
        QCOMPARE(s.notes.size(), NoteStore::kMaxNotes);
        QCOMPARE(s.notes.last().caption, "n1000");
        QVERIFY(s.truncated);
    }

    // A window size from the store is bounded by what the caller's screen allows.
    void storedSizesAreBounded_data()
    {
        QTest::addColumn<QByteArray>("width");
        QTest::addColumn<QByteArray>("height");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("zero") << QByteArray("0") << QByteArray("0") << QSize(80, 40);
        QTest::newRow("minus one") << QByteArray("-1") << QByteArray("-1") << QSize(80, 40);
        QTest::newRow("int min") << QByteArray("-2147483648") << QByteArray("0x80000000") << QSize(80, 40);
        QTest::newRow("100000") << QByteArray("100000") << QByteArray("100000") << QSize(1920, 1200);
        QTest::newRow("int max") << QByteArray("2147483647") << QByteArray("0x7FFFFFFF") << QSize(1920, 1200);
        QTest::newRow("within") << QByteArray("300") << QByteArray("200") << QSize(300, 200);
        QTest::newRow("edges") << QByteArray("80") << QByteArray("1200") << QSize(80, 1200);
        QTest::newRow("one over") << QByteArray("1921") << QByteArray("39") << QSize(1920, 40);
        QTest::newRow("unparsable: defaults") << QByteArray("abc") << QByteArray("") << QSize(180, 147);
    }
    void storedSizesAreBounded()
    {
        QFETCH(QByteArray, width);
        QFETCH(QByteArray, height);
        QFETCH(QSize, expected);
        const QByteArray bytes = "[General]\r\nNumStickies=1\r\n[Stick0]\r\nWidth=" + width + "\r\nHeight=" + height + "\r\n";
        NoteSizeLimits limits;
        limits.minimum = QSize(80, 40);
        limits.maximum = QSize(1920, 1200);
        const NoteData n = NoteStore::read(IniFile(bytes), kLoadMoment, kLogin, kProgram, limits).notes.value(0);
        QCOMPARE(QSize(n.width, n.height), expected);

        // A screen smaller than the smallest note: the note's minimum wins.
        limits.maximum = QSize(50, 30);
        const NoteData small = NoteStore::read(IniFile(bytes), kLoadMoment, kLogin, kProgram, limits).notes.value(0);
        QCOMPARE(QSize(small.width, small.height), QSize(80, 40));
        // Without a screen to go by, still no window of gigabytes.
        const NoteData unbounded = loadBytes(bytes).notes.value(0);
        QVERIFY(unbounded.width >= 1 && unbounded.width <= NoteSizeLimits::kLargestDesktop);
        QVERIFY(unbounded.height >= 1 && unbounded.height <= NoteSizeLimits::kLargestDesktop);
    }

    // A position off every screen stays where it is, but never so far that the window's far
    // edge would leave the integers.
    void storedPositionsKeepTheirWindowInRange()
    {
        const QList<std::pair<QByteArray, int>> cases = {
            {"400", 400}, {"-20", -20}, {"5000", 5000}, {"-70000", -70000},
            {"2147483647", NoteSizeLimits::kFarthestPosition}, {"-2147483648", -NoteSizeLimits::kFarthestPosition}};
        for (const auto &[stored, expected] : cases) {
            const NoteData n = loadBytes("[Stick0]\r\nposx=" + stored + "\r\nposy=" + stored + "\r\nWidth=2147483647\r\n").notes.value(0);
            QCOMPARE(n.posx, expected);
            QCOMPARE(n.posy, expected);
            QVERIFY(qint64(n.posx) + n.width <= std::numeric_limits<int>::max());
        }
    }

    // A note far longer than the Windows profile reads (2047 characters) survives any number of
    // saves and loads to its last character.
    void aLongNoteSurvivesSavesByteForByte()
    {
        QString text = QString::fromUtf8("  \"começo entre aspas e brancos\r\n");
        for (int i = 0; text.size() < 100000; ++i)
            text += QString::fromUtf8("Linha %1: ação, €, — e \"aspas\" = 'x'\t\\fim\r\n").arg(i);
        text = text.left(99998) + " '";
        QCOMPARE(text.size(), 100000);
        NoteData note;
        note.note = text;
        note.caption = QString(3000, QLatin1Char('t')) + " ";
        QList<NoteData> notes{NoteData(), note, NoteData()};

        QTemporaryDir dir;
        const QString path = dir.filePath("stickies.cvf");
        NoteStore::SaveCache cache;
        QByteArray first;
        for (int cycle = 0; cycle < 4; ++cycle) {
            // Plain saves and the auto-save's cached ones alike.
            QVERIFY(cycle % 2 ? NoteStore::save(path, AppSettings(), notes, true, &cache)
                              : NoteStore::save(path, AppSettings(), notes, true));
            const QByteArray bytes = readAll(path);
            if (cycle == 0)
                first = bytes;
            QCOMPARE(bytes, first);
            notes = loadFile(path).notes;
            QCOMPARE(notes.size(), 3);
            QCOMPARE(notes[1].note, text);
            QCOMPARE(notes[1].caption, note.caption);
        }
    }

    void failedSaveKeepsTheStore()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("stickies.cvf");
        writeAll(path, kWindowsStore);
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                | QFileDevice::ReadOther));
        const LoadedStore s = loadFile(path);
        QVERIFY(NoteStore::save(path, s.settings, s.notes, true));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), 0600);  // it holds the mail password

        const QString elsewhere = dir.filePath("gone/stickies.cvf");
        const SaveResult r = NoteStore::save(elsewhere, s.settings, s.notes, true);
        QVERIFY(!r);
        QCOMPARE(r.error, "Unable to write to " + elsewhere + "\n" + qt_error_string(ENOENT));

        // A store that exists but cannot be read is not replaced by one without its contacts.
        const QString folderInTheWay = dir.filePath("folder.cvf");
        QVERIFY(QDir(dir.path()).mkdir("folder.cvf"));
        const SaveResult blocked = NoteStore::save(folderInTheWay, s.settings, s.notes, true);
        QVERIFY(!blocked);
        QVERIFY(blocked.error.startsWith("Unable to write to " + folderInTheWay + "\n"));
        QVERIFY(blocked.error.size() > ("Unable to write to " + folderInTheWay + "\n").size());
        QVERIFY(QFileInfo(folderInTheWay).isDir());
    }
};

QTEST_GUILESS_MAIN(TestNoteStore)
#include "tst_notestore.moc"
