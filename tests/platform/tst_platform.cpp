#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "platform/DisplayPlatform.h"
#include "platform/MessageEndpoint.h"
#include "platform/NotificationArea.h"
#include "platform/Modules.h"
#include "platform/ProgramCommand.h"
#include "platform/Recipients.h"
#include "platform/SplitFields.h"
#include "platform/TextCodec.h"

#include <QLocalSocket>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestPlatform : public QObject
{
    Q_OBJECT
private slots:
    void trayScreenOfTheDisplayName()
    {
        // Which _NET_SYSTEM_TRAY_S<n> selection the tray of the display holds.
        const struct { const char *display; int screen; } cases[] = {
            {":0", 0}, {":1", 0}, {":0.0", 0}, {":0.1", 1}, {":10.3", 3}, {"localhost:12.2", 2},
            {"host.example.com:0.1", 1}, {"[::1]:5.2", 2}, {"/tmp/.X11-unix/X0", 0}, {"", 0},
            {":0.", 0}, {":0.x", 0}, {":0.-1", 0}, {"unix:0.4", 4},
        };
        for (const auto &c : cases)
            QVERIFY2(NotificationArea::screenOfDisplayName(c.display) == c.screen, c.display);
    }

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

    void recipientsSplitAtEveryCommaAndMergeWithoutRepeats_data()
    {
        QTest::addColumn<QString>("para");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QString>("merged");
        QTest::newRow("empty field") << "" << QStringList{"a@x", "b@x"} << "a@x,b@x";
        QTest::newRow("one already there") << "a@x" << QStringList{"a@x", "b@x"} << "a@x,b@x";
        QTest::newRow("tail of a longer address") << "ana@x.com" << QStringList{"na@x.com"} << "ana@x.com";
        QTest::newRow("substring of an address") << "10.0.0.12" << QStringList{"10.0.0.1"} << "10.0.0.12";
        QTest::newRow("nothing chosen") << "a,," << QStringList{} << "a,,";
        QTest::newRow("case counts") << "Ana@x" << QStringList{"ana@x"} << "Ana@x,ana@x";
    }
    void recipientsSplitAtEveryCommaAndMergeWithoutRepeats()
    {
        QFETCH(QString, para);
        QFETCH(QStringList, chosen);
        QFETCH(QString, merged);
        QCOMPARE(Recipients::mergeChosen(para, chosen), merged);
        QCOMPARE(Recipients::split(QStringLiteral(",a,, b,")), (QStringList{"a", " b"}));
        const QString longList = QString(300, QLatin1Char('x')) + QStringLiteral(",late@x");
        QCOMPARE(Recipients::split(longList).last(), QStringLiteral("late@x"));
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

    void eachRegionHasItsOwnFormats_data()
    {
        QTest::addColumn<QString>("region");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("en_US") << "en_US.UTF-8" << "M/d/yyyy" << "h:mm:ss AP";
        QTest::newRow("en_GB") << "en_GB.UTF-8" << "dd/MM/yyyy" << "HH:mm:ss";
        QTest::newRow("pt_BR") << "pt_BR.UTF-8" << "dd/MM/yyyy" << "HH:mm:ss";
        QTest::newRow("de_DE") << "de_DE.UTF-8" << "dd.MM.yyyy" << "HH:mm:ss";
        QTest::newRow("de_DE euro") << "de_DE@euro" << "dd.MM.yyyy" << "HH:mm:ss";
        QTest::newRow("fr_FR") << "fr_FR" << "dd/MM/yyyy" << "HH:mm:ss";
        QTest::newRow("en_AU") << "en_AU" << "d/M/yyyy" << "h:mm:ss AP";
        QTest::newRow("fi_FI") << "fi_FI.UTF-8" << "d.M.yyyy" << "H.mm.ss";
        // The zone name goes wherever the region puts it.
        QTest::newRow("zh_CN") << "zh_CN.UTF-8" << "yyyy/M/d" << "HH:mm:ss";
        // Marks that Windows-1252 cannot hold would not read back: the pt-BR form instead.
        QTest::newRow("ja_JP") << "ja_JP.UTF-8" << "yyyy/MM/dd" << "HH:mm:ss";
        QTest::newRow("ar_EG") << "ar_EG" << "dd/MM/yyyy" << "h:mm:ss AP";
        QTest::newRow("C") << "C.UTF-8" << "d MMM yyyy" << "HH:mm:ss";
    }
    void eachRegionHasItsOwnFormats()
    {
        QFETCH(QString, region);
        QFETCH(QString, date);
        QFETCH(QString, time);
        const Locale::DateTimeFormats formats = Locale::formatsOf(region);
        QCOMPARE(formats.date, date);
        QCOMPARE(formats.time, time);
        Locale::overrideFormatLocale(region);
        QCOMPARE(Locale::shortDateFormat(), date);
        QCOMPARE(Locale::longTimeFormat(), time);
        // Written and read back to the second, in the store's code page.
        const QDateTime when(QDate(2027, 12, 25), QTime(9, 30, 5));
        const QString stored = Locale::formatStoredDateTime(when);
        QCOMPARE(TextCodec::fromWin1252(TextCodec::toWin1252(stored)), stored);
        QCOMPARE(Locale::parseStoredDateTime(stored), when);
        QCOMPARE(Locale::parseStoredDateTime("25/12/2027 09:30:05"), when);
        Locale::overrideFormatLocale(QString());
    }

    // The region of dates is LC_ALL, then LC_TIME, then LANG; the language of the texts still
    // follows LC_MESSAGES.
    void theRegionComesFromTheEnvironment()
    {
        const QByteArray saved[] = {qgetenv("LC_ALL"), qgetenv("LC_TIME"), qgetenv("LC_MESSAGES"), qgetenv("LANG")};
        const auto restore = qScopeGuard([&saved] {
            const char *names[] = {"LC_ALL", "LC_TIME", "LC_MESSAGES", "LANG"};
            for (int i = 0; i < 4; ++i)
                saved[i].isNull() ? qunsetenv(names[i]) : qputenv(names[i], saved[i]);
        });
        Locale::overrideLocaleId(-1);
        qunsetenv("LC_ALL");
        qputenv("LC_TIME", "de_DE.UTF-8");
        qputenv("LC_MESSAGES", "en_GB.UTF-8");
        qputenv("LANG", "pt_BR.UTF-8");
        QCOMPARE(Locale::formatLocaleName(), QStringLiteral("de_DE.UTF-8"));
        QCOMPARE(Locale::formatStoredDateTime(QDateTime(QDate(2027, 12, 25), QTime(9, 30))), QStringLiteral("25.12.2027 09:30:00"));
        QCOMPARE(Locale::userLocaleId(), Locale::kEnglishUS);
        qunsetenv("LC_TIME");
        QCOMPARE(Locale::formatStoredDateTime(QDateTime(QDate(2027, 12, 25), QTime(9, 30))), QStringLiteral("25/12/2027 09:30:00"));
        qputenv("LC_ALL", "en_GB.UTF-8");
        QCOMPARE(Locale::formatStoredDateTime(QDateTime(QDate(2027, 12, 25), QTime(21, 30))), QStringLiteral("25/12/2027 21:30:00"));
        qputenv("LC_ALL", "en_US.UTF-8");
        QCOMPARE(Locale::formatStoredDateTime(QDateTime(QDate(2027, 12, 25), QTime(21, 30))), QStringLiteral("12/25/2027 9:30:00 PM"));
        // A forced identifier gives its own region's formats, as tests of the program use it.
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
        QCOMPARE(Locale::shortDateFormat(), QStringLiteral("dd/MM/yyyy"));
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

    void onlyOneProgramOwnsTheMessageEndpoint()
    {
        QTemporaryDir runtime;
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        QCOMPARE(MessageEndpoint::socketPath(), runtime.path() + "/CorkvaneMsg");

        MessageEndpoint first;
        QSignalSpy messages(&first, &MessageEndpoint::messageReceived);
        QVERIFY(first.listen());
        MessageEndpoint second;
        QVERIFY(!second.listen());  // and without knocking on the first one's door
        QTest::qWait(200);
        QCOMPARE(messages.size(), 0);

        QLocalSocket sender;
        sender.connectToServer(MessageEndpoint::socketPath());
        QVERIFY(sender.waitForConnected(2000));
        sender.write("anything");
        sender.flush();
        QTRY_COMPARE(messages.size(), 1);
    }

    // What a peer writes before it closes is the message; a bare connection, a silent peer and
    // an endless writer each still make exactly one message.
    void theEndpointHandsOnWhatThePeerWrote_data()
    {
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("command");
        QTest::newRow("bare connection") << QByteArray() << true << int(ProgramCommand::Command::Clipboard);
        QTest::newRow("word and line end") << QByteArray("new-note\n") << false << int(ProgramCommand::Command::NewNote);
        QTest::newRow("word then close") << QByteArray("show-all") << true << int(ProgramCommand::Command::ShowAll);
        QTest::newRow("word, CR LF") << QByteArray("preferences\r\n") << true << int(ProgramCommand::Command::Preferences);
        QTest::newRow("silent peer") << QByteArray() << false << int(ProgramCommand::Command::Clipboard);
        QTest::newRow("unknown word") << QByteArray("format-disk\n") << true << int(ProgramCommand::Command::Clipboard);
        QTest::newRow("endless writer") << QByteArray(4096, 'x') << false << int(ProgramCommand::Command::Clipboard);
    }
    void theEndpointHandsOnWhatThePeerWrote()
    {
        QFETCH(QByteArray, written);
        QFETCH(bool, closes);
        QFETCH(int, command);
        QTemporaryDir runtime;
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        MessageEndpoint endpoint;
        QSignalSpy messages(&endpoint, &MessageEndpoint::messageReceived);
        QVERIFY(endpoint.listen());
        QLocalSocket sender;
        sender.connectToServer(ProgramCommand::endpointPath());
        QVERIFY(sender.waitForConnected(2000));
        sender.write(written);
        sender.flush();
        if (closes)
            sender.disconnectFromServer();
        QTRY_COMPARE(messages.size(), 1);
        QCOMPARE(int(ProgramCommand::fromMessage(messages.at(0).at(0).toByteArray())), command);
        QVERIFY(messages.at(0).at(0).toByteArray().size() <= ProgramCommand::kMaxMessageBytes);
        QTest::qWait(closes ? 100 : 2500);
        QCOMPARE(messages.size(), 1);
    }

    void commandsFromArgumentsAndWords()
    {
        using ProgramCommand::Command;
        using ProgramCommand::fromArguments;
        QVERIFY(fromArguments({"corkvane"}) == std::nullopt);
        QVERIFY(fromArguments({"corkvane", "-platform", "xcb", "--new-note"}) == Command::NewNote);
        QVERIFY(fromArguments({"corkvane", "--show-all", "--preferences"}) == Command::ShowAll);
        QVERIFY(fromArguments({"--preferences"}) == std::nullopt);  // the program's own name
        QVERIFY(fromArguments({"corkvane", "new-note"}) == std::nullopt);
        for (const ProgramCommand::Entry &e : ProgramCommand::kCommands) {
            QVERIFY(ProgramCommand::fromWord(QString::fromLatin1(e.word)) == e.command);
            QCOMPARE(ProgramCommand::fromMessage(ProgramCommand::word(e.command) + "\n"), e.command);
        }
        QVERIFY(ProgramCommand::fromWord("New-Note") == std::nullopt);
    }

    void waylandSessionsRunThroughXWayland_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QByteArray>("platform");
        QTest::newRow("X11 session") << QStringList{"DISPLAY=:0", "XDG_SESSION_TYPE=x11"} << QByteArray();
        QTest::newRow("Wayland with XWayland") << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"} << QByteArray("xcb");
        QTest::newRow("session type only") << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:1"} << QByteArray("xcb");
        QTest::newRow("no XWayland") << QStringList{"WAYLAND_DISPLAY=wayland-0"} << QByteArray();
        QTest::newRow("user's choice") << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0", "QT_QPA_PLATFORM=wayland"} << QByteArray();
        QTest::newRow("empty choice") << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0", "QT_QPA_PLATFORM="} << QByteArray("xcb");
        QTest::newRow("headless") << QStringList{} << QByteArray();
    }
    void waylandSessionsRunThroughXWayland()
    {
        QFETCH(QStringList, environment);
        QFETCH(QByteArray, platform);
        const auto variable = [&environment](const char *name) {
            for (const QString &entry : environment)
                if (entry.section(QLatin1Char('='), 0, 0) == QLatin1String(name))
                    return entry.section(QLatin1Char('='), 1).toLocal8Bit();
            return QByteArray();
        };
        QCOMPARE(DisplayPlatform::choose(variable), platform);
    }

    void aSocketLeftByACrashedRunIsReplaced()
    {
        QTemporaryDir runtime;
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        QFile stale(MessageEndpoint::socketPath());
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        MessageEndpoint endpoint;
        QVERIFY(endpoint.listen());
    }

    // Modules beside the program load on first use; a missing module or entry point is a
    // null with a reason, never a crash.
    void modulesResolveTheirEntryPointsOrSayWhy()
    {
        const struct { const char *module, *symbol; bool found; } cases[] = {
            {"corkvane-tls", "corkvane_new_tls_engine", true},
            {"corkvane-print", "corkvane_print_note", true},
            {"corkvane-sound", "corkvane_new_sound_effect", true},
            {"corkvane-tls", "no_such_entry", false},
            {"corkvane-nothing", "corkvane_new_tls_engine", false},
        };
        for (const auto &c : cases) {
            QString error;
            const QFunctionPointer entry = Modules::resolve(QString::fromLatin1(c.module), c.symbol, &error);
            QVERIFY2((entry != nullptr) == c.found, c.symbol);
            QVERIFY2(c.found == error.isEmpty(), qPrintable(error));
        }
        // Asked again, the same entry point.
        QVERIFY(Modules::resolve("corkvane-tls", "corkvane_new_tls_engine")
                == Modules::resolve("corkvane-tls", "corkvane_new_tls_engine"));
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
