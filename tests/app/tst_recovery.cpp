// The controller's ways back to lost notes: the trash every deletion goes through.
#include "app/StickyNote.h"
#include "notes/ControllerEvents.h"
#include "notes/PostIt.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "store/IniFile.h"
#include "store/NoteTrash.h"
#include "support/MountNamespace.h"
#include "support/TestFiles.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

QString programFolder()
{
    return qEnvironmentVariable("CORKVANE_BIN_DIR") + QLatin1Char('/');
}

const QDateTime kNow(QDate(2026, 3, 14), QTime(9, 26, 53));

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;

    QString dataFolder() const { return m_home->filePath("Corkvane/tester/data/"); }

    std::unique_ptr<TfStickyNote> makeController(const QByteArray &store = {})
    {
        QDir().mkpath(dataFolder());
        if (!store.isEmpty())
            TestFiles::writeAll(dataFolder() + "stickies.cvf", store);
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
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
