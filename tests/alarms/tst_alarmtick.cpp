#include "alarms/AlarmCheck.h"
#include "NoteFixture.h"

#include <QtTest>

namespace {

struct HookLog
{
    int blinkStarts = 0;
    int saves = 0;
    int beeps = 0;
    QStringList sounds;
    AlarmHooks hooks()
    {
        AlarmHooks h;
        h.startTrayAnimation = [this] { ++blinkStarts; };
        h.saveStore = [this] { ++saves; };
        h.playSound = [this](const QString &f) { sounds << f; };
        h.beep = [this] { ++beeps; };
        return h;
    }
};

QDateTime at(int d, int h, int m = 0, int s = 0)
{
    return QDateTime(QDate(2026, 12, d), QTime(h, m, s));  // 6 December 2026 is a Sunday
}

} // namespace

class TestAlarmTick : public QObject
{
    Q_OBJECT
private slots:
    void twoNotesDueInTheSameSecondBothRing()
    {
        NoteFixture f;
        TfPostIt *first = f.add(QStringLiteral("first"));
        TfPostIt *idle = f.add(QStringLiteral("later"));
        f.add();
        f.table.take(2);  // an emptied slot is skipped
        TfPostIt *second = f.add(QStringLiteral("second"));
        NoteFixture::arm(first, at(7, 9));
        first->setUseSound(true);
        first->setSoundFile(QStringLiteral("/snd/first.wav"));
        NoteFixture::arm(second, at(7, 9), true, 2, 1);
        NoteFixture::arm(idle, at(7, 9, 0, 1));

        HookLog log;
        int ringing = -1;
        QCOMPARE(RunAlarmTick(f.table, ringing, at(7, 8, 59, 59), log.hooks()), 0);
        QCOMPARE(ringing, -1);

        QCOMPARE(RunAlarmTick(f.table, ringing, at(7, 9), log.hooks()), 2);
        QCOMPARE(ringing, 3);  // the higher slot
        QCOMPARE(log.blinkStarts, 2);
        QCOMPARE(log.sounds, QStringList{QStringLiteral("/snd/first.wav")});
        QCOMPARE(log.beeps, 1);
        for (TfPostIt *rung : {first, second}) {
            QVERIFY(rung->isVisible());
            QVERIFY(rung->ringingIconShown());
            QVERIFY(!rung->armedIconShown());
        }
        QVERIFY(!idle->isVisible());
        QVERIFY(idle->armedIconShown());

        // The one-shot alarm is off and not saved; the recurring one moved on and was saved.
        QVERIFY(!first->alarm());
        QVERIFY(second->alarm());
        QCOMPARE(second->alarmDateTime(), at(7, 11));
        QCOMPARE(log.saves, 1);

        // A ringing note does not ring again on the next tick.
        QCOMPARE(RunAlarmTick(f.table, ringing, at(7, 9, 0, 1), log.hooks()), 1);  // only `idle`
        QCOMPARE(ringing, 1);
    }

    void trayClickBringsUpTheLastRingingNote()
    {
        NoteFixture f;
        TfPostIt *low = f.add();
        TfPostIt *high = f.add();
        NoteFixture::arm(low, at(7, 9));
        NoteFixture::arm(high, at(7, 9));
        HookLog log;
        int ringing = -1;
        RunAlarmTick(f.table, ringing, at(7, 9), log.hooks());
        low->hide();
        high->hide();

        int stops = 0;
        QVERIFY(AnswerRingingNote(f.table, ringing, [&stops] { ++stops; }));
        QVERIFY(high->isVisible());
        QVERIFY(!low->isVisible());
        QCOMPARE(ringing, -1);
        QCOMPARE(stops, 1);
        // Nothing rings any more: a click does nothing.
        QVERIFY(!AnswerRingingNote(f.table, ringing, [&stops] { ++stops; }));
        QCOMPARE(stops, 1);

        // The ringing note was deleted before the click: nothing to show, the blinking stops.
        TfPostIt *third = f.add();
        NoteFixture::arm(third, at(7, 10));
        RunAlarmTick(f.table, ringing, at(7, 10), log.hooks());
        f.table.take(2);
        QVERIFY(AnswerRingingNote(f.table, ringing, [&stops] { ++stops; }));
        QCOMPARE(stops, 2);
    }

