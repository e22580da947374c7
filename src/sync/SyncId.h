#pragma once
// A note's identity in the sync folder: a UUID in its 36-character lower-case form, which is
// also the name of the note's file there. Nothing else is ever taken as one, so an identity
// read from a store or a file can never name a path outside the folder.
#include <QByteArray>
#include <QString>

namespace SyncId {

bool isValid(QStringView id);
// A fresh random identity.
QString create();
// The identity of the copy kept when two versions of note `original` collide: the same on
// every computer that keeps the same version (`versionHash`), so two computers that settle
// the same collision make one note, not two.
QString conflictCopy(const QString &original, const QByteArray &versionHash);

} // namespace SyncId
