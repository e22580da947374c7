// The controller's ways back to lost notes: the trash every deletion goes through, the
// snapshots and the restore of a store copy, the rescue of notes left off the screens, and
// "Reunir Notas".
#include "app/Help.h"
#include "app/Lixeira.h"
#include "app/RestaurarCopia.h"
#include "app/StickyNote.h"
#include "app/TrayMenu.h"
#include "notes/ControllerEvents.h"
#include "notes/PostIt.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "store/IniFile.h"
#include "store/NoteTrash.h"
#include "net/NoteServer.h"
#include "store/Snapshots.h"
#include "support/MountNamespace.h"
#include "support/TestFiles.h"
#include "support/StartedController.h"

#include <QAction>
#include <QDialog>
#include <QTextBrowser>
#include <QListWidget>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

namespace {

QString programFolder()
{
    return qEnvironmentVariable("CORKVANE_BIN_DIR") + QLatin1Char('/');
}

const QDateTime kNow(QDate(2026, 3, 14), QTime(9, 26, 53));

QRect placeOf(const NoteData &n)
{
    return QRect(n.posx, n.posy, n.width, n.height);
}

QStringList captionsOf(const TfStickyNote &controller)
{
    QStringList out;
    controller.noteTable().forEach([&out](int, TfPostIt *note) { out << note->title(); });
    return out;
}

QList<NoteData> notesOf(const TfStickyNote &controller)
{
    QList<NoteData> out;
    controller.noteTable().forEach([&out](int, TfPostIt *note) { out << note->data(); });
    return out;
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;

    QString dataFolder() const { return m_home->filePath("Corkvane/tester/data/"); }

    std::unique_ptr<TfStickyNote> makeController(const QByteArray &store = {})
    {
        QDir().mkpath(dataFolder());
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

    // A confirmed deletion puts the note in the trash, whole, with the moment; an answered No
    // leaves both the note and the trash alone.
    void deletionPutsTheNoteInTheTrash()
    {
        MockClock clock(kNow);
        auto controller = makeController("[General]\r\nAskDelete=1\r\nNumStickies=2\r\n"
                                         "[Stick0]\r\ncaption=fica\r\n"
                                         "[Stick1]\r\ncaption=vai\r\nnote=linha 1\\nlinha 2\r\nalarm=1\r\n"
                                         "AlarmDateTime=01/04/2026 08:00:00\r\nposx=120\r\nposy=130\r\nColor=255\r\n");
        const NoteData before = controller->note(1)->data();
        Dialogs::setNextAnswer(QMessageBox::No);
        QTest::mouseClick(controller->note(1)->findChild<QPushButton *>("cmdApagarPostit"), Qt::LeftButton);
        QTRY_COMPARE(Dialogs::shownMessages().size(), 1);
        QVERIFY(controller->note(1));
        QVERIFY(!QFile::exists(dataFolder() + "trash.cvf"));

        Dialogs::setNextAnswer(QMessageBox::Yes);
        QTest::mouseClick(controller->note(1)->findChild<QPushButton *>("cmdApagarPostit"), Qt::LeftButton);
        QTRY_VERIFY(!controller->note(1));
        const QList<TrashEntry> trashed = controller->trash().entries(kNow);
        QCOMPARE(trashed.size(), 1);
        QCOMPARE(trashed.at(0).note, before);
        QCOMPARE(trashed.at(0).note.alarmDateTime, QDateTime(QDate(2026, 4, 1), QTime(8, 0)));
        QCOMPARE(trashed.at(0).deletedAt, kNow);
    }

    // When the trash cannot be written the note is not deleted, and the user is told why.
    void aNoteTheTrashCannotTakeStays()
    {
        auto controller = makeController("[General]\r\nAskDelete=0\r\nNumStickies=1\r\n[Stick0]\r\ncaption=preciosa\r\n");
        QString why;
        if (!MountNamespace::enter(&why) || !MountNamespace::makeReadOnly(dataFolder(), &why))
            QSKIP(qPrintable(why));
        QCoreApplication::postEvent(controller.get(), new DeleteNoteRequest(0));
        QTRY_COMPARE(Dialogs::shownMessages().size(), 1);
        MountNamespace::undo(dataFolder());
        QVERIFY(controller->note(0));
        QCOMPARE(Dialogs::shownMessages().at(0).title, QStringLiteral("Erro"));
        QVERIFY(Dialogs::shownMessages().at(0).text.contains(dataFolder() + "trash.cvf"));
        QVERIFY(Dialogs::shownMessages().at(0).text.contains("não foi apagada"));
    }

    // Delete, find it in the trash, restore, restart: the note is back as it was.
    void aDeletedNoteComesBackWholeThroughTheTrash()
    {
        MockClock clock(kNow);
        const QByteArray store = "[General]\r\nAskDelete=0\r\nDefaultLang=Port\r\nNumStickies=2\r\n"
                                 "[Stick0]\r\ncaption=outra\r\nposx=10\r\nposy=10\r\n"
                                 "[Stick1]\r\ncaption=Compras\r\nnote=  \\nleite\\np\xe3o\r\nalarm=1\r\n"
                                 "AlarmDateTime=20/03/2026 08:00:00\r\nRemember=1\r\nRememberNo=2\r\nRememberUnit=3\r\n"
                                 "Dia2=0\r\nUseSound=1\r\nSoundFile=/tmp/a.wav\r\nposx=321\r\nposy=234\r\n"
                                 "Width=250\r\nHeight=190\r\nColor=16744576\r\nDarkCaption=1\r\nTrackPosition=5\r\n"
                                 "FontName=Courier New\r\nFontSize=12\r\nFontBold=1\r\nFontColor=255\r\n"
                                 "scrollbar=1\r\ntopmost=1\r\nRodape=De: bia\r\n";
        NoteData before;
        {
            auto controller = makeController(store);
            before = controller->note(1)->data();
            QCOMPARE(before.note, QString("\r\nleite\r\np\u00e3o"));
            QCoreApplication::postEvent(controller.get(), new DeleteNoteRequest(1));
            QTRY_VERIFY(!controller->note(1));
            controller->shutdown();
        }
        clock.advanceSecs(3600);
        {
            auto controller = makeController();
            QCOMPARE(captionsOf(*controller), QStringList{"outra"});
            controller->trayMenu()->rebuildNoteLists();
            QVERIFY(controller->trayMenu()->item("mnuLixeira")->isVisible());
            controller->trayMenu()->item("mnuLixeira")->trigger();
            TfrmLixeira *dialog = controller->trashDialog();
            QVERIFY(dialog->isVisible());
            auto *list = dialog->findChild<QTreeWidget *>("lstLixeira");
            QCOMPARE(list->topLevelItemCount(), 1);
            QCOMPARE(list->topLevelItem(0)->text(0), QString("Compras"));
            QCOMPARE(list->topLevelItem(0)->text(1), QString("leite"));
            QCOMPARE(list->topLevelItem(0)->text(2), QString("14/03/2026 09:26:53"));
            list->topLevelItem(0)->setSelected(true);
            dialog->findChild<QPushButton *>("cmdRestaurar")->click();
            QCOMPARE(list->topLevelItemCount(), 0);
            QCOMPARE(captionsOf(*controller), (QStringList{"outra", "Compras"}));
            QCOMPARE(controller->note(1)->data(), before);
            QVERIFY(controller->note(1)->isVisible());
            QVERIFY(controller->note(1)->armedIconShown());
            dialog->close();
            controller->shutdown();
        }
        auto controller = makeController();
        QCOMPARE(captionsOf(*controller), (QStringList{"outra", "Compras"}));
        QCOMPARE(controller->note(1)->data(), before);
        QVERIFY(controller->trash().entries(Clock::now()).isEmpty());
    }

    void emptyingTheTrashAsksFirst()
    {
        MockClock clock(kNow);
        auto controller = makeController("[General]\r\nAskDelete=0\r\nNumStickies=3\r\n"
                                         "[Stick0]\r\ncaption=a\r\n[Stick1]\r\ncaption=b\r\n[Stick2]\r\ncaption=c\r\n");
        for (int slot = 0; slot < 3; ++slot)
            QCoreApplication::postEvent(controller.get(), new DeleteNoteRequest(slot));
        QTRY_COMPARE(controller->trash().entries(kNow).size(), 3);
        controller->openTrash();
        TfrmLixeira *dialog = controller->trashDialog();
        auto *list = dialog->findChild<QTreeWidget *>("lstLixeira");
        QCOMPARE(list->topLevelItemCount(), 3);
        Dialogs::setNextAnswer(QMessageBox::No);
        dialog->findChild<QPushButton *>("cmdEsvaziar")->click();
        QCOMPARE(Dialogs::shownMessages().last().title, QString("Aviso"));
        QCOMPARE(list->topLevelItemCount(), 3);
        Dialogs::setNextAnswer(QMessageBox::Yes);
        dialog->findChild<QPushButton *>("cmdEsvaziar")->click();
        QCOMPARE(list->topLevelItemCount(), 0);
        QVERIFY(controller->trash().entries(kNow).isEmpty());
        QVERIFY(!dialog->findChild<QPushButton *>("cmdEsvaziar")->isEnabled());
        QVERIFY(!dialog->findChild<QPushButton *>("cmdRestaurar")->isEnabled());
        dialog->close();
    }

    // Restore a snapshot, then restore the snapshot taken just before it: the notes are as
    // they were before the first restore, unsaved changes included.
    void aRestoreCanBeUndone()
    {
        MockClock clock(kNow);
        auto controller = makeController("[General]\r\nDefaultLang=Port\r\nNumStickies=1\r\n[Stick0]\r\ncaption=antiga\r\n");
        // The store as found is the first snapshot.
        QCOMPARE(Snapshots::list(controller->snapshotFolder()).size(), 1);
        clock.advanceSecs(600);
        controller->createNote(TfStickyNote::NoteKind::User);
        controller->note(0)->setText("mudou depois");
        const QList<NoteData> before = notesOf(*controller);
        controller->ringingNoteRef() = 1;
        controller->setAlarmAnimation(true);

        controller->trayMenu()->rebuildNoteLists();
        QVERIFY(controller->trayMenu()->item("mnuRestaurarCopia")->isVisible());
        controller->trayMenu()->item("mnuRestaurarCopia")->trigger();
        TfrmRestaurarCopia *dialog = controller->restoreDialog();
        auto *list = dialog->findChild<QTreeWidget *>("lstCopias");
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(1), QString("1"));
        QCOMPARE(dialog->findChild<QListWidget *>("lstNotas")->item(0)->text(), QString("antiga"));
        Dialogs::setNextAnswer(QMessageBox::Yes);
        dialog->findChild<QPushButton *>("cmdRestaurar")->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(captionsOf(*controller), QStringList{"antiga"});
        QCOMPARE(controller->note(0)->text(), QString());
        QCOMPARE(controller->RingingNote(), -1);
        QVERIFY(controller->loaded());

        clock.advanceSecs(60);
        controller->openRestore();
        QCOMPARE(list->topLevelItemCount(), 2);
        // The newest, taken just before the restore, holds the two notes of then.
        QCOMPARE(list->topLevelItem(0)->text(1), QString("2"));
        list->setCurrentItem(list->topLevelItem(0));
        Dialogs::setNextAnswer(QMessageBox::Yes);
        dialog->findChild<QPushButton *>("cmdRestaurar")->click();
        QCOMPARE(notesOf(*controller), before);
        // And that restore is one more snapshot away from being undone.
        QCOMPARE(Snapshots::list(controller->snapshotFolder()).size(), 3);
    }

    void aRestoreAnsweredNoChangesNothing()
    {
        MockClock clock(kNow);
        auto controller = makeController("[General]\r\nNumStickies=1\r\n[Stick0]\r\ncaption=a\r\n");
        controller->note(0)->setTitle("b");
        controller->openRestore();
        Dialogs::setNextAnswer(QMessageBox::No);
        controller->restoreDialog()->findChild<QPushButton *>("cmdRestaurar")->click();
        QCOMPARE(captionsOf(*controller), QStringList{"b"});
        QCOMPARE(Snapshots::list(controller->snapshotFolder()).size(), 1);
        controller->restoreDialog()->close();
    }

    // A note arriving from another computer while a restore lets the notes go never lands in a
    // restored one, and the server listens again afterwards.
    void aRestoreLetsTheNotesInProgressGo()
    {
        MockClock clock(kNow);
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        const quint16 port = probe.serverPort();
        probe.close();
        auto controller = makeController("[General]\r\nNumStickies=1\r\n[Stick0]\r\ncaption=a\r\n[Network]\r\nEnabled=1\r\nPortTCP="
                                         + QByteArray::number(port) + "\r\n");
        QVERIFY(controller->noteServer()->isListening());
        const QString copy = Snapshots::list(controller->snapshotFolder()).first().path;
        const QByteArray C("\xA2", 1);
        QTcpSocket peer;
        peer.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(peer.waitForConnected(5000));
        peer.write("new" + C + "bia" + C + "chegando" + C + "255" + C + "175" + C + "120" + C + "255" + C + "Arial" + C + "10" + C
                   + "0" + C + "nobold" + C + "noitalic\r\n\r\n");
        QTRY_COMPARE(controller->noteTable().count(), 2);
        QVERIFY(controller->restoreStoreCopy(copy));
        QCOMPARE(captionsOf(*controller), QStringList{"a"});
        peer.write("line" + C + "intruso\r\n\r\nend" + C + "\r\n\r\n");
        peer.flush();
        QTest::qWait(300);
        QCOMPARE(captionsOf(*controller), QStringList{"a"});
        QCOMPARE(controller->note(0)->text(), QString());
        QVERIFY(controller->noteServer()->isListening());
        // The note that was arriving is in the snapshot the restore took first.
        QCOMPARE(Snapshots::copies(controller->storePath(), QString()).first().titles, (QStringList{"a", "chegando"}));
    }

    // A restore waits for the dialogs open over notes: they would outlive their notes.
    void noRestoreUnderAnOpenDialog()
    {
        MockClock clock(kNow);
        auto controller = makeController("[General]\r\nNumStickies=1\r\n[Stick0]\r\ncaption=a\r\n");
        const QString copy = Snapshots::list(controller->snapshotFolder()).first().path;
        controller->note(0)->setTitle("b");
        QDialog open;
        open.setWindowModality(Qt::ApplicationModal);
        open.show();
        QVERIFY(!controller->restoreStoreCopy(copy));
        QCOMPARE(Dialogs::shownMessages().last().title, QString("Erro"));
        QCOMPARE(captionsOf(*controller), QStringList{"b"});
        open.close();
        QVERIFY(controller->restoreStoreCopy(copy));
        QCOMPARE(captionsOf(*controller), QStringList{"a"});
    }

    // The exit and menu backups of the backup folder are listed with the snapshots.
    void backupsAreListedWithTheSnapshots()
    {
        MockClock clock(kNow);
        const QString backups = m_home->filePath("copias");
        QDir().mkpath(backups);
        TestFiles::writeAll(backups + "/sticky-20260301_0800.cvf", "[General]\r\nNumStickies=2\r\n[Stick0]\r\ncaption=x\r\n[Stick1]\r\ncaption=\r\n");
        TestFiles::writeAll(backups + "/sticky-20260302_0800.cvf", "not a store");
        TestFiles::writeAll(backups + "/outro-20260302_0800.cvf", "[General]\r\n");
        auto controller = makeController("[General]\r\nNumStickies=0\r\nBackupPath=" + backups.toUtf8() + "\r\n");
        controller->openRestore();
        const QList<Snapshots::Copy> copies = controller->restoreDialog()->copies();
        QCOMPARE(copies.size(), 2);
        QCOMPARE(copies.at(0).kind, Snapshots::Copy::Kind::Snapshot);
        QCOMPARE(copies.at(1).kind, Snapshots::Copy::Kind::Backup);
        QCOMPARE(copies.at(1).moment, QDateTime(QDate(2026, 3, 1), QTime(8, 0)));
        QCOMPARE(copies.at(1).titles, (QStringList{"x", ""}));
        auto *list = controller->restoreDialog()->findChild<QTreeWidget *>("lstCopias");
        list->setCurrentItem(list->topLevelItem(1));
        auto *titles = controller->restoreDialog()->findChild<QListWidget *>("lstNotas");
        QCOMPARE(titles->count(), 2);
        QCOMPARE(titles->item(1)->text(), QString("(sem título)"));
        controller->restoreDialog()->close();
    }

    // One more snapshot while the program runs: not within the hour of the last, and only when
    // a save wrote notes that changed.
    void snapshotsWhileRunningAtMostHourly()
    {
        MockClock clock(kNow);
        auto controller = makeController("[General]\r\nNumStickies=1\r\n[Stick0]\r\ncaption=a\r\nposx=10\r\nposy=10\r\n");
        const auto count = [&] { return Snapshots::list(controller->snapshotFolder()).size(); };
        QCOMPARE(count(), 1);
        controller->note(0)->setTitle("b");
        clock.advanceSecs(3599);
        QVERIFY(controller->saveStore().isEmpty());
        QCOMPARE(count(), 1);
        clock.advanceSecs(1);
        QVERIFY(controller->saveStore().isEmpty());
        QCOMPARE(count(), 2);
        QCOMPARE(Snapshots::list(controller->snapshotFolder()).first().moment, kNow.addSecs(3600));
        // Unchanged notes for hours: no snapshot.
        clock.advanceSecs(5 * 3600);
        QVERIFY(controller->saveStore().isEmpty());
        QCOMPARE(count(), 2);
        controller->note(0)->setTitle("c");
        QVERIFY(controller->saveStore().isEmpty());
        QCOMPARE(count(), 3);
    }

    // A second screen goes away while the program runs: its notes come onto the remaining one,
    // the others stay, and the new places are the ones saved.
    void notesOfARemovedScreenMoveOntoTheOther()
    {
        QList<QRect> screens{QRect(0, 0, 800, 600), QRect(800, 0, 1024, 768)};
        QDir().mkpath(dataFolder());
        TestFiles::writeAll(dataFolder() + "stickies.cvf",
                            "[General]\r\nNumStickies=3\r\n"
                            "[Stick0]\r\ncaption=esquerda\r\nposx=100\r\nposy=100\r\nWidth=180\r\nHeight=147\r\n"
                            "[Stick1]\r\ncaption=direita\r\nposx=1500\r\nposy=650\r\nWidth=180\r\nHeight=100\r\n"
                            "[Stick2]\r\ncaption=beirada\r\nposx=780\r\nposy=20\r\nWidth=180\r\nHeight=100\r\n");
        auto controller = std::make_unique<TfStickyNote>(TfStickyNote::Folders{programFolder(), m_home->path(), "tester"});
        controller->setScreenAreaSource([&screens] { return screens; });
        controller->startupStep();
        const auto places = [&] {
            QList<QRect> out;
            for (const NoteData &n : notesOf(*controller))
                out << placeOf(n);
            return out;
        };
        QCOMPARE(places(), (QList<QRect>{{100, 100, 180, 147}, {1500, 650, 180, 100}, {780, 20, 180, 100}}));
        screens.removeLast();
        controller->screensChanged();
        QTRY_COMPARE(places(), (QList<QRect>{{100, 100, 180, 147}, {620, 500, 180, 100}, {620, 20, 180, 100}}));
        QVERIFY(controller->saveStore().isEmpty());
        const LoadedStore saved = NoteStore::load(controller->storePath(), kNow, "tester", programFolder());
        QCOMPARE(placeOf(saved.notes.at(1)), QRect(620, 500, 180, 100));
        // With the screen back, nothing moves again: every note is within reach.
        screens << QRect(800, 0, 1024, 768);
        controller->screensChanged();
        QTest::qWait(400);
        QCOMPARE(places(), (QList<QRect>{{100, 100, 180, 147}, {620, 500, 180, 100}, {620, 20, 180, 100}}));
    }

    // "Reunir Notas" cascades the shown notes onto the screen under the pointer, in the order of
    // the "Mostrar" list; hidden notes stay where they are.
    void gatherNotesCascadesTheShownOnes()
    {
        QList<QRect> screens{QRect(0, 0, 800, 600), QRect(800, 0, 1024, 768)};
        auto controller = makeController("[General]\r\nNumStickies=4\r\n"
                                         "[Stick0]\r\ncaption=a\r\nposx=1200\r\nposy=100\r\nWidth=2000\r\nHeight=100\r\n"
                                         "[Stick1]\r\ncaption=b\r\nposx=50\r\nposy=400\r\nvisible=0\r\n"
                                         "[Stick2]\r\ncaption=c\r\nposx=300\r\nposy=300\r\nWidth=180\r\nHeight=147\r\n"
                                         "[Stick3]\r\ncaption=d\r\nposx=10\r\nposy=10\r\nWidth=100\r\nHeight=60\r\n");
        controller->setScreenAreaSource([&screens] { return screens; });
        QCursor::setPos(900, 100);
        const QPoint pointer = QCursor::pos();
        const QRect area = screens.at(1).contains(pointer) ? screens.at(1) : screens.at(0);
        const int wide = controller->note(0)->storedGeometry().width();
        controller->trayMenu()->rebuildNoteLists();
        QVERIFY(controller->trayMenu()->item("mnuReunirNotas")->isVisible());
        controller->trayMenu()->item("mnuReunirNotas")->trigger();
        const QList<NoteData> notes = notesOf(*controller);
        // A note wider than the screen is narrowed to it.
        QCOMPARE(placeOf(notes.at(0)), QRect(area.topLeft(), QSize(std::min(wide, area.width()), 100)));
        QCOMPARE(placeOf(notes.at(1)).topLeft(), QPoint(50, 400));
        QCOMPARE(placeOf(notes.at(2)), QRect(area.topLeft() + QPoint(13, 13), QSize(180, 147)));
        QCOMPARE(placeOf(notes.at(3)), QRect(area.topLeft() + QPoint(26, 26), QSize(100, 60)));
        QVERIFY(controller->note(1)->isHidden());
    }

    // Both dialogs speak the active language, and F1 opens their own help topic.
    void theDialogsSpeakTheLanguageAndHaveTheirHelp_data()
    {
        QTest::addColumn<QByteArray>("lang");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("Portuguese") << QByteArray("Port")
                                    << QStringList{"Lixeira", "Restaurar", "Esvaziar", "Restaurar Cópia", "Restaurar",
                                                   "Lixeira...", "Restaurar Cópia...", "Reunir Notas"};
        QTest::newRow("English") << QByteArray("Eng")
                                 << QStringList{"Trash", "Restore", "Empty", "Restore Backup", "Restore", "Trash...",
                                                "Restore Backup...", "Gather Notes"};
    }
    void theDialogsSpeakTheLanguageAndHaveTheirHelp()
    {
        QFETCH(QByteArray, lang);
        QFETCH(QStringList, captions);
        auto controller = makeController("[General]\r\nDefaultLang=" + lang + "\r\nNumStickies=0\r\n");
        controller->openTrash();
        controller->openRestore();
        QDialog *trash = controller->trashDialog();
        QDialog *restore = controller->restoreDialog();
        TrayMenu *tray = controller->trayMenu();
        QCOMPARE((QStringList{trash->windowTitle(), trash->findChild<QPushButton *>("cmdRestaurar")->text(),
                              trash->findChild<QPushButton *>("cmdEsvaziar")->text(), restore->windowTitle(),
                              restore->findChild<QPushButton *>("cmdRestaurar")->text(), tray->item("mnuLixeira")->text(),
                              tray->item("mnuRestaurarCopia")->text(), tray->item("mnuReunirNotas")->text()}),
                 captions);
        // Every control has a name to be found by, and the lists and buttons one to be read out.
        for (QDialog *dialog : {trash, restore})
            for (QWidget *w : dialog->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                QVERIFY2(!w->objectName().isEmpty(), w->metaObject()->className());
                if (qobject_cast<QAbstractItemView *>(w) || qobject_cast<QPushButton *>(w))
                    QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
            }
        const QString guide = programFolder() + (lang == "Eng" ? "corkvane_enu.html" : "corkvane.html");
        for (const auto &[dialog, anchor] : {std::pair<QDialog *, QString>{trash, "context-11"}, {restore, "context-12"}}) {
            QTest::keyClick(dialog, Qt::Key_F1);
            QVERIFY(controller->helpWindow());
            QCOMPARE(controller->helpWindow()->browser()->source().toLocalFile(), QFileInfo(guide).absoluteFilePath());
            QCOMPARE(controller->helpWindow()->browser()->source().fragment(), anchor);
            // The topic is there in the guide.
            QVERIFY(TestFiles::readAll(guide).contains("name=\"" + anchor.toLatin1() + "\""));
        }
        trash->close();
        restore->close();
    }
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
