#pragma once
// A full note table for the benchmarks: 1001 notes with 2000-character texts, every third with
// a recurring alarm, every fifth with a footer.
#include "store/NoteStore.h"

#include <QDir>

inline QList<NoteData> fullTable()
{
    QList<NoteData> notes;
    for (int i = 0; i < NoteStore::kMaxNotes; ++i) {
        NoteData n;
        n.caption = QStringLiteral("Nota %1 de 07/12/2026 21:00:00").arg(i);
        QString text;
        while (text.size() < 2000)
            text += QStringLiteral("Linha de texto com acentuação nº %1.\r\n").arg(text.size());
        n.note = text.left(2000);
        n.posx = i % 1200;
        n.posy = i % 800;
        if (i % 3 == 0) {
            n.alarm = true;
            n.alarmDateTime = QDateTime(QDate(2026, 12, 24), QTime(i % 24, 30, 0));
            n.dia.fill(true);
            n.rememberNo = 1;
            n.rememberUnit = 2;
            n.remember = true;
        }
        n.rodape = (i % 5 == 0) ? QStringLiteral("de: Maria") : QString();
        notes.append(n);
    }
    return notes;
}

// Writes a store of the full table, every note hidden (the benchmarks time the program's work,
// not the painting of a thousand windows) and auto-save off, into `dataFolder`.
inline void writeHiddenFullStore(const QString &dataFolder)
{
    QDir().mkpath(dataFolder);
    QList<NoteData> notes = fullTable();
    for (NoteData &n : notes)
        n.visible = false;
    AppSettings settings;
    settings.recGeral.AutoSave = false;
    NoteStore::save(dataFolder + NoteStore::fileName(), settings, notes, true);
}
