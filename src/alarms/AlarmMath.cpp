#include "alarms/AlarmMath.h"

#include <algorithm>

namespace AlarmMath {

int weekdayNumber(const QDate &date)
{
    // Qt counts Monday = 1 .. Sunday = 7.
    return date.dayOfWeek() % 7 + 1;
}

bool weekdayAllowed(const Weekdays &dia, const QDate &date)
{
    if (std::none_of(dia.begin(), dia.end(), [](bool on) { return on; }))
        return true;
    const int k = weekdayNumber(date);
    return k >= 1 && k <= 7 && dia[static_cast<size_t>(k - 1)];
}

QDateTime addStep(const QDateTime &from, int n, int unit)
{
    const qint64 count = std::max(1, n);
    QDateTime next;
    switch (unit) {
    case Minutes: next = from.addSecs(count * 60); break;
    case Hours: next = from.addSecs(count * 3600); break;
    case Weeks: next = from.addDays(count * 7); break;
    case Months: next = from.addDays(count * 30); break;
    case Days:
    default: next = from.addDays(count); break;
    }
    // A step beyond the calendar's range cannot be taken; a day always can.
    return next.isValid() ? next : from.addDays(1);
}

QDateTime NextAlarmTime(const QDateTime &base, int n, int unit, const Weekdays &dia, const QDateTime &now)
{
    QDateTime next = addStep(base.isValid() ? base : now, n, unit);
    if (!next.isValid())
        return now.addDays(1);

    // Whole days that are surely past are skipped in one move; each of them would only have
    // been rejected as earlier than now.
    const qint64 behind = next.date().daysTo(now.date()) - 1;
    if (behind > 0) {
        const QDateTime jumped = next.addDays(behind);
        if (jumped.isValid() && jumped < now)
            next = jumped;
    }

    // At most a week of single days remains before an allowed weekday comes round.
    for (int guard = 0; guard < 16; ++guard) {
        if (weekdayAllowed(dia, next.date()) && next >= now)
            return next;
        const QDateTime day = next.addDays(1);
        if (!day.isValid())
            break;
        next = day;
    }
    return next;
}

bool isAlarmDue(bool remember, const Weekdays &dia, const QDateTime &alarmDateTime, const QDateTime &now)
{
    if (remember && !weekdayAllowed(dia, now.date()))
        return false;
    return !alarmDateTime.isValid() || now >= alarmDateTime;
}

} // namespace AlarmMath
