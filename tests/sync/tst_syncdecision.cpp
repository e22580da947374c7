// The pure core of sync: what one merge does with one note, the identity of a note, and the
// travelling form and hash of a note in the folder.
#include "platform/Locale.h"
#include "store/IniFile.h"
#include "store/NoteStore.h"
#include "sync/SyncDecision.h"
#include "sync/SyncEngine.h"
#include "sync/SyncId.h"
#include "sync/SyncNoteFile.h"

#include <QtTest>
#include <functional>

using namespace SyncDecision;

Q_DECLARE_METATYPE(SyncDecision::Action)
Q_DECLARE_METATYPE(SyncOutcome)

namespace {

// "" none, "X" a file that cannot be read, anything else a hash.
Facts facts(const char *local, const char *folder, Tombstone tombstone, const char *merged)
{
    Facts f;
    if (*local)
        f.local = QByteArray(local);
    if (QByteArray(folder) == "X") {
        f.folder = Folder::Unreadable;
    } else if (*folder) {
        f.folder = Folder::Present;
        f.folderHash = folder;
    }
    f.tombstone = tombstone;
    if (*merged)
        f.merged = QByteArray(merged);
    return f;
}

NoteData sampleNote()
{
    NoteData n;
    n.caption = QStringLiteral("25/12/2002 14:30:00");
    n.note = QStringLiteral("Comprar pão\r\nLigar para a Ana");
    n.color = 0x80FFFF;
    n.font = NoteFont{QStringLiteral("Courier New"), 12, 0x112233, true, false};
    n.width = 240;
    n.height = 160;
    n.posx = 17;
    n.posy = 33;
    return n;
}

NoteData alarmed(NoteData n)
{
    n.alarm = true;
    n.alarmDateTime = QDateTime(QDate(2031, 3, 4), QTime(9, 15, 42, 123));
    n.useSound = true;
    n.soundFile = QStringLiteral("/home/ana/sons/galo.wav");
    n.dia = {true, false, true, false, true, false, true};
    n.remember = true;
    n.rememberNo = 3;
    n.rememberUnit = 2;
    return n;
}

} // namespace

class TestSyncDecision : public QObject
{
    Q_OBJECT

private slots:
    // Dates shown and read in the Brazilian form, whatever the machine's region.
    void initTestCase() { Locale::overrideFormatLocale(QStringLiteral("pt_BR.UTF-8")); }
    void cleanupTestCase() { Locale::overrideFormatLocale(QString()); }

