#include "sync/SyncMerger.h"

#include "sync/SyncDecision.h"
#include "sync/SyncFolder.h"
#include "sync/SyncId.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <optional>

using SyncDecision::Action;

namespace {

struct LocalEntry
{
    int slot = -1;
    NoteData data;
    QByteArray hash;
};

// One folder write and what follows from it once it is on disk.
struct PendingWrite
{
    QString id;
    QString path;
    QByteArray bytes;
    QByteArray hash;      // the version it puts into the folder
    enum class Role { Copy, Main, Tombstone } role = Role::Main;
};

} // namespace

void SyncMerger::useState(const QString &statePath, const QString &folder, const QString &device)
{
    if (m_stateLoaded && m_statePath == statePath && m_state.belongsTo(folder, device))
        return;
    m_statePath = statePath;
    m_stateLoaded = true;
    SyncState loaded = SyncState::load(statePath);
    if (!loaded.belongsTo(folder, device)) {
        // Hashes made for another folder or installation say nothing about this one.
        const SyncOutcome last = loaded.device == device ? loaded.last : SyncOutcome();
        loaded = SyncState();
        loaded.folder = QDir::cleanPath(folder);
        loaded.device = device;
        loaded.last = last;
    }
    m_state = std::move(loaded);
    m_files.clear();
    m_tombstones.clear();
    m_conflictSeen.clear();
}

SyncOutcome SyncMerger::storedOutcome(const QString &statePath, const QString &folder, const QString &device)
{
    useState(statePath, folder, device);
    return m_state.last;
}

const SyncMerger::FolderNote &SyncMerger::readNote(const QString &path, const QDateTime &now)
{
    const NoteStore::FileStamp stamp = NoteStore::FileStamp::of(path);
    auto it = m_files.find(path);
    if (it != m_files.end() && it->stamp == stamp && stamp.exists)
        return *it;
    FolderNote entry;
    entry.stamp = stamp;
    QByteArray bytes;
    if (SyncFolder::readFile(path, &bytes) == SyncFolder::Read::Ok) {
        if (std::optional<SyncNoteFile::Content> content = SyncNoteFile::fromBytes(bytes, now)) {
            entry.readable = true;
            entry.content = std::move(*content);
            entry.hash = SyncNoteFile::hash(entry.content.note);
        }
    }
    return *m_files.insert(path, std::move(entry));
}

QDateTime SyncMerger::readTombstone(const QString &path)
{
    const NoteStore::FileStamp stamp = NoteStore::FileStamp::of(path);
    auto it = m_tombstones.find(path);
    if (it != m_tombstones.end() && it->stamp == stamp && stamp.exists)
        return it->moment;
    QByteArray bytes;
    SyncFolder::readFile(path, &bytes);
    Tombstone t{stamp, SyncFolder::tombstoneMoment(bytes, path)};
    m_tombstones.insert(path, t);
    return t.moment;
}

QByteArray SyncMerger::localHash(const QString &key, const NoteData &data)
{
    auto it = m_localHashes.find(key);
    if (it != m_localHashes.end() && it->data == data)
        return it->hash;
    const QByteArray h = SyncNoteFile::hash(data);
    m_localHashes.insert(key, LocalHash{data, h});
    return h;
}

