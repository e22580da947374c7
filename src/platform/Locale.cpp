#include "platform/Locale.h"

#include <QLocale>
#include <QStringList>
#include <cstdlib>

namespace {

int g_override = -1;

QString envLocaleName()
{
    for (const char *var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char *value = std::getenv(var);
        if (value && *value)
            return QString::fromLocal8Bit(value);
    }
    return {};
}

const QString kPtBrDate = QStringLiteral("dd/MM/yyyy");
const QString kPtBrTime = QStringLiteral("HH:mm:ss");

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
    const QString name = envLocaleName();
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

QString shortDateFormat()
{
    switch (userLocaleId()) {
    case kPortugueseBrazil:
        return kPtBrDate;
    case kEnglishUS:
        return QStringLiteral("M/d/yyyy");
    default: {
        QString f = QLocale::system().dateFormat(QLocale::ShortFormat);
        // A four-digit year, whatever the system's short form says.
        if (!f.contains(QLatin1String("yyyy")))
            f.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        return f;
    }
    }
}

QString longTimeFormat()
{
    return userLocaleId() == kEnglishUS ? QStringLiteral("h:mm:ss AP") : kPtBrTime;
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
    QDateTime dt = parseWith(text, shortDateFormat(), longTimeFormat());
    if (!dt.isValid())
        dt = parseWith(text, kPtBrDate, kPtBrTime);
    if (!dt.isValid())
        dt = parseWith(text, QStringLiteral("d/M/yyyy"), QStringLiteral("H:mm:ss"));
    return dt;
}

} // namespace Locale
