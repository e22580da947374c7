// Sync end to end with the real engine: two Syncthing instances from Debian, each in a network
// namespace of its own joined by a veth pair, sharing one folder; two headless Corkvane
// programs, one per namespace, each pointed at its side of the folder. The programs are driven
// only as a user and a peer can: a note sent on port 7801, their stores edited between runs.
#include "platform/Paths.h"
#include "store/IniFile.h"
#include "store/NoteStore.h"
#include "store/NoteTrash.h"
#include "support/ProgramRun.h"
#include "sync/SyncNoteFile.h"
#include "SyncEnv.h"
#include "SyncthingPeer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>
#include <optional>

namespace {

constexpr int kStepMs = 30000;

QList<NoteData> notesOf(const ProgramRun &run)
{
    return NoteStore::load(run.storePath(), QDateTime::currentDateTime(), Paths::loginName(), ProgramRun::binFolder()).notes;
}

std::optional<NoteData> withText(const QList<NoteData> &notes, const QString &text)
{
    for (const NoteData &n : notes)
        if (n.note == text)
            return n;
    return std::nullopt;
}

// Waits for `done`, looking every 200 ms; the time it took, or -1 after `ms`.
qint64 within(const std::function<bool()> &done, int ms = kStepMs)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return -1;
        QTest::qWait(200);
    }
    return t.elapsed();
}

QByteArray storeFor(const QString &folder, bool listens)
{
    QByteArray bytes = "[General]\r\nNumStickies=0\r\nAskDelete=0\r\nUseSounds=0\r\n";
    if (listens)
        bytes += "[Network]\r\nEnabled=1\r\nPortTCP=7801\r\n";
    bytes += "[Sync]\r\nFolder=" + folder.toUtf8() + "\r\n";
    return bytes;
}

QStringList conflictFilesIn(const QString &folder)
{
    return QDir(folder + QStringLiteral("/notes")).entryList({QStringLiteral("*.sync-conflict-*")}, QDir::Files);
}

} // namespace

class TestSyncE2E : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_folderA, m_folderB;
    std::unique_ptr<SyncthingPeer> m_engineA, m_engineB;
    std::unique_ptr<ProgramRun> m_a, m_b;
    QString m_id;   // the note the steps follow

    std::unique_ptr<ProgramRun> program(char computer, const QString &folder)
    {
        auto run = std::make_unique<ProgramRun>();
        run->launcher = {QStringLiteral("ip"), QStringLiteral("netns"), QStringLiteral("exec"), syncenv::nameSpace(computer)};
        run->writeStore(storeFor(folder, computer == 'a'));
        return run;
    }

    // The note `id` of a stopped program's store takes `text`.
    static bool editStored(const ProgramRun &run, const QString &id, const QString &text)
    {
        IniFile ini = IniFile::fromFile(run.storePath());
        const int count = ini.readInteger(QStringLiteral("General"), QStringLiteral("NumStickies"), 0);
        for (int n = 0; n < count; ++n) {
            const QString section = NoteStore::sectionName(n);
            if (ini.readString(section, QStringLiteral("SyncId")) == id) {
                ini.writeString(section, QStringLiteral("note"), text);
                return ini.saveToFile(run.storePath());
            }
        }
        return false;
    }

    static QString folderText(const QString &folder, const QString &id)
    {
        QFile f(folder + QStringLiteral("/notes/") + id + QStringLiteral(".cvn"));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        const auto content = SyncNoteFile::fromBytes(f.readAll(), QDateTime::currentDateTime());
        return content ? content->note.note : QString();
    }

    void report(const char *step, qint64 ms)
    {
        qInfo("%s: %lld ms", step, ms);
        if (ms >= 0)
            return;
        // What each side holds, to tell where it stopped.
        for (const auto &[name, folder, run] : {std::tuple{"a", m_folderA, m_a.get()}, std::tuple{"b", m_folderB, m_b.get()}}) {
            for (const QString &file : QDir(folder + "/notes").entryList(QDir::Files | QDir::Hidden))
                qInfo("folder %s: notes/%s", name, qPrintable(file));
            for (const QString &file : QDir(folder + "/deleted").entryList(QDir::Files | QDir::Hidden))
                qInfo("folder %s: deleted/%s", name, qPrintable(file));
            if (run)
                for (const NoteData &n : notesOf(*run))
                    qInfo("store %s: %s \"%s\" \"%s\"", name, qPrintable(n.syncId), qPrintable(n.caption), qPrintable(n.note));
        }
        qInfo("engine a:\n%s", qPrintable(m_engineA->log()));
        qInfo("engine b:\n%s", qPrintable(m_engineB->log()));
    }

