#pragma once
// The user's locale as the program sees it: an identifier (1046 Portuguese-Brazil,
// 1033 English-US, 0 anything else) and the short date and long time formats.
#include <QDateTime>
#include <QString>

namespace Locale {

constexpr int kPortugueseBrazil = 1046;
constexpr int kEnglishUS = 1033;

// From LC_ALL, then LC_MESSAGES, then LANG.
int userLocaleId();
// For tests: forces the identifier; a negative value returns to the environment.
void overrideLocaleId(int id);

QString shortDateFormat();
QString longTimeFormat();

QString formatDate(const QDate &date);
QString formatTime(const QTime &time);
// Short date, a blank and long time; midnight leaves the blank and the time out.
QString formatStoredDateTime(const QDateTime &when);
// Parses the locale's form, and also the pt-BR form; an invalid QDateTime when neither fits.
QDateTime parseStoredDateTime(const QString &text);

} // namespace Locale
