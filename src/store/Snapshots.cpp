#include "store/Snapshots.h"

#include "store/Backup.h"
#include "store/DataFolder.h"
#include "store/IniFile.h"
#include "store/NoteStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>

#include <algorithm>

namespace {

const QLatin1StringView kPrefix("stickies-");
const QLatin1StringView kSuffix(".cvf");
const QLatin1StringView kUnreadable("-unreadable");
const QString kStamp = QStringLiteral("yyyyMMdd-HHmmss");
// A name is taken a second later while the one before is in use; this many seconds at most.
constexpr int kMaxBumps = 3600;

QString stampOf(const QDateTime &when)
{
    return QLocale::c().toString(when, kStamp);
}

bool readFile(const QString &path, QByteArray *bytes, QString *reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *reason = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

// Writes `bytes` into `folder` under the first free name `nameAt` gives from `when` on, a
// second later each time; a name that already holds these very bytes is taken as it is.
QString writeCopy(const QString &folder, const QDateTime &when, const QByteArray &bytes,
                  QString (*nameAt)(const QDateTime &), QString *error)
{
    if (!DataFolder::createPrivate(folder)) {
        if (error)
            *error = IniFile::writeErrorText(folder, QStringLiteral("cannot make the folder"));
        return {};
    }
    for (int bump = 0; bump <= kMaxBumps; ++bump) {
        const QString path = folder + nameAt(when.addSecs(bump));
        if (QFileInfo::exists(path)) {
            QByteArray there;
            QString ignored;
            if (readFile(path, &there, &ignored) && there == bytes)
                return path;
            continue;
        }
        return IniFile::saveBytes(path, bytes, error) ? path : QString();
    }
    if (error)
        *error = IniFile::writeErrorText(folder + nameAt(when), QStringLiteral("every name is taken"));
    return {};
}

// What a copy cut short leaves: "<snapshot name>.XXXXXX".
bool isInterruptedCopy(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || name.size() - dot - 1 != 6 || !name.startsWith(kPrefix))
        return false;
    if (!name.left(dot).endsWith(kSuffix))
        return false;
    return std::all_of(name.begin() + dot + 1, name.end(), [](QChar c) { return c.unicode() < 0x80 && c.isLetterOrNumber(); });
}

void prune(const QString &folder, const QDateTime &now)
{
    const QDir dir(folder);
    for (const QString &name : Snapshots::toRemove(dir.entryList(QDir::Files), now))
        QFile::remove(dir.filePath(name));
}

// A copy cut short by a crash or a kill leaves its temporary file; the copies are whole.
void removeInterruptedCopies(const QString &folder)
{
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden))
        if (isInterruptedCopy(name))
            QFile::remove(dir.filePath(name));
}

} // namespace

