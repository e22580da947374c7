#pragma once
// One computer's side of sync without windows: its notes as plain data in the table of a
// table, a trash, its own state file and merger. merge() carries out a plan the way the
// program's engine does, checking each change against the note as it is.
#include "sync/SyncMerger.h"
#include "sync/SyncNoteFile.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

struct SyncComputer
{
    QString folder;
    QString device;
    QString statePath;
    SyncMerger merger;
    QList<std::optional<NoteData>> table;   // an empty slot is a deleted note
    QList<NoteData> trash;
    int room = 1001;                        // table this run may hand out
    QDateTime now = QDateTime(QDate(2031, 5, 6), QTime(10, 0));
    SyncPlan plan;
    SyncOutcome outcome;

    SyncComputer(const QString &folderPath, const QString &deviceId, const QString &state)
        : folder(folderPath), device(deviceId), statePath(state)
    {
    }

    int add(const NoteData &note)
    {
        table.append(note);
        return int(table.size()) - 1;
    }

    QList<NoteData> notes() const
    {
        QList<NoteData> out;
        for (const auto &n : table)
            if (n)
                out << *n;
        return out;
    }

    NoteData *byId(const QString &id)
    {
        for (auto &n : table)
            if (n && n->syncId == id)
                return &*n;
        return nullptr;
    }

    NoteData *byCaption(const QString &caption)
    {
        for (auto &n : table)
            if (n && n->caption == caption)
                return &*n;
        return nullptr;
    }

    void remove(const QString &id)
    {
        for (auto &n : table)
            if (n && n->syncId == id)
                n.reset();
    }

    SyncOutcome merge(bool pushOnly = false)
    {
        SyncRequest request;
        request.folder = folder;
        request.device = device;
        request.statePath = statePath;
        request.now = now;
        request.pushOnly = pushOnly;
        for (int s = 0; s < table.size(); ++s)
            if (table[s])
                request.locals.append({s, *table[s]});
        plan = merger.plan(request);
        QList<bool> done;
        for (const SyncLocalChange &c : plan.changes)
            done << carryOut(c);
        outcome = merger.commit(plan, done, true, now);
        return outcome;
    }

    bool carryOut(const SyncLocalChange &c)
    {
        const auto unchanged = [&](int slot) {
            if (slot < 0 || slot >= table.size() || !table[slot])
                return false;
            NoteData now = *table[slot];
            now.syncId = c.expected.syncId;
            return now == c.expected;
        };
        switch (c.kind) {
        case SyncLocalChange::Kind::AssignId:
            if (c.slot < 0 || c.slot >= table.size() || !table[c.slot])
                return false;
            table[c.slot]->syncId = c.syncId;
            return true;
        case SyncLocalChange::Kind::Apply: {
            if (!unchanged(c.slot))
                return false;
            NoteData merged = SyncNoteFile::withLocalFields(c.incoming, *table[c.slot]);
            merged.syncId = c.syncId;
            table[c.slot] = merged;
            return true;
        }
        case SyncLocalChange::Kind::Create: {
            if (byId(c.syncId) || table.size() >= room)
                return false;
            NoteData n = c.incoming;
            n.syncId = c.syncId;
            add(n);
            return true;
        }
        case SyncLocalChange::Kind::Trash:
            if (!unchanged(c.slot))
                return false;
            trash << *table[c.slot];
            table[c.slot].reset();
            return true;
        }
        return false;
    }
};
