#pragma once
// What one merge does with one note, from four facts about its SyncId: the hash of the note
// here (or none), the folder's file (its hash, none, or a file that cannot be read), the
// tombstone another computer left (none, one, or one the folder's file has since outdated),
// and the hash of the version both sides had at the last merge (or none).
//
// The rules, in short: a side that differs from the last merged version has changed; a change
// on one side goes to the other; changes on both sides keep both (the folder's as a copy); a
// deletion wins only over a note nobody changed since. An edit is never lost to a deletion,
// and a note here is never lost to a file that went missing.
#include <QByteArray>
#include <optional>

namespace SyncDecision {

enum class Folder { Absent, Present, Unreadable };
enum class Tombstone {
    Absent,
    Present,     // deleted elsewhere after the folder's file (if any) was written
    Outdated,    // the folder's file was written after the deletion: the note lives on
};

struct Facts
{
    std::optional<QByteArray> local;
    Folder folder = Folder::Absent;
    QByteArray folderHash;             // when Present
    Tombstone tombstone = Tombstone::Absent;
    std::optional<QByteArray> merged;  // the last merged version
};

enum class Action {
    Nothing,               // both sides hold the last merged version
    RecordState,           // both sides agree on a version not yet recorded
    ApplyFolder,           // changed in the folder only: the note here takes it
    CreateLocal,           // only the folder has it (new there, or edited there after a deletion here)
    WriteFolder,           // changed here only, new here, or the folder's file went missing
    ConflictCopy,          // changed on both sides: this note is kept and written; the folder's
                           // version becomes a new note "<title> (conflito)"
    TrashLocal,            // deleted elsewhere, unchanged here: the note goes to the trash
    RewriteAfterTombstone, // deleted elsewhere but changed here: the tombstone goes, the note is written again
    WriteTombstone,        // deleted here, unchanged in the folder: a tombstone replaces the file
    DropState,             // gone everywhere: forget the last merged version
    LeaveUnreadable,       // the folder's file cannot be read: touch nothing, report it
};

struct Decision
{
    Action action = Action::Nothing;
    bool removeTombstone = false;   // an outdated tombstone is cleared away
    bool removeFolderFile = false;  // a file older than the tombstone goes with the note

    bool operator==(const Decision &) const = default;
};

Decision decide(const Facts &facts);

const char *actionName(Action action);

} // namespace SyncDecision
