#include "store/StoreValues.h"

#include "platform/Locale.h"

#include <QList>

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The locale's formats, taken apart once into the fields and separators a stored date-time is
// read with, so that a store with hundreds of alarms loads in milliseconds rather than asking
// the general locale parser, which is far slower, for each. Only numeric fields with a fixed
// reading are taken (a one-letter field is one or two digits, a two-letter field exactly two,
// the year four, "AP" exactly "AM" or "PM" after a 12-hour "h"); a format with anything else,
// or a text that does not fit exactly, goes to the general parser. What is read here is what
// it would read.
struct QuickField
{
    enum Kind { Literal, Day, Month, Year, Hour24, Hour12, Minute, Second, AmPm };
    Kind kind = Literal;
    int minDigits = 0;
    int maxDigits = 0;
    QString text;  // a Literal's characters
};

struct QuickPlan
{
    bool usable = false;
    QList<QuickField> date;
    QList<QuickField> time;
};

bool planPart(const QString &format, bool timePart, QList<QuickField> *out)
{
    bool twelveHour = false;
    bool amPm = false;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format.at(i);
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        QuickField f;
        if (!c.isLetter() && c != QLatin1Char('\'')) {
            if (!out->isEmpty() && out->back().kind == QuickField::Literal)
                out->back().text += format.mid(i, run);
            else
                out->append(QuickField{QuickField::Literal, 0, 0, format.mid(i, run)});
            i += run;
            continue;
        }
        const char16_t letter = c.unicode();
        if (letter == 'A' && run == 1 && i + 1 < format.size() && format.at(i + 1) == QLatin1Char('P')) {
            if (!timePart || amPm)
                return false;
            out->append(QuickField{QuickField::AmPm, 0, 0, {}});
            amPm = true;
            i += 2;
            continue;
        }
        if (run > 2 && !(letter == 'y' && run == 4))
            return false;
        const int minDigits = int(run);
        switch (letter) {
        case 'd': f = {QuickField::Day, minDigits, 2, {}}; break;
        case 'M': f = {QuickField::Month, minDigits, 2, {}}; break;
        case 'y':
            if (run != 4)
                return false;
            f = {QuickField::Year, 4, 4, {}};
            break;
        case 'H': f = {QuickField::Hour24, minDigits, 2, {}}; break;
        case 'h': f = {QuickField::Hour12, minDigits, 2, {}}; twelveHour = true; break;
        case 'm': f = {QuickField::Minute, minDigits, 2, {}}; break;
        case 's': f = {QuickField::Second, minDigits, 2, {}}; break;
        default: return false;
        }
        const bool isTime = f.kind >= QuickField::Hour24;
        // Two numbers with nothing between them would be split where the general parser might
        // split them otherwise.
        if (isTime != timePart || (!out->isEmpty() && out->back().kind != QuickField::Literal
                                   && out->back().kind != QuickField::AmPm))
            return false;
        out->append(f);
        i += run;
    }
    return twelveHour == amPm;
}

const QuickPlan &quickPlan()
{
    thread_local QString dateFormat, timeFormat;
    thread_local QuickPlan plan;
    thread_local bool made = false;
    const QString date = Locale::shortDateFormat();
    const QString time = Locale::longTimeFormat();
    if (!made || date != dateFormat || time != timeFormat) {
        plan = QuickPlan();
        plan.usable = planPart(date, false, &plan.date) && planPart(time, true, &plan.time);
        dateFormat = date;
        timeFormat = time;
        made = true;
    }
    return plan;
}

struct QuickValues
{
    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
    bool twelveHour = false;
    int amPm = -1;  // 0 AM, 1 PM
};

bool readFields(QStringView s, qsizetype &pos, const QList<QuickField> &fields, QuickValues &v)
{
    for (const QuickField &f : fields) {
        if (f.kind == QuickField::Literal) {
            if (!s.sliced(pos).startsWith(f.text))
                return false;
            pos += f.text.size();
            continue;
        }
        if (f.kind == QuickField::AmPm) {
            const QStringView rest = s.sliced(pos);
            if (rest.startsWith(u"AM"))
                v.amPm = 0;
            else if (rest.startsWith(u"PM"))
                v.amPm = 1;
            else
                return false;
            pos += 2;
            continue;
        }
        int n = 0;
        int value = 0;
        while (pos < s.size() && n < f.maxDigits && s[pos] >= QLatin1Char('0') && s[pos] <= QLatin1Char('9')) {
            value = value * 10 + (s[pos].unicode() - '0');
            ++pos;
            ++n;
        }
        if (n < f.minDigits)
            return false;
        switch (f.kind) {
        case QuickField::Day: v.day = value; break;
        case QuickField::Month: v.month = value; break;
        case QuickField::Year: v.year = value; break;
        case QuickField::Hour24: v.hour = value; break;
        case QuickField::Hour12: v.hour = value; v.twelveHour = true; break;
        case QuickField::Minute: v.minute = value; break;
        case QuickField::Second: v.second = value; break;
        default: break;
        }
    }
    return true;
}