    void weekdayLimitsOfRecurringAlarms()
    {
        NoteFixture f;
        TfPostIt *weekly = f.add();
        TfPostIt *oneShot = f.add();
        const std::array<bool, 7> workdays{false, true, true, true, true, true, false};
        // Set by hand on a Sunday, which is not allowed: silent all Sunday.
        NoteFixture::arm(weekly, at(6, 9), true, 1, 2, workdays);
        // A one-shot alarm ignores the flags.
        NoteFixture::arm(oneShot, at(6, 9), false, 1, 2, workdays);

        HookLog log;
        int ringing = -1;
        QCOMPARE(RunAlarmTick(f.table, ringing, at(6, 23, 59, 59), log.hooks()), 1);
        QCOMPARE(ringing, 1);
        QVERIFY(weekly->alarm());
        QVERIFY(!weekly->isVisible());

        // The first tick of Monday rings it (its moment is past by then); one day on from its
        // Sunday moment is Monday 09:00, still ahead, where it rings again.
        QCOMPARE(RunAlarmTick(f.table, ringing, at(7, 0, 0, 0), log.hooks()), 1);
        QCOMPARE(ringing, 0);
        QCOMPARE(weekly->alarmDateTime(), at(7, 9));
        QCOMPARE(log.saves, 1);
        QCOMPARE(RunAlarmTick(f.table, ringing, at(7, 9), log.hooks()), 1);
        QCOMPARE(weekly->alarmDateTime(), at(8, 9));

        // Friday's ring re-arms for Monday.
        NoteFixture::arm(weekly, at(11, 9), true, 1, 2, workdays);
        RunAlarmTick(f.table, ringing, at(11, 9), log.hooks());
        QCOMPARE(weekly->alarmDateTime(), at(14, 9));
    }

    void ringingAndAcknowledgementIcons()
    {
        NoteFixture f;
        TfPostIt *recurring = f.add();
        TfPostIt *oneShot = f.add();
        NoteFixture::arm(recurring, at(7, 9), true, 1, 1);
        NoteFixture::arm(oneShot, at(7, 9));
        HookLog log;
        int ringing = -1;
        RunAlarmTick(f.table, ringing, at(7, 9), log.hooks());
        QVERIFY(recurring->ringingIconShown() && !recurring->armedIconShown());

        // A click on the ringing icon of a recurring alarm brings the armed icon back.
        auto *bell = recurring->findChild<QWidget *>(QStringLiteral("imgAlarmeOn"));
        QVERIFY(bell);
        QTest::mouseClick(bell, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!recurring->ringingIconShown());
        QVERIFY(recurring->armedIconShown());

        // A one-shot alarm acknowledged from its ringing icon shows no icon at all.
        auto *otherBell = oneShot->findChild<QWidget *>(QStringLiteral("imgAlarmeOn"));
        QTest::mouseClick(otherBell, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!oneShot->ringingIconShown());
        QVERIFY(!oneShot->armedIconShown());

        QTRY_COMPARE(f.controller.acknowledged, 2);

        // The recurring alarm rings again at its next moment.
        QCOMPARE(RunAlarmTick(f.table, ringing, at(7, 10), log.hooks()), 1);
        QVERIFY(recurring->ringingIconShown());
        QCOMPARE(recurring->alarmDateTime(), at(7, 11));
    }

    void missedRecurringAlarmRingsOnceAndMovesPastNow()
    {
        NoteFixture f;
        TfPostIt *note = f.add();
        // Every 2 hours, last moment yesterday 10:00, program started today at 15:00.
        NoteFixture::arm(note, at(6, 10), true, 2, 1);
        HookLog log;
        int ringing = -1;
        QCOMPARE(RunAlarmTick(f.table, ringing, at(7, 15), log.hooks()), 1);
        QCOMPARE(note->alarmDateTime(), at(8, 12));
        QCOMPARE(RunAlarmTick(f.table, ringing, at(7, 15, 0, 1), log.hooks()), 0);
    }

    void emptyHooksAreAllowed()
    {
        NoteFixture f;
        TfPostIt *note = f.add();
        NoteFixture::arm(note, at(7, 9), true, 1, 0);
        int ringing = -1;
        QCOMPARE(RunAlarmTick(f.table, ringing, at(7, 9), AlarmHooks{}), 1);
        QCOMPARE(note->alarmDateTime(), at(7, 9, 1));
    }
};

QTEST_MAIN(TestAlarmTick)
#include "tst_alarmtick.moc"
