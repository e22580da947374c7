#include "sync/SyncNoteFile.h"

#include "store/IniFile.h"
#include "store/NoteStore.h"
#include "store/StoreValues.h"

#include <QCryptographicHash>

namespace SyncNoteFile {

namespace {

const QString kSection = QStringLiteral("Note");

// Seconds are what the store keeps of an alarm moment.
QDateTime toSeconds(const QDateTime &when)
{
    if (!when.isValid())
        return {};
    const QTime t = when.time();
    return QDateTime(when.date(), QTime(t.hour(), t.minute(), t.second()));
}

QString isoMoment(const QDateTime &when)
{
    return when.isValid() ? toSeconds(when).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) : QString();
}

NoteData withoutLocalFields(NoteData note)
{
    const NoteData defaults;
    note.posx = defaults.posx;
    note.posy = defaults.posy;
    note.soundFile.clear();
    note.syncId.clear();
    return note;
}

void appendField(QByteArray &out, const char *key, const QString &value)
{
    out += key;
    out += '=';
    out += value.toUtf8();
    out += '\0';
}

void appendField(QByteArray &out, const char *key, qint64 value)
{
    appendField(out, key, QString::number(value));
}

} // namespace

NoteData travelling(const NoteData &note)
{
    const NoteData local = withoutLocalFields(note);
    NoteData unmoored = local;
    unmoored.alarmDateTime = QDateTime();
    IniFile written;
    NoteStore::writeNoteSection(written, kSection, unmoored);
    // The moment is kept apart: the store writes it in the regional format of this computer.
    NoteData back = NoteStore::readNoteSection(IniFile(written.toBytes()), kSection, QDateTime());
    back.alarmDateTime = back.alarm ? toSeconds(local.alarmDateTime) : QDateTime();
    return back;
}

QByteArray hash(const NoteData &note)
{
    const NoteData t = travelling(note);
    QByteArray canonical;
    canonical.reserve(256 + t.note.size() + t.caption.size());
    appendField(canonical, "caption", t.caption);
    appendField(canonical, "topmost", t.topmost);
    appendField(canonical, "alarm", t.alarm);
    if (t.alarm) {
        appendField(canonical, "AlarmDateTime", isoMoment(t.alarmDateTime));
        appendField(canonical, "UseSound", t.useSound);
        QString days;
        for (const bool d : t.dia)
            days += d ? QLatin1Char('1') : QLatin1Char('0');
        appendField(canonical, "Dia", days);
        appendField(canonical, "Remember", t.remember);
        appendField(canonical, "RememberNo", t.rememberNo);
        appendField(canonical, "RememberUnit", t.rememberUnit);
    }
    appendField(canonical, "note", t.note);
    appendField(canonical, "scrollbar", t.scrollbar);
    appendField(canonical, "DarkCaption", t.darkCaption);
    appendField(canonical, "TrackPosition", t.trackPosition);
    appendField(canonical, "Width", t.width);
    appendField(canonical, "Height", t.height);
    appendField(canonical, "FontName", t.font.name);
    appendField(canonical, "FontSize", t.font.size);
    appendField(canonical, "FontColor", t.font.colour);
    appendField(canonical, "FontBold", t.font.bold);
    appendField(canonical, "FontItalic", t.font.italic);
    appendField(canonical, "Color", t.color);
    appendField(canonical, "Rodape", t.rodape);
    appendField(canonical, "visible", t.visible);
    return QCryptographicHash::hash(canonical, QCryptographicHash::Sha256).left(16).toHex();
}

QByteArray toBytes(const NoteData &note, const QString &syncId, const QDateTime &modifiedUtc, const QString &device)
{
    NoteData t = withoutLocalFields(note);
    t.syncId = syncId;
    IniFile ini;
    NoteStore::writeNoteSection(ini, kSection, t);
    for (const char *key : {"posx", "posy", "SoundFile"})
        ini.deleteKey(kSection, QString::fromLatin1(key));
    if (t.alarm)
        ini.writeString(kSection, QStringLiteral("AlarmDateTime"), isoMoment(t.alarmDateTime));
    ini.writeString(kSection, QStringLiteral("Modified"), modifiedUtc.toUTC().toString(Qt::ISODate));
    ini.writeString(kSection, QStringLiteral("Device"), device);
    return ini.toBytes();
}

std::optional<Content> fromBytes(const QByteArray &bytes, const QDateTime &loadMoment)
{
    const IniFile ini(bytes);
    if (!ini.sectionExists(kSection))
        return std::nullopt;
    Content c;
    c.note = withoutLocalFields(NoteStore::readNoteSection(ini, kSection, loadMoment));
    if (c.note.alarm) {
        const QString written = ini.readString(kSection, QStringLiteral("AlarmDateTime"));
        QDateTime when = QDateTime::fromString(written, Qt::ISODate);
        if (when.isValid())
            c.note.alarmDateTime = toSeconds(when.toLocalTime());
        // Otherwise the store's own reading stands: the regional form, or the load moment.
    }
    c.syncId = ini.readString(kSection, QStringLiteral("SyncId"));
    c.modified = QDateTime::fromString(ini.readString(kSection, QStringLiteral("Modified")), Qt::ISODate);
    if (c.modified.isValid())
        c.modified = c.modified.toUTC();
    c.device = ini.readString(kSection, QStringLiteral("Device"));
    return c;
}

NoteData withLocalFields(const NoteData &incoming, const NoteData &local)
{
    NoteData merged = incoming;
    merged.posx = local.posx;
    merged.posy = local.posy;
    merged.soundFile = local.soundFile;
    merged.syncId = local.syncId;
    return merged;
}

} // namespace SyncNoteFile
