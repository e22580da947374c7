#include "sync/SyncDecision.h"

namespace SyncDecision {

namespace {

Decision only(Action action)
{
    Decision d;
    d.action = action;
    return d;
}

// Both the note here and the folder's file may exist; no tombstone stands.
Action bothSides(const std::optional<QByteArray> &local, const std::optional<QByteArray> &folder,
                 const std::optional<QByteArray> &merged)
{
    if (!local && !folder)
        return merged ? Action::DropState : Action::Nothing;
    if (!local) {
        // Deleted here. Unchanged there: the deletion travels. Changed there (or never seen
        // here): the other computer's version comes back as a note.
        return merged && *folder == *merged ? Action::WriteTombstone : Action::CreateLocal;
    }
    if (!folder)
        return Action::WriteFolder;  // new here, or the file went missing: write it (again)
    if (*local == *folder)
        return merged && *merged == *local ? Action::Nothing : Action::RecordState;
    if (!merged)
        return Action::ConflictCopy;  // two versions and nothing to tell which came first
    const bool changedHere = *local != *merged;
    const bool changedThere = *folder != *merged;
    if (changedHere && changedThere)
        return Action::ConflictCopy;
    return changedHere ? Action::WriteFolder : Action::ApplyFolder;
}

} // namespace

Decision decide(const Facts &f)
{
    if (f.folder == Folder::Unreadable)
        return only(Action::LeaveUnreadable);

    std::optional<QByteArray> folder;
    if (f.folder == Folder::Present)
        folder = f.folderHash;

    if (f.tombstone == Tombstone::Outdated) {
        Decision d = only(bothSides(f.local, folder, f.merged));
        d.removeTombstone = true;
        return d;
    }
    if (f.tombstone == Tombstone::Absent)
        return only(bothSides(f.local, folder, f.merged));

    // A tombstone newer than any file: the note was deleted on another computer.
    Decision d;
    d.removeFolderFile = folder.has_value();
    if (!f.local)
        d.action = f.merged ? Action::DropState : Action::Nothing;
    else if (f.merged && *f.local == *f.merged)
        d.action = Action::TrashLocal;
    else
        d.action = Action::RewriteAfterTombstone;  // changed here, or nothing proves it unchanged
    return d;
}

const char *actionName(Action action)
{
    switch (action) {
    case Action::Nothing: return "Nothing";
    case Action::RecordState: return "RecordState";
    case Action::ApplyFolder: return "ApplyFolder";
    case Action::CreateLocal: return "CreateLocal";
    case Action::WriteFolder: return "WriteFolder";
    case Action::ConflictCopy: return "ConflictCopy";
    case Action::TrashLocal: return "TrashLocal";
    case Action::RewriteAfterTombstone: return "RewriteAfterTombstone";
    case Action::WriteTombstone: return "WriteTombstone";
    case Action::DropState: return "DropState";
    case Action::LeaveUnreadable: return "LeaveUnreadable";
    }
    return "?";
}

} // namespace SyncDecision
