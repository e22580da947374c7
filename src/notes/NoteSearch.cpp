#include "notes/NoteSearch.h"

namespace NoteSearch {

namespace {

bool isMark(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

// Letters that no decomposition takes apart, written as a user without them on the keyboard
// types them.
const char16_t *spelledOut(char32_t c)
{
    switch (c) {
    case U'ß': return u"ss";
    case U'æ': return u"ae";
    case U'œ': return u"oe";
    case U'ø': return u"o";
    case U'ł': return u"l";
    case U'đ': return u"d";
    case U'ð': return u"d";
    case U'þ': return u"th";
    default: return nullptr;
    }
}

// Appends `c` folded: its compatibility decomposition all the way down, without the marks,
// case-folded.
void appendFolded(QString &out, char32_t c)
{
    if (QChar::decompositionTag(c) != QChar::NoDecomposition) {
        const QString parts = QChar::decomposition(c);
        for (qsizetype i = 0; i < parts.size(); ++i) {
            char32_t part = parts.at(i).unicode();
            if (parts.at(i).isHighSurrogate() && i + 1 < parts.size())
                part = QChar::surrogateToUcs4(parts.at(i), parts.at(i + 1)), ++i;
            appendFolded(out, part);
        }
        return;
    }
    if (isMark(c))
        return;
    const char32_t folded = QChar::toCaseFolded(c);
    if (const char16_t *spelled = spelledOut(folded))
        out += QString::fromUtf16(spelled);
    else
        out += QString::fromUcs4(&folded, 1);
}

} // namespace

QString fold(const QString &text)
{
    // Every note's whole text is folded when the notes window reads it: runs of plain ASCII,
    // most of any text, are copied whole and lowered in place.
    QString out;
    out.reserve(text.size());
    const QChar *in = text.constData();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size;) {
        qsizetype run = i;
        while (run < size && in[run].unicode() < 0x80)
            ++run;
        if (run > i) {
            const qsizetype at = out.size();
            out.append(in + i, run - i);
            for (QChar *c = out.data() + at, *end = out.data() + out.size(); c != end; ++c)
                if (c->unicode() >= u'A' && c->unicode() <= u'Z')
                    *c = QChar(char16_t(c->unicode() + 32));
            i = run;
            continue;
        }
        char32_t code = in[i].unicode();
        if (in[i].isHighSurrogate() && i + 1 < size && in[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(in[i], in[i + 1]);
            ++i;
        }
        appendFolded(out, code);
        ++i;
    }
    return out;
}

QStringList terms(const QString &search)
{
    QStringList out;
    QString word;
    const auto flush = [&] {
        if (word.isEmpty())
            return;
        const QString folded = fold(word);
        if (!folded.isEmpty())
            out << folded;
        word.clear();
    };
    for (const QChar c : search) {
        if (c.isSpace())
            flush();
        else
            word += c;
    }
    flush();
    return out;
}

bool matches(const QStringList &terms, const QString &foldedTitle, const QString &foldedText)
{
    for (const QString &term : terms)
        if (!foldedTitle.contains(term) && !foldedText.contains(term))
            return false;
    return true;
}

QString firstLine(const QString &text)
{
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && text.at(end) != QLatin1Char('\r') && text.at(end) != QLatin1Char('\n'))
            ++end;
        const QString line = text.mid(start, end - start).trimmed();
        if (!line.isEmpty())
            return line;
        if (end >= text.size())
            break;
        // One break: CR LF counts once.
        start = end + ((text.at(end) == QLatin1Char('\r') && end + 1 < text.size() && text.at(end + 1) == QLatin1Char('\n')) ? 2 : 1);
    }
    return {};
}

void Entry::prepare()
{
    foldedTitle = fold(title);
    foldedText = fold(text);
    line = firstLine(text);
}

} // namespace NoteSearch
