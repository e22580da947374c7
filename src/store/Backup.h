#pragma once
// Timestamped copies of the store file.
#include <QDateTime>
#include <QString>

// "sticky-" + yyyyMMdd_HHmm + ".cvf".
QString backupFileName(const QDateTime &when);

// Copies the store into `folder` under the backup name for `when`, replacing a file of that
// name, through a temporary file and a rename so that a failed copy never leaves a half file.
// Returns the full name of the copy, or an empty text when the copy failed.
QString backupStore(const QString &storePath, const QString &folder, const QDateTime &when);
