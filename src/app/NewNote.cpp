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
