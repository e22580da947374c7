#include "store/NoteTrash.h"

#include "store/IniFile.h"
#include "platform/Clock.h"
#include "store/NoteStore.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace {

const QString kDeletedAt = QStringLiteral("DeletedAt");
const QLatin1StringView kPrefix("Note");
const QString kMomentFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The number of an entry's section "Note<n>", -1 for any other section.
int entryNumber(const QString &section)
{
    if (section.size() <= kPrefix.size() || !section.startsWith(kPrefix, Qt::CaseInsensitive))
        return -1;
    const QStringView digits = QStringView(section).sliced(kPrefix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return -1;
    bool ok = false;
    const int n = digits.toInt(&ok);
    return ok ? n : -1;
}

QStringList entrySections(const IniFile &ini)
{
    QStringList found;
    for (const QString &section : ini.sections())
        if (entryNumber(section) >= 0 && !found.contains(section, Qt::CaseInsensitive))
            found << section;
    return found;
}

} // namespace

QString NoteTrash::besideStore(const QString &storePath)
{
    return QFileInfo(storePath).absolutePath() + QLatin1Char('/') + fileName();
}

QString NoteTrash::formatMoment(const QDateTime &when)
{
    return when.isValid() ? QLocale::c().toString(when, kMomentFormat) : QString();
}

QDateTime NoteTrash::parseMoment(const QString &text)
{
    return QLocale::c().toDateTime(text.trimmed(), kMomentFormat);
}

bool NoteTrash::kept(const QDateTime &deletedAt, const QDateTime &now)
{
    return !deletedAt.isValid() || deletedAt >= now.addDays(-kKeepDays);
}

NoteTrash::NoteTrash(const QString &path) : m_path(path) {}

QString NoteTrash::notTrashedText(const QString &reason)
{
    return tr("A nota não pôde ser posta na Lixeira e por isso não foi apagada.") + QLatin1Char('\n') + reason;
}

bool NoteTrash::open(IniFile *ini, bool *junk, QString *error) const
{
    bool readable = true;
    QString reason;
    *ini = IniFile::fromFile(m_path, &readable, &reason);
    if (!readable && error)
        *error = m_path + QStringLiteral(": ") + reason;
    if (junk)
        *junk = readable && ini->sections().isEmpty() && QFileInfo(m_path).size() > 0;
    return readable;
}

bool NoteTrash::openForChange(IniFile *ini, bool *junk, QString *error) const
{
    QString reason;
    if (open(ini, junk, &reason))
        return true;
    if (error)
        *error = IniFile::writeErrorText(m_path, reason);
    return false;
}

bool NoteTrash::keepUnreadableAside(QString *error) const
{
    const QFileInfo info(m_path);
    const QString base = info.absolutePath() + QStringLiteral("/trash-unreadable-")
                         + QLocale::c().toString(Clock::now(), QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = base + QStringLiteral(".cvf");
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = base + QStringLiteral("-%1.cvf").arg(n);
    if (QFile::rename(m_path, target))
        return true;
    if (error)
        *error = IniFile::writeErrorText(m_path, QFile(m_path).errorString());
    return false;
}

bool NoteTrash::write(IniFile &ini, bool junk, const QDateTime &now, QString *error)
{
    for (const QString &section : entrySections(ini))
        if (!kept(parseMoment(ini.readString(section, kDeletedAt)), now))
            ini.eraseSection(section);
    // A file that is no profile at all is not written over: it goes aside whole, and the
    // trash starts afresh rather than carrying its bytes along.
    if (junk) {
        if (!keepUnreadableAside(error))
            return false;
        IniFile fresh;
        for (const QString &section : ini.sections())
            for (const QString &key : ini.keys(section))
                fresh.writeString(section, key, ini.readString(section, key));
        return fresh.saveToFile(m_path, error);
    }
    return ini.saveToFile(m_path, error);
}

QList<TrashEntry> NoteTrash::entries(const QDateTime &now, QString *error) const
{
    IniFile ini;
    if (!open(&ini, nullptr, error))
        return {};
    QList<TrashEntry> out;
    for (const QString &section : entrySections(ini)) {
        TrashEntry entry;
        entry.id = section;
        entry.deletedAt = parseMoment(ini.readString(section, kDeletedAt));
        if (!kept(entry.deletedAt, now))
            continue;
        entry.note = NoteStore::readNoteSection(ini, section, now);
        out.append(entry);
    }
    // The most recent first; entries without a moment last, in file order.
    std::stable_sort(out.begin(), out.end(), [](const TrashEntry &a, const TrashEntry &b) {
        if (a.deletedAt.isValid() != b.deletedAt.isValid())
            return a.deletedAt.isValid();
        return a.deletedAt > b.deletedAt;
    });
    return out;
}

bool NoteTrash::add(const NoteData &note, const QDateTime &deletedAt, QString *error, QString *id)
{
    IniFile ini;
    bool junk = false;
    if (!openForChange(&ini, &junk, error))
        return false;
    int next = 0;
    for (const QString &section : ini.sections())
        next = std::max(next, entryNumber(section) + 1);
    const QString section = kPrefix + QString::number(next);
    NoteStore::writeNoteSection(ini, section, note);
    ini.writeString(section, kDeletedAt, formatMoment(deletedAt));
    if (!write(ini, junk, deletedAt, error))
        return false;
    if (id)
        *id = section;
    return true;
}

std::optional<QList<TrashEntry>> NoteTrash::take(const QStringList &ids, const QDateTime &now, QString *error)
{
    IniFile ini;
    bool junk = false;
    if (!openForChange(&ini, &junk, error))
        return std::nullopt;
    QList<TrashEntry> taken;
    const QStringList present = entrySections(ini);
    for (const QString &id : ids) {
        if (!present.contains(id, Qt::CaseInsensitive) || !ini.sectionExists(id))
            continue;
        TrashEntry entry;
        entry.id = id;
        entry.deletedAt = parseMoment(ini.readString(id, kDeletedAt));
        entry.note = NoteStore::readNoteSection(ini, id, now);
        while (ini.sectionExists(id))
            ini.eraseSection(id);
        taken.append(entry);
    }
    if (taken.isEmpty())
        return taken;
    if (!write(ini, junk, now, error))
        return std::nullopt;
    return taken;
}

bool NoteTrash::empty(QString *error)
{
    IniFile ini;
    bool junk = false;
    if (!openForChange(&ini, &junk, error))
        return false;
    if (junk && !keepUnreadableAside(error))
        return false;
    // An emptied trash is an empty file: nothing of the notes stays behind.
    return IniFile().saveToFile(m_path, error);
}
