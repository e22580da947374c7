#pragma once
// One merge of the notes here with the sync folder, in the two halves that run off the GUI
// thread: plan() reads the folder and the state, decides for every SyncId (SyncDecision),
// does the folder's side of the work (writes, tombstones, removals) and returns what the notes
// here must take; commit() records, once the GUI has applied that and the store is saved,
// the versions both sides now hold. One merger serves one folder for the whole run; its
// caches spare the reading and hashing of files and notes that did not change.
#include "store/NoteData.h"
#include "store/NoteStore.h"
#include "sync/SyncNoteFile.h"
#include "sync/SyncState.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

struct SyncLocalNote
{
    int slot = -1;
    NoteData data;   // data.syncId may be empty (a note never synced) or not a valid identity
};

struct SyncRequest
{
    QString folder;
    QString device;
    QString statePath;
    QDateTime now;
    QList<SyncLocalNote> locals;
    // At exit: only what goes from here to the folder; nothing here changes.
    bool pushOnly = false;
};

struct SyncLocalChange
{
    enum class Kind {
        AssignId,   // the note in `slot` takes `syncId`
        Apply,      // the note in `slot`, still as `expected`, takes the fields of `incoming`
        Create,     // a new note from `incoming` with `syncId`
        Trash,      // the note in `slot`, still as `expected`, goes to the trash
    };
    Kind kind = Kind::AssignId;
    int slot = -1;
    QString syncId{};
    NoteData expected{};
    NoteData incoming{};
    QByteArray hash{};        // Apply, Create: the version recorded once the note here has it
    bool conflictCopy = false;
};

struct SyncPlan
{
    QList<SyncLocalChange> changes;
    int sent = 0;
    int conflicts = 0;
    int tombstonesWritten = 0;
    QStringList unreadable;   // files that cannot be read, by path
    QString failure;          // the folder could not be used at all
    bool retrySoon = false;   // a file the engine is still moving into place
    bool stateChanged = false;
};

class SyncMerger
{
public:
    // How long a conflict file of the engine may stand without its note's file before it is
    // taken on its own: the engine moves the two into place one after the other.
    static constexpr qint64 kConflictSettleSecs = 60;
    // The title mark of a kept copy. It is part of the note that travels, so it is the same
    // text whatever the language of the interface: two computers that settle one collision
    // must make the very same copy.
    static QString conflictMark() { return QStringLiteral(" (conflito)"); }

    SyncPlan plan(const SyncRequest &request);
    // `done[i]` tells whether the GUI carried out plan.changes[i]; `storeSaved` whether the
    // store holds the outcome. Returns the merge's outcome. `shown` receives what the status
    // line tells, also kept in the state file: the last merge that carried something, failed,
    // or was the first.
    SyncOutcome commit(const SyncPlan &plan, const QList<bool> &done, bool storeSaved, const QDateTime &now,
                       SyncOutcome *shown = nullptr);
    // Reads the state file (when not read yet) to tell what the last merge of an earlier run did.
    SyncOutcome storedOutcome(const QString &statePath, const QString &folder, const QString &device);

private:
    struct FolderNote
    {
        NoteStore::FileStamp stamp;
        bool readable = false;
        SyncNoteFile::Content content;
        QByteArray hash;
    };
    struct Tombstone
    {
        NoteStore::FileStamp stamp;
        QDateTime moment;
    };
    struct LocalHash
    {
        NoteData data;
        QByteArray hash;
    };

    void useState(const QString &statePath, const QString &folder, const QString &device);
    const FolderNote &readNote(const QString &path, const QDateTime &now);
    QDateTime readTombstone(const QString &path);
    QByteArray localHash(const QString &key, const NoteData &data);
    bool saveState(QString *error);

    QString m_statePath;
    bool m_stateLoaded = false;
    SyncState m_state;
    QHash<QString, FolderNote> m_files;          // by path
    QHash<QString, Tombstone> m_tombstones;      // by path
    QHash<QString, LocalHash> m_localHashes;     // by SyncId
    QHash<QString, QDateTime> m_conflictSeen;    // engine conflict files, by path: first seen
};
