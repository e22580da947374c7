#include "sync/SyncState.h"

#include "store/IniFile.h"
#include "sync/SyncId.h"

#include <QDir>
#include <QStringList>
#include <algorithm>

namespace {
const QString kSync = QStringLiteral("Sync");
const QString kMerged = QStringLiteral("Merged");

bool plausibleHash(const QByteArray &hash)
{
    return hash.size() == 32 && std::all_of(hash.begin(), hash.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}
} // namespace

SyncState SyncState::load(const QString &path)
{
    const IniFile ini = IniFile::fromFile(path);
    SyncState state;
    state.folder = ini.readString(kSync, QStringLiteral("Folder"));
    state.device = ini.readString(kSync, QStringLiteral("Device"));
    state.last.when = QDateTime::fromString(ini.readString(kSync, QStringLiteral("LastMerge")), Qt::ISODate);
    state.last.received = ini.readInteger(kSync, QStringLiteral("Received"), 0);
    state.last.sent = ini.readInteger(kSync, QStringLiteral("Sent"), 0);
    state.last.conflicts = ini.readInteger(kSync, QStringLiteral("Conflicts"), 0);
    state.last.deleted = ini.readInteger(kSync, QStringLiteral("Deleted"), 0);
    state.last.failure = ini.readString(kSync, QStringLiteral("Failure"));
    const QStringList ids = ini.keys(kMerged);
    state.merged.reserve(ids.size());
    for (const QString &id : ids) {
        const QByteArray hash = ini.readString(kMerged, id).toLatin1();
        if (SyncId::isValid(id) && plausibleHash(hash))
            state.merged.insert(id, hash);
    }
    return state;
}

bool SyncState::save(const QString &path, QString *error) const
{
    IniFile ini;
    ini.writeString(kSync, QStringLiteral("Folder"), folder);
    ini.writeString(kSync, QStringLiteral("Device"), device);
    if (last.when.isValid())
        ini.writeString(kSync, QStringLiteral("LastMerge"), last.when.toUTC().toString(Qt::ISODate));
    ini.writeInteger(kSync, QStringLiteral("Received"), last.received);
    ini.writeInteger(kSync, QStringLiteral("Sent"), last.sent);
    ini.writeInteger(kSync, QStringLiteral("Conflicts"), last.conflicts);
    ini.writeInteger(kSync, QStringLiteral("Deleted"), last.deleted);
    ini.writeString(kSync, QStringLiteral("Failure"), last.failure);
    // In a stable order, so that an unchanged state writes the same bytes.
    QStringList ids = merged.keys();
    std::sort(ids.begin(), ids.end());
    QByteArray section = "[Merged]\r\n";
    section.reserve(section.size() + ids.size() * 72);
    for (const QString &id : ids)
        section += id.toLatin1() + '=' + merged.value(id) + "\r\n";
    return IniFile::saveBytes(path, ini.toBytes() + section, error);
}

bool SyncState::belongsTo(const QString &folderPath, const QString &deviceId) const
{
    return !device.isEmpty() && device == deviceId && QDir::cleanPath(folder) == QDir::cleanPath(folderPath);
}
