#include "notes/NoteText.h"

#include <QStringList>

#include "platform/Locale.h"

namespace NoteText {

QString toCrLf(const QString &lfText)
{
    QString out = toLf(lfText);
    out.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return out;
}

QString toLf(const QString &anyBreaks)
{
    QString out = anyBreaks;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

QString fromEditor(const QString &rawText)
{
    QString out = rawText;
    for (QChar &c : out)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    return out;
}

bool LooksLikeAddress(const QString &selection)
{
    const QString s = selection.trimmed();
    if (s.isEmpty())
        return false;
    static const char *const marks[] = {"http://", "ftp://", "www.", ".com", ".org", ".gov", ".edu"};
    for (const char *mark : marks)
        if (s.contains(QLatin1String(mark), Qt::CaseSensitive))
            return true;
    return false;
}

QString PrintJobName(const QString &title)
{
    return QStringLiteral("Corkvane  - ") + title;
}

QStringList PrintHeaderLines(const QString &title)
{
    return {title, QString(80, QLatin1Char('-')), QStringLiteral(" ")};
}

QString DefaultTitle(const GeneralSettings &settings, const QDateTime &now)
{
    QString title;
    if (settings.ShowDate)
        title = Locale::formatDate(now.date()) + QLatin1Char(' ');
    if (settings.ShowTime)
        title += Locale::formatTime(now.time());
    return title;
}

} // namespace NoteText

QUrl NoteText::AddressToOpen(const QString &selection)
{
    const QString text = selection.trimmed();
    QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty() || url.scheme().size() == 1)  // "C:" is a drive
        url = QUrl(QStringLiteral("http://") + text, QUrl::StrictMode);
    static const QStringList allowed{QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("ftp"),
                                     QStringLiteral("mailto")};
    if (!url.isValid() || !allowed.contains(url.scheme().toLower()))
        return {};
    if (url.scheme() != QLatin1String("mailto") && url.host().isEmpty())
        return {};
    return url;
}