QDateTime quickParse(QStringView s)
{
    const QuickPlan &plan = quickPlan();
    if (!plan.usable)
        return {};
    QuickValues v;
    qsizetype pos = 0;
    if (!readFields(s, pos, plan.date, v))
        return {};
    const QDate date(v.year, v.month, v.day);
    if (!date.isValid())
        return {};
    if (pos == s.size())
        return QDateTime(date, QTime(0, 0));
    if (!s.sliced(pos).startsWith(u' '))
        return {};
    ++pos;
    if (!readFields(s, pos, plan.time, v) || pos != s.size())
        return {};
    if (v.twelveHour) {
        if (v.hour < 1 || v.hour > 12)
            return {};
        v.hour = v.hour % 12 + (v.amPm == 1 ? 12 : 0);
    }
    const QTime time(v.hour, v.minute, v.second);
    if (!time.isValid())
        return {};
    const QDateTime when(date, time);
    return when.isValid() ? when : QDateTime();
}

// Position of the first character at or after `from` that is `wanted` (or, with `orBelow`, any
// character up to `wanted`); `n` when none. Note texts are long runs of plain characters
// between the few that matter.
qsizetype scan(const char16_t *src, qsizetype from, qsizetype n, char16_t wanted, bool orBelow)
{
    qsizetype i = from;
    while (i < n) {
#if defined(__SSE2__)
        const __m128i w = _mm_set1_epi16(static_cast<short>(wanted));
        const __m128i bound = _mm_set1_epi16(static_cast<short>(wanted + 1));
        for (; i + 8 <= n; i += 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
            // Characters above 0x7FFF compare as negative: the block is then checked one by one.
            const __m128i hit = orBelow ? _mm_cmplt_epi16(v, bound) : _mm_cmpeq_epi16(v, w);
            if (_mm_movemask_epi8(hit) != 0)
                break;
        }
        const qsizetype stop = std::min(n, i + 8);
#else
        const qsizetype stop = n;
#endif
        for (; i < stop; ++i)
            if (orBelow ? src[i] <= wanted : src[i] == wanted)
                return i;
    }
    return n;
}

// Any mix of CR LF, lone CR and lone LF.
QString encodeMixedBreaks(QStringView src)
{
    QString out;
    out.reserve(src.size() + 16);
    for (qsizetype i = 0; i < src.size(); ++i) {
        const char16_t c = src[i].unicode();
        if (c == '\r' || c == '\n') {
            out.append(QLatin1String("\\n"));
            if (c == '\r' && i + 1 < src.size() && src[i + 1] == QLatin1Char('\n'))
                ++i;
        } else {
            out.append(QChar(c));
        }
    }
    return out;
}

} // namespace

namespace StoreValues {

QString encodeNoteText(const QString &text)
{
    // Each CR LF pair becomes "\n" where it stands, so the text keeps its length.
    QString out = text;
    const char16_t *src = QStringView(text).utf16();
    const qsizetype n = text.size();
    QChar *dst = nullptr;
    for (qsizetype i = scan(src, 0, n, '\r', true); i < n; i = scan(src, i + 1, n, '\r', true)) {
        const char16_t c = src[i];
        if (c == '\r' && i + 1 < n && src[i + 1] == '\n') {
            if (!dst)
                dst = out.data();
            dst[i] = QLatin1Char('\\');
            dst[i + 1] = QLatin1Char('n');
            ++i;
        } else if (c == '\r' || c == '\n') {
            return encodeMixedBreaks(text);
        }
    }
    return out;
}

QString decodeNoteText(const QString &stored)
{
    // Each "\n" becomes CR LF where it stands, so the text keeps its length.
    QString out = stored;
    const char16_t *src = QStringView(stored).utf16();
    const qsizetype n = stored.size();
    QChar *dst = nullptr;
    for (qsizetype i = scan(src, 0, n, '\\', false); i + 1 < n; i = scan(src, i + 1, n, '\\', false)) {
        if (src[i + 1] != 'n')
            continue;
        if (!dst)
            dst = out.data();
        dst[i] = QLatin1Char('\r');
        dst[i + 1] = QLatin1Char('\n');
        ++i;
    }
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
