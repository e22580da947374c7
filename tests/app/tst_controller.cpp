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
#include "support/MountNamespace.h"
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
#include "support/StartedController.h"

#include <QRegularExpression>
#include <QScreen>
#include <QtTest>
#include <cerrno>
#include <cstring>
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
        return startedController(programFolder(), m_home->path(), store);
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
        // The file, and under it why it could not be written.
        const QString text = Dialogs::shownMessages().at(0).text;
        QVERIFY2(text.startsWith("Unable to write to " + failing->storePath() + "\n"), qPrintable(text));
        QVERIFY2(text.section('\n', 1).size() > 0, qPrintable(text));
    }

    // A store that cannot be written: the notes stay in memory, the user is told once with the
    // system's reason, every automatic save tries again, and once the folder takes writes again
    // the notes are on disk; the next failure is told again. The menu's save and the exit tell
    // each failure of their own.
    void aFailingSaveIsToldOnceAndTriedAgain_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("reason");
        QTest::newRow("read-only folder") << "read-only" << EROFS;
        QTest::newRow("full disk") << "full" << ENOSPC;
        QTest::newRow("data folder path is a file") << "file" << ENOTDIR;
    }
    void aFailingSaveIsToldOnceAndTriedAgain()
    {
        QFETCH(QString, how);
        QFETCH(int, reason);
        QString why;
        if (how != "file" && !MountNamespace::enter(&why))
            QSKIP(qPrintable(why));
        // A note larger than the full disk's room.
        const QByteArray store = "[General]\r\nNumStickies=2\r\nTimeAutoSave=1\r\nAutoSave=1\r\nDefaultLang=Port\r\n"
                                 "[Stick0]\r\ncaption=a\r\nnote=" + QByteArray(100000, 'x') + "\r\n[Stick1]\r\ncaption=b\r\n"
                                 "[Contatos]\r\nCount=1\r\nNome1=Ana\r\n";
        auto c = makeController(store);
        c->setAlarmCheck([] {});
        const QString data = c->DataFolder();
        const QString moved = m_home->filePath("data-moved");
        auto breakFolder = [&] {
            if (how == "read-only")
                return MountNamespace::makeReadOnly(data, &why);
            if (how == "full")
                return MountNamespace::makeFull(data, 16 * 1024, &why);
            if (!QDir().rename(data.chopped(1), moved))
                return false;
            QFile inTheWay(data.chopped(1));
            return inTheWay.open(QIODevice::WriteOnly) && inTheWay.write("in the way") > 0;
        };
        auto mendFolder = [&] {
            if (how == "file")
                return QFile::remove(data.chopped(1)) && QDir().rename(moved, data.chopped(1));
            return MountNamespace::undo(data);
        };
        auto minute = [&] {
            for (int i = 0; i < 60; ++i)
                c->alarmTick();
            QCoreApplication::processEvents();
        };
        const QString told = "Unable to write to " + c->storePath() + "\n" + qt_error_string(reason);
        const auto storedNote = [&](int n) { return IniFile::fromFile(c->storePath()).readString("Stick" + QString::number(n), "note"); };

        c->note(1)->setText("first edit");
        QVERIFY2(breakFolder(), qPrintable(why));
        Dialogs::clearShownMessages();
        minute();
        QTRY_COMPARE(Dialogs::shownMessages().size(), 1);
        QCOMPARE(Dialogs::shownMessages().at(0).text, told);
        QCOMPARE(c->note(1)->text(), "first edit");

        // Tried again at the next automatic save, without another box.
        c->note(1)->setText("second edit");
        minute();
        minute();
        QCOMPARE(Dialogs::shownMessages().size(), 1);

        QVERIFY(mendFolder());
        minute();
        QCOMPARE(storedNote(1), "second edit");
        QCOMPARE(storedNote(0), QString(100000, 'x'));
        QCOMPARE(IniFile::fromFile(c->storePath()).readString("Contatos", "Nome1"), "Ana");
        QCOMPARE(Dialogs::shownMessages().size(), 1);

        // Saving worked in between: the next failure is told again.
        QVERIFY2(breakFolder(), qPrintable(why));
        c->note(1)->setText("third edit");
        minute();
        QTRY_COMPARE(Dialogs::shownMessages().size(), 2);
        QCOMPARE(Dialogs::shownMessages().at(1).text, told);
        // The user's own save is answered every time.
        c->trayMenu()->item("mnuSalvarNotas")->trigger();
        c->trayMenu()->item("mnuSalvarNotas")->trigger();
        QCOMPARE(Dialogs::shownMessages().size(), 4);
        QCOMPARE(Dialogs::shownMessages().at(3).text, told);

        // The exit tries once more, and keeps what the folder now takes.
        QVERIFY(mendFolder());
        c->shutdown();
        QCOMPARE(storedNote(1), "third edit");
        QCOMPARE(Dialogs::shownMessages().size(), 4);
    }

    // Quitting with a store that cannot be written is never silent: the user who chose "&Sair"
    // sees why, an end by the session or a signal leaves the reason on the standard error.
    void anExitThatCannotSaveSaysSo()
    {
        for (const bool fromMenu : {true, false}) {
            m_home = std::make_unique<QTemporaryDir>();
            auto c = makeController("[General]\r\nNumStickies=1\r\n[Stick0]\r\ncaption=a\r\n");
            QVERIFY(QFile::remove(c->storePath()));
            QVERIFY(QDir().mkdir(c->storePath()));
            Dialogs::clearShownMessages();
            if (fromMenu) {
                c->trayMenu()->item("Sair1")->trigger();
                QCOMPARE(Dialogs::shownMessages().size(), 1);
                QVERIFY(Dialogs::shownMessages().at(0).text.startsWith("Unable to write to " + c->storePath() + "\n"));
            } else {
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Corkvane: Unable to write to .*stickies.cvf\n."));
                c->shutdown();
                QVERIFY(Dialogs::shownMessages().isEmpty());
            }
            QVERIFY(c->shutDown());
        }
    }

    // The exit backup makes a missing folder, or says why there is no copy.
    void theExitBackupMakesItsFolderOrSaysWhy()
    {
        MockClock clock(QDateTime(QDate(2003, 3, 3), QTime(9, 5)));
        const QString made = m_home->filePath("backups/new/");
        auto c = makeController("[General]\r\nNumStickies=0\r\nBackupOnExit=1\r\nBackupPath=" + made.toUtf8() + "\r\n");
        Dialogs::clearShownMessages();
        c->trayMenu()->item("Sair1")->trigger();
        QVERIFY(Dialogs::shownMessages().isEmpty());
        QCOMPARE(readAll(made + "sticky-20030303_0905.cvf"), readAll(c->storePath()));

        m_home = std::make_unique<QTemporaryDir>();
        writeAll(m_home->filePath("a-file"), "x");
        const QString blocked = m_home->filePath("a-file/bak");
        auto d = makeController("[General]\r\nNumStickies=0\r\nBackupOnExit=1\r\nBackupPath=" + blocked.toUtf8() + "\r\n");
        Dialogs::clearShownMessages();
        d->trayMenu()->item("Sair1")->trigger();
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QCOMPARE(Dialogs::shownMessages().at(0).text, "Unable to write to " + blocked + "/sticky-20030303_0905.cvf\n"
                                                          + qt_error_string(ENOTDIR));
    }

    // A note far longer than a Windows installation reads, typed and pasted into a note, comes
    // back to the character after every save and restart.
    void aLongTypedNoteSurvivesRestarts()
    {
        auto c = makeController("[General]\r\nNumStickies=0\r\n");
        const int slot = c->createNote(TfStickyNote::NoteKind::User);
        auto *editor = c->note(slot)->findChild<QPlainTextEdit *>("memPostit");
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("  \"digitado a mao\" "));
        QTest::keyClick(editor, Qt::Key_Return);
        // The rest pasted: accents, the characters of the code page's own range, quotes.
        QString bulk;
        for (int i = 0; bulk.size() < 100000; ++i)
            bulk += QString::fromUtf8("Linha %1 — ação, € e “aspas” = 'x'\n").arg(i);
        editor->insertPlainText(bulk);
        QTest::keyClicks(editor, " fim ");
        const QString typed = c->note(slot)->text();
        QVERIFY(typed.size() > 100000);
        QVERIFY(typed.startsWith(QString::fromUtf8("  \"digitado a mao\" \r\nLinha 0 — ")));
        QVERIFY(typed.endsWith("\r\n fim "));

        QByteArray first;
        for (int restart = 0; restart < 3; ++restart) {
            c->shutdown();
            const QByteArray bytes = readAll(c->storePath());
            if (restart == 0)
                first = bytes;
            QCOMPARE(bytes, first);
            c.reset();
            c = makeController();
            QCOMPARE(c->noteTable().count(), 1);
            QCOMPARE(c->note(0)->text(), typed);
        }
    }

    // Width and Height from the store give a window between the note's smallest size and the
    // desktop, whatever the file says.
    void storedSizesGiveSaneWindows_data()
    {
        QTest::addColumn<QByteArray>("size");
        QTest::newRow("zero") << QByteArray("0");
        QTest::newRow("minus one") << QByteArray("-1");
        QTest::newRow("100000") << QByteArray("100000");
        QTest::newRow("int max") << QByteArray("2147483647");
    }
    void storedSizesGiveSaneWindows()
    {
        QFETCH(QByteArray, size);
        auto c = makeController("[General]\r\nNumStickies=1\r\n[Stick0]\r\ncaption=a\r\nWidth=" + size + "\r\nHeight=" + size + "\r\n");
        QCOMPARE(c->noteTable().count(), 1);
        const QSize desktop = QGuiApplication::primaryScreen()->virtualGeometry().size();
        const QSize window = c->note(0)->size();
        QVERIFY2(window.width() >= TfPostIt::kMinWidth && window.width() <= desktop.width(), qPrintable(QString::number(window.width())));
        QVERIFY2(window.height() >= TfPostIt::kMinHeight && window.height() <= desktop.height(), qPrintable(QString::number(window.height())));
        c->note(0)->grab();  // painted at that size
        QVERIFY(c->saveStore().isEmpty());
        const IniFile saved = IniFile::fromFile(c->storePath());
        QCOMPARE(saved.readInteger("Stick0", "Width", -1), window.width());
        QCOMPARE(saved.readInteger("Stick0", "Height", -1), window.height());
    }

    void requestsFromOtherProcessesReachTheirCommands()
    {
        const QByteArray store = "[General]\r\nNumStickies=2\r\n[Stick0]\r\ncaption=hidden\r\nvisible=0\r\n"
                                 "[Stick1]\r\ncaption=shown\r\nvisible=1\r\n";
        QDir().mkpath(m_home->filePath("Corkvane/tester/data"));
        writeAll(m_home->filePath("Corkvane/tester/data/stickies.cvf"), store);
        TfStickyNote controller(TfStickyNote::Folders{programFolder(), m_home->path(), "tester"});
        // A desktop with a notification area: a second start opens the tray menu at the pointer.
        controller.setNotificationAreaCheck([] { return true; });
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
