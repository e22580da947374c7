#include "app/NewNote.h"

#include "platform/Locale.h"

int NotePlacement::next(int range)
{
    m_state = m_state * 134775813u + 1u;
    return static_cast<int>((static_cast<uint64_t>(range) * m_state) >> 32);
}

QPoint NotePlacement::nextUserNotePosition()
{
    const int top = next(100);
    const int left = next(100);
    return {left, top};
}

QString newNoteTitle(const QDateTime &now, bool showDate, bool showTime)
{
    QString title;
    if (showDate)
        title = Locale::formatDate(now.date()) + QLatin1Char(' ');
    if (showTime)
        title += Locale::formatTime(now.time());
    return title;
}

QPoint centredPosition(const QRect &desktop, int width, int height)
{
    return {desktop.left() + desktop.width() / 2 - width / 2, desktop.top() + desktop.height() / 2 - height / 2};
}

QPoint receivedNotePosition(QPoint spot, QSize size, const QRect &area, int step, const QList<QPoint> &taken)
{
    if (step <= 0)
        return spot;
    // Places down the cascade while the note still lies inside the area (the spot always counts).
    int places = 1;
    while (places < 10000) {
        const QRect next(spot + QPoint(places * step, places * step), size);
        if (!area.contains(next))
            break;
        ++places;
    }
    for (int i = 0; i < places; ++i) {
        const QPoint place = spot + QPoint(i * step, i * step);
        if (!taken.contains(place))
            return place;
    }
    const int round = int(taken.size() % places);
    return spot + QPoint(round * step, round * step);
}

QRect fitIntoArea(const QRect &window, const QRect &area)
{
    if (area.isEmpty())
        return window;
    QRect fitted(window.topLeft(), window.size().boundedTo(area.size()));
    if (fitted.right() > area.right())
        fitted.moveRight(area.right());
    if (fitted.bottom() > area.bottom())
        fitted.moveBottom(area.bottom());
    if (fitted.left() < area.left())
        fitted.moveLeft(area.left());
    if (fitted.top() < area.top())
        fitted.moveTop(area.top());
    return fitted;
}
