#include "platform/Locale.h"

#include "platform/TextCodec.h"

#include <QLocale>
#include <QStringList>
#include <cstdlib>

namespace {

int g_override = -1;
QString g_formatOverride;

QString envName(std::initializer_list<const char *> vars)
{
    for (const char *var : vars) {
        const char *value = std::getenv(var);
        if (value && *value)
            return QString::fromLocal8Bit(value);
    }
    return {};
}

const QString kPtBrDate = QStringLiteral("dd/MM/yyyy");
const QString kPtBrTime = QStringLiteral("HH:mm:ss");
const QString kUsDate = QStringLiteral("M/d/yyyy");
const QString kUsTime = QStringLiteral("h:mm:ss AP");

// Samples that tell every field apart: one- and two-digit days, months, hours and minutes,
// morning and afternoon.
const QDate kSampleDates[] = {QDate(2027, 12, 25), QDate(2027, 1, 5)};
const QTime kSampleTimes[] = {QTime(21, 30, 45), QTime(9, 5, 7)};

QString withFourDigitYear(QString format)
{
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

// The locale's long time without its time-zone name ("t" in any repetition, outside quotes).
QString withoutZone(const QString &format)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out.append(c);
    }
    return out.simplified();
}

// The part writes in the store's code page and reads back as it was.
bool dateKeeps(const QString &format)
{
    const QLocale c = QLocale::c();
    for (const QDate sample : kSampleDates) {
        const QString text = c.toString(sample, format);
        if (TextCodec::fromWin1252(TextCodec::toWin1252(text)) != text || c.toDate(text, format) != sample)
            return false;
    }
    return true;
}

bool timeKeeps(const QString &format)
{
    if (!format.contains(QLatin1Char('s')))
        return false;
    const QLocale c = QLocale::c();
    for (const QTime sample : kSampleTimes) {
        const QString text = c.toString(sample, format);
        if (TextCodec::fromWin1252(TextCodec::toWin1252(text)) != text || c.toTime(text, format) != sample)
            return false;
    }
    return true;
}

Locale::DateTimeFormats derivedFormats(const QString &localeName)
{
    if (localeName.startsWith(QLatin1String("pt_BR")))
        return {kPtBrDate, kPtBrTime};
    if (localeName.startsWith(QLatin1String("en_US")))
        return {kUsDate, kUsTime};
    const QLocale locale(localeName);
    Locale::DateTimeFormats f{withFourDigitYear(locale.dateFormat(QLocale::ShortFormat)),
                              withoutZone(locale.timeFormat(QLocale::LongFormat))};
    if (!dateKeeps(f.date))
        f.date = kPtBrDate;
    if (!timeKeeps(f.time))
        f.time = kPtBrTime;
    return f;
}

// The name whose formats apply now.
QString activeFormatLocale()
{
    if (!g_formatOverride.isEmpty())
        return g_formatOverride;
    if (g_override == Locale::kPortugueseBrazil)
        return QStringLiteral("pt_BR");
    if (g_override == Locale::kEnglishUS)
        return QStringLiteral("en_US");
    return Locale::formatLocaleName();
}

const Locale::DateTimeFormats &activeFormats()
{
    // Every stored alarm asks for the formats: they are worked out once per locale name.
    thread_local QString cachedName;
    thread_local Locale::DateTimeFormats cached;
    thread_local bool valid = false;
    const QString name = activeFormatLocale();
    if (!valid || name != cachedName) {
        cached = derivedFormats(name);
        cachedName = name;
        valid = true;
    }
    return cached;
}

QDateTime parseWith(const QString &text, const QString &dateFormat, const QString &timeFormat)
{
    const QLocale c = QLocale::c();
    QDateTime dt = c.toDateTime(text, dateFormat + QLatin1Char(' ') + timeFormat);
    if (dt.isValid())
        return dt;
    const QDate d = c.toDate(text, dateFormat);
    if (d.isValid())
        return QDateTime(d, QTime(0, 0));
    return {};
}

} // namespace

namespace Locale {

int userLocaleId()
{
    if (g_override >= 0)
        return g_override;
    const QString name = envName({"LC_ALL", "LC_MESSAGES", "LANG"});
    if (name.startsWith(QLatin1String("pt_BR")))
        return kPortugueseBrazil;
    if (name.startsWith(QLatin1String("en_")))
        return kEnglishUS;
    return 0;
}

void overrideLocaleId(int id)
{
    g_override = id;
}

QString formatLocaleName()
{
    return envName({"LC_ALL", "LC_TIME", "LANG"});
}

void overrideFormatLocale(const QString &name)
{
    g_formatOverride = name;
}

DateTimeFormats formatsOf(const QString &localeName)
{
    return derivedFormats(localeName);
}

QString shortDateFormat()
{
    return activeFormats().date;
}

QString longTimeFormat()
{
    return activeFormats().time;
}

QString formatDate(const QDate &date)
{
    return QLocale::c().toString(date, shortDateFormat());
}

QString formatTime(const QTime &time)
{
    return QLocale::c().toString(time, longTimeFormat());
}

QString formatStoredDateTime(const QDateTime &when)
{
    if (when.time() == QTime(0, 0))
        return formatDate(when.date());
    return formatDate(when.date()) + QLatin1Char(' ') + formatTime(when.time());
}

QDateTime parseStoredDateTime(const QString &raw)
{
    const QString text = raw.trimmed();
    if (text.isEmpty())
        return {};
    const DateTimeFormats own = activeFormats();
    QDateTime dt = parseWith(text, own.date, own.time);
    if (!dt.isValid())
        dt = parseWith(text, kPtBrDate, kPtBrTime);
    if (!dt.isValid())
        dt = parseWith(text, QStringLiteral("d/M/yyyy"), QStringLiteral("H:mm:ss"));
    if (!dt.isValid() && activeFormatLocale().startsWith(QLatin1String("en_")))
        dt = parseWith(text, kUsDate, kUsTime);
    return dt;
}

} // namespace Locale