SyncPlan SyncMerger::plan(const SyncRequest &request)
{
    SyncPlan out;
    const QDateTime nowUtc = request.now.toUTC();
    useState(request.statePath, request.folder, request.device);

    const SyncFolder folder(request.folder);
    if (!folder.prepare(&out.failure)) {
        if (out.failure.isEmpty())
            out.failure = QDir::toNativeSeparators(request.folder);
        return out;
    }
    const SyncFolder::Listing listing = folder.list(nowUtc);
    for (const QString &leftover : listing.staleTemporaries)
        SyncFolder::removeFile(leftover);

    // --- the folder's notes -------------------------------------------------------------
    // Copies, not references into the cache: the cache grows while the merge reads on.
    QHash<QString, FolderNote> mains;
    QSet<QString> livePaths;
    for (const QString &id : listing.notes) {
        const QString path = folder.notePath(id);
        livePaths.insert(path);
        const FolderNote &note = readNote(path, request.now);
        mains.insert(id, note);
        if (!note.readable)
            out.unreadable << path;
    }

    // --- tombstones -----------------------------------------------------------------------
    QHash<QString, QDateTime> tombstones;
    for (const QString &id : listing.tombstones) {
        const QString path = folder.tombstonePath(id);
        const QDateTime moment = readTombstone(path);
        if (SyncFolder::tombstoneExpired(moment, nowUtc)) {
            SyncFolder::removeFile(path);
            m_tombstones.remove(path);
            continue;
        }
        livePaths.insert(path);
        tombstones.insert(id, moment);
    }
    // Two computers deleted the same note while apart: one tombstone is enough.
    for (const SyncFolder::EngineConflict &c : listing.tombstoneConflicts) {
        const QString path = folder.deletedFolder() + QLatin1Char('/') + c.fileName;
        if (tombstones.contains(c.syncId) || listing.tombstones.contains(c.syncId)) {
            SyncFolder::removeFile(path);
        } else if (::rename(QFile::encodeName(path).constData(),
                            QFile::encodeName(folder.tombstonePath(c.syncId)).constData()) == 0) {
            tombstones.insert(c.syncId, readTombstone(folder.tombstonePath(c.syncId)));
        }
    }

    // --- the notes here -------------------------------------------------------------------
    QHash<QString, LocalEntry> locals;
    QList<LocalEntry> unidentified;
    for (const SyncLocalNote &note : request.locals) {
        const QString &id = note.data.syncId;
        if (SyncId::isValid(id) && !locals.contains(id)) {
            locals.insert(id, LocalEntry{note.slot, note.data, localHash(id, note.data)});
        } else if (!request.pushOnly) {
            unidentified.append(LocalEntry{note.slot, note.data, SyncNoteFile::hash(note.data)});
        }
    }

    // A note without an identity (new, received from the network, or kept by an installation
    // that drops the key) takes the identity of a folder note with the same content that no
    // note here holds, so it is matched rather than doubled; otherwise a new one.
    if (!unidentified.isEmpty()) {
        QHash<QByteArray, QStringList> candidates;
        for (auto it = mains.cbegin(); it != mains.cend(); ++it)
            if (it.value().readable && !locals.contains(it.key()))
                candidates[it.value().hash] << it.key();
        // A note deleted elsewhere while unchanged here is found by its last merged version.
        for (auto it = tombstones.cbegin(); it != tombstones.cend(); ++it)
            if (!locals.contains(it.key()) && !mains.contains(it.key()) && m_state.merged.contains(it.key()))
                candidates[m_state.merged.value(it.key())] << it.key();
        for (QStringList &ids : candidates)
            std::sort(ids.begin(), ids.end());
        for (LocalEntry &entry : unidentified) {
            QString id;
            QStringList &same = candidates[entry.hash];
            while (!same.isEmpty() && id.isEmpty()) {
                const QString candidate = same.takeFirst();
                if (!locals.contains(candidate))
                    id = candidate;
            }
            if (id.isEmpty()) {
                do
                    id = SyncId::create();
                while (locals.contains(id) || mains.contains(id) || tombstones.contains(id));
            }
            entry.data.syncId = id;
            m_localHashes.insert(id, LocalHash{entry.data, entry.hash});
            out.changes.append({.kind = SyncLocalChange::Kind::AssignId, .slot = entry.slot, .syncId = id});
            locals.insert(id, entry);
        }
    }

    // --- the engine's conflict files, by note ---------------------------------------------
    QHash<QString, QList<QString>> conflictFiles;  // SyncId -> paths
    QHash<QString, FolderNote> conflictVersions;   // path -> what it holds
    for (const SyncFolder::EngineConflict &c : listing.conflicts) {
        const QString path = folder.notesFolder() + QLatin1Char('/') + c.fileName;
        livePaths.insert(path);
        if (!m_conflictSeen.contains(path))
            m_conflictSeen.insert(path, nowUtc);
        conflictFiles[c.syncId] << path;
        if (!request.pushOnly)
            conflictVersions.insert(path, readNote(path, request.now));
    }

    // --- decisions ----------------------------------------------------------------------
    QSet<QString> ids;
    for (auto it = locals.cbegin(); it != locals.cend(); ++it)
        ids.insert(it.key());
    for (auto it = mains.cbegin(); it != mains.cend(); ++it)
        ids.insert(it.key());
    for (auto it = tombstones.cbegin(); it != tombstones.cend(); ++it)
        ids.insert(it.key());
    for (auto it = m_state.merged.cbegin(); it != m_state.merged.cend(); ++it)
        ids.insert(it.key());
    for (auto it = conflictFiles.cbegin(); it != conflictFiles.cend(); ++it)
        ids.insert(it.key());
    QStringList order(ids.cbegin(), ids.cend());
    std::sort(order.begin(), order.end());

    QList<PendingWrite> copies;    // written first: another computer's version is never lost
    QList<PendingWrite> writes;    // notes and tombstones
    QStringList removeAfterWrites; // files whose content is safe elsewhere once the writes are done
    QHash<QString, QStringList> removeWithCopy;  // copy path -> engine conflict files it stands for
    QHash<QString, QString> mainNeedsCopy;       // SyncId -> copy path its own write waits for
    QHash<QString, QString> tombstoneWithMain;   // SyncId -> tombstone removed once the note is written
    QHash<QString, QString> mainWithTombstone;   // SyncId -> note file removed once the tombstone is written
    QList<SyncLocalChange> localChanges;
    QSet<QString> plannedCopies;

    const auto noteBytes = [&](const NoteData &data, const QString &id) {
        return SyncNoteFile::toBytes(data, id, nowUtc, request.device);
    };
    // A version of note `id` that must be kept as a note of its own: its copy's file is
    // planned (Copy::Planned, `copyPath` set), or a copy already stands here or in the folder
    // (Copy::Kept), or the copy's place holds a file that cannot be read (Copy::Blocked).
    enum class Copy { Planned, Kept, Blocked };
    const auto keepAsCopy = [&](const QString &id, const NoteData &version, const QByteArray &versionHash,
                                QString *copyPath) -> Copy {
        const QString copyId = SyncId::conflictCopy(id, versionHash);
        if (locals.contains(copyId) || plannedCopies.contains(copyId))
            return Copy::Kept;
        if (mains.contains(copyId))
            // Its own decision brings it here.
            return mains.value(copyId).readable ? Copy::Kept : Copy::Blocked;
        *copyPath = folder.notePath(copyId);
        NoteData copy = version;
        copy.caption += conflictMark();
        const QByteArray copyHash = SyncNoteFile::hash(copy);
        plannedCopies.insert(copyId);
        copies.append(PendingWrite{copyId, *copyPath, noteBytes(copy, copyId), copyHash, PendingWrite::Role::Copy});
        localChanges.append({.kind = SyncLocalChange::Kind::Create, .syncId = copyId, .incoming = copy, .hash = copyHash,
                             .conflictCopy = true});
        return Copy::Planned;
    };

    for (const QString &id : std::as_const(order)) {
        const LocalEntry *local = locals.contains(id) ? &locals[id] : nullptr;
        const FolderNote *main = mains.contains(id) ? &mains[id] : nullptr;
        const QList<QString> engineConflicts = conflictFiles.value(id);

        // The engine moves a conflicting version aside before it puts the winner in place;
        // in between the note's file is missing, which must not read as "the file went away".
        if (!main && !engineConflicts.isEmpty()) {
            bool settling = false;
            for (const QString &path : engineConflicts)
                settling = settling || m_conflictSeen.value(path).secsTo(nowUtc) < kConflictSettleSecs;
            if (settling) {
                out.retrySoon = true;
                continue;
            }
        }

        SyncDecision::Facts facts;
        if (local)
            facts.local = local->hash;
        if (main) {
            facts.folder = main->readable ? SyncDecision::Folder::Present : SyncDecision::Folder::Unreadable;
            facts.folderHash = main->hash;
        }
        if (tombstones.contains(id)) {
            const QDateTime deleted = tombstones.value(id);
            const bool fileIsNewer = main && main->readable && main->content.modified.isValid()
                                     && main->content.modified > deleted;
            facts.tombstone = fileIsNewer ? SyncDecision::Tombstone::Outdated : SyncDecision::Tombstone::Present;
        }
        if (m_state.merged.contains(id))
            facts.merged = m_state.merged.value(id);

        const SyncDecision::Decision decision = SyncDecision::decide(facts);
        Action action = decision.action;
        if (request.pushOnly
            && (action == Action::ApplyFolder || action == Action::CreateLocal || action == Action::ConflictCopy
                || action == Action::TrashLocal))
            continue;

        if (decision.removeTombstone)
            removeAfterWrites << folder.tombstonePath(id);
        if (decision.removeFolderFile && main)
            removeAfterWrites << folder.notePath(id);

        // What the folder and this computer hold once this merge is through.
        std::optional<QByteArray> folderAfter = main && main->readable ? std::optional(main->hash) : std::nullopt;
        std::optional<QByteArray> localAfter = local ? std::optional(local->hash) : std::nullopt;

        switch (action) {
        case Action::Nothing:
        case Action::LeaveUnreadable:
            break;
        case Action::RecordState:
            m_state.merged.insert(id, local->hash);
            out.stateChanged = true;
            break;
        case Action::DropState:
            if (m_state.merged.remove(id))
                out.stateChanged = true;
            break;
        case Action::ApplyFolder:
            localChanges.append({.kind = SyncLocalChange::Kind::Apply, .slot = local->slot, .syncId = id,
                                 .expected = local->data, .incoming = main->content.note, .hash = main->hash});
            localAfter = main->hash;
            break;
        case Action::CreateLocal:
            localChanges.append({.kind = SyncLocalChange::Kind::Create, .syncId = id, .incoming = main->content.note,
                                 .hash = main->hash});
            localAfter = main->hash;
            break;
        case Action::ConflictCopy: {
            QString copyPath;
            const Copy copy = keepAsCopy(id, main->content.note, main->hash, &copyPath);
            if (copy == Copy::Blocked)
                break;  // the folder's version stays where it is until its copy can be made
            if (copy == Copy::Planned)
                mainNeedsCopy.insert(id, copyPath);
            ++out.conflicts;
            writes.append(PendingWrite{id, folder.notePath(id), noteBytes(local->data, id), local->hash, PendingWrite::Role::Main});
            folderAfter = local->hash;
            break;
        }
        case Action::WriteFolder:
            writes.append(PendingWrite{id, folder.notePath(id), noteBytes(local->data, id), local->hash, PendingWrite::Role::Main});
            folderAfter = local->hash;
            break;
        case Action::RewriteAfterTombstone:
            writes.append(PendingWrite{id, folder.notePath(id), noteBytes(local->data, id), local->hash, PendingWrite::Role::Main});
            tombstoneWithMain.insert(id, folder.tombstonePath(id));
            removeAfterWrites.removeAll(folder.notePath(id));
            folderAfter = local->hash;
            break;
        case Action::TrashLocal:
            localChanges.append({.kind = SyncLocalChange::Kind::Trash, .slot = local->slot, .syncId = id,
                                 .expected = local->data});
            localAfter.reset();
            folderAfter.reset();
            break;
        case Action::WriteTombstone:
            writes.append(PendingWrite{id, folder.tombstonePath(id), SyncFolder::tombstoneBytes(id, nowUtc, request.device),
                                       QByteArray(), PendingWrite::Role::Tombstone});
            mainWithTombstone.insert(id, folder.notePath(id));
            folderAfter.reset();
            break;
        }

        if (request.pushOnly)
            continue;
        // The engine's conflict files of this note: each is a version to keep, unless this
        // computer or the folder already holds it.
        for (const QString &path : engineConflicts) {
            const FolderNote &version = conflictVersions[path];
            if (!version.readable) {
                out.unreadable << path;
                continue;
            }
            if ((folderAfter && *folderAfter == version.hash) || (localAfter && *localAfter == version.hash)) {
                removeAfterWrites << path;
                continue;
            }
            QString copyPath;
            switch (keepAsCopy(id, version.content.note, version.hash, &copyPath)) {
            case Copy::Planned:
                removeWithCopy[copyPath] << path;
                ++out.conflicts;
                break;
            case Copy::Kept:
                removeAfterWrites << path;
                break;
            case Copy::Blocked:
                break;
            }
        }
    }

    // --- the folder's side, copies first ---------------------------------------------------
    QList<SyncFolder::Write> copyWrites;
    for (const PendingWrite &w : std::as_const(copies))
        copyWrites.append(SyncFolder::Write{w.path, w.bytes, false});
    QString failure;
    if (!copyWrites.isEmpty())
        SyncFolder::writeFiles(copyWrites, &failure);
    QSet<QString> copiesDone;
    for (const SyncFolder::Write &w : std::as_const(copyWrites))
        if (w.ok)
            copiesDone.insert(w.path);
    for (auto it = removeWithCopy.cbegin(); it != removeWithCopy.cend(); ++it)
        if (copiesDone.contains(it.key()))
            removeAfterWrites << it.value();

    QList<SyncFolder::Write> mainWrites;
    QList<const PendingWrite *> mainSources;
    for (const PendingWrite &w : std::as_const(writes)) {
        const QString copy = mainNeedsCopy.value(w.id);
        if (!copy.isEmpty() && !copiesDone.contains(copy))
            continue;  // the other version is not safe yet: the folder keeps it for now
        mainWrites.append(SyncFolder::Write{w.path, w.bytes, false});
        mainSources.append(&w);
    }
    if (!mainWrites.isEmpty())
        SyncFolder::writeFiles(mainWrites, failure.isEmpty() ? &failure : nullptr);
    for (qsizetype i = 0; i < mainWrites.size(); ++i) {
        if (!mainWrites[i].ok)
            continue;
        const PendingWrite &w = *mainSources[i];
        out.stateChanged = true;
        if (w.role == PendingWrite::Role::Tombstone) {
            SyncFolder::removeFile(mainWithTombstone.value(w.id));
            m_state.merged.remove(w.id);
            ++out.tombstonesWritten;
        } else {
            if (tombstoneWithMain.contains(w.id))
                SyncFolder::removeFile(tombstoneWithMain.value(w.id));
            m_state.merged.insert(w.id, w.hash);
            ++out.sent;
        }
    }
    for (const QString &path : std::as_const(removeAfterWrites))
        SyncFolder::removeFile(path);
    if (!failure.isEmpty() && out.failure.isEmpty())
        out.failure = failure;

    // Local changes come after the identities, in the order decided.
    out.changes += localChanges;

    // Forget what is gone from the folder.
    for (auto it = m_files.begin(); it != m_files.end();)
        it = livePaths.contains(it.key()) ? std::next(it) : m_files.erase(it);
    for (auto it = m_conflictSeen.begin(); it != m_conflictSeen.end();)
        it = livePaths.contains(it.key()) ? std::next(it) : m_conflictSeen.erase(it);
    for (auto it = m_localHashes.begin(); it != m_localHashes.end();)
        it = locals.contains(it.key()) ? std::next(it) : m_localHashes.erase(it);
    out.unreadable.removeDuplicates();
    return out;
}