    void decisionTable_data()
    {
        QTest::addColumn<QString>("local");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("tombstone");
        QTest::addColumn<QString>("merged");
        QTest::addColumn<Action>("action");
        QTest::addColumn<bool>("removeTombstone");
        QTest::addColumn<bool>("removeFolderFile");
        const int none = int(Tombstone::Absent), dead = int(Tombstone::Present), outdated = int(Tombstone::Outdated);
        // local, folder, tombstone, merged -> action
        QTest::newRow("nothing anywhere") << "" << "" << none << "" << Action::Nothing << false << false;
        QTest::newRow("gone from both sides") << "" << "" << none << "A" << Action::DropState << false << false;
        QTest::newRow("new in the folder") << "" << "A" << none << "" << Action::CreateLocal << false << false;
        QTest::newRow("deleted here, folder unchanged") << "" << "A" << none << "A" << Action::WriteTombstone << false << false;
        QTest::newRow("deleted here, edited there: the edit comes back") << "" << "B" << none << "A" << Action::CreateLocal << false << false;
        QTest::newRow("new here") << "A" << "" << none << "" << Action::WriteFolder << false << false;
        QTest::newRow("file went missing: written again") << "A" << "" << none << "A" << Action::WriteFolder << false << false;
        QTest::newRow("file went missing, changed here") << "B" << "" << none << "A" << Action::WriteFolder << false << false;
        QTest::newRow("unchanged") << "A" << "A" << none << "A" << Action::Nothing << false << false;
        QTest::newRow("same on both, not recorded") << "A" << "A" << none << "" << Action::RecordState << false << false;
        QTest::newRow("same edit on both") << "B" << "B" << none << "A" << Action::RecordState << false << false;
        QTest::newRow("changed there") << "A" << "B" << none << "A" << Action::ApplyFolder << false << false;
        QTest::newRow("changed here") << "B" << "A" << none << "A" << Action::WriteFolder << false << false;
        QTest::newRow("changed on both") << "B" << "C" << none << "A" << Action::ConflictCopy << false << false;
        QTest::newRow("two versions, no record") << "A" << "B" << none << "" << Action::ConflictCopy << false << false;
        QTest::newRow("unreadable file") << "A" << "X" << none << "A" << Action::LeaveUnreadable << false << false;
        QTest::newRow("unreadable file, deleted here") << "" << "X" << none << "A" << Action::LeaveUnreadable << false << false;
        QTest::newRow("unreadable file and a tombstone") << "A" << "X" << dead << "A" << Action::LeaveUnreadable << false << false;
        QTest::newRow("deleted there, unchanged here") << "A" << "" << dead << "A" << Action::TrashLocal << false << false;
        QTest::newRow("deleted there, changed here") << "B" << "" << dead << "A" << Action::RewriteAfterTombstone << false << false;
        QTest::newRow("deleted there, nothing proves it unchanged") << "A" << "" << dead << "" << Action::RewriteAfterTombstone << false << false;
        QTest::newRow("deleted there and here") << "" << "" << dead << "A" << Action::DropState << false << false;
        QTest::newRow("tombstone of a note never here") << "" << "" << dead << "" << Action::Nothing << false << false;
        QTest::newRow("tombstone newer than the file") << "A" << "A" << dead << "A" << Action::TrashLocal << false << true;
        QTest::newRow("tombstone newer than the file, changed here") << "B" << "A" << dead << "A" << Action::RewriteAfterTombstone << false << true;
        QTest::newRow("tombstone newer than the file, gone here") << "" << "B" << dead << "A" << Action::DropState << false << true;
        QTest::newRow("file newer than the tombstone") << "A" << "B" << outdated << "A" << Action::ApplyFolder << true << false;
        QTest::newRow("file newer than the tombstone, gone here") << "" << "B" << outdated << "" << Action::CreateLocal << true << false;
        QTest::newRow("file newer than the tombstone, all agree") << "A" << "A" << outdated << "A" << Action::Nothing << true << false;
    }
    void decisionTable()
    {
        QFETCH(QString, local);
        QFETCH(QString, folder);
        QFETCH(int, tombstone);
        QFETCH(QString, merged);
        QFETCH(Action, action);
        QFETCH(bool, removeTombstone);
        QFETCH(bool, removeFolderFile);
        const Decision d = decide(facts(qPrintable(local), qPrintable(folder), Tombstone(tombstone), qPrintable(merged)));
        QCOMPARE(actionName(d.action), actionName(action));
        QCOMPARE(d.removeTombstone, removeTombstone);
        QCOMPARE(d.removeFolderFile, removeFolderFile);
    }

    // Every combination of versions: whatever is decided, no side's change is overwritten
    // unless the other side holds it too, and an unreadable file is never touched.
    void noCombinationLosesAnEdit()
    {
        const char *versions[] = {"", "A", "B", "C"};
        const char *folders[] = {"", "A", "B", "C", "X"};
        const char *records[] = {"", "A", "B"};
        int checked = 0;
        for (const char *local : versions)
            for (const char *folder : folders)
                for (const Tombstone t : {Tombstone::Absent, Tombstone::Present, Tombstone::Outdated})
                    for (const char *merged : records) {
                        const Facts f = facts(local, folder, t, merged);
                        const Decision d = decide(f);
                        const QByteArray row = QByteArray("local=") + local + " folder=" + folder + " tombstone="
                                               + QByteArray::number(int(t)) + " merged=" + merged + " -> "
                                               + actionName(d.action);
                        const bool changedHere = f.local && (!f.merged || *f.local != *f.merged);
                        const bool folderPresent = f.folder == Folder::Present && t != Tombstone::Present;
                        const bool changedThere = folderPresent && (!f.merged || f.folderHash != *f.merged)
                                                  && !(f.local && *f.local == f.folderHash);
                        if (f.folder == Folder::Unreadable)
                            QVERIFY2(d.action == Action::LeaveUnreadable && !d.removeFolderFile, row);
                        // The note here is replaced or trashed only when it holds the last merged version.
                        if (d.action == Action::ApplyFolder || d.action == Action::TrashLocal)
                            QVERIFY2(!changedHere, row);
                        // The folder's file is replaced or tombstoned only when it holds nothing new.
                        if (d.action == Action::WriteFolder || d.action == Action::WriteTombstone
                            || d.action == Action::RewriteAfterTombstone)
                            QVERIFY2(!changedThere, row);
                        // A note here always survives a merge unless it went to the trash unchanged.
                        if (f.local && f.folder != Folder::Unreadable)
                            QVERIFY2(d.action != Action::DropState && d.action != Action::WriteTombstone
                                         && d.action != Action::CreateLocal,
                                     row);
                        // A version only the folder has comes here unless a deletion here stands for it.
                        if (!f.local && folderPresent && changedThere)
                            QVERIFY2(d.action == Action::CreateLocal, row);
                        // The tombstone goes only when a file outdates it or the note is written again.
                        if (d.removeTombstone)
                            QVERIFY2(t == Tombstone::Outdated, row);
                        ++checked;
                    }
        QCOMPARE(checked, 4 * 5 * 3 * 3);
    }

