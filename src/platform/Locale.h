#pragma once
// The user's locale as the program sees it: an identifier (1046 Portuguese-Brazil,
// 1033 English, 0 anything else) for the language, and the short date and long time formats
// of the user's region for the store, the wire and the titles of new notes.
#include <QDateTime>
#include <QString>

namespace Locale {

constexpr int kPortugueseBrazil = 1046;
constexpr int kEnglishUS = 1033;

// From LC_ALL, then LC_MESSAGES, then LANG: pt_BR* is 1046, en_* is 1033, anything else 0.
int userLocaleId();
// For tests: forces the identifier, and with it the formats of pt_BR (1046) or en_US (1033);
// 0 keeps the formats of the environment. A negative value returns to the environment.
void overrideLocaleId(int id);

// The locale that dates and times are written in: LC_ALL, then LC_TIME, then LANG.
QString formatLocaleName();
// For tests: dates and times as under this locale name ("de_DE.UTF-8"); empty returns to
// the environment (or to what overrideLocaleId chose).
void overrideFormatLocale(const QString &name);

struct DateTimeFormats
{
    QString date;  // the short date, always with a four-digit year
    QString time;  // the long time, with seconds and without a time-zone name
};
// The formats a Windows installation of that region writes: pt_BR "dd/MM/yyyy HH:mm:ss",
// en_US "M/d/yyyy h:mm:ss AP", en_GB "dd/MM/yyyy HH:mm:ss", de_DE "dd.MM.yyyy HH:mm:ss".
// A part that the store's code page cannot hold, or that would not read back, is taken in
// the pt-BR form instead.
DateTimeFormats formatsOf(const QString &localeName);

QString shortDateFormat();
QString longTimeFormat();

QString formatDate(const QDate &date);
QString formatTime(const QTime &time);
// Short date, a blank and long time; midnight leaves the blank and the time out.
QString formatStoredDateTime(const QDateTime &when);
// Parses the locale's form, and also the pt-BR form (under an English locale, the US form that
// every English locale wrote before the regions had their own); an invalid QDateTime when
// none fits.
QDateTime parseStoredDateTime(const QString &text);

} // namespace Locale
