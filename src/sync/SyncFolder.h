#pragma once
// The sync folder on disk, as the file-sync engine carries it between computers:
//
//   notes/<SyncId>.cvn      one file per note (SyncNoteFile)
//   deleted/<SyncId>        a tombstone: the note was deleted, and when (kept 60 days)
//   .stignore               tells the engine not to carry the files still being written
//
// Every file is written under a temporary name ending in ".cvtmp", flushed, then renamed into
// place, so the engine never carries half a file. Files the engine leaves for its own
// conflicts ("<name>.sync-conflict-<date>-<time>-<device>.cvn") are listed apart.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class SyncFolder
{
public:
    // A note file larger than this is not read (it cannot be one this program wrote).
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;
    static constexpr int kTombstoneDays = 60;
    static QString temporarySuffix() { return QStringLiteral(".cvtmp"); }
    static QByteArray ignoreLine() { return QByteArrayLiteral("*.cvtmp"); }

    explicit SyncFolder(const QString &root);

    QString root() const { return m_root; }
    QString notePath(const QString &syncId) const;
    QString tombstonePath(const QString &syncId) const;
    QString notesFolder() const;
    QString deletedFolder() const;

    // The folder itself must exist (an absent one may be a drive not mounted yet, and is not
    // made here); notes/ and deleted/ are made when missing, and .stignore is written when
    // missing or lacking the line for the temporary files. False with `error` otherwise.
    bool prepare(QString *error) const;

    struct EngineConflict
    {
        QString fileName;   // within notes/ or deleted/
        QString syncId;     // of the note it is a version of
    };
    struct Listing
    {
        QStringList notes;                 // SyncIds with a notes/<id>.cvn
        QList<EngineConflict> conflicts;   // notes/<id>.sync-conflict-*.cvn
        QStringList tombstones;            // SyncIds with a deleted/<id>
        QList<EngineConflict> tombstoneConflicts;
        QStringList staleTemporaries;      // our own temporary files left by a crash, by path
    };
    // `now` decides which temporary files are old enough to be leftovers.
    Listing list(const QDateTime &now) const;

    enum class Read { Ok, Missing, Unreadable };
    static Read readFile(const QString &path, QByteArray *bytes);

    struct Write
    {
        QString path;
        QByteArray bytes;
        bool ok = false;
    };
    // Writes every file atomically (temporary name, flushed, renamed), flushing the disk once
    // for many files rather than once per file. Each entry's `ok` tells how it went; the
    // result is false when any failed, with the first failure's text in `error`.
    static bool writeFiles(QList<Write> &writes, QString *error);
    static bool writeFile(const QString &path, const QByteArray &bytes, QString *error);
    // True when the file is gone afterwards (also when it was never there).
    static bool removeFile(const QString &path);

    static QByteArray tombstoneBytes(const QString &syncId, const QDateTime &deletedUtc, const QString &device);
    // The moment a tombstone names; its file's modification time when the text gives none.
    static QDateTime tombstoneMoment(const QByteArray &bytes, const QString &path);
    static bool tombstoneExpired(const QDateTime &deletedUtc, const QDateTime &nowUtc);

    // "<SyncId>.cvn" -> the id; "<SyncId>.sync-conflict-....cvn" -> the id (conflict set).
    // Empty for any other name. `extension` is ".cvn" in notes/ and empty in deleted/.
    static QString idOfName(const QString &name, const QString &extension, bool *conflict);

private:
    QString m_root;
};
