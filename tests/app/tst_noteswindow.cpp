// The notes window as a user drives it, on a real controller: the search filters as one types,
// Enter and a double click bring the chosen note up with the keyboard in it, Delete and the
// context menu act through the program's own paths, the list follows the notes live, and the
// window opens from every place that offers it. The note windows carry their titles.
#include "app/Help.h"
#include "app/StickyNote.h"
#include "app/TrayMenu.h"
#include "notes/ConfNota.h"
#include "notes/ControllerEvents.h"
#include "notes/MudaCaption.h"
#include "notes/Notas.h"
#include "notes/PostIt.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "platform/ProgramCommand.h"
#include "support/DialogDriving.h"
#include "support/TestFiles.h"
#include "support/StartedController.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>
#include <memory>

namespace {

QString programFolder()
{
    return qEnvironmentVariable("CORKVANE_BIN_DIR") + QLatin1Char('/');
}

// Slot 0 Compras, 1 Reunião (alarm), 2 Pagar contas (hidden), 3 received, 4 untitled.
const QByteArray kStore =
    "[General]\r\nDefaultLang=Port\r\nNumStickies=5\r\nAutoSave=0\r\nAskDelete=1\r\n"
    "[Stick0]\r\ncaption=Compras\r\nvisible=1\r\nnote=\\nComprar P\xC3O\\nleite\r\nColor=255\r\n"
    "[Stick1]\r\ncaption=Reuni\xE3o\r\nvisible=1\r\nnote=pauta: or\xE7""amento\r\n"
    "alarm=1\r\nAlarmDateTime=25/12/2099 14:30:00\r\n"
    "[Stick2]\r\ncaption=Pagar contas\r\nvisible=0\r\nnote=luz e \xE1gua\r\n"
    "[Stick3]\r\ncaption=Recado\r\nvisible=1\r\nnote=ligar para o Jo\xE3o\r\nRodape=De ana (10.0.0.7)\r\n"
    "[Stick4]\r\ncaption=\r\nvisible=1\r\nnote=sem t\xEDtulo\r\n";

QString cell(TfrmNotas *window, int row, int column, int role = Qt::DisplayRole)
{
    const QAbstractItemModel *model = window->list()->model();
    return model->data(model->index(row, column), role).toString();
}

int rowOfSlot(TfrmNotas *window, int slot)
{
    return int(window->listedSlots().indexOf(slot));
}

void search(TfrmNotas *window, const QString &text)
{
    window->searchField()->selectAll();
    if (text.isEmpty())
        QTest::keyClick(window->searchField(), Qt::Key_Backspace);
    else
        QTest::keyClicks(window->searchField(), text);
}

} // namespace

class TestNotesWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;

    std::unique_ptr<TfStickyNote> makeController(const QByteArray &store = kStore)
    {
        return startedController(programFolder(), m_home->path(), store);
    }

    static TfrmNotas *openWindow(TfStickyNote &controller)
    {
        controller.openNotesWindow();
        TfrmNotas *window = controller.notesWindow();
        if (window && !QTest::qWaitForWindowExposed(window))
            return nullptr;
        return window;
    }

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        Dialogs::setTestMode(true);
        Dialogs::resetAnswers();
        Dialogs::clearShownMessages();
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
    }
    void cleanup() { Locale::overrideLocaleId(-1); }

    void theSearchFiltersAsOneTypes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("noteSlots");
        QTest::newRow("nothing typed") << "" << QList<int>{0, 1, 2, 3, 4};
        QTest::newRow("pao, in capitals with a tilde in the text") << "pao" << QList<int>{0};
        QTest::newRow("title without its accent") << "reuniao" << QList<int>{1};
        QTest::newRow("accent typed, none in the text") << "REUNIÃO" << QList<int>{1};
        QTest::newRow("word in the text, the note hidden") << "agua" << QList<int>{2};
        QTest::newRow("title and text words together") << "pagar LUZ" << QList<int>{2};
        QTest::newRow("one word missing") << "pagar leite" << QList<int>{};
        QTest::newRow("shared letters") << "ao" << QList<int>{0, 1, 3};
        QTest::newRow("the sender's line is not searched") << "ana" << QList<int>{};
    }
    void theSearchFiltersAsOneTypes()
    {
        QFETCH(QString, typed);
        QFETCH(QList<int>, noteSlots);
        auto controller = makeController();
        TfrmNotas *window = openWindow(*controller);
        QVERIFY(window);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(window->searchField()));
        QTest::keyClicks(window->searchField(), typed);
        QCOMPARE(window->listedSlots(), noteSlots);
        // The first row is chosen, so that Enter has a note to show.
        QCOMPARE(window->currentSlot(), noteSlots.isEmpty() ? -1 : noteSlots.first());
        QCOMPARE(window->findChild<QLabel *>("lblContagem")->text(),
                 typed.isEmpty() ? QStringLiteral("Notas: 5") : QStringLiteral("Encontradas: %1 de 5").arg(noteSlots.size()));
    }

    void eachRowShowsWhatItsNoteIs()
    {
        auto controller = makeController();
        TfrmNotas *window = openWindow(*controller);
        const QStringList titles{"Compras", "Reunião", "Pagar contas", "Recado", "(sem título)"};
        const QStringList lines{"Comprar PÃO", "pauta: orçamento", "luz e água", "ligar para o João", "sem título"};
        const QStringList alarms{"", "25/12/2099 14:30:00", "", "", ""};
        const QStringList from{"", "", "", "De ana (10.0.0.7)", ""};
        const QStringList states{"Visível", "Visível", "Oculta", "Visível", "Visível"};
        for (int row = 0; row < 5; ++row) {
            QCOMPARE(cell(window, row, TfrmNotas::ColTitle), titles.at(row));
            QCOMPARE(cell(window, row, TfrmNotas::ColText), lines.at(row));
            QCOMPARE(cell(window, row, TfrmNotas::ColAlarm), alarms.at(row));
            QCOMPARE(cell(window, row, TfrmNotas::ColFrom), from.at(row));
            QCOMPARE(cell(window, row, TfrmNotas::ColState), states.at(row));
        }
        // The swatch is painted in the note's own colour.
        const QAbstractItemModel *model = window->list()->model();
        const QImage swatch = model->data(model->index(0, TfrmNotas::ColTitle), Qt::DecorationRole)
                                  .value<QIcon>().pixmap(14, 14).toImage();
        QCOMPARE(swatch.pixelColor(7, 7), QColor(Qt::red));
        QCOMPARE(model->headerData(TfrmNotas::ColFrom, Qt::Horizontal).toString(), QStringLiteral("Recebida de"));
    }

    void enterAndADoubleClickBringTheNoteUpWithTheKeyboardInIt()
    {
        auto controller = makeController();
        TfrmNotas *window = openWindow(*controller);
        TfPostIt *hidden = controller->note(2);
        QVERIFY(hidden->isHidden());
        QTest::keyClicks(window->searchField(), "contas");
        QTest::keyClick(window->searchField(), Qt::Key_Return);
        QVERIFY(hidden->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(hidden));
        QTRY_COMPARE(QApplication::focusWidget(), hidden->findChild<QPlainTextEdit *>("memPostit"));
        QTRY_COMPARE(cell(window, 0, TfrmNotas::ColState), QStringLiteral("Visível"));

        // The arrows choose in the list while the search field keeps the focus.
        window->open();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(window->searchField()));
        QCOMPARE(window->currentSlot(), 0);
        QTest::keyClick(window->searchField(), Qt::Key_Down);
        QTest::keyClick(window->searchField(), Qt::Key_Down);
        QCOMPARE(window->currentSlot(), 2);
        QTest::keyClick(window->searchField(), Qt::Key_Up);
        QCOMPARE(window->currentSlot(), 1);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(window->searchField()));

        TfPostIt *received = controller->note(3);
        const QRect row = window->list()->visualRect(window->list()->model()->index(rowOfSlot(window, 3), 1));
        // A double click comes after the press and release of its first click.
        QTest::mouseClick(window->list()->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(window->list()->viewport(), Qt::LeftButton, {}, row.center());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(received));
        QCOMPARE(window->currentSlot(), 3);

        // Enter in the list does the same.
        window->activateWindow();
        window->selectSlot(1);
        window->list()->setFocus();
        QTest::keyClick(window->list(), Qt::Key_Enter);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(controller->note(1)));
    }

    void deleteGoesThroughTheUsualConfirmation()
    {
        auto controller = makeController();
        TfrmNotas *window = openWindow(*controller);
        // In the search field, Delete is a key of the text.
        QTest::keyClicks(window->searchField(), "xx");
        QTest::keyClick(window->searchField(), Qt::Key_Home);
        QTest::keyClick(window->searchField(), Qt::Key_Delete);
        QCOMPARE(window->searchField()->text(), QStringLiteral("x"));
        search(window, QString());
        QCoreApplication::processEvents();
        QVERIFY(Dialogs::shownMessages().isEmpty());

        window->selectSlot(1);
        window->list()->setFocus();
        Dialogs::setNextAnswer(QMessageBox::No);
        QTest::keyClick(window->list(), Qt::Key_Delete);
        QTRY_COMPARE(Dialogs::shownMessages().size(), 1);
        QCOMPARE(Dialogs::shownMessages().at(0).text, QStringLiteral("Deseja realmente eliminar esta nota?"));
        QVERIFY(controller->note(1));
        QCOMPARE(window->listedSlots(), (QList<int>{0, 1, 2, 3, 4}));

        Dialogs::setNextAnswer(QMessageBox::Yes);
        QTest::keyClick(window->list(), Qt::Key_Delete);
        QTRY_VERIFY(!controller->note(1));
        QTRY_COMPARE(window->listedSlots(), (QList<int>{0, 2, 3, 4}));
        // The row after the deleted one is chosen, ready for the next key.
        QVERIFY(window->currentSlot() >= 0);
    }

    void theContextMenuShowsHidesDeletesAndConfigures()
    {
        auto controller = makeController();
        controller->settings().recGeral.AskDelete = false;
        TfrmNotas *window = openWindow(*controller);
        QMenu *menu = window->contextMenu();
        const auto command = [window](const char *name) { return window->findChild<QAction *>(name); };
        QStringList captions;
        for (const QAction *a : menu->actions())
            captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(captions, (QStringList{"&Mostrar", "&Ocultar", "&Excluir", "-", "&Configurações..."}));

        TfPostIt *note = controller->note(0);
        window->selectSlot(0);
        command("mnuOcultarNota")->trigger();
        QVERIFY(note->isHidden());
        QTRY_COMPARE(cell(window, 0, TfrmNotas::ColState), QStringLiteral("Oculta"));
        QVERIFY(!command("mnuOcultarNota")->isEnabled());
        command("mnuMostrarNota")->trigger();
        QVERIFY(note->isVisible());
        QTRY_VERIFY(command("mnuOcultarNota")->isEnabled());

        int configured = -1;
        whenModal<TfrmConfNota>([&configured](TfrmConfNota *dialog) { configured = dialog->NoteIndex(); });
        window->selectSlot(3);
        command("mnuConfigurarNota")->trigger();
        QCOMPARE(configured, 3);

        command("mnuExcluirNota")->trigger();
        QTRY_VERIFY(!controller->note(3));
        QTRY_COMPARE(window->listedSlots(), (QList<int>{0, 1, 2, 4}));
    }

    void theListFollowsTheNotesLive()
    {
        auto controller = makeController();
        TfrmNotas *window = openWindow(*controller);
        QTest::keyClicks(window->searchField(), "feira");
        QCOMPARE(window->listedSlots(), QList<int>{});

        // Created, then written into: it comes in as it matches.
        const int slot = controller->createNote(TfStickyNote::NoteKind::User);
        QCOMPARE(slot, 5);
        window->activateWindow();
        QTRY_COMPARE(window->findChild<QLabel *>("lblContagem")->text(), QStringLiteral("Encontradas: 0 de 6"));
        controller->note(slot)->setText("lista da feira");
        QTRY_COMPARE(window->listedSlots(), QList<int>{5});
        QCOMPARE(cell(window, 0, TfrmNotas::ColText), QStringLiteral("lista da feira"));

        // Retitled: matched by its new title.
        search(window, "sabado");
        QCOMPARE(window->listedSlots(), QList<int>{});
        controller->note(1)->setTitle("Sábado");
        QTRY_COMPARE(window->listedSlots(), QList<int>{1});
        QCOMPARE(cell(window, 0, TfrmNotas::ColTitle), QStringLiteral("Sábado"));

        // Hidden from its own button, then deleted.
        search(window, QString());
        click(controller->note(1), "cmdEsconder");
        QTRY_COMPARE(cell(window, rowOfSlot(window, 1), TfrmNotas::ColState), QStringLiteral("Oculta"));
        controller->settings().recGeral.AskDelete = false;
        QCoreApplication::postEvent(controller.get(), new DeleteNoteRequest(1));
        QTRY_COMPARE(window->listedSlots(), (QList<int>{0, 2, 3, 4, 5}));

        // Changes while the window is closed are there when it opens again.
        window->close();
        controller->note(0)->setTitle("Mercado");
        controller->createNote(TfStickyNote::NoteKind::User);
        window = openWindow(*controller);
        QCOMPARE(window->listedSlots(), (QList<int>{0, 2, 3, 4, 5, 6}));
        QCOMPARE(cell(window, 0, TfrmNotas::ColTitle), QStringLiteral("Mercado"));
    }

    void aLanguageSwitchBringsTheRowsBackInTheNewLanguage()
    {
        auto controller = makeController();
        TfrmNotas *window = openWindow(*controller);
        const QPointer<TfPostIt> before = controller->note(0);
        QVERIFY(controller->SwitchLanguage(1033));
        // The notes go, and come back half a second later as new windows.
        QVERIFY(before.isNull());
        QTRY_VERIFY_WITH_TIMEOUT(controller->noteTable().count() == 5 && controller->note(0), 5000);
        QTRY_COMPARE(window->listedSlots(), (QList<int>{0, 1, 2, 3, 4}));
        QCOMPARE(window->windowTitle(), QStringLiteral("Notes"));
        QCOMPARE(cell(window, 2, TfrmNotas::ColState), QStringLiteral("Hidden"));
        QCOMPARE(window->list()->model()->headerData(TfrmNotas::ColTitle, Qt::Horizontal).toString(),
                 QStringLiteral("Title"));
    }

    void itOpensFromEveryPlaceThatOffersIt()
    {
        auto controller = makeController();
        QVERIFY(!controller->notesWindow());
        // The tray row, between the note lists and today's tasks.
        QMenu *tray = controller->trayMenu()->menu();
        emit tray->aboutToShow();
        QAction *find = controller->trayMenu()->item("mnuLocalizar");
        QVERIFY(find->isVisible());
        QCOMPARE(find->text(), QStringLiteral("&Localizar Notas..."));
        const QList<QAction *> items = tray->actions();
        QCOMPARE(items.indexOf(find), items.indexOf(controller->trayMenu()->item("mnuEscondidos")) + 1);
        find->trigger();
        QVERIFY(controller->notesWindow() && controller->notesWindow()->isVisible());
        controller->notesWindow()->close();

        // Ctrl+F in a note's text.
        TfPostIt *note = controller->note(0);
        note->bringToFront();
        QTest::keyClick(note->findChild<QPlainTextEdit *>("memPostit"), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(controller->notesWindow()->isVisible());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(controller->notesWindow()->searchField()));
        QCOMPARE(note->text(), QStringLiteral("\r\nComprar PÃO\r\nleite"));
        controller->notesWindow()->close();

        // Another process: `corkvane --notes`, and a plain second start without a tray.
        controller->runProgramCommand(ProgramCommand::Command::Notes);
        QVERIFY(controller->notesWindow()->isVisible());
        controller->notesWindow()->close();
        controller->setNotificationAreaCheck([] { return false; });
        controller->runProgramCommand(ProgramCommand::Command::Show);
        QVERIFY(controller->notesWindow()->isVisible());
        QVERIFY(!tray->isVisible());
        QVERIFY(controller->note(2)->isVisible());
        controller->notesWindow()->close();
        controller->setNotificationAreaCheck([] { return true; });
        controller->runProgramCommand(ProgramCommand::Command::Show);
        QTRY_VERIFY(tray->isVisible());
        QVERIFY(!controller->notesWindow()->isVisible());
        tray->hide();

        // The window's help topic, and the program's menu behind its button.
        controller->openNotesWindow();
        QTest::keyClick(controller->notesWindow()->searchField(), Qt::Key_F1);
        QVERIFY(controller->helpWindow());
        QTRY_VERIFY(controller->helpWindow()->isVisible());
        QCOMPARE(controller->helpWindow()->browser()->source().fragment(), TfrmAjuda::anchorFor(TfrmNotas::kHelpContext));
        auto *menuButton = controller->notesWindow()->findChild<QToolButton *>("cmdMenu");
        QVERIFY(menuButton->isVisible());
        QCOMPARE(menuButton->menu(), tray);
        // Escape closes it.
        controller->notesWindow()->activateWindow();
        QTest::keyClick(controller->notesWindow()->searchField(), Qt::Key_Escape);
        QVERIFY(!controller->notesWindow()->isVisible());
    }

    // What the window manager, the task switchers and screen readers call a note is its title.
    void noteWindowsCarryTheirTitles()
    {
        auto controller = makeController();
        TfPostIt *note = controller->note(1);
        auto *text = note->findChild<QPlainTextEdit *>("memPostit");
        QCOMPARE(note->windowTitle(), QStringLiteral("Reunião"));
        QCOMPARE(text->accessibleName(), QStringLiteral("Reunião"));
        QCOMPARE(controller->note(4)->findChild<QPlainTextEdit *>("memPostit")->accessibleName(),
                 QStringLiteral("Nota sem título"));
        QCOMPARE(controller->note(4)->windowTitle(), QStringLiteral("Nota sem título"));

        whenModal<TfrmMudaCaption>([](TfrmMudaCaption *dialog) {
            typeInto(dialog, "txtCaptionNota", "Pauta de sexta");
            click(dialog, "cmdOK");
        });
        QTest::keyClick(text, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(note->title(), QStringLiteral("Pauta de sexta"));
        QCOMPARE(note->windowTitle(), QStringLiteral("Pauta de sexta"));
        QCOMPARE(text->accessibleName(), QStringLiteral("Pauta de sexta"));

        const int created = controller->createNote(TfStickyNote::NoteKind::User);
        QVERIFY(!controller->note(created)->windowTitle().isEmpty());
        QCOMPARE(controller->note(created)->windowTitle(), controller->note(created)->title());
    }

    // The preferences' controls that stand beside a check box or a radio button, and its lists,
    // are named after their captions for screen readers, in the language shown.
    void thePreferencesNameEveryControl_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("Portuguese") << 1046
                                    << QStringList{"Relembrar a cada", "Dias da Semana", "Toca Som", "Sons dos eventos",
                                                   "Salvamento Automático a cada", "Efetuar Backup na Saída do Programa",
                                                   "Bloquear notas vindas de"};
        QTest::newRow("English") << 1033
                                 << QStringList{"Remind every", "Days of the Week", "Play Sound", "Event sounds",
                                                "Auto-save every", "Make a Backup When the Program Exits",
                                                "Block notes coming from"};
    }
    void thePreferencesNameEveryControl()
    {
        QFETCH(int, language);
        QFETCH(QStringList, names);
        auto controller = makeController("[General]\r\nNumStickies=0\r\n");
        QVERIFY(controller->SwitchLanguage(language));
        QStringList named;
        QStringList described;
        whenModal<TfrmConfNota>([&](TfrmConfNota *dialog) {
            for (const char *control : {"updCada", "chkDiasDaSemana", "fleSom", "lstSom", "updTempo", "txtLocalBackup",
                                        "lstBloqueio"})
                named << QAccessible::queryAccessibleInterface(dialog->findChild<QWidget *>(control))->text(QAccessible::Name);
            for (const char *button : {"cmdProcurar", "cmdLocalBackup"})
                described << QAccessible::queryAccessibleInterface(dialog->findChild<QWidget *>(button))->text(QAccessible::Description);
        });
        controller->openPreferences();
        QCOMPARE(named, names);
        QCOMPARE(described.size(), 2);
        for (const QString &description : described)
            QVERIFY(description.size() > 5);
        controller->SwitchLanguage(1046);
    }
};

QTEST_MAIN(TestNotesWindow)
#include "tst_noteswindow.moc"
