#include "alarms/MostraAlarmes.h"
#include "NoteFixture.h"
#include "platform/Clock.h"
#include "platform/Locale.h"

#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace {

QDateTime at(int d, int h, int m = 0, int s = 0)
{
    return QDateTime(QDate(2026, 12, d), QTime(h, m, s));
}

} // namespace

class TestMostraAlarmes : public QObject
{
    Q_OBJECT
private slots:
    void init() { Locale::overrideLocaleId(Locale::kPortugueseBrazil); }
    void cleanup() { Locale::overrideLocaleId(-1); }

    void linesCarrySlotTimeAndTitle()
    {
        QCOMPARE(TaskLine(7, QTime(14, 30), QString::fromUtf8("Reunião")), QString::fromUtf8("007 - 14:30:00 - Reunião"));
        QCOMPARE(TaskLine(1000, QTime(0, 0, 5), QString()), QStringLiteral("1000 - 00:00:05 - "));
        Locale::overrideLocaleId(Locale::kEnglishUS);
        QCOMPARE(TaskLine(42, QTime(14, 30), QStringLiteral("x")), QStringLiteral("042 - 2:30:00 PM - x"));

        QCOMPARE(SlotOfTaskLine(QStringLiteral("1000 - 2:30:00 PM - a - b")), 1000);
        QCOMPARE(SlotOfTaskLine(QStringLiteral("007 - 14:30:00 - 9 x")), 7);
        QCOMPARE(SlotOfTaskLine(QString()), -1);
        QCOMPARE(SlotOfTaskLine(QStringLiteral("abc - 1")), -1);
    }

    void onlyArmedAlarmsOfTodayAreListedInSlotOrder()
    {
        const QList<TaskEntry> entries{
            {0, true, at(8, 0, 0, 0), QStringLiteral("tomorrow at midnight")},
            {3, true, at(7, 23, 59, 59), QStringLiteral("last second")},
            {5, false, at(7, 12), QStringLiteral("disarmed")},
            {9, true, at(7, 0, 0, 0), QStringLiteral("first second")},
            {11, true, QDateTime(), QStringLiteral("no moment")},
        };
        QCOMPARE(TodaysTaskLines(entries, QDate(2026, 12, 7)),
                 (QStringList{QStringLiteral("003 - 23:59:59 - last second"),
                              QStringLiteral("009 - 00:00:00 - first second")}));
    }

    void windowListsAndShowsTheChosenNote()
    {
        MockClock clock(at(7, 8));
        NoteFixture f;
        TfrmMostraAlarmes window(&f.table);
        QCOMPARE(window.windowTitle(), QStringLiteral("Tarefas para Hoje"));

        window.listTodaysTasks();  // no slot handed out yet
        QVERIFY(!window.isVisible());

        // Slot 1000: the last slot of the run.
        for (int i = 0; i < 1000; ++i)
            f.table.add(nullptr);
        TfPostIt *last = f.add(QStringLiteral("late"));
        QCOMPARE(last->Tag(), 1000);
        NoteFixture::arm(last, at(7, 18));

        window.listTodaysTasks();
        QVERIFY(window.isVisible());
        QListWidget *list = window.findChild<QListWidget *>(QStringLiteral("lstTem"));
        auto *visualizar = window.findChild<QPushButton *>(QStringLiteral("cmdVisualizar"));
        QVERIFY(list && visualizar);
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QStringLiteral("1000 - 18:00:00 - late"));
        QVERIFY(!visualizar->isEnabled());

        // Double-click on an empty part of the list, nothing selected: nothing happens.
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 3));
        QVERIFY(!last->isVisible());

        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QVERIFY(visualizar->isEnabled());
        QTest::mouseClick(visualizar, Qt::LeftButton);
        QVERIFY(last->isVisible());

        // The note is deleted after the list was filled: the line stays, choosing it does nothing.
        last->hide();
        f.table.take(1000);
        QTest::mouseClick(visualizar, Qt::LeftButton);
        QCOMPARE(list->count(), 1);
        QVERIFY(!last->isVisible());

        // Nothing left for today: the open window stays open with an empty list.
        window.listTodaysTasks();
        QVERIFY(window.isVisible());
        QCOMPARE(list->count(), 0);

        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdFechar")), Qt::LeftButton);
        QVERIFY(!window.isVisible());
    }

    void aRungOneShotAlarmIsNoLongerListed()
    {
        MockClock clock(at(7, 8));
        NoteFixture f;
        TfPostIt *note = f.add(QStringLiteral("call"));
        NoteFixture::arm(note, at(7, 7, 30));
        note->setAlarm(false);  // it rang at 07:30
        TfrmMostraAlarmes window(&f.table);
        window.listTodaysTasks();
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestMostraAlarmes)
#include "tst_mostraalarmes.moc"
