#include "app/NoteSync.h"

#include "app/StickyNote.h"
#include "notes/PostIt.h"
#include "platform/Dialogs.h"
#include "sync/SyncId.h"
#include "sync/SyncState.h"

#include <QTimer>
#include <utility>

NoteSync::NoteSync(TfStickyNote &controller)
    : m_controller(controller), m_engine(std::make_unique<SyncEngine>(*this))
{
}

void NoteSync::configure()
{
    SyncSettings &sync = m_controller.settings().recSync;
    if (!sync.Folder.trimmed().isEmpty() && !SyncId::isValid(sync.Device))
        sync.Device = SyncId::create();
    m_engine->configure(sync.Folder, sync.Device, m_controller.DataFolder() + SyncState::fileName());
}

bool NoteSync::notesReady() const
{
    return m_controller.loaded();
}

quint64 NoteSync::notesGeneration() const
{
    return m_controller.notesGeneration();
}

QList<SyncLocalNote> NoteSync::localNotes() const
{
    QList<SyncLocalNote> notes;
    notes.reserve(m_controller.noteTable().count());
    m_controller.noteTable().forEach([&notes](int slot, TfPostIt *note) { notes.append({slot, note->data()}); });
    return notes;
}

std::optional<NoteData> NoteSync::noteAt(int slot) const
{
    if (const TfPostIt *note = m_controller.note(slot))
        return note->data();
    return std::nullopt;
}

bool NoteSync::hasSyncId(const QString &syncId) const
{
    bool found = false;
    m_controller.noteTable().forEach([&](int, TfPostIt *note) { found = found || note->syncId() == syncId; });
    return found;
}

bool NoteSync::assignSyncId(int slot, const QString &syncId)
{
    TfPostIt *note = m_controller.note(slot);
    if (!note)
        return false;
    // A note keeps an identity of its own; one it shares with an earlier note (a copied
    // section) or one that is no identity at all is replaced.
    const QString held = note->syncId();
    if (SyncId::isValid(held)) {
        int holders = 0;
        int first = -1;
        m_controller.noteTable().forEach([&](int s, TfPostIt *other) {
            if (other->syncId() == held) {
                ++holders;
                if (first < 0)
                    first = s;
            }
        });
        if (holders == 1 || first == slot)
            return false;
    }
    note->setSyncId(syncId);
    return true;
}

bool NoteSync::applyToNote(int slot, const NoteData &data)
{
    TfPostIt *note = m_controller.note(slot);
    if (!note)
        return false;
    note->applyData(data);
    return true;
}

bool NoteSync::createNote(const NoteData &data)
{
    NoteData placed = data;
    const QPoint at = m_placement.nextUserNotePosition();
    placed.posx = at.x();
    placed.posy = at.y();
    return m_controller.createSyncedNote(placed) >= 0;
}

bool NoteSync::trashNote(int slot)
{
    return m_controller.trashSyncedNote(slot);
}

std::function<QString()> NoteSync::prepareSave()
{
    return m_controller.prepareSave(&m_savingNotes);
}

void NoteSync::saveFinished(const QString &error)
{
    // A save of the program's own: its failure is told as an auto-save's is.
    m_controller.backgroundSaveFinished(error, std::exchange(m_savingNotes, {}));
}

void NoteSync::report(const QString &text)
{
    // Shown from the event loop: a modal box must not stand inside a merge's step.
    QTimer::singleShot(0, &m_controller, [text] { Dialogs::warning(nullptr, text); });
}