    void identities_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("valid");
        QTest::newRow("made here") << SyncId::create() << true;
        QTest::newRow("lower-case uuid") << "0f8fad5b-d9cb-469f-a165-70867728950e" << true;
        QTest::newRow("upper case") << "0F8FAD5B-D9CB-469F-A165-70867728950E" << false;
        QTest::newRow("braces") << "{0f8fad5b-d9cb-469f-a165-70867728950e}" << false;
        QTest::newRow("one short") << "0f8fad5b-d9cb-469f-a165-70867728950" << false;
        QTest::newRow("dashes misplaced") << "0f8fad5bd-9cb-469f-a165-70867728950e" << false;
        QTest::newRow("a path") << "../../../../../../../etc/passwd-xxxxxx" << false;
        QTest::newRow("slash inside") << "0f8fad5b-d9cb-469f-a165-7086772895/e" << false;
        QTest::newRow("empty") << "" << false;
    }
    void identities()
    {
        QFETCH(QString, id);
        QFETCH(bool, valid);
        QCOMPARE(SyncId::isValid(id), valid);
    }

    void conflictCopiesAgreeAcrossComputers()
    {
        const QString original = SyncId::create();
        const QString copy = SyncId::conflictCopy(original, "0123456789abcdef0123456789abcdef");
        QVERIFY(SyncId::isValid(copy));
        QCOMPARE(SyncId::conflictCopy(original, "0123456789abcdef0123456789abcdef"), copy);
        QVERIFY(SyncId::conflictCopy(original, "fedcba9876543210fedcba9876543210") != copy);
        QVERIFY(SyncId::conflictCopy(SyncId::create(), "0123456789abcdef0123456789abcdef") != copy);
        QVERIFY(SyncId::create() != SyncId::create());
    }

    // Each travelling field changes the hash; the fields that stay on this computer do not.
    void hashCoversTheTravellingFieldsOnly_data()
    {
        QTest::addColumn<std::function<void(NoteData &)>>("change");
        QTest::addColumn<bool>("travels");
        using F = std::function<void(NoteData &)>;
        QTest::newRow("caption") << F([](NoteData &n) { n.caption += QLatin1Char('!'); }) << true;
        QTest::newRow("text") << F([](NoteData &n) { n.note += QStringLiteral("\r\nmais"); }) << true;
        QTest::newRow("topmost") << F([](NoteData &n) { n.topmost = !n.topmost; }) << true;
        QTest::newRow("alarm moment") << F([](NoteData &n) { n.alarmDateTime = n.alarmDateTime.addSecs(60); }) << true;
        QTest::newRow("alarm off") << F([](NoteData &n) { n.alarm = false; }) << true;
        QTest::newRow("use sound") << F([](NoteData &n) { n.useSound = !n.useSound; }) << true;
        QTest::newRow("a weekday") << F([](NoteData &n) { n.dia[3] = !n.dia[3]; }) << true;
        QTest::newRow("recurrence") << F([](NoteData &n) { n.rememberNo += 1; }) << true;
        QTest::newRow("recurrence unit") << F([](NoteData &n) { n.rememberUnit = 4; }) << true;
        QTest::newRow("scroll bar") << F([](NoteData &n) { n.scrollbar = !n.scrollbar; }) << true;
        QTest::newRow("dark caption") << F([](NoteData &n) { n.darkCaption = !n.darkCaption; }) << true;
        QTest::newRow("shade step") << F([](NoteData &n) { n.trackPosition = 20; }) << true;
        QTest::newRow("width") << F([](NoteData &n) { n.width += 1; }) << true;
        QTest::newRow("height") << F([](NoteData &n) { n.height += 1; }) << true;
        QTest::newRow("font name") << F([](NoteData &n) { n.font.name = QStringLiteral("Arial"); }) << true;
        QTest::newRow("font size") << F([](NoteData &n) { n.font.size = 9; }) << true;
        QTest::newRow("font colour") << F([](NoteData &n) { n.font.colour = 0xFF; }) << true;
        QTest::newRow("bold") << F([](NoteData &n) { n.font.bold = !n.font.bold; }) << true;
        QTest::newRow("italic") << F([](NoteData &n) { n.font.italic = !n.font.italic; }) << true;
        QTest::newRow("colour") << F([](NoteData &n) { n.color = 0x7BFFFF; }) << true;
        QTest::newRow("footer") << F([](NoteData &n) { n.rodape = QStringLiteral("De: ana"); }) << true;
        QTest::newRow("position") << F([](NoteData &n) { n.posx += 50; n.posy -= 20; }) << false;
        QTest::newRow("hidden") << F([](NoteData &n) { n.visible = false; }) << true;
        QTest::newRow("sound file") << F([](NoteData &n) { n.soundFile = QStringLiteral("/outro.wav"); }) << false;
        QTest::newRow("identity") << F([](NoteData &n) { n.syncId = SyncId::create(); }) << false;
        QTest::newRow("milliseconds of the alarm") << F([](NoteData &n) { n.alarmDateTime = n.alarmDateTime.addMSecs(500); }) << false;
    }
    void hashCoversTheTravellingFieldsOnly()
    {
        QFETCH(std::function<void(NoteData &)>, change);
        QFETCH(bool, travels);
        const NoteData before = alarmed(sampleNote());
        NoteData after = before;
        change(after);
        QCOMPARE(SyncNoteFile::hash(after) != SyncNoteFile::hash(before), travels);
        QCOMPARE(SyncNoteFile::hash(before).size(), 32);
    }

    // A note written to the folder and read back, or saved in the store and loaded again,
    // hashes as it did in memory: the same note is the same note on every computer.
    void roundTripsKeepTheHash_data()
    {
        QTest::addColumn<NoteData>("note");
        NoteData plain = sampleNote();
        QTest::newRow("plain") << plain;
        QTest::newRow("alarm") << alarmed(plain);
        NoteData midnight = alarmed(plain);
        midnight.alarmDateTime = QDateTime(QDate(2030, 1, 1), QTime(0, 0));
        QTest::newRow("alarm at midnight") << midnight;
        NoteData outside = plain;
        outside.note = QStringLiteral("Ελληνικά and 日本 and € and ✓");
        outside.caption = QStringLiteral("título ☃");
        QTest::newRow("characters Windows-1252 cannot hold") << outside;
        NoteData edges = plain;
        edges.caption = QStringLiteral("  blanks at the edges  ");
        edges.note = QStringLiteral("\"quoted whole\"");
        QTest::newRow("blanks and quotes") << edges;
        NoteData typed = plain;
        typed.note = QStringLiteral("a typed \\n is a break\r\nlast line\r\n");
        QTest::newRow("typed backslash-n and a trailing break") << typed;
        NoteData loneBreaks = plain;
        loneBreaks.note = QStringLiteral("lf\nonly\rcr");
        loneBreaks.caption = QStringLiteral("two\nlines");
        QTest::newRow("lone line breaks") << loneBreaks;
        NoteData longText = plain;
        longText.note = QString(5000, QLatin1Char('x')) + QStringLiteral("\r\nfim");
        QTest::newRow("long text") << longText;
        NoteData footer = plain;
        footer.rodape = QStringLiteral("Enviada por ana em 10.0.0.7");
        footer.visible = false;
        QTest::newRow("footer, hidden") << footer;
    }
    void roundTripsKeepTheHash()
    {
        QFETCH(NoteData, note);
        const QByteArray hash = SyncNoteFile::hash(note);
        const QString id = SyncId::create();
        const QDateTime modified(QDate(2031, 1, 2), QTime(3, 4, 5), Qt::UTC);
        const QByteArray bytes = SyncNoteFile::toBytes(note, id, modified, QStringLiteral("dev-1"));

        const std::optional<SyncNoteFile::Content> back = SyncNoteFile::fromBytes(bytes, QDateTime(QDate(2040, 1, 1), QTime(0, 0)));
        QVERIFY(back);
        QCOMPARE(SyncNoteFile::hash(back->note), hash);
        QCOMPARE(back->syncId, id);
        QCOMPARE(back->modified, modified);
        QCOMPARE(back->device, QStringLiteral("dev-1"));

        // The store's own round trip, identity included.
        NoteData stored = note;
        stored.syncId = id;
        IniFile ini;
        NoteStore::writeNoteSection(ini, QStringLiteral("Stick0"), stored);
        const NoteData loaded = NoteStore::readNoteSection(IniFile(ini.toBytes()), QStringLiteral("Stick0"),
                                                           QDateTime(QDate(2040, 1, 1), QTime(0, 0)));
        QCOMPARE(loaded.syncId, id);
        QCOMPARE(SyncNoteFile::hash(loaded), hash);

        QCOMPARE(back->note.visible, note.visible);

        // What a window takes from the folder keeps its own place and sound.
        const NoteData merged = SyncNoteFile::withLocalFields(back->note, stored);
        QCOMPARE(merged.posx, note.posx);
        QCOMPARE(merged.posy, note.posy);
        QCOMPARE(merged.soundFile, note.soundFile);
        QCOMPARE(merged.syncId, id);
        QCOMPARE(SyncNoteFile::hash(merged), hash);
    }

    // The store's [Sync] section: written once sync has been used, never into a store that
    // has not, and read back as written.
    void storeSyncSection_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("sectionAfter");
        QTest::newRow("never used") << QByteArray("[General]\r\nNumStickies=0\r\n") << "" << "" << false;
        QTest::newRow("switched on") << QByteArray() << "/home/ana/Sync/corkvane" << "0f8fad5b-d9cb-469f-a165-70867728950e" << true;
        QTest::newRow("switched off keeps the device")
            << QByteArray("[Sync]\r\nFolder=/old\r\nDevice=0f8fad5b-d9cb-469f-a165-70867728950e\r\n") << ""
            << "0f8fad5b-d9cb-469f-a165-70867728950e" << true;
        QTest::newRow("a folder with edge blanks") << QByteArray() << " /mnt/my sync " << "d" << true;
    }
    void storeSyncSection()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, folder);
        QFETCH(QString, device);
        QFETCH(bool, sectionAfter);
        IniFile ini(before);
        AppSettings settings = NoteStore::read(ini, QDateTime::currentDateTime(), "ana", "/opt/").settings;
        settings.recSync.Folder = folder;
        settings.recSync.Device = device;
        NoteStore::write(ini, settings, {}, true);
        QCOMPARE(ini.sectionExists("Sync"), sectionAfter);
        const AppSettings back = NoteStore::read(IniFile(ini.toBytes()), QDateTime::currentDateTime(), "ana", "/opt/").settings;
        QCOMPARE(back.recSync.Folder, folder);
        QCOMPARE(back.recSync.Device, device);
    }

    // The status line of the preferences.
    void statusLine_data()
    {
        QTest::addColumn<SyncOutcome>("outcome");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("quietUntil");
        const QDateTime now(QDate(2031, 5, 6), QTime(14, 30));
        SyncOutcome none;
        QTest::newRow("never") << none << QString::fromUtf8("Última sincronização: nenhuma ainda.") << QDateTime();
        SyncOutcome quiet;
        quiet.when = QDateTime(QDate(2031, 5, 6), QTime(14, 2)).toUTC();
        QTest::newRow("nothing changed") << quiet << QString::fromUtf8("Última sincronização: 14:02 — nada mudou") << QDateTime();
        SyncOutcome busy = quiet;
        busy.received = 2;
        busy.sent = 1;
        busy.conflicts = 1;
        QTest::newRow("the example") << busy << QString::fromUtf8("Última sincronização: 14:02 — 2 recebidas, 1 enviada, 1 conflito") << QDateTime();
        SyncOutcome plural = quiet;
        plural.sent = 3;
        plural.conflicts = 2;
        plural.deleted = 1;
        QTest::newRow("plurals") << plural << QString::fromUtf8("Última sincronização: 14:02 — 3 enviadas, 2 conflitos, 1 apagada") << QDateTime();
        SyncOutcome yesterday = busy;
        yesterday.when = QDateTime(QDate(2031, 5, 5), QTime(23, 59)).toUTC();
        QTest::newRow("another day") << yesterday
                                     << QString::fromUtf8("Última sincronização: 05/05/2031 23:59 — 2 recebidas, 1 enviada, 1 conflito") << QDateTime();
        SyncOutcome failed = quiet;
        failed.failure = QStringLiteral("a pasta /media/pen/Sync não existe");
        QTest::newRow("failed") << failed << QString::fromUtf8("Última sincronização: 14:02 — falhou: a pasta /media/pen/Sync não existe") << QDateTime();
        // Quiet merges after the one shown: told when they reach a later minute.
        const QDateTime quietAt = QDateTime(QDate(2031, 5, 6), QTime(14, 29, 50)).toUTC();
        QTest::newRow("quiet merges since") << busy << QString::fromUtf8("Última sincronização: 14:02 — 2 recebidas, 1 enviada, 1 conflito; nada novo até 14:29") << quietAt;
        QTest::newRow("quiet merges in the same minute") << busy << QString::fromUtf8("Última sincronização: 14:02 — 2 recebidas, 1 enviada, 1 conflito")
                                                         << QDateTime(QDate(2031, 5, 6), QTime(14, 2, 40)).toUTC();
        QTest::newRow("quiet merges since yesterday")
            << yesterday << QString::fromUtf8("Última sincronização: 05/05/2031 23:59 — 2 recebidas, 1 enviada, 1 conflito; nada novo até 14:29") << quietAt;
    }
    void statusLine()
    {
        QFETCH(SyncOutcome, outcome);
        QFETCH(QString, text);
        QFETCH(QDateTime, quietUntil);
        QCOMPARE(SyncEngine::describe(outcome, QDateTime(QDate(2031, 5, 6), QTime(14, 30)), quietUntil), text);
    }

    // The file is the store's INI form: Windows-1252, CR LF, the note's keys less the ones
    // that stay here, the alarm moment in ISO 8601, and the file's own keys.
    void fileFormat()
    {
        NoteData note = alarmed(sampleNote());
        note.caption = QStringLiteral("Café às 9h");
        const QByteArray bytes = SyncNoteFile::toBytes(note, QStringLiteral("0f8fad5b-d9cb-469f-a165-70867728950e"),
                                                       QDateTime(QDate(2031, 1, 2), QTime(3, 4, 5), Qt::UTC),
                                                       QStringLiteral("dev-1"));
        QVERIFY(bytes.startsWith("[Note]\r\n"));
        QVERIFY(bytes.contains("caption=Caf\xe9 \xe0s 9h\r\n"));
        QVERIFY(bytes.contains("AlarmDateTime=2031-03-04T09:15:42\r\n"));
        QVERIFY(bytes.contains("Modified=2031-01-02T03:04:05Z\r\n"));
        QVERIFY(bytes.contains("Device=dev-1\r\n"));
        QVERIFY(bytes.contains("SyncId=0f8fad5b-d9cb-469f-a165-70867728950e\r\n"));
        QVERIFY(bytes.contains("note=Comprar p\xe3o\\nLigar para a Ana\r\n"));
        QVERIFY(bytes.contains("visible=1\r\n"));
        for (const char *local : {"posx=", "posy=", "SoundFile=", "galo.wav"})
            QVERIFY2(!bytes.contains(local), local);
        QCOMPARE(bytes.count("\n"), bytes.count("\r\n"));
        QVERIFY(!SyncNoteFile::fromBytes("no section at all\r\ncaption=x\r\n", QDateTime::currentDateTime()));
        QVERIFY(!SyncNoteFile::fromBytes(QByteArray(64, '\xff'), QDateTime::currentDateTime()));
        // An alarm moment in the regional form of an older writer is still read.
        const QByteArray regional = "[Note]\r\nalarm=1\r\nAlarmDateTime=04/03/2031 09:15:42\r\n";
        const auto read = SyncNoteFile::fromBytes(regional, QDateTime::currentDateTime());
        QVERIFY(read);
        QCOMPARE(read->note.alarmDateTime, QDateTime(QDate(2031, 3, 4), QTime(9, 15, 42)));
    }
};

QTEST_GUILESS_MAIN(TestSyncDecision)
#include "tst_syncdecision.moc"
