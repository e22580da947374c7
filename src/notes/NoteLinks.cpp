#include "notes/NoteLinks.h"

#include <QString>
#include <cmath>

namespace NoteLinks {

namespace {

bool isSpaceOrControl(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
}

// Characters that end an address wherever they stand.
bool endsAddress(QChar c)
{
    if (isSpaceOrControl(c))
        return true;
    switch (c.unicode()) {
    case '<': case '>': case '"': case '`': case '{': case '}': case '|': case '\\': case '^':
        return true;
    default:
        break;
    }
    const QChar::Category category = c.category();
    return category == QChar::Punctuation_InitialQuote || category == QChar::Punctuation_FinalQuote;
}

// Punctuation that, at the end of an address, belongs to the sentence around it.
bool closesSentence(QChar c)
{
    switch (c.unicode()) {
    case '.': case ',': case ';': case ':': case '!': case '?': case '\'': case '*':
    case 0x2026:  // ellipsis
        return true;
    default:
        return false;
    }
}

// A character that joins what stands before it to the address: "xwww.site.com" or
// "name.www.site.com" is not an address beginning with "www.".
bool joinsWord(QChar c)
{
    if (c.isLetterOrNumber() || c.isMark())
        return true;
    switch (c.unicode()) {
    case '.': case '_': case '-': case '/': case '@': case ':': case '%': case '+': case '~': case '&': case '=':
        return true;
    default:
        return false;
    }
}

bool startsWord(QStringView line, qsizetype at)
{
    return at == 0 || !joinsWord(line.at(at - 1));
}

// Drops the sentence's closing punctuation and unbalanced closing brackets from the end.
qsizetype trimEnd(QStringView line, qsizetype start, qsizetype end)
{
    static constexpr std::pair<char16_t, char16_t> kBrackets[] = {{u'(', u')'}, {u'[', u']'}};
    while (end > start) {
        const QChar last = line.at(end - 1);
        if (closesSentence(last)) {
            --end;
            continue;
        }
        bool unbalanced = false;
        for (const auto &[open, close] : kBrackets) {
            if (last != QChar(close))
                continue;
            const QStringView text = line.mid(start, end - start);
            unbalanced = text.count(QChar(close)) > text.count(QChar(open));
        }
        if (!unbalanced)
            break;
        --end;
    }
    return end;
}

qsizetype addressEnd(QStringView line, qsizetype from)
{
    qsizetype end = from;
    while (end < line.size() && !endsAddress(line.at(end)))
        ++end;
    return end;
}

bool isHostCharacter(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c == u'-' || c == u'.';
}

// A host name: labels of letters, digits and hyphens (any script) between dots, none empty
// and none beginning or ending with a hyphen.
bool isHostName(QStringView host, bool needsDot)
{
    if (host.isEmpty())
        return false;
    bool dotSeen = false;
    qsizetype labelStart = 0;
    for (qsizetype i = 0; i <= host.size(); ++i) {
        if (i < host.size() && host.at(i) != u'.') {
            if (!isHostCharacter(host.at(i)))
                return false;
            continue;
        }
        const QStringView label = host.mid(labelStart, i - labelStart);
        if (label.isEmpty() || label.front() == u'-' || label.back() == u'-')
            return false;
        if (i < host.size())
            dotSeen = true;
        labelStart = i + 1;
    }
    return dotSeen || !needsDot;
}

// The top-level part of a mail domain: two letters at least, no digits.
bool hasMailTopLevel(QStringView domain)
{
    const QStringView top = domain.mid(domain.lastIndexOf(u'.') + 1);
    if (top.size() < 2)
        return false;
    for (QChar c : top)
        if (!c.isLetter())
            return false;
    return true;
}

bool isMailLocalCharacter(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c == u'.' || c == u'_' || c == u'%' || c == u'+' || c == u'-';
}

// The e-mail address whose "@" stands at `at`: [start, end) or an empty range.
std::pair<qsizetype, qsizetype> mailAround(QStringView line, qsizetype at)
{
    qsizetype start = at;
    while (start > 0 && isMailLocalCharacter(line.at(start - 1)))
        --start;
    while (start < at && line.at(start) == u'.')
        ++start;
    qsizetype end = at + 1;
    while (end < line.size() && isHostCharacter(line.at(end)))
        ++end;
    while (end > at + 1 && (line.at(end - 1) == u'.' || line.at(end - 1) == u'-'))
        --end;
    if (start == at || end == at + 1)
        return {0, 0};
    const QStringView local = line.mid(start, at - start);
    if (local.back() == u'.' || local.contains(QStringLiteral("..")))
        return {0, 0};
    const QStringView domain = line.mid(at + 1, end - at - 1);
    if (!isHostName(domain, true) || !hasMailTopLevel(domain))
        return {0, 0};
    return {start, end};
}

bool startsWithNoCase(QStringView line, qsizetype at, QStringView prefix)
{
    return line.mid(at).startsWith(prefix, Qt::CaseInsensitive);
}

// An address with a scheme or "www." beginning at `at`, or an empty range.
std::pair<qsizetype, qsizetype> webAddressAt(QStringView line, qsizetype at, QUrl &target)
{
    static constexpr QStringView kWebPrefixes[] = {u"https://", u"http://", u"www."};
    for (QStringView prefix : kWebPrefixes) {
        if (!startsWithNoCase(line, at, prefix))
            continue;
        const qsizetype end = trimEnd(line, at, addressEnd(line, at + prefix.size()));
        const QStringView text = line.mid(at, end - at);
        const QStringView rest = text.mid(prefix.size());
        qsizetype hostEnd = 0;
        while (hostEnd < rest.size() && isHostCharacter(rest.at(hostEnd)))
            ++hostEnd;
        const QStringView host = rest.first(hostEnd);
        // A bracketed literal address ("http://[::1]/") is left for QUrl to judge.
        const bool literal = prefix != u"www." && rest.startsWith(u'[');
        if (!literal && !isHostName(host, false))
            return {0, 0};
        // "www." addresses are opened as web pages.
        target = prefix == u"www." ? QUrl::fromUserInput(text.toString()) : QUrl(text.toString(), QUrl::TolerantMode);
        if (!target.isValid() || target.host().isEmpty())
            return {0, 0};
        return {at, end};
    }
    if (startsWithNoCase(line, at, u"mailto:")) {
        const qsizetype addressStart = at + 7;
        const qsizetype atSign = line.indexOf(u'@', addressStart);
        if (atSign <= addressStart)
            return {0, 0};
        const auto [start, end] = mailAround(line, atSign);
        if (start != addressStart)
            return {0, 0};
        target = QUrl(QStringLiteral("mailto:") + line.mid(start, end - start).toString());
        return {at, end};
    }
    return {0, 0};
}

} // namespace

QList<Link> find(QStringView line)
{
    QList<Link> links;
    qsizetype i = 0;
    qsizetype scannedForMail = 0;  // e-mail addresses before this point are already found
    while (i < line.size()) {
        const QChar c = line.at(i);
        if ((c == u'h' || c == u'H' || c == u'w' || c == u'W' || c == u'm' || c == u'M') && startsWord(line, i)) {
            QUrl target;
            const auto [start, end] = webAddressAt(line, i, target);
            if (end > start) {
                // Bare mail addresses between the last address and this one come first.
                for (qsizetype at = line.indexOf(u'@', scannedForMail); at >= 0 && at < start;
                     at = line.indexOf(u'@', at + 1)) {
                    const auto [mailStart, mailEnd] = mailAround(line, at);
                    if (mailEnd > mailStart && mailStart >= scannedForMail && mailEnd <= start) {
                        links.append({mailStart, mailEnd - mailStart,
                                      QUrl(QStringLiteral("mailto:") + line.mid(mailStart, mailEnd - mailStart).toString())});
                        at = mailEnd - 1;
                    }
                }
                links.append({start, end - start, target});
                i = end;
                scannedForMail = end;
                continue;
            }
        }
        ++i;
    }
    for (qsizetype at = line.indexOf(u'@', scannedForMail); at >= 0; at = line.indexOf(u'@', at + 1)) {
        const auto [mailStart, mailEnd] = mailAround(line, at);
        if (mailEnd > mailStart && mailStart >= scannedForMail) {
            links.append({mailStart, mailEnd - mailStart,
                          QUrl(QStringLiteral("mailto:") + line.mid(mailStart, mailEnd - mailStart).toString())});
            at = mailEnd - 1;
        }
    }
    return links;
}

const Link *linkAt(const QList<Link> &links, qsizetype column)
{
    for (const Link &link : links)
        if (column >= link.start && column < link.start + link.length)
            return &link;
    return nullptr;
}

namespace {

double channel(double c)
{
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &colour)
{
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor linkColour(const QColor &background)
{
    // The usual link blue first, then ever darker and lighter shades of it, nearest first.
    constexpr int kHue = 225;
    constexpr int kUsualPercent = 40;
    constexpr double kReadable = 4.5;
    for (int step = 0; step <= 11; ++step) {
        for (int sign : {-1, 1}) {
            const int lightness = kUsualPercent + sign * step * 5;
            if (lightness < 5 || lightness > 95 || (step == 0 && sign > 0))
                continue;
            const QColor candidate = QColor::fromHslF(kHue / 360.0, 1.0, lightness / 100.0);
            if (contrastRatio(candidate, background) >= kReadable)
                return candidate;
        }
    }
    // A mid blue note leaves no blue readable on it: black or white then, whichever reads
    // better (one of them always does); the underline still marks the link.
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
}

} // namespace NoteLinks
