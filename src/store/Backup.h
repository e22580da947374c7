#pragma once
// Timestamped copies of the store file.
#include <QDateTime>
#include <QString>

#include <optional>

// "sticky-" + yyyyMMdd_HHmm + ".cvf".
QString backupFileName(const QDateTime &when);
// The moment a backup's file name stands for; empty for any other name.
std::optional<QDateTime> backupMoment(const QString &fileName);

enum class BackupFolder { MustExist, CreateWhenMissing };

// Copies the store into `folder` under the backup name for `when`, replacing a file of that
// name, through a temporary file and a rename so that a failed copy never leaves a half file.
// Returns the full name of the copy, or an empty text when the copy failed; `error` then
// receives "Unable to write to <copy>" with the system's reason under it. With
// CreateWhenMissing a missing folder is made first (with every missing folder above it,
// private to the user like the data folder: the copy holds the mail password).
QString backupStore(const QString &storePath, const QString &folder, const QDateTime &when,
                    QString *error = nullptr, BackupFolder mode = BackupFolder::MustExist);
