// Two whole controllers in one process sharing one sync folder, with no engine between them:
// what a note window takes from the folder, what a save or a deletion puts there, typing in
// progress, the preferences' "Sincronização" group, and what is reported once.
#include "app/NoteSync.h"
#include "app/ReceivedNotes.h"
#include "app/StickyNote.h"
#include "notes/ConfNota.h"
#include "notes/ControllerEvents.h"
#include "notes/PostIt.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "store/IniFile.h"
#include "support/DialogDriving.h"
#include "support/TestFiles.h"
#include "support/WaitUntil.h"
#include "support/StartedController.h"
#include "sync/SyncId.h"
#include "sync/SyncNoteFile.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <atomic>
#include <memory>

namespace {

QString programFolder()
{
    return qEnvironmentVariable("CORKVANE_BIN_DIR") + QLatin1Char('/');
}

QByteArray storeWith(const QString &folder, const QStringList &texts, bool hidden = false)
{
    QByteArray bytes = "[General]\r\nAskDelete=0\r\nNumStickies=" + QByteArray::number(texts.size()) + "\r\n";
    bytes += "[Sync]\r\nFolder=" + folder.toUtf8() + "\r\n";
    for (int i = 0; i < texts.size(); ++i)
        bytes += "[Stick" + QByteArray::number(i) + "]\r\ncaption=t" + QByteArray::number(i) + "\r\nnote="
                 + texts[i].toLatin1() + (hidden ? "\r\nvisible=0" : "") + "\r\n";
    return bytes;
}

TfPostIt *noteWithText(const TfStickyNote &c, const QString &text)
{
    TfPostIt *found = nullptr;
    c.noteTable().forEach([&](int, TfPostIt *n) {
        if (!found && n->text() == text)
            found = n;
    });
    return found;
}

TfPostIt *noteWithTitle(const TfStickyNote &c, const QString &title)
{
    TfPostIt *found = nullptr;
    c.noteTable().forEach([&](int, TfPostIt *n) {
        if (!found && n->title() == title)
            found = n;
    });
    return found;
}

int liveNotes(const TfStickyNote &c)
{
    int n = 0;
    c.noteTable().forEach([&](int, TfPostIt *) { ++n; });
    return n;
}

QStringList warnings()
{
    QStringList out;
    for (const auto &m : Dialogs::shownMessages())
        out << m.text;
    return out;
}

// The engine over plain notes, without windows: the test plays the user between the moment the
// merge reads the notes and the moment it hands them what arrived.
class FakeHost : public SyncHost
{
public:
    QList<std::optional<NoteData>> notes;
    quint64 generation = 1;
    std::atomic<int> saves{0};

    bool notesReady() const override { return true; }
    quint64 notesGeneration() const override { return generation; }
    QList<SyncLocalNote> localNotes() const override
    {
        QList<SyncLocalNote> out;
        for (int s = 0; s < notes.size(); ++s)
            if (notes[s])
                out.append({s, *notes[s]});
        return out;
    }
    std::optional<NoteData> noteAt(int slot) const override
    {
        return slot >= 0 && slot < notes.size() ? notes[slot] : std::nullopt;
    }
    bool hasSyncId(const QString &id) const override
    {
        return std::any_of(notes.cbegin(), notes.cend(), [&](const auto &n) { return n && n->syncId == id; });
    }
    bool assignSyncId(int slot, const QString &id) override
    {
        if (!noteAt(slot))
            return false;
        notes[slot]->syncId = id;
        return true;
    }
    bool applyToNote(int slot, const NoteData &note) override
    {
        if (!noteAt(slot))
            return false;
        notes[slot] = note;
        return true;
    }
    bool createNote(const NoteData &note) override
    {
        notes.append(note);
        return true;
    }
    bool trashNote(int slot) override
    {
        if (!noteAt(slot))
            return false;
        notes[slot].reset();
        return true;
    }
    std::function<QString()> prepareSave() override
    {
        return [this] {
            ++saves;
            return QString();
        };
    }
    void saveFinished(const QString &) override {}
    void report(const QString &) override {}
};

} // namespace

