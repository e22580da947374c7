#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "platform/SplitFields.h"
#include "platform/TextCodec.h"

#include <QtTest>

class TestPlatform : public QObject
{
    Q_OBJECT
private slots:
    void win1252RoundTripsEveryByte()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(static_cast<char>(b));
        QCOMPARE(TextCodec::toWin1252(TextCodec::fromWin1252(all)), all);
    }

    void win1252MapsTheHighRangeAndReplacesTheRest()
    {
        QCOMPARE(TextCodec::fromWin1252(QByteArray("\x80\xA2\xE7", 3)), QString::fromUtf8("€¢ç"));
        QCOMPARE(TextCodec::toWin1252(QString::fromUtf8("ação “x” 日😀")), QByteArray("a\xE7\xE3o \x93x\x94 ??"));
    }

    void splitFieldsKeepsOrDropsEmptyFields()
    {
        const QByteArray sep("\xA2", 1);
        QCOMPARE(SplitFields(QByteArray("\xA2" "a\xA2\xA2" "b\xA2"), sep, true),
                 (QList<QByteArray>{"", "a", "", "b", ""}));
        QCOMPARE(SplitFields(QByteArray("\xA2" "a\xA2\xA2" "b\xA2"), sep, false), (QList<QByteArray>{"a", "b"}));
        QVERIFY(SplitFields({}, sep, true).isEmpty());
        QCOMPARE(SplitFields("a;b,c", ";,", true), (QList<QByteArray>{"a", "b", "c"}));
    }

    void splitFieldsReadsOnlyTheFirst255Bytes()
    {
        const QByteArray text = QByteArray(254, 'x') + ";yz";
        QCOMPARE(SplitFields(text, ";", true), (QList<QByteArray>{QByteArray(254, 'x'), ""}));
    }

    void storedDatesFollowTheLocaleAndLeaveMidnightsTimeOut()
    {
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
        const QDateTime when(QDate(2002, 12, 25), QTime(14, 30, 0));
        QCOMPARE(Locale::formatStoredDateTime(when), QStringLiteral("25/12/2002 14:30:00"));
        QCOMPARE(Locale::formatStoredDateTime(QDateTime(QDate(2002, 12, 25), QTime(0, 0))), QStringLiteral("25/12/2002"));
        QCOMPARE(Locale::parseStoredDateTime("25/12/2002 14:30:00"), when);
        QCOMPARE(Locale::parseStoredDateTime("25/12/2002"), QDateTime(QDate(2002, 12, 25), QTime(0, 0)));
        QVERIFY(!Locale::parseStoredDateTime("31/02/2002 10:00:00").isValid());
        QVERIFY(!Locale::parseStoredDateTime("").isValid());

        Locale::overrideLocaleId(Locale::kEnglishUS);
        QCOMPARE(Locale::formatStoredDateTime(when), QStringLiteral("12/25/2002 2:30:00 PM"));
        QCOMPARE(Locale::parseStoredDateTime("12/25/2002 2:30:00 PM"), when);
        // A store written on a Portuguese system still reads.
        QCOMPARE(Locale::parseStoredDateTime("25/12/2002 14:30:00"), when);
        Locale::overrideLocaleId(-1);
    }

    void mockClockDrivesNow()
    {
        const QDateTime start(QDate(2026, 1, 2), QTime(3, 4, 5));
        {
            MockClock clock(start);
            QCOMPARE(Clock::now(), start);
            clock.advanceSecs(61);
            QCOMPARE(Clock::now(), start.addSecs(61));
        }
        QVERIFY(qAbs(Clock::now().secsTo(QDateTime::currentDateTime())) < 5);
    }

    void dialogSeamAnswersFromPresetsAndDefaultsInTestMode()
    {
        Dialogs::setTestMode(true);
        Dialogs::resetAnswers();
        QVERIFY(!Dialogs::confirm(nullptr, "Aviso", "Sure?"));
        Dialogs::setNextAnswer(QMessageBox::Yes);
        QVERIFY(Dialogs::confirm(nullptr, "Aviso", "Really?"));
        QCOMPARE(Dialogs::shownMessages().size(), 2);
        QCOMPARE(Dialogs::shownMessages().at(1).text, QStringLiteral("Really?"));
        Dialogs::setNextFileName("/tmp/x.wav");
        QCOMPARE(Dialogs::getOpenFileName(nullptr, {}, {}, {}), QStringLiteral("/tmp/x.wav"));
        QVERIFY(Dialogs::getOpenFileName(nullptr, {}, {}, {}).isEmpty());
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
