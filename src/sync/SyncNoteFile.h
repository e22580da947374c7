#pragma once
// A note as it travels through the sync folder: the file notes/<SyncId>.cvn and the hash that
// tells whether two versions of a note are the same.
//
// Everything of a note travels, whether it is shown or hidden included, but what belongs to one
// desk: the window's position (posx, posy), which each screen needs its own of, and the path of
// its alarm's wave file (SoundFile), which names a file on this computer only. The file holds the note's other keys
// in the store's own INI format (Windows-1252, CR LF) in a section [Note], the alarm moment in
// ISO 8601 (so that computers with other regional formats read it alike), and the keys
// SyncId, Modified (UTC, ISO 8601) and Device.
//
// The hash is taken over the travelling fields in the form the store would read them back
// (characters Windows-1252 cannot hold are already "?", line breaks in one-line values are
// blanks, and so on), so the same note hashes the same on every computer, in memory, in the
// store and in the folder.
#include "store/NoteData.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

namespace SyncNoteFile {

struct Content
{
    NoteData note;        // the travelling fields; the local ones hold their defaults
    QString syncId;       // as the file states it
    QDateTime modified;   // UTC; invalid when the file does not say
    QString device;
};

// The travelling fields of `note`, as the store would give them back; the fields that stay
// on this computer hold fixed values.
NoteData travelling(const NoteData &note);
// 32 hexadecimal digits over travelling(note).
QByteArray hash(const NoteData &note);

QByteArray toBytes(const NoteData &note, const QString &syncId, const QDateTime &modifiedUtc, const QString &device);
// Nothing when the bytes hold no [Note] section. `loadMoment` is the alarm moment of an
// armed note whose moment cannot be read, as the store does.
std::optional<Content> fromBytes(const QByteArray &bytes, const QDateTime &loadMoment);

// The note a window takes when a version from the folder replaces `local`: the travelling
// fields of `incoming`, the position, visibility, sound file and identity of `local`.
NoteData withLocalFields(const NoteData &incoming, const NoteData &local);

} // namespace SyncNoteFile
