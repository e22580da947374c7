// The sync folder on disk and the merge over it, with two computers sharing one folder and
// no engine in between: what each merge writes, removes and hands to the notes here.
#include "store/NoteStore.h"
#include "support/TestFiles.h"
#include "sync/SyncFolder.h"
#include "sync/SyncId.h"
#include "sync/SyncState.h"
#include "SyncComputer.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <sys/stat.h>
#include <utime.h>

namespace {

NoteData note(const QString &caption, const QString &text)
{
    NoteData n;
    n.caption = caption;
    n.note = text;
    return n;
}

QStringList namesIn(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    names.sort();
    return names;
}

QStringList texts(const QList<NoteData> &notes)
{
    QStringList out;
    for (const NoteData &n : notes)
        out << n.caption + QLatin1Char('|') + n.note;
    out.sort();
    return out;
}

void age(const QString &path, qint64 secs)
{
    const time_t when = time(nullptr) - secs;
    struct utimbuf times{when, when};
    QCOMPARE(utime(QFile::encodeName(path).constData(), &times), 0);
}

} // namespace

class TestSyncFolder : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
    std::unique_ptr<SyncComputer> a, b;

    QString notes() const { return m_folder + QStringLiteral("/notes"); }
    QString deleted() const { return m_folder + QStringLiteral("/deleted"); }
    QString notePath(const QString &id) const { return notes() + QLatin1Char('/') + id + QStringLiteral(".cvn"); }

    // A conflict file of the engine for `id` holding `version`.
    QString engineConflict(const QString &id, const NoteData &version, const char *stamp = "20310506-095500")
    {
        const QString path = notes() + QLatin1Char('/') + id + QStringLiteral(".sync-conflict-") + QLatin1String(stamp)
                             + QStringLiteral("-ABCDEFG.cvn");
        TestFiles::writeAll(path, SyncNoteFile::toBytes(version, id, QDateTime::currentDateTimeUtc(), QStringLiteral("other")));
        return path;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_folder = m_dir->filePath(QStringLiteral("Sync"));
        QVERIFY(QDir().mkpath(m_folder));
        a = std::make_unique<SyncComputer>(m_folder, QStringLiteral("device-a"), m_dir->filePath("a-state.cvf"));
        b = std::make_unique<SyncComputer>(m_folder, QStringLiteral("device-b"), m_dir->filePath("b-state.cvf"));
    }

    void preparingTheFolder_data()
    {
        QTest::addColumn<QByteArray>("ignoreBefore");
        QTest::addColumn<QByteArray>("ignoreAfter");
        QTest::newRow("no .stignore") << QByteArray() << QByteArray("// Corkvane: files it is still writing\n*.cvtmp\n");
        QTest::newRow("the user's own lines stay")
            << QByteArray("(?d).DS_Store\n*.bak") << QByteArray("(?d).DS_Store\n*.bak\n// Corkvane: files it is still writing\n*.cvtmp\n");
        QTest::newRow("already there") << QByteArray("#include shared\n *.cvtmp \n") << QByteArray("#include shared\n *.cvtmp \n");
    }
    void preparingTheFolder()
    {
        QFETCH(QByteArray, ignoreBefore);
        QFETCH(QByteArray, ignoreAfter);
        if (!ignoreBefore.isEmpty())
            TestFiles::writeAll(m_folder + "/.stignore", ignoreBefore);
        QString error;
        QVERIFY(SyncFolder(m_folder).prepare(&error));
        QCOMPARE(TestFiles::readAll(m_folder + "/.stignore"), ignoreAfter);
        QCOMPARE(namesIn(m_folder), (QStringList{".stignore", "deleted", "notes"}));
        // A folder that is not there (a drive not mounted) is not made.
        QVERIFY(!SyncFolder(m_dir->filePath("absent")).prepare(&error));
        QVERIFY(!QFileInfo::exists(m_dir->filePath("absent")));
        QVERIFY(!SyncFolder(QStringLiteral("relative/path")).prepare(&error));
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("conflict");
        const QString id = QStringLiteral("0f8fad5b-d9cb-469f-a165-70867728950e");
        QTest::newRow("note") << id + ".cvn" << ".cvn" << id << false;
        QTest::newRow("engine conflict") << id + ".sync-conflict-20310506-101500-ABCDEFG.cvn" << ".cvn" << id << true;
        QTest::newRow("tombstone") << id << "" << id << false;
        QTest::newRow("tombstone conflict") << id + ".sync-conflict-20310506-101500-ABCDEFG" << "" << id << true;
        QTest::newRow("our temporary") << id + ".cvn.k3j2h.cvtmp" << ".cvn" << "" << false;
        QTest::newRow("temporary with the mark") << id + ".sync-conflict-x.cvn.a.cvtmp" << ".cvn" << "" << false;
        QTest::newRow("other extension") << id + ".txt" << ".cvn" << "" << false;
        QTest::newRow("upper-case id") << id.toUpper() + ".cvn" << ".cvn" << "" << false;
        QTest::newRow("not an id") << "shopping.cvn" << ".cvn" << "" << false;
        QTest::newRow("bare mark") << id + ".sync-conflict-.cvn" << ".cvn" << "" << false;
    }
    void fileNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, extension);
        QFETCH(QString, id);
        QFETCH(bool, conflict);
        bool isConflict = false;
        QCOMPARE(SyncFolder::idOfName(name, extension, &isConflict), id);
        QCOMPARE(isConflict, conflict);
    }

    void writesAreAtomic()
    {
        QVERIFY(SyncFolder(m_folder).prepare(nullptr));
        const QString target = notes() + "/x.cvn";
        QString error;
        for (const int count : {1, 12}) {  // flushed one by one, and all at once
            QList<SyncFolder::Write> writes;
            for (int i = 0; i < count; ++i)
                writes.append({notes() + QStringLiteral("/f%1.cvn").arg(i), QByteArray("v") + QByteArray::number(count), false});
            QVERIFY(SyncFolder::writeFiles(writes, &error));
            for (const SyncFolder::Write &w : writes) {
                QVERIFY(w.ok);
                QCOMPARE(TestFiles::readAll(w.path), QByteArray("v") + QByteArray::number(count));
            }
        }
        // A place that cannot take the file: the write fails, says why, and leaves nothing behind.
        QVERIFY(QDir().mkpath(target + "/occupied"));
        QVERIFY(!SyncFolder::writeFile(target, "new", &error));
        QVERIFY2(error.contains(target), qPrintable(error));
        QVERIFY(QFileInfo(target + "/occupied").isDir());
        for (const QString &name : namesIn(notes()))
            QVERIFY2(!name.endsWith(".cvtmp"), qPrintable(name));
        QVERIFY(!SyncFolder::writeFile(m_dir->filePath("no/such/folder/f.cvn"), "x", &error));
    }

    void readingFiles()
    {
        QVERIFY(SyncFolder(m_folder).prepare(nullptr));
        QByteArray bytes;
        QCOMPARE(SyncFolder::readFile(notes() + "/none.cvn", &bytes), SyncFolder::Read::Missing);
        QVERIFY(QDir().mkpath(notes() + "/dir.cvn"));
        QCOMPARE(SyncFolder::readFile(notes() + "/dir.cvn", &bytes), SyncFolder::Read::Unreadable);
        QFile huge(notes() + "/huge.cvn");
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(SyncFolder::kMaxFileSize + 1));  // sparse: no time spent writing it
        huge.close();
        QCOMPARE(SyncFolder::readFile(huge.fileName(), &bytes), SyncFolder::Read::Unreadable);
        TestFiles::writeAll(notes() + "/ok.cvn", "[Note]\r\n");
        QCOMPARE(SyncFolder::readFile(notes() + "/ok.cvn", &bytes), SyncFolder::Read::Ok);
        QCOMPARE(bytes, QByteArray("[Note]\r\n"));
    }

    // The first merge gives every note an identity and a file; the next one does nothing.
    void firstMergeWritesEveryNote()
    {
        a->add(note("one", "1"));
        a->add(note("two", "2\r\nlines"));
        a->add(note("three", ""));
        const SyncOutcome first = a->merge();
        QCOMPARE(first.sent, 3);
        QCOMPARE(first.received + first.conflicts + first.deleted, 0);
        QVERIFY(first.failure.isEmpty());
        QSet<QString> ids;
        for (const NoteData &n : a->notes()) {
            QVERIFY(SyncId::isValid(n.syncId));
            ids.insert(n.syncId);
            const auto file = SyncNoteFile::fromBytes(TestFiles::readAll(notePath(n.syncId)), a->now);
            QVERIFY(file);
            QCOMPARE(SyncNoteFile::hash(file->note), SyncNoteFile::hash(n));
            QCOMPARE(file->device, QStringLiteral("device-a"));
        }
        QCOMPARE(ids.size(), 3);
        const SyncState state = SyncState::load(a->statePath);
        QCOMPARE(state.merged.size(), 3);
        QVERIFY(state.belongsTo(m_folder, "device-a"));

        const NoteStore::FileStamp before = NoteStore::FileStamp::of(notePath(*ids.begin()));
        const SyncOutcome second = a->merge();
        QCOMPARE(second.sent + second.received + second.conflicts + second.deleted, 0);
        QVERIFY(a->plan.changes.isEmpty());
        // What the status line tells stays the merge that carried something.
        QCOMPARE(SyncState::load(a->statePath).last.sent, 3);
        QCOMPARE(NoteStore::FileStamp::of(notePath(*ids.begin())), before);
    }

    // Notes and edits go both ways; each computer keeps its own window positions.
    void notesAndEditsTravel()
    {
        NoteData first = note("shopping", "bread");
        first.posx = 10;
        first.color = 0xFF;
        a->add(first);
        a->merge();
        const QString id = a->notes().first().syncId;

        QCOMPARE(b->merge().received, 1);
        NoteData *there = b->byId(id);
        QVERIFY(there);
        QCOMPARE(there->note, QStringLiteral("bread"));
        QCOMPARE(there->color, ColourValue(0xFF));
        there->posx = 500;
        there->note = QStringLiteral("bread\r\nmilk");
        QCOMPARE(b->merge().sent, 1);

        QCOMPARE(a->merge().received, 1);
        QCOMPARE(a->byId(id)->note, QStringLiteral("bread\r\nmilk"));
        QCOMPARE(a->byId(id)->posx, 10);
        QCOMPARE(b->byId(id)->posx, 500);
        QCOMPARE(a->merge().received + a->outcome.sent, 0);
        QCOMPARE(b->merge().received + b->outcome.sent, 0);
    }

    // Changed on both sides: both versions end up on both computers, the other one's as a
    // copy whose title says so.
    void changesOnBothSidesKeepBoth()
    {
        a->add(note("list", "v1"));
        a->merge();
        const QString id = a->notes().first().syncId;
        b->merge();
        a->byId(id)->note = QStringLiteral("from a");
        b->byId(id)->note = QStringLiteral("from b");
        a->merge();
        const SyncOutcome onB = b->merge();
        QCOMPARE(onB.conflicts, 1);
        QCOMPARE(b->byId(id)->note, QStringLiteral("from b"));
        QVERIFY(b->byCaption("list (conflito)"));
        QCOMPARE(b->byCaption("list (conflito)")->note, QStringLiteral("from a"));
        a->merge();
        QCOMPARE(texts(a->notes()), texts(b->notes()));
        QCOMPARE(texts(a->notes()), (QStringList{"list (conflito)|from a", "list|from b"}));
        QCOMPARE(namesIn(notes()).size(), 2);
        // Settled: nothing more happens on either side.
        QCOMPARE(a->merge().conflicts + a->outcome.sent + a->outcome.received, 0);
        QCOMPARE(b->merge().conflicts + b->outcome.sent + b->outcome.received, 0);
    }

    void deletionsTravel_data()
    {
        QTest::addColumn<bool>("editedOnB");
        QTest::addColumn<bool>("restoredOnB");
        QTest::newRow("unchanged there: it goes to the trash") << false << false;
        QTest::newRow("edited there: it stays and comes back") << true << false;
        QTest::newRow("brought back from the trash there: it stays and comes back") << false << true;
    }
    void deletionsTravel()
    {
        QFETCH(bool, editedOnB);
        QFETCH(bool, restoredOnB);
        a->add(note("gone", "soon"));
        a->merge();
        const QString id = a->notes().first().syncId;
        b->merge();
        a->remove(id);
        QCOMPARE(a->merge().deleted, 1);
        QVERIFY(!QFileInfo::exists(notePath(id)));
        QVERIFY(QFileInfo::exists(deleted() + "/" + id));
        if (editedOnB)
            b->byId(id)->note = QStringLiteral("still needed");
        b->merge();
        if (!editedOnB) {
            QVERIFY(!b->byId(id));
            QCOMPARE(b->trash.size(), 1);
            QCOMPARE(b->trash.first().note, QStringLiteral("soon"));
            QVERIFY(!SyncState::load(b->statePath).merged.contains(id));
            QVERIFY(QFileInfo::exists(deleted() + "/" + id));  // for computers not yet told
            if (!restoredOnB)
                return;
            // The user of B restores it, identity and all: the tombstone must not take it again.
            b->add(b->trash.takeFirst());
            b->merge();
            QVERIFY(b->byId(id));
        }
        QVERIFY(b->trash.isEmpty());
        QVERIFY(!QFileInfo::exists(deleted() + "/" + id));
        QVERIFY(QFileInfo::exists(notePath(id)));
        a->merge();
        QVERIFY(a->byId(id));
        QCOMPARE(a->byId(id)->note, b->byId(id)->note);
        QCOMPARE(a->byId(id)->note, restoredOnB ? QStringLiteral("soon") : QStringLiteral("still needed"));
    }

    // A tombstone and the note's file both stand (a third computer's news arriving late): the
    // later of the two wins, and the other is cleared away.
    void tombstoneAgainstFile_data()
    {
        QTest::addColumn<int>("fileAgeSecs");
        QTest::addColumn<int>("tombstoneAgeSecs");
        QTest::addColumn<bool>("noteLives");
        QTest::newRow("file written after the deletion") << 60 << 3600 << true;
        QTest::newRow("deleted after the file was written") << 3600 << 60 << false;
    }
    void tombstoneAgainstFile()
    {
        QFETCH(int, fileAgeSecs);
        QFETCH(int, tombstoneAgeSecs);
        QFETCH(bool, noteLives);
        a->add(note("contested", "v1"));
        a->merge();
        const QString id = a->notes().first().syncId;
        const QDateTime now = a->now.toUTC();
        TestFiles::writeAll(notePath(id), SyncNoteFile::toBytes(note("contested", "v1"), id, now.addSecs(-fileAgeSecs), "c"));
        TestFiles::writeAll(deleted() + "/" + id, SyncFolder::tombstoneBytes(id, now.addSecs(-tombstoneAgeSecs), "c"));
        a->merge();
        QCOMPARE(bool(a->byId(id)), noteLives);
        QCOMPARE(QFileInfo::exists(notePath(id)), noteLives);
        QCOMPARE(QFileInfo::exists(deleted() + "/" + id), !noteLives);
        QCOMPARE(a->trash.size(), noteLives ? 0 : 1);
    }

    // Deleted here while the other computer edited it: the edit wins the note back.
    void anEditOutlivesADeletionHere()
    {
        a->add(note("plan", "v1"));
        a->merge();
        const QString id = a->notes().first().syncId;
        b->merge();
        b->byId(id)->note = QStringLiteral("v2");
        b->merge();
        a->remove(id);
        a->merge();
        QVERIFY(a->byId(id));
        QCOMPARE(a->byId(id)->note, QStringLiteral("v2"));
        QVERIFY(namesIn(deleted()).isEmpty());
    }

    // A file that went missing while the note lives here is written again.
    void aMissingFileIsWrittenAgain()
    {
        a->add(note("keep", "me"));
        a->merge();
        const QString id = a->notes().first().syncId;
        QVERIFY(QFile::remove(notePath(id)));
        QCOMPARE(a->merge().sent, 1);
        QVERIFY(QFileInfo::exists(notePath(id)));
        QVERIFY(a->byId(id));
    }

    void engineConflictFiles_data()
    {
        QTest::addColumn<QString>("version");   // what the conflict file holds
        QTest::addColumn<bool>("copyMade");
        QTest::newRow("another version: kept as a copy") << "other text" << true;
        QTest::newRow("the version the folder holds: just removed") << "in folder" << false;
    }
    void engineConflictFiles()
    {
        QFETCH(QString, version);
        QFETCH(bool, copyMade);
        a->add(note("memo", "in folder"));
        a->merge();
        const QString id = a->notes().first().syncId;
        const QString conflict = engineConflict(id, note("memo", version));
        const SyncOutcome outcome = a->merge();
        QVERIFY(!QFileInfo::exists(conflict));
        QCOMPARE(a->byId(id)->note, QStringLiteral("in folder"));
        QCOMPARE(bool(a->byCaption("memo (conflito)")), copyMade);
        QCOMPARE(outcome.conflicts, copyMade ? 1 : 0);
        QCOMPARE(namesIn(notes()).size(), copyMade ? 2 : 1);
        if (copyMade) {
            // The other computer reads the same conflict file: the same copy, not a second one.
            QCOMPARE(a->byCaption("memo (conflito)")->syncId, SyncId::conflictCopy(id, SyncNoteFile::hash(note("memo", version))));
            b->merge();
            QCOMPARE(texts(b->notes()), texts(a->notes()));
        }
    }

    // The engine moves the losing version aside before it puts the winner in place: a
    // conflict file without its note's file is given time before it is taken on its own.
    void aConflictFileWaitsForItsNote()
    {
        a->add(note("memo", "mine"));
        a->merge();
        const QString id = a->notes().first().syncId;
        QVERIFY(QFile::rename(notePath(id), notes() + "/" + id + ".sync-conflict-20310506-095500-ABCDEFG.cvn"));
        a->merge();
        QVERIFY(a->plan.retrySoon);
        QVERIFY(!QFileInfo::exists(notePath(id)));  // not written back over the engine's move
        TestFiles::writeAll(notePath(id), SyncNoteFile::toBytes(note("memo", "theirs"), id, QDateTime::currentDateTimeUtc(), "b"));
        a->merge();
        QCOMPARE(a->byId(id)->note, QStringLiteral("theirs"));
        QCOMPARE(a->byCaption("memo (conflito)")->note, QStringLiteral("mine"));
        QCOMPARE(namesIn(notes()).size(), 2);

        // Alone for good: after a minute it is kept as a copy all the same.
        a->add(note("other", "x"));
        a->merge();
        const QString lone = a->byCaption("other")->syncId;
        QVERIFY(QFile::rename(notePath(lone), notes() + "/" + lone + ".sync-conflict-20310506-095500-ABCDEFG.cvn"));
        a->remove(lone);
        a->merge();
        QVERIFY(a->plan.retrySoon);
        a->now = a->now.addSecs(SyncMerger::kConflictSettleSecs + 1);
        a->merge();
        QVERIFY(!a->plan.retrySoon);
        QVERIFY(a->byCaption("other (conflito)"));
    }

    void unreadableFilesAreLeftAndReported_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not a note file") << "garbage";
        QTest::newRow("a folder in its place") << "folder";
    }
    void unreadableFilesAreLeftAndReported()
    {
        QFETCH(QString, kind);
        a->add(note("safe", "v1"));
        a->merge();
        const QString id = a->notes().first().syncId;
        QVERIFY(QFile::remove(notePath(id)));
        if (kind == "garbage")
            TestFiles::writeAll(notePath(id), QByteArrayLiteral("\x7f" "ELF\x02\x01\x01 not a note"));
        else
            QVERIFY(QDir().mkpath(notePath(id) + "/inside"));
        const QByteArray before = TestFiles::readAll(notePath(id));
        const QString conflict = notes() + "/" + id + ".sync-conflict-20310506-095500-ABCDEFG.cvn";
        TestFiles::writeAll(conflict, "garbage too");
        a->byId(id)->note = QStringLiteral("edited here");
        for (int round = 0; round < 2; ++round) {
            a->merge();
            QCOMPARE(a->plan.unreadable, (QStringList{notePath(id), conflict}));
            QCOMPARE(TestFiles::readAll(notePath(id)), before);  // never written over nor removed
            QCOMPARE(TestFiles::readAll(conflict), QByteArray("garbage too"));
            QCOMPARE(a->byId(id)->note, QStringLiteral("edited here"));
            QCOMPARE(a->outcome.sent, 0);
        }
        b->merge();
        QVERIFY(b->notes().isEmpty());
        QCOMPARE(b->plan.unreadable, (QStringList{notePath(id), conflict}));
    }

    // Notes without an identity (an installation that drops the key, a note received from the
    // network) are matched to the folder's notes by content, not doubled.
    void notesWithoutIdentityAreMatchedByContent()
    {
        a->add(note("same", "text"));
        a->add(note("other", "text"));
        a->merge();
        b->merge();
        const QStringList filesBefore = namesIn(notes());
        QCOMPARE(filesBefore.size(), 2);
        for (auto &n : b->table)
            n->syncId.clear();              // a store saved where the key is dropped
        b->add(note("same", "text"));       // and one more of the same content, new
        const SyncOutcome outcome = b->merge();
        QCOMPARE(outcome.sent, 1);
        QCOMPARE(namesIn(notes()).size(), 3);
        QCOMPARE(b->byCaption("other")->syncId, a->byCaption("other")->syncId);
        QSet<QString> ids;
        for (const NoteData &n : b->notes())
            ids.insert(n.syncId);
        QCOMPARE(ids.size(), 3);
        QVERIFY(ids.contains(a->byCaption("same")->syncId));
        QCOMPARE(a->merge().received, 1);
        QCOMPARE(a->notes().size(), 3);

        // Two notes of one identity (a section copied by hand): the second gets its own.
        b->add(*b->byCaption("other"));
        b->merge();
        ids.clear();
        for (const NoteData &n : b->notes())
            ids.insert(n.syncId);
        QCOMPARE(ids.size(), 4);
    }

    // A note deleted elsewhere, unchanged here, whose identity was dropped meanwhile, is still
    // known by its last merged version and goes to the trash.
    void aDroppedIdentityStillMeetsItsTombstone()
    {
        a->add(note("old", "news"));
        a->merge();
        b->merge();
        const QString id = a->notes().first().syncId;
        a->remove(id);
        a->merge();
        b->byId(id)->syncId.clear();
        b->merge();
        QVERIFY(b->notes().isEmpty());
        QCOMPARE(b->trash.size(), 1);
        QVERIFY(!QFileInfo::exists(notePath(id)));
    }

    // The state of another installation (a copied data folder) or of another folder says
    // nothing here: nothing is taken for deleted.
    void aStateFromElsewhereIsNotTrusted()
    {
        a->add(note("n1", "1"));
        a->add(note("n2", "2"));
        a->merge();
        QVERIFY(QFile::copy(a->statePath, b->statePath));
        b->merge();
        QVERIFY(namesIn(deleted()).isEmpty());
        QCOMPARE(b->notes().size(), 2);
        QVERIFY(SyncState::load(b->statePath).belongsTo(m_folder, "device-b"));

        SyncState other = SyncState::load(a->statePath);
        other.folder = m_dir->filePath("elsewhere");
        QVERIFY(other.save(a->statePath));
        SyncComputer again(m_folder, "device-a", a->statePath);
        again.merge();
        QVERIFY(namesIn(deleted()).isEmpty());
        QCOMPARE(again.notes().size(), 2);
    }

    void tombstonesExpireAfterSixtyDays_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<bool>("kept");
        QTest::newRow("59 days") << 59 << true;
        QTest::newRow("61 days") << 61 << false;
    }
    void tombstonesExpireAfterSixtyDays()
    {
        QFETCH(int, days);
        QFETCH(bool, kept);
        QVERIFY(SyncFolder(m_folder).prepare(nullptr));
        const QString id = SyncId::create();
        TestFiles::writeAll(deleted() + "/" + id,
                            SyncFolder::tombstoneBytes(id, a->now.toUTC().addDays(-days), QStringLiteral("device-b")));
        a->merge();
        QCOMPARE(QFileInfo::exists(deleted() + "/" + id), kept);
    }

    void leftoversAndForeignFiles()
    {
        QVERIFY(SyncFolder(m_folder).prepare(nullptr));
        const QString stale = notes() + "/" + SyncId::create() + ".cvn.abc.cvtmp";
        const QString fresh = notes() + "/" + SyncId::create() + ".cvn.def.cvtmp";
        const QString foreign = notes() + "/README.txt";
        for (const QString &path : {stale, fresh, foreign})
            TestFiles::writeAll(path, "x");
        age(stale, 3600);
        a->now = QDateTime::currentDateTime();
        a->merge();
        QVERIFY(!QFileInfo::exists(stale));
        QVERIFY(QFileInfo::exists(fresh));
        QVERIFY(QFileInfo::exists(foreign));
        QVERIFY(a->notes().isEmpty());
    }

    void aMissingFolderIsReportedNotMade()
    {
        SyncComputer lost(m_dir->filePath("unmounted"), "device-a", a->statePath);
        lost.add(note("x", "y"));
        const SyncOutcome outcome = lost.merge();
        QVERIFY(!outcome.failure.isEmpty());
        QCOMPARE(outcome.sent, 0);
        QVERIFY(!QFileInfo::exists(m_dir->filePath("unmounted")));
        QVERIFY(lost.notes().first().syncId.isEmpty());
    }

    // At exit only what changed here reaches the folder; nothing here changes.
    void pushOnlyWritesAndTakesNothing()
    {
        a->add(note("mine", "1"));
        a->merge();
        b->merge();
        const QString id = a->notes().first().syncId;
        a->byId(id)->note = QStringLiteral("2 from a");
        a->add(note("new, no identity yet", ""));
        a->merge(true);
        QVERIFY(a->plan.changes.isEmpty());
        QVERIFY(a->byCaption("new, no identity yet")->syncId.isEmpty());
        QCOMPARE(a->outcome.sent, 1);
        b->byId(id)->posx = 1;  // nothing that travels
        b->merge(true);
        QCOMPARE(b->byId(id)->note, QStringLiteral("1"));
        QVERIFY(b->plan.changes.isEmpty());
    }

    // Notes the table has no room for stay in the folder and are tried again later.
    void notesWithoutRoomStayInTheFolder()
    {
        for (int i = 0; i < 3; ++i)
            a->add(note(QStringLiteral("n%1").arg(i), ""));
        a->merge();
        b->room = 1;
        QCOMPARE(b->merge().received, 1);
        QCOMPARE(b->notes().size(), 1);
        QCOMPARE(namesIn(notes()).size(), 3);
        QVERIFY(namesIn(deleted()).isEmpty());
        b->room = 1001;
        QCOMPARE(b->merge().received, 2);
        QCOMPARE(texts(b->notes()), texts(a->notes()));
    }
};

QTEST_GUILESS_MAIN(TestSyncFolder)
#include "tst_syncfolder.moc"
