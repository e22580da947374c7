#pragma once
// The arithmetic of alarms, free of windows: when an armed note is due, and where a recurring
// alarm goes next.
//
// Steps: unit 0 minutes and 1 hours are elapsed time; 2 days, 3 weeks (7 days) and 4 months
// (30 days, not calendar months) move the calendar date and keep the local time of day, also
// across daylight-saving changes. A unit outside 0..4 (only a hand-edited store holds one)
// steps in days, and a count below 1 steps by 1, so that stepping always moves forward.
//
// Weekdays are numbered Sunday = 1 .. Saturday = 7; dia[k - 1] is the flag of weekday k.
// A recurring alarm with no weekday ticked would never ring again; it is treated as allowed
// on every day.
#include <QDateTime>
#include <array>

namespace AlarmMath {

using Weekdays = std::array<bool, 7>;

enum Unit { Minutes = 0, Hours = 1, Days = 2, Weeks = 3, Months = 4 };

// Sunday = 1 .. Saturday = 7.
int weekdayNumber(const QDate &date);

// Whether a recurring alarm may ring on `date`.
bool weekdayAllowed(const Weekdays &dia, const QDate &date);

// `from` moved by n steps of `unit`.
QDateTime addStep(const QDateTime &from, int n, int unit);

// The next moment of a recurring alarm whose moment was `base`: one configured step, then whole
// days, until the moment falls on an allowed weekday and is not earlier than `now`.
// An invalid base counts from `now`.
QDateTime NextAlarmTime(const QDateTime &base, int n, int unit, const Weekdays &dia, const QDateTime &now);

// Whether an armed alarm rings at `now`. A recurring alarm rings only on allowed weekdays (the
// weekday of today, not of its moment); a one-shot alarm ignores the weekday flags. An armed
// alarm without a valid moment is due at once.
bool isAlarmDue(bool remember, const Weekdays &dia, const QDateTime &alarmDateTime, const QDateTime &now);

} // namespace AlarmMath
