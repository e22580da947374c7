#pragma once
// The controller's side of sync: the notes of its table as the merge sees them, and the
// engine that keeps them merged with the folder named in [Sync] Folder.
#include "app/NewNote.h"
#include "sync/SyncEngine.h"

#include <memory>

class TfStickyNote;

class NoteSync : public SyncHost
{
public:
    explicit NoteSync(TfStickyNote &controller);

    SyncEngine &engine() { return *m_engine; }

    // Follows [Sync] of the settings: the folder, and this installation's Device, made on
    // the first use of sync.
    void configure();

    bool notesReady() const override;
    quint64 notesGeneration() const override;
    QList<SyncLocalNote> localNotes() const override;
    std::optional<NoteData> noteAt(int slot) const override;
    bool hasSyncId(const QString &syncId) const override;
    bool assignSyncId(int slot, const QString &syncId) override;
    bool applyToNote(int slot, const NoteData &note) override;
    bool createNote(const NoteData &note) override;
    bool trashNote(int slot) override;
    std::function<QString()> prepareSave() override;
    void saveFinished(const QString &error) override;
    void report(const QString &text) override;

private:
    TfStickyNote &m_controller;
    std::unique_ptr<SyncEngine> m_engine;
    // Notes from the folder are laid out by a sequence of their own: the user's new notes
    // keep theirs.
    NotePlacement m_placement;
    // The notes of the save the merge's worker is writing (one at a time).
    QList<NoteData> m_savingNotes;
};
