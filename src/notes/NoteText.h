#pragma once
// Text rules of the note window that need no window: line breaks, the address test of the
// note menu, the print job's name and header, and the default title of a new note.
#include "store/AppSettings.h"

#include <QDateTime>
#include <QString>
#include <QUrl>
#include <QStringList>

namespace NoteText {

// The text area works with LF; the rest of the program holds CR LF.
QString toCrLf(const QString &lfText);
QString toLf(const QString &anyBreaks);   // CR LF, lone CR and LF all become LF
// The text area's raw document text with LF breaks: paragraph and line separators are the
// breaks the user sees; every other character (a no-break space above all) stays as it is.
QString fromEditor(const QString &rawText);

// Whether a selection should offer "Abrir &URL": trimmed, it contains (case-sensitively) one
// of "http://", "ftp://", "www.", ".com", ".org", ".gov", ".edu".
bool LooksLikeAddress(const QString &selection);
// The web address "Abrir &URL" opens for a selection: http, https, ftp and mailto only (text
// without a scheme is taken as a web address). Anything else, a local file above all, gives an
// invalid address: note text may come from another computer, and opening it must never run a
// program.
QUrl AddressToOpen(const QString &selection);

// "Corkvane  - " + title (two blanks before the hyphen).
QString PrintJobName(const QString &title);
// The lines printed before the text, in the printer's default font: the title, 80 hyphens and
// a line holding one blank.
QStringList PrintHeaderLines(const QString &title);

// The title a new note starts with: the short date and one blank when ShowDate is set, then
// the long time when ShowTime is set; empty when neither is.
QString DefaultTitle(const GeneralSettings &settings, const QDateTime &now);

} // namespace NoteText
