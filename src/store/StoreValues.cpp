#include "store/StoreValues.h"

#include "platform/Locale.h"

#include <algorithm>

namespace {

// Reads between `minDigits` and `maxDigits` decimal digits at `pos`.
bool digits(QStringView s, qsizetype &pos, int minDigits, int maxDigits, int *value)
{
    int n = 0;
    int v = 0;
    while (pos < s.size() && n < maxDigits && s[pos] >= QLatin1Char('0') && s[pos] <= QLatin1Char('9')) {
        v = v * 10 + (s[pos].unicode() - '0');
        ++pos;
        ++n;
    }
    *value = v;
    return n >= minDigits;
}

bool literal(QStringView s, qsizetype &pos, QStringView text)
{
    if (!s.sliced(pos).startsWith(text))
        return false;
    pos += text.size();
    return true;
}

// The two fixed forms of the Portuguese and English settings, read without the general locale
// parser, which is far slower: a store with hundreds of alarms must load in milliseconds. Any
// other text (or form) goes to the general parser; what is read here is what it would read.
QDateTime quickParse(QStringView s)
{
    const QString dateFormat = Locale::shortDateFormat();
    const QString timeFormat = Locale::longTimeFormat();
    const bool portuguese = dateFormat == QLatin1String("dd/MM/yyyy") && timeFormat == QLatin1String("HH:mm:ss");
    const bool english = dateFormat == QLatin1String("M/d/yyyy") && timeFormat == QLatin1String("h:mm:ss AP");
    if (!portuguese && !english)
        return {};
    const int shortest = portuguese ? 2 : 1;
    qsizetype pos = 0;
    int day, month, year;
    int *first = portuguese ? &day : &month;
    int *second = portuguese ? &month : &day;
    if (!digits(s, pos, shortest, 2, first) || !literal(s, pos, u"/")
        || !digits(s, pos, shortest, 2, second) || !literal(s, pos, u"/")
        || !digits(s, pos, 4, 4, &year))
        return {};
    const QDate date(year, month, day);
    if (!date.isValid())
        return {};
    if (pos == s.size())
        return QDateTime(date, QTime(0, 0));
    int hour, minute, second_;
    if (!literal(s, pos, u" ") || !digits(s, pos, shortest, 2, &hour) || !literal(s, pos, u":")
        || !digits(s, pos, 2, 2, &minute) || !literal(s, pos, u":") || !digits(s, pos, 2, 2, &second_))
        return {};
    if (english) {
        if (hour < 1 || hour > 12 || !literal(s, pos, u" "))
            return {};
        if (literal(s, pos, u"PM"))
            hour = hour % 12 + 12;
        else if (literal(s, pos, u"AM"))
            hour = hour % 12;
        else
            return {};
    }
    if (pos != s.size())
        return {};
    const QTime time(hour, minute, second_);
    if (!time.isValid())
        return {};
    const QDateTime when(date, time);
    return when.isValid() ? when : QDateTime();
}

} // namespace

namespace StoreValues {

QString encodeNoteText(const QString &text)
{
    // A CR LF pair keeps its length; only a lone CR or LF grows by one character.
    const QStringView src(text);
    QString out;
    out.reserve(text.size() + 16);
    qsizetype from = 0;
    qsizetype nextCr = src.indexOf(QLatin1Char('\r'));
    qsizetype nextLf = src.indexOf(QLatin1Char('\n'));
    while (nextCr >= 0 || nextLf >= 0) {
        const qsizetype at = (nextCr < 0) ? nextLf : (nextLf < 0 ? nextCr : std::min(nextCr, nextLf));
        out.append(src.sliced(from, at - from)).append(QLatin1String("\\n"));
        from = at + 1;
        if (at == nextCr && nextLf == at + 1)
            from = at + 2;
        if (nextCr >= 0 && nextCr < from)
            nextCr = src.indexOf(QLatin1Char('\r'), from);
        if (nextLf >= 0 && nextLf < from)
            nextLf = src.indexOf(QLatin1Char('\n'), from);
    }
    out.append(src.sliced(from));
    return out;
}

QString decodeNoteText(const QString &stored)
{
    const QStringView src(stored);
    auto nextPair = [&src](qsizetype from) {
        for (qsizetype at = src.indexOf(QLatin1Char('\\'), from); at >= 0;
             at = src.indexOf(QLatin1Char('\\'), at + 1))
            if (at + 1 < src.size() && src[at + 1] == QLatin1Char('n'))
                return at;
        return qsizetype(-1);
    };
    qsizetype at = nextPair(0);
    if (at < 0)
        return stored;
    QString out;
    out.reserve(stored.size());
    qsizetype from = 0;
    while (at >= 0) {
        out.append(src.sliced(from, at - from)).append(QLatin1String("\r\n"));
        from = at + 2;
        at = nextPair(from);
    }
    out.append(src.sliced(from));
    return out;
}

QString formatDateTime(const QDateTime &when)
{
    if (!when.isValid())
        return QString();
    return Locale::formatStoredDateTime(when);
}

QDateTime parseDateTime(const QString &text, const QDateTime &fallback)
{
    QDateTime parsed = quickParse(QStringView(text).trimmed());
    if (!parsed.isValid())
        parsed = Locale::parseStoredDateTime(text);
    return parsed.isValid() ? parsed : fallback;
}

} // namespace StoreValues