SyncOutcome SyncMerger::commit(const SyncPlan &plan, const QList<bool> &done, bool storeSaved, const QDateTime &now,
                               SyncOutcome *shown)
{
    SyncOutcome outcome;
    outcome.when = now.toUTC();
    outcome.sent = plan.sent;
    outcome.deleted = plan.tombstonesWritten;
    outcome.failure = plan.failure;
    bool changed = plan.stateChanged;
    for (qsizetype i = 0; i < plan.changes.size() && i < done.size(); ++i) {
        if (!done[i])
            continue;
        const SyncLocalChange &c = plan.changes[i];
        switch (c.kind) {
        case SyncLocalChange::Kind::AssignId:
            break;
        case SyncLocalChange::Kind::Apply:
        case SyncLocalChange::Kind::Create:
            if (c.conflictCopy)
                ++outcome.conflicts;
            else
                ++outcome.received;
            // Recorded only once the store holds it: after a failed save the note here and
            // the folder agree anyway, and the next merge records it.
            if (storeSaved) {
                m_state.merged.insert(c.syncId, c.hash);
                changed = true;
            }
            break;
        case SyncLocalChange::Kind::Trash:
            ++outcome.deleted;
            m_state.merged.remove(c.syncId);
            changed = true;
            break;
        }
    }
    QString stateError;
    // The merges that find nothing to do (most of them: the rescans, the echo of one's own
    // writes) do not replace the last one that carried something, unless a failure is to be
    // told or cleared.
    const bool carried = outcome.received || outcome.sent || outcome.conflicts || outcome.deleted;
    const bool worthShowing = carried || !outcome.failure.isEmpty() || !m_state.last.failure.isEmpty()
                              || !m_state.last.when.isValid();
    if (worthShowing)
        m_state.last = outcome;
    if ((changed || worthShowing) && !saveState(&stateError) && outcome.failure.isEmpty()) {
        outcome.failure = stateError;
        m_state.last = outcome;
    }
    if (shown)
        *shown = m_state.last;
    return outcome;
}

bool SyncMerger::saveState(QString *error)
{
    return m_state.save(m_statePath, error);
}
