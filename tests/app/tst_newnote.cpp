#include "app/NewNote.h"
#include "app/Sobre.h"
#include "platform/Locale.h"

#include <QtTest>

class TestNewNote : public QObject
{
    Q_OBJECT
private slots:
    void userNotesFollowTheSameSequenceEveryRun()
    {
        NotePlacement placement;
        QCOMPARE(placement.nextUserNotePosition(), QPoint(3, 0));
        QCOMPARE(placement.nextUserNotePosition(), QPoint(20, 86));
        QCOMPARE(placement.nextUserNotePosition(), QPoint(67, 27));
        NotePlacement again;
        QCOMPARE(again.nextUserNotePosition(), QPoint(3, 0));
        for (int i = 0; i < 2000; ++i) {
            const QPoint p = placement.nextUserNotePosition();
            QVERIFY(p.x() >= 0 && p.x() < 100 && p.y() >= 0 && p.y() < 100);
        }
    }

    void titlesFollowTheDateAndTimeOptions()
    {
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
        const QDateTime now(QDate(2026, 12, 7), QTime(9, 5, 3));
        QCOMPARE(newNoteTitle(now, true, true), QStringLiteral("07/12/2026 09:05:03"));
        QCOMPARE(newNoteTitle(now, true, false), QStringLiteral("07/12/2026 "));
        QCOMPARE(newNoteTitle(now, false, true), QStringLiteral("09:05:03"));
        QCOMPARE(newNoteTitle(now, false, false), QString());
        Locale::overrideLocaleId(Locale::kEnglishUS);
        QCOMPARE(newNoteTitle(now, true, true), QStringLiteral("12/7/2026 9:05:03 AM"));
        Locale::overrideLocaleId(-1);
    }

    void receivedNotesAreCentredOnTheWholeDesktop()
    {
        QCOMPARE(centredPosition(QRect(0, 0, 1025, 769), 340, 120), QPoint(512 - 170, 384 - 60));
        QCOMPARE(centredPosition(QRect(-1280, 0, 3200, 1080), 340, 121), QPoint(-1280 + 1600 - 170, 540 - 60));
    }

    // Received notes step down and right from the centre spot while a note stands in the way,
    // and go round the cascade again once it would leave the screen's area.
    void receivedNotesCascadeFromTheCentreSpot_data()
    {
        QTest::addColumn<QList<QPoint>>("taken");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QPoint>("expected");
        const QRect screen(0, 0, 1000, 800);
        const QPoint spot(330, 340);
        QTest::newRow("nothing there: the spot") << QList<QPoint>{} << screen << spot;
        QTest::newRow("others elsewhere: the spot") << QList<QPoint>{{0, 0}, spot + QPoint(1, 0)} << screen << spot;
        QTest::newRow("one on the spot") << QList<QPoint>{spot} << screen << spot + QPoint(13, 13);
        QTest::newRow("a run of three") << QList<QPoint>{spot + QPoint(26, 26), spot, spot + QPoint(13, 13)} << screen
                                        << spot + QPoint(39, 39);
        QTest::newRow("a gap in the run") << QList<QPoint>{spot, spot + QPoint(26, 26)} << screen << spot + QPoint(13, 13);
        QTest::newRow("first one moved away") << QList<QPoint>{spot + QPoint(13, 13)} << screen << spot;
        // 340x120 from (330, 340) in 700x500: only the spot and two steps fit.
        const QRect small(0, 0, 700, 500);
        QTest::newRow("cascade full: round again") << QList<QPoint>{spot, spot + QPoint(13, 13), spot + QPoint(26, 26)} << small
                                                   << spot;
        QTest::newRow("round again, second place")
            << QList<QPoint>{spot, spot + QPoint(13, 13), spot + QPoint(26, 26), spot} << small << spot + QPoint(13, 13);
    }
    void receivedNotesCascadeFromTheCentreSpot()
    {
        QFETCH(QList<QPoint>, taken);
        QFETCH(QRect, area);
        QFETCH(QPoint, expected);
        QCOMPARE(receivedNotePosition(QPoint(330, 340), QSize(340, 120), area, 13, taken), expected);
    }

    void windowsAreFittedIntoTheArea_data()
    {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("inside: unchanged") << QRect(100, 100, 180, 150) << QRect(100, 100, 180, 150);
        QTest::newRow("past the right edge: moved left") << QRect(900, 100, 180, 150) << QRect(844, 100, 180, 150);
        QTest::newRow("past the bottom: moved up") << QRect(100, 700, 180, 150) << QRect(100, 590, 180, 150);
        QTest::newRow("above and left: moved in") << QRect(-50, -5, 180, 150) << QRect(24, 40, 180, 150);
        QTest::newRow("larger than the area") << QRect(330, 340, 4101, 4126) << QRect(24, 40, 1000, 700);
        QTest::newRow("wider only") << QRect(330, 340, 5000, 150) << QRect(24, 340, 1000, 150);
    }
    void windowsAreFittedIntoTheArea()
    {
        QFETCH(QRect, window);
        QFETCH(QRect, expected);
        QCOMPARE(fitIntoArea(window, QRect(24, 40, 1000, 700)), expected);
        QCOMPARE(fitIntoArea(window, QRect()), window);
    }

    void versionTextFollowsTheVersionInformation()
    {
        QCOMPARE(versionLabelText(std::nullopt, true), std::nullopt);
        QCOMPARE(versionLabelText(VersionInfo{std::nullopt, QStringLiteral("1.0.0")}, false), QString());
        QCOMPARE(versionLabelText(VersionInfo{std::nullopt, QStringLiteral("1.0.0")}, true), QStringLiteral("v1.2 (build 200)"));
        QCOMPARE(versionLabelText(VersionInfo{QStringLiteral("2.1"), QStringLiteral("2.1.0.37")}, true),
                 QStringLiteral("2.1  (Build 21037)\r"));
        QCOMPARE(versionLabelText(VersionInfo{QStringLiteral("2.1"), std::nullopt}, true), QStringLiteral("2.1 "));
    }
};

QTEST_MAIN(TestNewNote)
#include "tst_newnote.moc"
