#include "notes/ControllerEvents.h"
#include "app/ReceivedNotes.h"
#include "app/StickyNote.h"
#include "platform/ProgramCommand.h"
#include "app/Sobre.h"
#include "alarms/MostraAlarmes.h"
#include "notes/MudaCaption.h"
#include "app/TrayIcon.h"
#include "app/TrayMenu.h"
#include "alarms/ConfSom.h"
#include "mail/AddressBook.h"
#include "net/EnviaComputador.h"
#include "net/InsereBloq.h"
#include "mail/EnviarEmail.h"
#include "app/Language.h"
#include "app/SendDialogs.h"
#include "notes/ConfNota.h"
#include "platform/WindowTitle.h"
#include "notes/PostIt.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "store/IniFile.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QLabel>
#include <QDesktopServices>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include "support/MenuCaptions.h"

#include <QtTest>
#include <memory>

namespace {

QString programFolder()
{
    return qEnvironmentVariable("CORKVANE_BIN_DIR") + QLatin1Char('/');
}

using TestFiles::readAll;
using TestFiles::writeAll;

class UrlSink : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};


} // namespace

class TestController : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;

    std::unique_ptr<TfStickyNote> makeController(const QByteArray &store = {})
    {
        if (!store.isEmpty()) {
            QDir().mkpath(m_home->filePath("Corkvane/tester/data"));
            writeAll(m_home->filePath("Corkvane/tester/data/stickies.cvf"), store);
        }
        auto controller = std::make_unique<TfStickyNote>(TfStickyNote::Folders{programFolder(), m_home->path(), "tester"});
        controller->startupStep();
        return controller;
    }

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        Dialogs::setTestMode(true);
        Dialogs::resetAnswers();
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
    }

    void cleanup() { Locale::overrideLocaleId(-1); }

    void firstRunCopiesTheStoreOfTheLocale_data()
    {
        QTest::addColumn<int>("locale");
        QTest::addColumn<QString>("shipped");
        QTest::newRow("pt-BR") << Locale::kPortugueseBrazil << "default_ptb.cvf";
        QTest::newRow("en-US") << Locale::kEnglishUS << "default_enu.cvf";
        QTest::newRow("other") << 0 << "default_enu.cvf";
    }
    void firstRunCopiesTheStoreOfTheLocale()
    {
        QFETCH(int, locale);
        QFETCH(QString, shipped);
        Locale::overrideLocaleId(locale);
        auto controller = makeController();
        const QString data = m_home->filePath("Corkvane/tester/data/");
        QCOMPARE(controller->DataFolder(), data);
        QCOMPARE(readAll(data + "stickies.cvf"), readAll(programFolder() + shipped));
        QCOMPARE(QFileInfo(data).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::ExeOther),
                 QFileDevice::Permissions());
        QCOMPARE(controller->noteTable().count(), 1);  // the welcome note
    }

    void nothingIsSavedBeforeTheStoreIsLoaded()
    {
        const QByteArray store = "[General]\r\nNumStickies=1\r\n[Stick0]\r\ncaption=keep me\r\n";
        QDir().mkpath(m_home->filePath("Corkvane/tester/data"));
        writeAll(m_home->filePath("Corkvane/tester/data/stickies.cvf"), store);
        TfStickyNote controller(TfStickyNote::Folders{programFolder(), m_home->path(), "tester"});
        QVERIFY(controller.saveStore().isEmpty());
        controller.shutdown();
        QCOMPARE(readAll(controller.storePath()), store);
    }

    void defaultLangChoosesTheLanguageInAnyCase()
    {
        Locale::overrideLocaleId(Locale::kEnglishUS);
        auto controller = makeController("[General]\r\nDefaultLang=pOrT\r\n");
        QCOMPARE(controller->activeLanguage(), TfStickyNote::Language::Portuguese);
        QVERIFY(controller->saveStore().isEmpty());
        IniFile saved = IniFile::fromFile(controller->storePath());
        QCOMPARE(saved.readString("General", "DefaultLang"), QStringLiteral("Port"));

        init();
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
        auto english = makeController("[General]\r\nDefaultLang=Ingl\r\n");
        QCOMPARE(english->activeLanguage(), TfStickyNote::Language::English);
    }

    void userNotesTakeTheDefaultsAndTheFixedPlaces()
    {
        MockClock clock(QDateTime(QDate(2026, 12, 7), QTime(14, 5, 9)));
        auto controller = makeController("[General]\r\nDefaultColor=255\r\nDefaultFontName=Courier New\r\n"
                                         "DefaultFontSize=12\r\nDefaultFontColor=65280\r\nDefaultFontBold=1\r\n"
                                         "DarkCaption=1\r\nTrackPosition=10\r\nScrollBar=1\r\nShowTime=0\r\n");
        const int first = controller->createNote(TfStickyNote::NoteKind::User);
        const int second = controller->createNote(TfStickyNote::NoteKind::User);
        QCOMPARE(first, 0);
        QCOMPARE(second, 1);
        TfPostIt *a = controller->note(0);
        TfPostIt *b = controller->note(1);
        QCOMPARE(a->pos(), QPoint(3, 0));
        QCOMPARE(b->pos(), QPoint(20, 86));
        QCOMPARE(a->size(), QSize(170, 120));
        QVERIFY(a->isVisible());
        QCOMPARE(a->title(), QStringLiteral("07/12/2026 "));
        QCOMPARE(a->color(), 255);
        QCOMPARE(a->noteFont(), (NoteFont{"Courier New", 12, 65280, true, false}));
        QCOMPARE(a->titleFontColour(), 65280);
        QVERIFY(a->darkCaption());
        QCOMPARE(a->trackPosition(), 10);
        QCOMPARE(a->captionColour(), 225);  // the zero components stay at zero
        QVERIFY(a->scrollBar());
        QVERIFY(a->popPrincipal()->findChild<QAction *>("mnuEnviar")->isVisible());  // the send submenu is offered
    }

    void receivedNotesAreRedCentredAndDoubleWidth()
    {
        auto controller = makeController("[General]\r\nDefaultFontColor=4660\r\n");
        const int slot = controller->createNote(TfStickyNote::NoteKind::Received);
        TfPostIt *note = controller->note(slot);
        QCOMPARE(note->width(), 340);
        QCOMPARE(note->color(), 255);
        QCOMPARE(note->noteFont(), (NoteFont{"Courier New", 8, 0xFFFFFF, true, false}));
        QCOMPARE(note->titleFontColour(), 4660);
        const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
        QCOMPARE(note->pos(), QPoint(desktop.width() / 2 - 170, desktop.height() / 2 - note->height() / 2));
    }

    void deletionAsksUnlessToldNotToAndNeverReusesSlots()
    {
        auto controller = makeController("[General]\r\nAskDelete=1\r\n");
        for (int i = 0; i < 3; ++i)
            controller->createNote(TfStickyNote::NoteKind::User);

        Dialogs::setNextAnswer(QMessageBox::No);
        QCoreApplication::postEvent(controller.get(), new QEvent(static_cast<QEvent::Type>(1125)));  // malformed: ignored
        QTest::mouseClick(controller->note(1)->findChild<QPushButton *>("cmdApagarPostit"), Qt::LeftButton);
        QTRY_COMPARE(Dialogs::shownMessages().size(), 1);
        QCOMPARE(Dialogs::shownMessages().at(0).text, QStringLiteral("Deseja realmente eliminar esta nota?"));
        QCOMPARE(Dialogs::shownMessages().at(0).title, QStringLiteral("Aviso"));
        QVERIFY(controller->note(1));

        Dialogs::setNextAnswer(QMessageBox::Yes);
        QTest::mouseClick(controller->note(1)->findChild<QPushButton *>("cmdApagarPostit"), Qt::LeftButton);
        QTRY_VERIFY(!controller->note(1));
        QCOMPARE(controller->noteTable().count(), 3);
        QCOMPARE(controller->createNote(TfStickyNote::NoteKind::User), 3);

        controller->settings().recGeral.AskDelete = false;
        Dialogs::clearShownMessages();
        QTest::mouseClick(controller->note(0)->findChild<QPushButton *>("cmdApagarPostit"), Qt::LeftButton);
        QTRY_VERIFY(!controller->note(0));
        QVERIFY(Dialogs::shownMessages().isEmpty());
    }

    void deletingTheRingingNoteStopsTheBlinking()
    {
        auto controller = makeController("[General]\r\nAskDelete=0\r\n");
        controller->createNote(TfStickyNote::NoteKind::User);
        TfPostIt *note = controller->note(0);
        note->setRingingIconShown(true);
        controller->ringingNoteRef() = 0;
        controller->setAlarmAnimation(true);
        QCoreApplication::postEvent(controller.get(), new DeleteNoteRequest(0));
        QTRY_VERIFY(!controller->note(0));
        QCOMPARE(controller->RingingNote(), -1);
        QTRY_VERIFY(!controller->trayIcon()->animated());
    }

    void theTableIsNeverOverrun()
    {
        auto controller = makeController("[General]\r\nNumStickies=0\r\n");
        for (int i = 0; i < 1001; ++i)
            QCOMPARE(controller->createNote(TfStickyNote::NoteKind::User), i);
        Dialogs::clearShownMessages();
        QCOMPARE(controller->createNote(TfStickyNote::NoteKind::User), -1);
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QCOMPARE(Dialogs::shownMessages().at(0).title, QStringLiteral("Erro"));
        QCOMPARE(controller->createNote(TfStickyNote::NoteKind::Received), -1);
        QCOMPARE(Dialogs::shownMessages().size(), 1);  // a received note is only logged
        QCOMPARE(controller->noteTable().count(), 1001);
        QVERIFY(controller->saveStore().isEmpty());
        QCOMPARE(IniFile::fromFile(controller->storePath()).readInteger("General", "NumStickies", 0), 1001);
    }

    void receivedNotesLeaveTheUserRoomForTheirOwn()
    {
        auto controller = makeController("[General]\r\nNumStickies=0\r\n");
        ReceivedNotes received(*controller);
        int taken = 0;
        while (taken < NoteTable::kSlots && received.createReceivedNote() >= 0)
            ++taken;
        QCOMPARE(taken, NoteTable::kSlots - ReceivedNotes::kSlotsKeptForUser);
        for (int i = 0; i < ReceivedNotes::kSlotsKeptForUser; ++i)
            QCOMPARE(controller->createNote(TfStickyNote::NoteKind::User), taken + i);
        QVERIFY(controller->noteTable().full());
    }

    void theTrayMenuListsShowsAndHidesNotes()
    {
        auto controller = makeController("[General]\r\nNumStickies=3\r\n"
                                         "[Stick0]\r\ncaption=first\r\n[Stick1]\r\ncaption=hidden one\r\nvisible=0\r\n"
                                         "[Stick2]\r\ncaption=third\r\n");
        QMenu *menu = controller->trayMenu()->menu();
        emit menu->aboutToShow();
        QMenu *mostrar = controller->trayMenu()->item("mnuMostrar")->menu();
        QMenu *escondidos = controller->trayMenu()->item("mnuEscondidos")->menu();
        QCOMPARE(menuCaptions(mostrar), (QStringList{"<Todos>", "-", "first", "hidden one", "third"}));
        QCOMPARE(menuCaptions(escondidos), QStringList{"hidden one"});

        escondidos->actions().at(0)->trigger();
        QVERIFY(controller->note(1)->isVisible());
        emit menu->aboutToShow();
        QVERIFY(!controller->trayMenu()->item("mnuEscondidos")->isEnabled());

        controller->note(0)->hide();
        controller->note(2)->hide();
        emit menu->aboutToShow();
        mostrar->actions().at(0)->trigger();  // <Todos>
        QVERIFY(controller->note(0)->isVisible() && controller->note(2)->isVisible());
    }

    void eMailOpensOneDialogMadeOnFirstUse()
    {
        auto controller = makeController("[General]\r\nNumStickies=2\r\n[Stick0]\r\ncaption=first\r\n[Stick1]\r\ncaption=second\r\n");
        QCOMPARE(controller->emailDialog(), nullptr);
        controller->settings().recRede.Enabled = true;
        controller->note(0)->setText(QStringLiteral("linha 1\r\nlinha 2"));
        auto mail = [&](int slot) { controller->note(slot)->popPrincipal()->findChild<QAction *>("EMail1")->trigger(); };
        mail(0);
        TfrmEnviarEmail *dialog = controller->emailDialog();
        QVERIFY(dialog && dialog->isVisible());
        auto subject = [&] { return dialog->findChild<QLabel *>("lblAssunto")->text(); };
        QCOMPARE(subject(), QStringLiteral("Corkvane - first"));
        QCOMPARE(dialog->findChild<QPlainTextEdit *>("memTexto")->toPlainText(), QStringLiteral("linha 1\nlinha 2"));
        // While it is open it keeps its note; once closed, the next note fills the same dialog.
        mail(1);
        QCOMPARE(subject(), QStringLiteral("Corkvane - first"));
        dialog->findChild<QPushButton *>("cmdFechar")->click();
        mail(1);
        QCOMPARE(controller->emailDialog(), dialog);
        QCOMPARE(subject(), QStringLiteral("Corkvane - second"));
    }

    void aTrayClickBringsUpTheRingingNoteOnly()
    {
        auto controller = makeController("[General]\r\nNumStickies=2\r\n[Stick0]\r\ncaption=a\r\n[Stick1]\r\ncaption=b\r\nvisible=0\r\n");
        controller->trayIcon()->handleActivation(QSystemTrayIcon::Trigger);
        QVERIFY(!controller->note(1)->isVisible());
        controller->ringingNoteRef() = 1;
        controller->setAlarmAnimation(true);
        controller->trayIcon()->handleActivation(QSystemTrayIcon::Trigger);
        QVERIFY(controller->note(1)->isVisible());
        QCOMPARE(controller->RingingNote(), -1);
        QVERIFY(!controller->trayIcon()->animated());
    }

    void theClipboardMessageMakesOneNotePerGuardPeriod()
    {
        auto controller = makeController("[General]\r\nNumStickies=0\r\n");
        QGuiApplication::clipboard()->setText(QStringLiteral("from the browser"));
        controller->clipboardMessage();
        controller->clipboardMessage();  // within the 5 s guard: ignored
        QCOMPARE(controller->noteTable().count(), 1);
        QCOMPARE(controller->note(0)->text(), QStringLiteral("from the browser"));
        controller->tmrClip().stop();
        QGuiApplication::clipboard()->clear();
        controller->clipboardMessage();  // an empty clipboard gives an empty note
        QCOMPARE(controller->noteTable().count(), 2);
        QCOMPARE(controller->note(1)->text(), QString());
    }

    void theAutoSaveCountdownSavesEveryPeriod()
    {
        auto controller = makeController("[General]\r\nNumStickies=0\r\nTimeAutoSave=5\r\nAutoSave=1\r\n");
        int checks = 0;
        controller->setAlarmCheck([&checks] { ++checks; });
        controller->createNote(TfStickyNote::NoteKind::User);
        for (int i = 0; i < 299; ++i)
            controller->alarmTick();
        QCOMPARE(IniFile::fromFile(controller->storePath()).readInteger("General", "NumStickies", -1), 0);
        controller->alarmTick();
        QCOMPARE(IniFile::fromFile(controller->storePath()).readInteger("General", "NumStickies", -1), 1);
        QCOMPARE(controller->AutoSaveCountdown(), 300);
        QCOMPARE(checks, 300);
    }

    void aFailingAutoSaveStillChecksAlarms()
    {
        auto controller = makeController("[General]\r\nNumStickies=0\r\nTimeAutoSave=0\r\nAutoSave=1\r\n");
        int checks = 0;
        controller->setAlarmCheck([&checks] { ++checks; });
        // A countdown at or below zero never reaches zero again: no automatic save.
        for (int i = 0; i < 5; ++i)
            controller->alarmTick();
        QCOMPARE(checks, 5);

        auto failing = makeController("[General]\r\nNumStickies=0\r\nTimeAutoSave=1\r\nAutoSave=1\r\n");
        failing->setAlarmCheck([&checks] { ++checks; });
        // A folder where the store should be: the rename of the new store fails, even for root.
        QVERIFY(QFile::remove(failing->storePath()));
        QVERIFY(QDir().mkdir(failing->storePath()));
        checks = 0;
        Dialogs::clearShownMessages();
        for (int i = 0; i < 60; ++i)
            failing->alarmTick();
        QCOMPARE(checks, 60);
        QTRY_COMPARE(Dialogs::shownMessages().size(), 1);
        QCOMPARE(Dialogs::shownMessages().at(0).text, "Unable to write to " + failing->storePath());
    }

    void requestsFromOtherProcessesReachTheirCommands()
    {
        const QByteArray store = "[General]\r\nNumStickies=2\r\n[Stick0]\r\ncaption=hidden\r\nvisible=0\r\n"
                                 "[Stick1]\r\ncaption=shown\r\nvisible=1\r\n";
        QDir().mkpath(m_home->filePath("Corkvane/tester/data"));
        writeAll(m_home->filePath("Corkvane/tester/data/stickies.cvf"), store);
        TfStickyNote controller(TfStickyNote::Folders{programFolder(), m_home->path(), "tester"});
        QSignalSpy preferences(controller.trayMenu(), &TrayMenu::preferencesRequested);

        // Before the notes are loaded a request waits for them.
        controller.runProgramCommand(ProgramCommand::fromMessage("new-note\n"));
        controller.runProgramCommand(ProgramCommand::fromMessage("preferences"));
        QCOMPARE(controller.noteTable().count(), 0);
        QCOMPARE(preferences.size(), 0);
        controller.startupStep();
        QCOMPARE(controller.noteTable().count(), 3);
        QCOMPARE(preferences.size(), 1);
        QVERIFY(!controller.note(0)->isVisible());

        controller.runProgramCommand(ProgramCommand::fromMessage("show-all"));
        QVERIFY(controller.note(0)->isVisible());
        controller.note(0)->hide();
        controller.runProgramCommand(ProgramCommand::fromMessage(" show \r\n"));
        QVERIFY(controller.note(0)->isVisible());
        QTRY_VERIFY(controller.trayMenu()->menu()->isVisible());
        controller.trayMenu()->menu()->hide();

        // Anything else is the clipboard note, a bare connection above all.
        for (const QByteArray &message : {QByteArray(), QByteArray("anything"), QByteArray("new-notes")}) {
            const int before = controller.noteTable().count();
            controller.tmrClip().stop();
            controller.runProgramCommand(ProgramCommand::fromMessage(message));
            QCOMPARE(controller.noteTable().count(), before + 1);
        }
    }

    void fixedSizeWindowsOfferNoMaximise()
    {
        auto controller = makeController();
        const QList<std::pair<QWidget *, QSize>> windows{{TfrmMudaCaption::instance(), QSize(247, 84)},
                                                         {controller->aboutBox(), QSize(330, 239)},
                                                         {controller->todaysTasks(), QSize(248, 109)}};
        for (const auto &[window, size] : windows) {
            const Qt::WindowFlags flags = window->windowFlags();
            QVERIFY2(!(flags & Qt::WindowMaximizeButtonHint), qPrintable(window->objectName()));
            // A window without its own set of buttons, or with none of close, minimise and
            // maximise, is given every button by an X11 window manager.
            QVERIFY2(flags & Qt::CustomizeWindowHint, qPrintable(window->objectName()));
            QVERIFY2(flags & Qt::WindowCloseButtonHint, qPrintable(window->objectName()));
            // The design size, wider only where the title needs it.
            QCOMPARE(window->minimumSize(), window->maximumSize());
            QCOMPARE(window->minimumHeight(), size.height());
            QVERIFY2(window->minimumWidth() >= size.width(), qPrintable(window->objectName()));
        }
    }

    // No fixed-size window and no message box is narrower than its title as the window manager
    // shows it (with " — Corkvane" after it), in the title font, beside the window's icon and
    // buttons; in both languages.
    void windowsAndBoxesShowTheirWholeTitle()
    {
        QApplication::setApplicationDisplayName(QStringLiteral("Corkvane"));
        auto controller = makeController();
        AppSettings settings;
        TfrmConfNota preferences(&settings);
        TfrmEnviarEmail mail(&settings);
        TfrmAddContato contact;
        const QList<QWidget *> windows{TfrmMudaCaption::instance(), controller->aboutBox(), controller->todaysTasks(),
                                       controller->soundDialog(), controller->blockEntryDialog(),
                                       controller->sendDialogs()->sendDialog(), controller->sendDialogs()->addressBook(),
                                       &preferences, &mail, &contact};
        QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
        titleFont.setBold(true);
        const QFontMetrics metrics(titleFont);
        const auto needed = [&metrics](const QString &title) {
            const QString shown = title.endsWith(QLatin1String("Corkvane")) ? title : title + QStringLiteral(" \u2014 Corkvane");
            return metrics.horizontalAdvance(shown) + WindowTitle::kDecorationWidth;
        };
        LanguageModules modules(programFolder());
        QStringList cut;
        for (bool english : {false, true}) {
            if (english) {
                QVERIFY(modules.load(LanguageModules::kEnglish));
                QCoreApplication::processEvents();
            }
            for (QWidget *window : windows) {
                window->show();  // some size themselves as they are shown
                QCoreApplication::processEvents();
                if (window->width() < needed(window->windowTitle()))
                    cut << QStringLiteral("%1 (%2 < %3)").arg(window->windowTitle()).arg(window->width()).arg(needed(window->windowTitle()));
                window->hide();
            }
            const QStringList boxTitles{QObject::tr("Erro"), QObject::tr("Aviso"), QObject::tr("Atenção"),
                                        QApplication::applicationDisplayName()};
            for (const QString &title : boxTitles) {
                const auto box = Dialogs::makeBox(nullptr, QMessageBox::Information, title, QStringLiteral("Ok."),
                                                  QMessageBox::Ok, QMessageBox::Ok);
                box->show();
                QCoreApplication::processEvents();
                if (box->width() < needed(title))
                    cut << QStringLiteral("box %1 (%2 < %3)").arg(title).arg(box->width()).arg(needed(title));
            }
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
    }

    void webPageWithoutABrowserSaysSo()
    {
        auto controller = makeController();
        UrlSink sink;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &sink, "open");
        controller->trayMenu()->item("mnuWeb")->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(sink.opened, QList<QUrl>{QUrl(productWebAddress())});
        QVERIFY(Dialogs::shownMessages().isEmpty());

        // No handler at all: the headless platform has no browser.
        controller->trayMenu()->item("mnuWeb")->trigger();
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QCOMPARE(Dialogs::shownMessages().at(0).title, QStringLiteral("Erro"));
        QVERIFY(Dialogs::shownMessages().at(0).text.contains(productWebAddress()));
    }

    void backupFromTheMenuReportsWhereItWent()
    {
        MockClock clock(QDateTime(QDate(2003, 3, 3), QTime(9, 5)));
        auto controller = makeController();
        const QString folder = m_home->filePath("bak");
        QDir().mkdir(folder);
        Dialogs::setNextFileName(folder + "/typed-name.cvf");
        controller->backupFromMenu();
        const QString copy = folder + "/sticky-20030303_0905.cvf";
        QCOMPARE(readAll(copy), readAll(controller->storePath()));
        QCOMPARE(Dialogs::shownMessages().last().text, "Backup efetuado em  " + copy);

        Dialogs::setNextFileName(m_home->filePath("missing/x.cvf"));
        controller->backupFromMenu();
        QCOMPARE(Dialogs::shownMessages().last().title, QStringLiteral("Erro"));

        // The folder dialog opens at 09:05:50; the copy is made after the minute has turned.
        int reads = 0;
        Clock::setSource([&reads] { return QDateTime(QDate(2003, 3, 3), ++reads == 1 ? QTime(9, 5, 50) : QTime(9, 6, 10)); });
        Dialogs::setNextFileName(folder + "/typed-name.cvf");
        controller->backupFromMenu();
        Clock::setSource({});
        QCOMPARE(Dialogs::shownMessages().last().text, "Backup efetuado em  " + folder + "/sticky-20030303_0906.cvf");
    }
};

QTEST_MAIN(TestController)
#include "tst_controller.moc"