namespace Snapshots {

QString folderBeside(const QString &storePath)
{
    return QFileInfo(storePath).absolutePath() + QStringLiteral("/snapshots/");
}

QString nameFor(const QDateTime &when)
{
    return kPrefix + stampOf(when) + kSuffix;
}

QString unreadableNameFor(const QDateTime &when)
{
    return kPrefix + stampOf(when) + kUnreadable + kSuffix;
}

std::optional<QDateTime> momentOf(const QString &fileName)
{
    if (fileName.size() != kPrefix.size() + kStamp.size() + kSuffix.size() || !fileName.startsWith(kPrefix)
        || !fileName.endsWith(kSuffix))
        return std::nullopt;
    const QString stamp = fileName.mid(kPrefix.size(), kStamp.size());
    if (!std::all_of(stamp.begin(), stamp.end(), [](QChar c) { return (c >= u'0' && c <= u'9') || c == u'-'; }))
        return std::nullopt;
    const QDateTime when = QLocale::c().toDateTime(stamp, kStamp);
    if (!when.isValid())
        return std::nullopt;
    return when;
}

QStringList toRemove(const QStringList &names, const QDateTime &now)
{
    struct Dated
    {
        QString name;
        QDateTime moment;
    };
    QList<Dated> dated;
    for (const QString &name : names)
        if (const auto moment = momentOf(name))
            dated.append({name, *moment});
    std::sort(dated.begin(), dated.end(), [](const Dated &a, const Dated &b) {
        return a.moment != b.moment ? a.moment > b.moment : a.name > b.name;
    });

    const QDate today = now.date();
    const QDate firstDay = today.addDays(-(kDaysKept - 1));
    QSet<QDate> daysSeen;
    QStringList removed;
    for (qsizetype i = 0; i < dated.size(); ++i) {
        const QDate day = dated.at(i).moment.date();
        const bool newestOfItsDay = !daysSeen.contains(day);
        daysSeen.insert(day);
        const bool keptAsRecent = i < kNewestKept;
        const bool keptForItsDay = newestOfItsDay && day >= firstDay && day <= today;
        if (!keptAsRecent && !keptForItsDay)
            removed << dated.at(i).name;
    }
    return removed;
}

QString take(const QString &storePath, const QDateTime &now, QString *error)
{
    if (!QFileInfo::exists(storePath))
        return {};
    QByteArray bytes;
    QString reason;
    if (!readFile(storePath, &bytes, &reason)) {
        if (error)
            *error = reason;
        return {};
    }
    const QString folder = folderBeside(storePath);
    removeInterruptedCopies(folder);
    const QList<File> existing = list(folder);
    if (!existing.isEmpty()) {
        QByteArray newest;
        if (readFile(existing.first().path, &newest, &reason) && newest == bytes)
            return existing.first().path;
    }
    const QString path = writeCopy(folder, now, bytes, &nameFor, error);
    if (!path.isEmpty())
        prune(folder, now);
    return path;
}

QString keepUnreadable(const QString &storePath, const QDateTime &now, QString *error)
{
    QByteArray bytes;
    QString reason;
    if (!readFile(storePath, &bytes, &reason)) {
        if (error)
            *error = reason;
        return {};
    }
    return writeCopy(folderBeside(storePath), now, bytes, &unreadableNameFor, error);
}

QList<File> list(const QString &folder)
{
    const QDir dir(folder);
    QList<File> out;
    for (const QString &name : dir.entryList(QDir::Files))
        if (const auto moment = momentOf(name))
            out.append({dir.filePath(name), *moment});
    std::sort(out.begin(), out.end(), [](const File &a, const File &b) {
        return a.moment != b.moment ? a.moment > b.moment : a.path > b.path;
    });
    return out;
}

bool holdsProfile(const QString &path)
{
    bool readable = true;
    return !IniFile::fromFile(path, &readable).sections().isEmpty() && readable;
}

QList<Copy> copies(const QString &storePath, const QString &backupFolder)
{
    QList<Copy> out;
    const auto add = [&out](const QString &path, const QDateTime &moment, Copy::Kind kind) {
        bool readable = true;
        const IniFile ini = IniFile::fromFile(path, &readable);
        if (!readable || ini.sections().isEmpty())
            return;
        Copy copy{path, moment, kind, {}};
        const LoadedStore stored = NoteStore::read(ini, moment, QString(), QString());
        for (const NoteData &note : stored.notes)
            copy.titles << note.caption;
        out.append(copy);
    };
    for (const File &file : list(folderBeside(storePath)))
        add(file.path, file.moment, Copy::Kind::Snapshot);
    if (!backupFolder.trimmed().isEmpty()) {
        const QDir dir(backupFolder);
        for (const QString &name : dir.entryList(QDir::Files))
            if (const auto moment = backupMoment(name))
                add(dir.filePath(name), *moment, Copy::Kind::Backup);
    }
    std::stable_sort(out.begin(), out.end(), [](const Copy &a, const Copy &b) { return a.moment > b.moment; });
    return out;
}

} // namespace Snapshots
