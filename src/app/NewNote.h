#pragma once
// The pure parts of creating a note: where a user note goes and how it is titled.
#include <QDateTime>
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