private slots:
    void initTestCase()
    {
        if (!syncenv::skipReason().isEmpty())
            QSKIP(qPrintable(QStringLiteral("no private network for Syncthing: ") + syncenv::skipReason()));
        QVERIFY2(QFile::exists(ProgramRun::binFolder() + QStringLiteral("corkvane")), "build the corkvane target first");
        m_folderA = m_dir.filePath(QStringLiteral("a-Sync"));
        m_folderB = m_dir.filePath(QStringLiteral("b-Sync"));
        QVERIFY(QDir().mkpath(m_folderA) && QDir().mkpath(m_folderB));
        m_engineA = std::make_unique<SyncthingPeer>(m_dir.filePath("a-syncthing"), syncenv::nameSpace('a'), syncenv::address('a'));
        m_engineB = std::make_unique<SyncthingPeer>(m_dir.filePath("b-syncthing"), syncenv::nameSpace('b'), syncenv::address('b'));
        QString error;
        QVERIFY2(m_engineA->generate(&error), qPrintable(error));
        QVERIFY2(m_engineB->generate(&error), qPrintable(error));
        const QList<SyncthingPeer::Device> devices{{m_engineA->deviceId(), "a", syncenv::address('a')},
                                                   {m_engineB->deviceId(), "b", syncenv::address('b')}};
        QVERIFY2(m_engineA->configure(m_folderA, devices, true, &error), qPrintable(error));
        QVERIFY2(m_engineB->configure(m_folderB, devices, false, &error), qPrintable(error));
        QVERIFY(m_engineA->start() && m_engineB->start());
        // The engines are up and joined once a file crosses.
        TestFiles::writeAll(m_folderA + "/probe", "x");
        const qint64 joined = within([&] { return QFileInfo::exists(m_folderB + "/probe"); }, 60000);
        report("engines joined", joined);
        QVERIFY(joined >= 0);
        QFile::remove(m_folderA + "/probe");

        m_a = program('a', m_folderA);
        m_b = program('b', m_folderB);
        QVERIFY(m_a->start());
        QVERIFY(m_b->start());
    }

    void cleanupTestCase()
    {
        for (ProgramRun *run : {m_a.get(), m_b.get()})
            if (run)
                run->terminate();
        m_engineA.reset();
        m_engineB.reset();
    }

    // A note sent to A over the note protocol appears on B.
    void aNoteMadeOnAAppearsOnB()
    {
        const QByteArray C("\xA2", 1);
        const QByteArray note = "new" + C + "peer" + C + "Vinda da rede" + C + "8454143" + C + "175" + C + "120" + C
                                + "8454143" + C + "Arial" + C + "10" + C + "0" + C + "nobold" + C + "noitalic\r\n\r\n"
                                + "line" + C + "made on A\r\n\r\n" + "end" + C + "\r\n\r\n";
        QProcess peer;
        peer.start(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("exec"), syncenv::nameSpace('a'),
                                          QStringLiteral("/usr/bin/python3"), QStringLiteral("-c"),
                                          QStringLiteral("import socket,sys,time\n"
                                                         "s=socket.create_connection(('127.0.0.1',7801),10)\n"
                                                         "s.recv(64)\n"
                                                         "for c in sys.stdin.buffer.read().split(b'\\r\\n\\r\\n')[:-1]:\n"
                                                         "    s.sendall(c+b'\\r\\n\\r\\n'); time.sleep(0.05)\n"
                                                         "time.sleep(0.5); s.close()\n")});
        QVERIFY(peer.waitForStarted(10000));
        peer.write(note);
        peer.closeWriteChannel();
        QVERIFY(peer.waitForFinished(20000));
        QCOMPARE(peer.exitCode(), 0);
        const qint64 ms = within([&] { return withText(notesOf(*m_b), "made on A").has_value(); });
        report("a note made on A appears on B", ms);
        QVERIFY(ms >= 0);
        m_id = withText(notesOf(*m_b), "made on A")->syncId;
        QVERIFY(!m_id.isEmpty());
    }

    // B's user edits the note (between runs); the edit reaches A, which is running.
    void anEditOnBReachesA()
    {
        QVERIFY(!m_id.isEmpty());
        QCOMPARE(m_b->terminate(), 0);
        QVERIFY(editStored(*m_b, m_id, QStringLiteral("edited on B")));
        QVERIFY(m_b->start());
        const qint64 ms = within([&] {
            const std::optional<NoteData> n = withText(notesOf(*m_a), "edited on B");
            return n && n->syncId == m_id;
        });
        report("an edit on B reaches A", ms);
        QVERIFY(ms >= 0);
    }

    // The same note edited on both computers while their engines were stopped: both texts end
    // up on both, the losing one as a copy.
    void editsOnBothSidesKeepBothTexts()
    {
        QVERIFY(!m_id.isEmpty());
        m_engineA->stop();
        m_engineB->stop();
        QCOMPARE(m_a->terminate(), 0);
        QCOMPARE(m_b->terminate(), 0);
        QVERIFY(editStored(*m_a, m_id, QStringLiteral("version A")));
        QVERIFY(editStored(*m_b, m_id, QStringLiteral("version B")));
        QVERIFY(m_a->start());
        QVERIFY(m_b->start());
        // Each program has put its own edit into its side of the folder.
        QVERIFY(within([&] { return folderText(m_folderA, m_id) == "version A" && folderText(m_folderB, m_id) == "version B"; }) >= 0);
        QVERIFY(m_engineA->start() && m_engineB->start());
        const auto bothTexts = [](const QList<NoteData> &notes) {
            return withText(notes, "version A").has_value() && withText(notes, "version B").has_value();
        };
        const qint64 ms = within([&] {
            return bothTexts(notesOf(*m_a)) && bothTexts(notesOf(*m_b)) && conflictFilesIn(m_folderA).isEmpty()
                   && conflictFilesIn(m_folderB).isEmpty();
        });
        report("edits on both sides end with both texts on both", ms);
        QVERIFY(ms >= 0);
        for (const ProgramRun *run : {m_a.get(), m_b.get()}) {
            const QList<NoteData> notes = notesOf(*run);
            QCOMPARE(notes.size(), 2);
            const NoteData *original = nullptr;
            const NoteData *copy = nullptr;
            for (const NoteData &n : notes)
                (n.syncId == m_id ? original : copy) = &n;
            QVERIFY(original && copy);
            QVERIFY(copy->caption.endsWith(QStringLiteral(" (conflito)")));
        }
    }

    // A's user deletes the note (between runs): it leaves B.
    void aNoteDeletedOnALeavesB()
    {
        QVERIFY(!m_id.isEmpty());
        QCOMPARE(m_a->terminate(), 0);
        LoadedStore stored = NoteStore::load(m_a->storePath(), QDateTime::currentDateTime(), Paths::loginName(),
                                             ProgramRun::binFolder());
        const qsizetype before = stored.notes.size();
        stored.notes.removeIf([&](const NoteData &n) { return n.syncId == m_id; });
        QCOMPARE(stored.notes.size(), before - 1);
        QVERIFY(NoteStore::save(m_a->storePath(), stored.settings, stored.notes, true));
        QVERIFY(m_a->start());
        const qint64 ms = within([&] {
            const QList<NoteData> notes = notesOf(*m_b);
            return notes.size() == before - 1
                   && std::none_of(notes.cbegin(), notes.cend(), [&](const NoteData &n) { return n.syncId == m_id; });
        });
        report("a note deleted on A leaves B", ms);
        QVERIFY(ms >= 0);
        QVERIFY(QFileInfo::exists(m_folderB + "/deleted/" + m_id));
        // B keeps the note it lost in its own trash, where its user can bring it back.
        const QList<TrashEntry> trashed = NoteTrash(NoteTrash::besideStore(m_b->storePath())).entries(QDateTime::currentDateTime());
        QVERIFY(std::any_of(trashed.cbegin(), trashed.cend(), [&](const TrashEntry &e) { return e.note.syncId == m_id; }));
    }
};

int main(int argc, char **argv)
{
    syncenv::enter(argc, argv);
    QApplication app(argc, argv);
    TestSyncE2E t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_sync_e2e.moc"
