#include "store/Backup.h"

#include "platform/Paths.h"
#include "store/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

// Makes `folder` and every missing folder above it, owner-only. The system's reason when one
// cannot be made (a file in the way, a read-only disk, no permission).
QString makeFolders(const QString &folder)
{
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    QStringList missing;
    QString at = path;
    while (!QFileInfo(at).exists()) {
        missing.prepend(at);
        const QString parent = QFileInfo(at).path();
        if (parent == at)
            break;
        at = parent;
    }
    for (const QString &dir : missing) {
        if (::mkdir(QFile::encodeName(dir).constData(), S_IRWXU) != 0 && errno != EEXIST)
            return qt_error_string(errno);
    }
    if (!QFileInfo(path).isDir())
        return qt_error_string(ENOTDIR);
    return {};
}

} // namespace

QString backupFileName(const QDateTime &when)
{
    return QStringLiteral("sticky-") + QLocale::c().toString(when, QStringLiteral("yyyyMMdd_HHmm")) + QStringLiteral(".cvf");
}

std::optional<QDateTime> backupMoment(const QString &fileName)
{
    static const QLatin1StringView prefix("sticky-");
    static const QLatin1StringView suffix(".cvf");
    constexpr qsizetype kStamp = 13;  // yyyyMMdd_HHmm
    if (fileName.size() != prefix.size() + kStamp + suffix.size() || !fileName.startsWith(prefix)
        || !fileName.endsWith(suffix))
        return std::nullopt;
    const QString stamp = fileName.mid(prefix.size(), kStamp);
    for (qsizetype i = 0; i < stamp.size(); ++i)
        if (i == 8 ? stamp.at(i) != QLatin1Char('_') : !stamp.at(i).isDigit() || stamp.at(i).unicode() > 0x7F)
            return std::nullopt;
    const QDateTime when = QLocale::c().toDateTime(stamp, QStringLiteral("yyyyMMdd_HHmm"));
    if (!when.isValid())
        return std::nullopt;
    return when;
}

QString backupStore(const QString &storePath, const QString &folder, const QDateTime &when, QString *error,
                    BackupFolder mode)
{
    const QString target = Paths::withSlash(folder) + backupFileName(when);
    const auto failed = [&](const QString &reason) {
        if (error)
            *error = IniFile::writeErrorText(target, reason);
        return QString();
    };
    QFile source(storePath);
    if (!source.open(QIODevice::ReadOnly))
        return failed(storePath + QStringLiteral(": ") + source.errorString());
    const QByteArray bytes = source.readAll();
    if (source.error() != QFile::NoError)
        return failed(storePath + QStringLiteral(": ") + source.errorString());

    if (mode == BackupFolder::CreateWhenMissing) {
        const QString reason = makeFolders(folder);
        if (!reason.isEmpty())
            return failed(reason);
    }
    // Written as the store itself is: owner-only, whole or not at all, flushed.
    QString saveError;
    if (!IniFile::saveBytes(target, bytes, &saveError)) {
        if (error)
            *error = saveError;
        return {};
    }
    return target;
}
