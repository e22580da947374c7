#pragma once
// Finding notes by what they say: the rules of the notes window's search and of its rows, kept
// apart from the window so that they can be checked on their own.
//
// A search is a few words typed by the user. A note matches when every word occurs somewhere
// in its title or its text, each word on its own (one may be in the title, another in the
// text). Letters are compared without regard to case or accents: "pao" finds "Pão", "ACAO"
// finds "ação", "ﬁm" finds "fim".
#include "store/Colour.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace NoteSearch {

// The form in which texts are compared: compatibility-decomposed, accents and other combining
// marks dropped, case-folded. Line breaks and other characters stay as they are.
QString fold(const QString &text);

// The words of a search, folded; blanks of any kind separate them. An empty or blank search
// has no words and matches every note.
QStringList terms(const QString &search);

// Whether a note whose folded title and folded text are given matches every word.
bool matches(const QStringList &terms, const QString &foldedTitle, const QString &foldedText);

// The line a row shows of a note's text: its first line that holds more than blanks, trimmed;
// empty for a blank text. Line breaks may be CR LF, LF or CR.
QString firstLine(const QString &text);

// One note as the notes window lists it, read from the note window when it changes.
struct Entry
{
    int slot = -1;
    QString title;
    QString text;           // the whole text, CR LF breaks
    ColourValue colour = 0;
    bool alarm = false;     // an alarm is armed
    QDateTime alarmAt;
    QString from;           // the footer of a received note ("De ana (10.0.0.7)"), else empty
    bool hidden = false;

    // Cached by prepare(): what the search compares, and the row's line of text.
    QString foldedTitle;
    QString foldedText;
    QString line;

    // Fills the cached fields from title and text.
    void prepare();
    bool matches(const QStringList &searchTerms) const
    {
        return NoteSearch::matches(searchTerms, foldedTitle, foldedText);
    }
};

} // namespace NoteSearch
