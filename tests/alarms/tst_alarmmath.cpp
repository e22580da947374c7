#include "alarms/AlarmMath.h"

#include <QTimeZone>
#include <QtTest>

using namespace AlarmMath;

namespace {

const Weekdays kEveryDay{true, true, true, true, true, true, true};
const Weekdays kMondayToFriday{false, true, true, true, true, true, false};
const Weekdays kNoDay{};

QDateTime at(int y, int m, int d, int h, int min = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min, s));
}

} // namespace

class TestAlarmMath : public QObject
{
    Q_OBJECT
private slots:
    void weekdaysAreNumberedFromSunday()
    {
        QCOMPARE(weekdayNumber(QDate(2026, 12, 6)), 1);  // Sunday
        QCOMPARE(weekdayNumber(QDate(2026, 12, 7)), 2);  // Monday
        QCOMPARE(weekdayNumber(QDate(2026, 12, 12)), 7); // Saturday
        QVERIFY(!weekdayAllowed(kMondayToFriday, QDate(2026, 12, 6)));
        QVERIFY(weekdayAllowed(kMondayToFriday, QDate(2026, 12, 11)));
        QVERIFY(weekdayAllowed(kNoDay, QDate(2026, 12, 6)));
    }

    void stepsOfEachUnit_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QDateTime>("from");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime base = at(2026, 12, 7, 10);
        QTest::newRow("75 minutes") << 75 << 0 << base << at(2026, 12, 7, 11, 15);
        QTest::newRow("30 hours") << 30 << 1 << base << at(2026, 12, 8, 16);
        QTest::newRow("3 days") << 3 << 2 << base << at(2026, 12, 10, 10);
        QTest::newRow("2 weeks") << 2 << 3 << base << at(2026, 12, 21, 10);
        QTest::newRow("month is 30 days") << 1 << 4 << at(2027, 1, 31, 8) << at(2027, 3, 2, 8);
        QTest::newRow("999 months") << 999 << 4 << base << base.addDays(29970);
        QTest::newRow("unknown unit steps days") << 2 << 9 << base << at(2026, 12, 9, 10);
        QTest::newRow("negative unit steps days") << 1 << -1 << base << at(2026, 12, 8, 10);
        QTest::newRow("count 0 steps once") << 0 << 1 << base << at(2026, 12, 7, 11);
        QTest::newRow("negative count steps once") << -5 << 0 << base << at(2026, 12, 7, 10, 1);
    }

    void stepsOfEachUnit()
    {
        QFETCH(int, n);
        QFETCH(int, unit);
        QFETCH(QDateTime, from);
        QFETCH(QDateTime, expected);
        QCOMPARE(addStep(from, n, unit), expected);
    }

    void nextMomentTakesOneStepThenWholeDays_data()
    {
        QTest::addColumn<QDateTime>("base");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("unit");
        QTest::addColumn<Weekdays>("dia");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDateTime>("expected");
        // 2026-12-07 is a Monday.
        QTest::newRow("rings on time, next step same day")
            << at(2026, 12, 7, 10) << 2 << 1 << kEveryDay << at(2026, 12, 7, 10) << at(2026, 12, 7, 12);
        QTest::newRow("missed yesterday: one step then days, not 17:00")
            << at(2026, 12, 6, 10) << 2 << 1 << kEveryDay << at(2026, 12, 7, 15) << at(2026, 12, 8, 12);
        QTest::newRow("weekdays only: Friday to Monday")
            << at(2026, 12, 11, 9) << 1 << 2 << kMondayToFriday << at(2026, 12, 11, 9) << at(2026, 12, 14, 9);
        QTest::newRow("next step equal to now is taken")
            << at(2026, 12, 7, 10) << 30 << 0 << kEveryDay << at(2026, 12, 7, 10, 30) << at(2026, 12, 7, 10, 30);
        QTest::newRow("no weekday ticked counts as every day")
            << at(2026, 12, 12, 9) << 1 << 2 << kNoDay << at(2026, 12, 12, 9) << at(2026, 12, 13, 9);
        QTest::newRow("weekly alarm skipping a week day-by-day keeps its time")
            << at(2026, 12, 5, 18) << 1 << 3 << kMondayToFriday << at(2026, 12, 5, 18) << at(2026, 12, 14, 18);
        QTest::newRow("years behind ends on the right day")
            << at(2001, 1, 1, 7, 45) << 1 << 2 << kMondayToFriday << at(2026, 12, 12, 8) << at(2026, 12, 14, 7, 45);
        QTest::newRow("later the same day when the time is still ahead")
            << at(2020, 5, 5, 20) << 5 << 0 << kEveryDay << at(2026, 12, 7, 8) << at(2026, 12, 7, 20, 5);
        QTest::newRow("invalid moment counts from now")
            << QDateTime() << 1 << 1 << kEveryDay << at(2026, 12, 7, 8) << at(2026, 12, 7, 9);
    }

    void nextMomentTakesOneStepThenWholeDays()
    {
        QFETCH(QDateTime, base);
        QFETCH(int, n);
        QFETCH(int, unit);
        QFETCH(Weekdays, dia);
        QFETCH(QDateTime, now);
        QFETCH(QDateTime, expected);
        const QDateTime next = NextAlarmTime(base, n, unit, dia, now);
        QCOMPARE(next, expected);
        QVERIFY(next >= now);
        QVERIFY(weekdayAllowed(dia, next.date()));
    }

    void daylightSavingChanges()
    {
        const QTimeZone berlin("Europe/Berlin");
        QVERIFY2(berlin.isValid(), "tzdata with Europe/Berlin is needed");
        auto b = [&berlin](int m, int d, int h, int min = 0) {
            return QDateTime(QDate(2026, m, d), QTime(h, min), berlin);
        };
        // Clocks go forward on 29 March 2026 at 02:00 and back on 25 October at 03:00.
        const QDateTime springEve = b(3, 28, 8);
        QCOMPARE(addStep(springEve, 1, Days).time(), QTime(8, 0));
        QCOMPARE(springEve.secsTo(addStep(springEve, 1, Days)), 23 * 3600);
        QCOMPARE(addStep(b(10, 24, 8), 1, Weeks), b(10, 31, 8));
        QCOMPARE(b(10, 24, 8).secsTo(addStep(b(10, 24, 8), 1, Days)), 25 * 3600);
        // Hours are elapsed time: one hour after 01:30 on the spring night reads 03:30.
        QCOMPARE(addStep(b(3, 29, 1, 30), 1, Hours).time(), QTime(3, 30));

        // Missed alarms stepped by days across the changes keep their time of day.
        QCOMPARE(NextAlarmTime(b(3, 20, 8), 2, Hours, kEveryDay, b(3, 30, 9)), b(3, 30, 10));
        QCOMPARE(NextAlarmTime(b(10, 20, 8), 1, Days, kEveryDay, b(10, 27, 7)), b(10, 27, 8));
    }

    void dueRules()
    {
        const QDateTime moment = at(2026, 12, 6, 9);  // a Sunday
        // Due from the exact second on, not a second before.
        QVERIFY(!isAlarmDue(false, kEveryDay, moment, moment.addSecs(-1)));
        QVERIFY(isAlarmDue(false, kEveryDay, moment, moment));
        // A one-shot alarm ignores the weekday flags.
        QVERIFY(isAlarmDue(false, kMondayToFriday, moment, moment));
        // A recurring alarm set on a forbidden day waits for the next allowed day, then rings
        // although its moment is past.
        QVERIFY(!isAlarmDue(true, kMondayToFriday, moment, moment.addSecs(3600)));
        QVERIFY(isAlarmDue(true, kMondayToFriday, moment, at(2026, 12, 7, 0, 0, 0)));
        QVERIFY(isAlarmDue(true, kNoDay, moment, moment));
        QVERIFY(isAlarmDue(false, kEveryDay, QDateTime(), moment));
    }
};

QTEST_APPLESS_MAIN(TestAlarmMath)
#include "tst_alarmmath.moc"
