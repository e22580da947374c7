#pragma once
// Web and mail addresses in a note's text, found for display only: the text itself is never
// touched. Pure functions, so that what counts as an address is decided in one place.
#include <QColor>
#include <QList>
#include <QStringView>
#include <QUrl>

namespace NoteLinks {

struct Link
{
    qsizetype start = 0;   // in the line
    qsizetype length = 0;
    QUrl target;           // what a Ctrl+click opens

    bool operator==(const Link &) const = default;
};

// The addresses of one line, left to right and never overlapping:
//  - "http://" and "https://" addresses, and those beginning with "www." (opened as http);
//  - "mailto:" addresses and bare e-mail addresses (name@domain.tld);
// each starting at the beginning of a word, without the punctuation that closes the sentence
// around it, and with a closing bracket only when the address opened it.
QList<Link> find(QStringView line);

// The link whose text holds position `column` of the line (a click there), if any.
const Link *linkAt(const QList<Link> &links, qsizetype column);

// WCAG contrast ratio of two colours, 1 to 21.
double contrastRatio(const QColor &a, const QColor &b);

// The colour links are drawn in on a note of colour `background`: the usual link blue, made
// darker or lighter until it reads well on that colour.
QColor linkColour(const QColor &background);

} // namespace NoteLinks
