#pragma once
// Snapshots of the store: byte copies of stickies.cvf in the folder snapshots/ beside it, named
// after the local moment they were taken, "stickies-YYYYMMDD-HHMMSS.cvf". They are what lets
// any earlier state of the notes be brought back: the store as the program found it at start,
// one copy at most each hour of a run in which the notes changed, and the state replaced by a
// restore.
//
// The 20 newest are kept, and besides them the newest of each of the last 30 days; older ones
// are removed. A store that could not be read is kept as "stickies-YYYYMMDD-HHMMSS-unreadable.cvf",
// a name the rule above never matches, so the program never removes it. Copies are written as
// the store is: a temporary file in the same folder, flushed, renamed, owner-only.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace Snapshots {

constexpr int kNewestKept = 20;
constexpr int kDaysKept = 30;

// <folder of the store>/snapshots/
QString folderBeside(const QString &storePath);
QString nameFor(const QDateTime &when);
QString unreadableNameFor(const QDateTime &when);
// The moment a snapshot's file name stands for; empty for any other name (an unreadable
// store's copy, a temporary file, anything a user put there).
std::optional<QDateTime> momentOf(const QString &fileName);

// The names among `names` that the retention rule removes at `now`: all snapshot names but
// the kNewestKept newest and the newest of each of the kDaysKept days up to `now`'s day.
// Names that are no snapshot's are never among them.
QStringList toRemove(const QStringList &names, const QDateTime &now);

// Copies the store at `storePath` into its snapshots folder (made owner-only when missing)
// under the name for `now`, a second later for each name already taken, then removes what the
// retention rule says. A store that holds the very bytes of the newest snapshot is not copied
// again: that snapshot's path is returned. Empty, with the reason in `error`, when the store
// could not be read or the copy could not be written; empty without an error when there is
// no store.
QString take(const QString &storePath, const QDateTime &now, QString *error = nullptr);

// Keeps an unreadable store whole under the unreadable name for `now` (a second later for each
// name taken by other bytes). Returns the copy's path, empty with `error` on failure.
QString keepUnreadable(const QString &storePath, const QDateTime &now, QString *error = nullptr);

// The snapshots in `folder`, newest first, with their moments (unreadable copies left out).
struct File
{
    QString path;
    QDateTime moment;
};
QList<File> list(const QString &folder);

// Every earlier state of the store that can be brought back: the snapshots, and the exit and
// menu backups ("sticky-yyyyMMdd_HHmm.cvf") in `backupFolder` (none when it is empty), newest
// first. Only files that hold a profile are listed, each with its notes' titles.
struct Copy
{
    enum class Kind { Snapshot, Backup };
    QString path;
    QDateTime moment;
    Kind kind = Kind::Snapshot;
    QStringList titles;  // the titles of its notes, in order
};
QList<Copy> copies(const QString &storePath, const QString &backupFolder);
// Whether `path` holds a profile a store can be read from (at least one section).
bool holdsProfile(const QString &path);

} // namespace Snapshots
