#include "store/Backup.h"

#include "platform/Paths.h"
#include "store/DataFolder.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>

QString backupFileName(const QDateTime &when)
{
    return QStringLiteral("sticky-") + QLocale::c().toString(when, QStringLiteral("yyyyMMdd_HHmm")) + QStringLiteral(".cvf");
}

QString backupStore(const QString &storePath, const QString &folder, const QDateTime &when)
{
    QFile source(storePath);
    if (!source.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = source.readAll();
    if (source.error() != QFile::NoError)
        return {};

    const QString target = Paths::withSlash(folder) + backupFileName(when);
    QSaveFile copy(target);
    if (!copy.open(QIODevice::WriteOnly))
        return {};
    // The copy holds the mail password, like the store itself.
    copy.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (copy.write(bytes) != bytes.size() || !copy.commit() || !DataFolder::syncEntries(Paths::withSlash(folder)))
        return {};
    return target;
}
