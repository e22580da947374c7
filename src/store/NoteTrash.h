#pragma once
// The trash, trash.cvf beside the store: every note that is deleted lands here first, whoever
// deleted it (the user in a note window, or a deletion that reached this computer from
// another one), and can be brought back whole for 30 days.
//
// The file is a profile of the store's own form (Windows-1252, CR LF): one section per note,
// "Note<n>", holding the note's keys exactly as a note section of the store holds them, plus
// DeletedAt, the moment of the deletion in local time as "yyyy-MM-dd HH:mm:ss" (one fixed form,
// so that a change of the regional settings never makes an entry expire early or never).
// Entries older than kKeepDays are dropped whenever the trash is written. Every change reads
// the file, changes it and replaces it atomically, as a save of the store does; nothing is
// kept open or cached, so several writers in one run (the controller, a sync) never step on
// each other as long as they run on the one user-interface thread.
#include "store/NoteData.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class IniFile;

struct TrashEntry
{
    QString id;          // the entry's section name, valid until the trash is next written
    NoteData note;
    QDateTime deletedAt; // invalid when the file holds no readable moment (the entry is kept)

    bool operator==(const TrashEntry &) const = default;
};

class NoteTrash
{
    Q_DECLARE_TR_FUNCTIONS(NoteTrash)

public:
    static constexpr int kKeepDays = 30;

    static QString fileName() { return QStringLiteral("trash.cvf"); }
    // The trash of the store at `storePath`: trash.cvf in the same folder.
    static QString besideStore(const QString &storePath);
    static QString formatMoment(const QDateTime &when);
    static QDateTime parseMoment(const QString &text);
    // Whether an entry deleted at `deletedAt` is still kept at `now`. An entry without a
    // readable moment is kept.
    static bool kept(const QDateTime &deletedAt, const QDateTime &now);

    explicit NoteTrash(const QString &path);
    const QString &path() const { return m_path; }

    // The entries still kept at `now`, the most recently deleted first. A missing trash is an
    // empty one; a trash that cannot be read gives no entries and `error` says why.
    QList<TrashEntry> entries(const QDateTime &now, QString *error = nullptr) const;

    // Puts a note in the trash, deleted at `deletedAt`. False, with "Unable to write to
    // <path>" and the reason in `error`, when the trash could not be written: the caller must
    // then keep the note, which exists nowhere else. Returns the entry's id through `id`.
    bool add(const NoteData &note, const QDateTime &deletedAt, QString *error = nullptr, QString *id = nullptr);

    // Takes the entries named by `ids` out of the trash and returns them in the order of `ids`;
    // an id that is not in the trash is left out. When the trash cannot be written nothing is
    // taken and the result is empty (`error` says why).
    std::optional<QList<TrashEntry>> take(const QStringList &ids, const QDateTime &now, QString *error = nullptr);

    // Removes every entry. False when the trash could not be written.
    bool empty(QString *error = nullptr);

    // Message texts of the callers.
    static QString notTrashedText(const QString &reason);

private:
    // The trash as it stands; false when it exists but cannot be read. A file that holds bytes
    // but no section at all (not a profile) is moved aside under a name of its own before the
    // first write, so that nothing the program did not write is ever written over.
    bool open(IniFile *ini, bool *junk, QString *error) const;
    // open() for a change that writes the trash: a failure is told as a failed write.
    bool openForChange(IniFile *ini, bool *junk, QString *error) const;
    bool keepUnreadableAside(QString *error) const;
    bool write(IniFile &ini, bool junk, const QDateTime &now, QString *error);

    QString m_path;
};
