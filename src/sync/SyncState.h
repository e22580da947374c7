#pragma once
// sync-state.cvf, beside the store: for each SyncId the hash of the version both sides held
// at the last merge, the folder and installation those hashes belong to, and what the last
// merge did. A state made for another folder, or by another installation (a store copied from
// elsewhere, a store replaced by a fresh one), is not trusted: every note is then merged as
// if for the first time, which never deletes anything.
#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>

struct SyncOutcome
{
    QDateTime when;       // UTC; invalid: no merge has run yet
    int received = 0;     // notes changed or made here from the folder
    int sent = 0;         // notes written to the folder
    int conflicts = 0;    // copies kept because a note changed on two computers
    int deleted = 0;      // deletions carried, either way
    QString failure;      // why the merge could not run, empty when it did

    bool operator==(const SyncOutcome &) const = default;
};

struct SyncState
{
    QString folder;
    QString device;
    QHash<QString, QByteArray> merged;   // SyncId -> hash of the last merged version
    SyncOutcome last;

    static QString fileName() { return QStringLiteral("sync-state.cvf"); }

    // A missing or unreadable file is an empty state.
    static SyncState load(const QString &path);
    bool save(const QString &path, QString *error = nullptr) const;

    // Whether the hashes were made for this folder by this installation.
    bool belongsTo(const QString &folderPath, const QString &deviceId) const;
};
