#include "notes/NoteSearch.h"

namespace NoteSearch {

namespace {

bool isMark(QChar c)
{
    switch (c.category()) {
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
const char16_t *spelledOut(char16_t c)
{
    switch (c) {
    case u'ß': return u"ss";
    case u'æ': return u"ae";
    case u'œ': return u"oe";
    case u'ø': return u"o";
    case u'ł': return u"l";
    case u'đ': return u"d";
    case u'ð': return u"d";
    case u'þ': return u"th";
    default: return nullptr;
    }
}

} // namespace

QString fold(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD).toCaseFolded();
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (isMark(c))
            continue;
        if (const char16_t *spelled = spelledOut(c.unicode()))
            out += QString::fromUtf16(spelled);
        else
            out += c;
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
