#pragma once
// The pure parts of creating a note: where a user note goes and how it is titled.
#include <QDateTime>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>

// Places user notes: a linear congruential generator whose state starts at 0 with each run and
// is never seeded from the clock, so every run lays its notes out in the same sequence.
class NotePlacement
{
public:
    // A pseudo-random integer 0 .. range - 1.
    int next(int range);
    // Top first, then left: the first note of a run lands at left 3, top 0.
    QPoint nextUserNotePosition();

private:
    uint32_t m_state = 0;
};

// Date, one blank, time; the date alone keeps its trailing blank; neither gives an empty title.
QString newNoteTitle(const QDateTime &now, bool showDate, bool showTime);

// A received note is centred on the whole virtual desktop (integer halves).
QPoint centredPosition(const QRect &desktop, int width, int height);

// Where a received note of `size` goes when `spot` is where it would be centred: on the spot,
// or, while a note stands there, a step (the title bar's height) lower and to the right of it,
// and so on down the cascade, so that no note hides another. The cascade stays inside `area`:
// once every place in it is taken, the notes go round it again. `taken` holds the top-left
// corners of the notes standing on the desktop.
QPoint receivedNotePosition(QPoint spot, QSize size, const QRect &area, int step, const QList<QPoint> &taken);

// `window` made to fit inside `area` (the available area of its screen): no larger than the
// area, and moved only as far as it must be to lie inside it.
QRect fitIntoArea(const QRect &window, const QRect &area);
