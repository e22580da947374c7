#include "store/StoreValues.h"

#include "platform/Locale.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