class TestSyncEngine : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;

    std::unique_ptr<TfStickyNote> computer(const QString &name, const QByteArray &store)
    {
        auto c = startedController(programFolder(), m_dir->filePath(name), store);
        if (c->noteSync()->engine().enabled())
            settle(*c);
        return c;
    }

    // Runs a merge on `c` and waits until it and any that queued behind it are through.
    static bool merge(TfStickyNote &c)
    {
        SyncEngine &engine = c.noteSync()->engine();
        QSignalSpy done(&engine, &SyncEngine::mergeFinished);
        engine.requestMerge();
        return waitUntil([&] { return done.count() > 0 && !engine.busy(); }, 20000);
    }

    static bool settle(TfStickyNote &c)
    {
        SyncEngine &engine = c.noteSync()->engine();
        return waitUntil([&] { return !engine.busy() && engine.lastOutcome().when.isValid(); }, 20000);
    }

    QString notePath(const QString &id) const { return m_folder + "/notes/" + id + ".cvn"; }

    static bool mergeDone(SyncEngine &engine, const std::function<void()> &whileItRuns = {})
    {
        QSignalSpy done(&engine, &SyncEngine::mergeFinished);
        engine.requestMerge();
        if (whileItRuns)
            whileItRuns();
        return waitUntil([&] { return done.count() > 0 && !engine.busy(); }, 20000);
    }

    void writeOtherComputersVersion(const QString &id, const QString &text)
    {
        NoteData n;
        n.note = text;
        TestFiles::writeAll(notePath(id), SyncNoteFile::toBytes(n, id, QDateTime::currentDateTimeUtc(), "elsewhere"));
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_folder = m_dir->filePath("Sync");
        QDir().mkpath(m_folder);
        Dialogs::setTestMode(true);
        Dialogs::resetAnswers();
        Dialogs::clearShownMessages();
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
        qputenv("XDG_RUNTIME_DIR", m_dir->filePath("run").toLocal8Bit());
        QDir().mkdir(m_dir->filePath("run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void cleanup() { Locale::overrideLocaleId(-1); }

    // A note travels, an edit comes back to the open window at once, positions stay put, and
    // the stores keep the identities and this installation's Device.
    void notesAndEditsReachTheOpenWindows()
    {
        auto a = computer("a", storeWith(m_folder, {"hello"}));
        auto b = computer("b", storeWith(m_folder, {}));
        QCOMPARE(b->noteSync()->engine().lastOutcome().received, 1);  // the merge at start
        TfPostIt *onB = noteWithText(*b, "hello");
        QVERIFY(onB);
        QVERIFY(onB->isVisible());
        const QString id = onB->syncId();
        QVERIFY(SyncId::isValid(id));
        QCOMPARE(noteWithText(*a, "hello")->syncId(), id);

        onB->move(321, 123);
        onB->setText(QStringLiteral("hello\r\nfrom b"));
        onB->setColor(0x00FF00);
        const QDateTime ring(QDate(2031, 2, 3), QTime(8, 30));
        onB->setAlarm(true);
        onB->setAlarmDateTime(ring);
        onB->setArmedIconShown(true);
        QVERIFY(b->saveStore().isEmpty());   // a save starts a merge
        QVERIFY(settle(*b));
        QVERIFY(waitUntil([&] {
            const auto file = SyncNoteFile::fromBytes(TestFiles::readAll(notePath(id)), QDateTime::currentDateTime());
            return file && file->note.note == QStringLiteral("hello\r\nfrom b");
        }));

        TfPostIt *onA = noteWithText(*a, "hello");
        const QPoint placeOnA = onA->pos();
        QVERIFY(merge(*a));
        QCOMPARE(onA->text(), QStringLiteral("hello\r\nfrom b"));
        QCOMPARE(onA->color(), ColourValue(0x00FF00));
        QVERIFY(onA->alarm());
        QVERIFY(onA->armedIconShown());
        QCOMPARE(onA->alarmDateTime(), ring);
        QCOMPARE(onA->pos(), placeOnA);

        // Hiding travels as well, and so does showing the note again.
        QVERIFY(onA->isVisible());
        QTest::mouseClick(onA->findChild<QPushButton *>(QStringLiteral("cmdEsconder")), Qt::LeftButton);
        QVERIFY(!onA->isVisible());
        QVERIFY(a->saveStore().isEmpty());
        QVERIFY(settle(*a));
        QVERIFY(merge(*a));
        QVERIFY(merge(*b));
        QVERIFY(!onB->isVisible());
        onB->show();
        QVERIFY(b->saveStore().isEmpty());
        QVERIFY(settle(*b));
        QVERIFY(merge(*b));
        QVERIFY(merge(*a));
        QVERIFY(onA->isVisible());
        QCOMPARE(onA->pos(), placeOnA);

        // The merge saved the store: the identity ends the note's section; [Sync] has Device.
        const IniFile stored = IniFile::fromFile(a->storePath());
        QCOMPARE(stored.readString("Stick0", "SyncId"), id);
        QCOMPARE(stored.keys("Stick0").last(), QStringLiteral("SyncId"));
        QVERIFY(SyncId::isValid(stored.readString("Sync", "Device")));
        QCOMPARE(stored.readString("Sync", "Folder"), m_folder);
        QVERIFY(stored.readString("Sync", "Device") != IniFile::fromFile(b->storePath()).readString("Sync", "Device"));
    }

    // The user types while the merge is on the worker: the folder's version, decided on from the
    // notes as they were, is not put over the typing; the next merge keeps both.
    void typingDuringAMergeIsNotOverwritten()
    {
        FakeHost host;
        NoteData mine;
        mine.note = QStringLiteral("v1");
        host.notes.append(mine);
        SyncEngine engine(host);
        engine.configure(m_folder, "device-here", m_dir->filePath("state.cvf"));
        QVERIFY(mergeDone(engine));
        const QString id = host.notes[0]->syncId;
        writeOtherComputersVersion(id, QStringLiteral("v2 from elsewhere"));
        QVERIFY(mergeDone(engine, [&] { host.notes[0]->note = QStringLiteral("v1 and typing"); }));
        QCOMPARE(host.notes[0]->note, QStringLiteral("v1 and typing"));
        QCOMPARE(engine.lastOutcome().received, 0);
        QVERIFY(mergeDone(engine));
        QCOMPARE(host.notes[0]->note, QStringLiteral("v1 and typing"));
        QCOMPARE(host.notes.size(), 2);
        QCOMPARE(host.notes[1]->note, QStringLiteral("v2 from elsewhere"));
        QVERIFY(host.notes[1]->caption.endsWith(QStringLiteral(" (conflito)")));
        QCOMPARE(engine.lastOutcome().conflicts, 1);
    }

    // The notes are let go and read again while a merge runs (a language switch): what it
    // decided for the old windows is not carried out; the next merge brings it.
    void notesReadAgainDuringAMergeAreLeftAlone()
    {
        FakeHost host;
        SyncEngine engine(host);
        engine.configure(m_folder, "device-here", m_dir->filePath("state.cvf"));
        QVERIFY(mergeDone(engine));
        const QString id = SyncId::create();
        writeOtherComputersVersion(id, QStringLiteral("new elsewhere"));
        QVERIFY(mergeDone(engine, [&] { ++host.generation; }));
        QVERIFY(host.notes.isEmpty());
        QCOMPARE(host.saves.load(), 0);
        QVERIFY(mergeDone(engine));
        QCOMPARE(host.notes.size(), 1);
        QCOMPARE(host.notes[0]->syncId, id);
        QCOMPARE(host.saves.load(), 1);
    }

    // A note being typed in is a change here: the folder's version does not overwrite the
    // typing but is kept beside it.
    void typingInProgressIsKept()
    {
        auto a = computer("a", storeWith(m_folder, {"shared"}));
        auto b = computer("b", storeWith(m_folder, {}));
        QVERIFY(merge(*b));
        TfPostIt *onA = noteWithText(*a, "shared");
        TfPostIt *onB = noteWithText(*b, "shared");
        QVERIFY(onA && onB);
        onA->setText(QStringLiteral("changed on a"));
        QVERIFY(a->saveStore().isEmpty());
        QVERIFY(settle(*a));

        auto *edit = onB->findChild<QPlainTextEdit *>("memPostit");
        onB->show();
        edit->setFocus();
        edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(edit, " typing");
        QVERIFY(merge(*b));
        QCOMPARE(onB->text(), QStringLiteral("shared typing"));
        TfPostIt *copy = noteWithTitle(*b, onB->title() + " (conflito)");
        QVERIFY(copy);
        QCOMPARE(copy->text(), QStringLiteral("changed on a"));

        QVERIFY(merge(*a));
        QCOMPARE(onA->text(), QStringLiteral("shared typing"));
        QVERIFY(noteWithTitle(*a, onA->title() + " (conflito)"));
        QCOMPARE(liveNotes(*a), 2);
        QCOMPARE(liveNotes(*b), 2);
    }

    // A note deleted on one computer leaves the other.
    void aDeletionLeavesTheOtherComputer()
    {
        auto a = computer("a", storeWith(m_folder, {"keep", "drop"}));
        auto b = computer("b", storeWith(m_folder, {}));
        QVERIFY(merge(*b));
        QCOMPARE(liveNotes(*b), 2);
        TfPostIt *drop = noteWithText(*a, "drop");
        const QString id = drop->syncId();
        QCoreApplication::postEvent(a.get(), new DeleteNoteRequest(drop->Tag()));
        QVERIFY(waitUntil([&] { return QFileInfo::exists(m_folder + "/deleted/" + id); }));
        QVERIFY(settle(*a));
        QVERIFY(!QFileInfo::exists(notePath(id)));
        QVERIFY(merge(*b));
        QVERIFY(!noteWithText(*b, "drop"));
        QVERIFY(noteWithText(*b, "keep"));
        QVERIFY(!IniFile::fromFile(b->storePath()).toBytes().contains(id.toLatin1()));
    }

    // The table's 1001 slots hold: what has no room stays in the folder, reported once; so is
    // a file that cannot be read.
    void whatCannotBeTakenIsReportedOnce()
    {
        QStringList many;
        for (int i = 0; i < 1000; ++i)
            many << QStringLiteral("h%1").arg(i);
        auto b = computer("b", storeWith(m_folder, many, true));
        for (const char *text : {"x1", "x2", "x3"}) {
            NoteData n;
            n.note = QString::fromLatin1(text);
            const QString id = SyncId::create();
            TestFiles::writeAll(notePath(id), SyncNoteFile::toBytes(n, id, QDateTime::currentDateTimeUtc(), "a"));
        }
        TestFiles::writeAll(notePath(SyncId::create()), "this is no note");
        Dialogs::clearShownMessages();
        QVERIFY(merge(*b));
        QVERIFY(merge(*b));
        QVERIFY(waitUntil([] { return Dialogs::shownMessages().size() >= 2; }));
        QTest::qWait(50);
        const QStringList shown = warnings();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.filter("1001").size(), 1);
        QCOMPARE(shown.filter("não puderam ser lidos").size(), 1);
        QCOMPARE(b->noteTable().count(), 1001);
        QCOMPARE(QDir(m_folder + "/notes").entryList(QDir::Files).size(), 1000 + 4);
    }

    // A note received over the network goes to the folder at once, not at the next rescan.
    void aReceivedNoteIsMergedAtOnce()
    {
        auto a = computer("a", storeWith(m_folder, {"mine"}));
        QVERIFY(settle(*a));
        SyncEngine &engine = a->noteSync()->engine();
        QVERIFY(!engine.busy());
        ReceivedNotes receiver(*a);
        const int slot = receiver.createReceivedNote();
        QVERIFY(slot >= 0);
        receiver.appendLine(slot, QStringLiteral("from the network"));
        receiver.finishNote(slot);
        QVERIFY(engine.busy());
        QVERIFY(waitUntil([&] { return !engine.busy(); }, 20000));
        const QString id = a->note(slot)->syncId();
        QVERIFY(SyncId::isValid(id));
        const auto file = SyncNoteFile::fromBytes(TestFiles::readAll(notePath(id)), QDateTime::currentDateTime());
        QVERIFY(file);
        QCOMPARE(file->note.note, QStringLiteral("from the network"));
    }

    // The preferences show the folder and the last merge, and OK starts syncing at once.
    void preferencesTurnSyncOn()
    {
        auto a = computer("a", storeWith(QString(), {"first"}));
        QVERIFY(!a->noteSync()->engine().enabled());
        QString statusShown;
        whenModal<TfrmConfNota>([&](TfrmConfNota *d) {
            statusShown = child<QLabel>(d, "lblUltimaSincronizacao")->text();
            Dialogs::setNextFileName(m_folder);
            click(d, "cmdPastaSincronizacao");
            QCOMPARE(child<QLineEdit>(d, "txtPastaSincronizacao")->text(), m_folder);
            click(d, "cmdOK");
        });
        a->openPreferences();
        QCOMPARE(statusShown, QStringLiteral("Sincronização desligada."));
        QVERIFY(a->noteSync()->engine().enabled());
        QVERIFY(settle(*a));
        QCOMPARE(QDir(m_folder + "/notes").entryList(QDir::Files).size(), 1);
        QVERIFY(SyncId::isValid(a->settings().recSync.Device));

        whenModal<TfrmConfNota>([&](TfrmConfNota *d) {
            statusShown = child<QLabel>(d, "lblUltimaSincronizacao")->text();
            click(d, "cmdCancelar");
        });
        a->openPreferences();
        QVERIFY2(statusShown.startsWith(QString::fromUtf8("Última sincronização: ")), qPrintable(statusShown));
        QVERIFY2(statusShown.endsWith(QStringLiteral("1 enviada")), qPrintable(statusShown));

        // Quiet merges minutes later keep that line and say sync is still alive.
        MockClock clock(QDateTime::currentDateTime().addSecs(600));
        QVERIFY(mergeDone(a->noteSync()->engine()));
        whenModal<TfrmConfNota>([&](TfrmConfNota *d) {
            statusShown = child<QLabel>(d, "lblUltimaSincronizacao")->text();
            click(d, "cmdCancelar");
        });
        a->openPreferences();
        const QString quietUntil = clock.current().toString(QStringLiteral("HH:mm"));
        QVERIFY2(statusShown.contains(QStringLiteral("1 enviada; nada novo até ")), qPrintable(statusShown));
        QVERIFY2(statusShown.endsWith(quietUntil), qPrintable(statusShown));
    }
};

QTEST_MAIN(TestSyncEngine)
#include "tst_syncengine.moc"
