#pragma once
// Keeps the notes here merged with the sync folder for the whole run: at start, after every
// save of the store, whenever the folder changes (QFileSystemWatcher, and a rescan every 10 s
// for folders whose change notices do not arrive) and after a note is deleted. A merge asked
// for while one runs is queued, and runs once when it ends.
//
// A merge has three steps. On the GUI thread the notes are read (SyncHost::localNotes); on a
// worker thread the folder is read, compared and written (SyncMerger::plan); back on the GUI
// thread, in slices of a few milliseconds, the notes here take what the folder brought; on the
// worker again the store is saved and the versions now shared are recorded (SyncMerger::commit).
// Every change to a note is checked against the note as it is by then: a note changed in
// between (typing in progress) is left alone, and the next merge sees it as changed here.
#include "store/NoteData.h"
#include "sync/SyncMerger.h"
#include "sync/SyncState.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class QFileSystemWatcher;

// What the merge needs of the program's notes. Implemented by the controller.
class SyncHost
{
public:
    virtual ~SyncHost() = default;
    // False while the notes in memory are not the user's (before the load, during a language
    // switch, at exit): no merge may read them then.
    virtual bool notesReady() const = 0;
    // Changes whenever the notes in memory are let go and read again.
    virtual quint64 notesGeneration() const = 0;
    virtual QList<SyncLocalNote> localNotes() const = 0;
    virtual std::optional<NoteData> noteAt(int slot) const = 0;
    virtual bool hasSyncId(const QString &syncId) const = 0;
    virtual bool assignSyncId(int slot, const QString &syncId) = 0;
    // The note in `slot` takes `note` (travelling fields merged with its own local ones).
    virtual bool applyToNote(int slot, const NoteData &note) = 0;
    // A new note; false when the note table has no room left in this run.
    virtual bool createNote(const NoteData &note) = 0;
    // The note in `slot` goes to this computer's trash and leaves the desktop.
    virtual bool trashNote(int slot) = 0;
    // A save of the store whose writing runs on the merge's worker: what to write is read when
    // this is called (GUI thread); the call returned writes it and gives the failure's text,
    // empty on success. saveFinished() then gets that text on the GUI thread.
    virtual std::function<QString()> prepareSave() = 0;
    virtual void saveFinished(const QString &error) = 0;
    // Shows a message to the user (not from inside the merge's own step).
    virtual void report(const QString &text) = 0;
};

class SyncEngine : public QObject
{
    Q_OBJECT

public:
    static constexpr int kRescanMs = 10000;
    static constexpr int kSliceMs = 8;

    explicit SyncEngine(SyncHost &host, QObject *parent = nullptr);
    ~SyncEngine() override;

    // `folder` empty switches sync off. `statePath` is sync-state.cvf beside the store.
    void configure(const QString &folder, const QString &device, const QString &statePath);
    bool enabled() const { return !m_folder.isEmpty(); }
    QString folder() const { return m_folder; }

    // Asks for a merge: now when none runs, else once the running one ends.
    void requestMerge();
    // The store was saved: a merge follows.
    void storeSaved();
    // No merge starts from now on (the program is ending); pushBeforeExit still runs.
    void stop() { m_stopping = true; }
    // At exit, on the GUI thread and waiting for it: what changed here goes to the folder.
    // Nothing here changes and nothing is asked of the notes but their contents.
    void pushBeforeExit();

    bool busy() const { return m_phase != Phase::Idle; }
    // What the last merge did.
    SyncOutcome lastOutcome() const { return m_outcome; }
    // What the status line tells: the last merge that carried something (or failed).
    SyncOutcome shownOutcome() const { return m_shown; }
    // "Última sincronização: 14:02 — 2 recebidas, 1 enviada, 1 conflito", or why there was none;
    // when quiet merges ran after it, "; nada novo até 14:30" tells that sync is still alive.
    QString statusText() const;
    static QString describe(const SyncOutcome &outcome, const QDateTime &now, const QDateTime &quietUntil = {});

signals:
    void mergeFinished(const SyncOutcome &outcome);

private:
    enum class Phase { Idle, Planning, Applying, Committing };

    void startMerge();
    void planned(const SyncPlan &plan, quint64 generation);
    void applySlice();
    void finishApplying();
    void committed(const SyncOutcome &outcome, const SyncOutcome &shown);
    // A merge of the folder in use with the notes here as they are now.
    SyncRequest requestForNotesHere() const;
    // True, with a new merge asked for, when `merger` is not the one in use any more.
    bool restartIfStale(const std::shared_ptr<SyncMerger> &merger);
    // Watches the folder and those of its subfolders that exist; true when one was not watched yet.
    bool watchFolder();
    void reportOnce(const SyncPlan &plan);
    bool carryOut(const SyncLocalChange &change);

    SyncHost &m_host;
    QString m_folder;
    QString m_device;
    QString m_statePath;
    std::shared_ptr<SyncMerger> m_merger;
    QThreadPool m_pool;
    QTimer m_rescan;
    QTimer m_soon;
    QFileSystemWatcher *m_watcher = nullptr;

    Phase m_phase = Phase::Idle;
    bool m_pending = false;
    bool m_stopping = false;
    quint64 m_generation = 0;
    SyncPlan m_plan;
    QList<bool> m_done;
    qsizetype m_next = 0;
    bool m_localChanged = false;
    SyncOutcome m_outcome;
    SyncOutcome m_shown;

    QSet<QString> m_reportedUnreadable;
    QSet<QString> m_reportedNoRoom;
    QStringList m_noRoomNow;
};
