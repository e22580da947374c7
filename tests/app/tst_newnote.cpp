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
