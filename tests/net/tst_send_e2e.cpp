// Two Corkvane programs exchange a note: the receiving one is the built program running
// headless on its own home; the sending one is a controller in this process whose note menu
// opens the send dialog. The receiver's saved store shows what arrived.
#include "app/SendDialogs.h"
#include "app/StickyNote.h"
#include "net/EnviaComputador.h"
#include "notes/NoteLayout.h"
#include "notes/PostIt.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "platform/Paths.h"
#include "store/NoteStore.h"
#include "support/ProgramRun.h"
#include "support/WaitUntil.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <memory>

namespace {

quint16 freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::AnyIPv4, 0))
        return 0;
    return probe.serverPort();
}

// The sending program: a controller on a home of its own, networking switched on after its
// start-up so that it does not listen itself.
struct SendingProgram
{
    explicit SendingProgram(quint16 port)
    {
        const QString data = home.filePath("Corkvane/tester/data/");
        QDir().mkpath(data);
        AppSettings off;
        off.recGeral.UseSounds = false;
        NoteStore::save(data + "stickies.cvf", off, {}, true);
        controller = std::make_unique<TfStickyNote>(
            TfStickyNote::Folders{ProgramRun::binFolder(), home.path(), "tester"});
        controller->startupStep();
        controller->settings().recRede.Enabled = true;
        controller->settings().recRede.PortTCP = QString::number(port);
        controller->settings().recGeral.User = "ana";
    }
    TfPostIt *newNote(TfStickyNote::NoteKind kind = TfStickyNote::NoteKind::User)
    {
        return controller->note(controller->createNote(kind));
    }
    TfrmEnviaComputador *dialog() const { return controller->sendDialogs()->sendDialog(); }
    QString para() const { return dialog()->findChild<QLineEdit *>("txtPara")->text(); }
    static void menu(TfPostIt *note, const char *item)
    {
        note->popPrincipalPopup();
        QAction *action = note->popPrincipal()->findChild<QAction *>(item);
        QVERIFY(action->isEnabled() || action->parent());
        action->trigger();
    }

    QTemporaryDir home;
    std::unique_ptr<TfStickyNote> controller;
};

} // namespace

// The receiving program on `port`, listening once this returns true.
bool startReceiver(ProgramRun &receiver, quint16 port)
{
    AppSettings settings;
    settings.recGeral.UseSounds = false;
    settings.recGeral.AutoSave = false;
    settings.recRede.Enabled = true;
    settings.recRede.PortTCP = QString::number(port);
    QDir().mkpath(receiver.dataFolder());
    if (!NoteStore::save(receiver.storePath(), settings, {}, true) || !receiver.start())
        return false;
    return waitUntil([port] {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port);
        return probe.waitForConnected(200);
    }, 20000);
}

class TestSendE2E : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(ProgramRun::binFolder() + "corkvane"), "build the corkvane target first");
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
        Dialogs::setTestMode(true);
    }
    void init() { Dialogs::resetAnswers(); }

    void noteTravelsBetweenTwoPrograms()
    {
        ProgramRun receiver;
        const quint16 port = freePort();
        QVERIFY(startReceiver(receiver, port));

        SendingProgram sender(port);
        TfPostIt *note = sender.newNote();
        note->setTitle("Compras da semana");
        note->setColor(8454143);
        note->resize(260, 190);
        note->setNoteFont(NoteFont{"Courier New", 12, 0x0000FF, true, false});
        const QDateTime moment(QDate::currentDate().addDays(2), QTime(8, 30, 15));
        note->setAlarm(true);
        note->setAlarmDateTime(moment);
        note->setUseSound(true);
        note->setSoundFile("/nowhere/gong.wav");
        note->setRemember(true);
        note->setRememberNo(2);
        note->setRememberUnit(2);
        note->setDia({false, true, false, true, false, true, false});
        note->setArmedIconShown(true);
        const QString text = QString::fromUtf8("\r\nComprar pão\r\n\r\nleite, café\r\n\r\n\r\nfim: 3 → ação");
        note->setText(text);
        const QSize textArea = note->findChild<QPlainTextEdit *>("memPostit")->size();

        SendingProgram::menu(note, "EnviarpelaRede1");
        QVERIFY(sender.dialog()->isVisible());
        QCOMPARE(sender.dialog()->Tag(), note->Tag());
        sender.dialog()->findChild<QLineEdit *>("txtPara")->setText("127.0.0.1");
        sender.dialog()->findChild<QPushButton *>("cmdEnviar")->click();
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QCOMPARE(Dialogs::shownMessages().first().text, QString("Nota Enviada!"));
        QVERIFY(!sender.dialog()->isVisible());

        QCOMPARE(receiver.terminate(), 0);
        const QList<NoteData> notes =
            NoteStore::load(receiver.storePath(), QDateTime::currentDateTime(), Paths::loginName(), ProgramRun::binFolder()).notes;
        QCOMPARE(notes.size(), 1);
        const NoteData &got = notes.first();
        QCOMPARE(got.caption, QString("Compras da semana"));
        QCOMPARE(got.color, 8454143);
        QCOMPARE(got.font, (NoteFont{"Courier New", 12, 0x0000FF, true, false}));
        // The received window gives the text area the size it has here.
        QCOMPARE(QSize(got.width, got.height), windowSizeForText(textArea, true));
        // Characters Windows-1252 cannot hold travel as "?".
        QCOMPARE(got.note, QString::fromUtf8("\r\nComprar pão\r\n\r\nleite, café\r\n\r\n\r\nfim: 3 ? ação"));
        QCOMPARE(got.rodape, QString("De ana (127.0.0.1)"));
        QVERIFY(got.alarm);
        QCOMPARE(got.alarmDateTime, moment);
        QVERIFY(got.useSound);
        QCOMPARE(QFileInfo(got.soundFile).fileName(), QString("boing.wav"));
        QVERIFY(got.remember);
        QCOMPARE(got.rememberNo, 2);
        QCOMPARE(got.rememberUnit, 2);
        QCOMPARE(got.dia, (std::array<bool, 7>{false, true, false, true, false, true, false}));
    }

    // A paragraph far longer than a command line, and the field separator in the user name,
    // the title and the text: the other program gets every character (only line breaks are
    // added inside the paragraph) and every other field right.
    void longParagraphsAndSeparatorsArriveWhole()
    {
        ProgramRun receiver;
        const quint16 port = freePort();
        QVERIFY(startReceiver(receiver, port));

        SendingProgram sender(port);
        sender.controller->settings().recGeral.User = QString::fromUtf8("ana ¢ bia");
        TfPostIt *note = sender.newNote();
        note->setTitle(QString::fromUtf8("Preço ¢ lista"));
        note->setColor(8454143);
        note->setNoteFont(NoteFont{"Arial", 11, 0x0000FF, false, true});
        QString paragraph;
        for (int i = 0; paragraph.size() < 1400; ++i)
            paragraph += QString::fromUtf8("palavra%1 ação, ").arg(i);
        paragraph.truncate(1400);
        const QString text = paragraph + QString::fromUtf8("\r\ncusta ¢10 ¢ cada\r\nfim");
        note->setText(text);
        const QSize textArea = note->findChild<QPlainTextEdit *>("memPostit")->size();

        SendingProgram::menu(note, "EnviarpelaRede1");
        sender.dialog()->findChild<QLineEdit *>("txtPara")->setText("127.0.0.1");
        sender.dialog()->findChild<QPushButton *>("cmdEnviar")->click();
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QCOMPARE(Dialogs::shownMessages().first().text, QString("Nota Enviada!"));

        QCOMPARE(receiver.terminate(), 0);
        const QList<NoteData> notes =
            NoteStore::load(receiver.storePath(), QDateTime::currentDateTime(), Paths::loginName(), ProgramRun::binFolder()).notes;
        QCOMPARE(notes.size(), 1);
        const NoteData &got = notes.first();
        QCOMPARE(got.caption, QString::fromUtf8("Preço c lista"));
        QCOMPARE(got.rodape, QString("De ana c bia (127.0.0.1)"));
        QCOMPARE(got.color, 8454143);
        QCOMPARE(got.font, (NoteFont{"Arial", 11, 0x0000FF, false, true}));
        QCOMPARE(QSize(got.width, got.height), windowSizeForText(textArea, true));
        QVERIFY(!got.alarm);
        const QStringList lines = got.note.split("\r\n");
        QVERIFY2(lines.size() >= 2 + 1400 / NoteProtocol::kMaxLineTextBytes + 1, qPrintable(QString::number(lines.size())));
        for (const QString &line : lines)
            QVERIFY(line.size() <= NoteProtocol::kMaxLineTextBytes);
        QCOMPARE(lines.mid(lines.size() - 2), (QStringList{"custa c10 c cada", "fim"}));
        QString expected = text;
        expected.replace(QString::fromUtf8("¢"), "c");
        QCOMPARE(QString(got.note).remove("\r\n"), expected.remove("\r\n"));
    }

    // "&Responder para Computador..." fills in where a received note came from; a note whose
    // address is gone (it is not stored) fills in nothing; "&Para um Computador..." keeps what
    // the field held.
    void replyFillsInTheSendersAddress()
    {
        SendingProgram program(freePort());
        TfPostIt *received = program.newNote(TfStickyNote::NoteKind::Received);
        received->setFooterText("De bia (127.0.0.1)");
        received->setReplyAddress("127.0.0.1");
        received->popPrincipalPopup();
        QVERIFY(received->popPrincipal()->findChild<QAction *>("mnuResponder")->isVisible());
        QVERIFY(received->popPrincipal()->findChild<QAction *>("mnuEnviar")->isEnabled());

        SendingProgram::menu(received, "mnuResponder");
        QVERIFY(program.dialog()->isVisible());
        QCOMPARE(program.para(), QString("127.0.0.1"));
        QVERIFY(program.dialog()->findChild<QPushButton *>("cmdEnviar")->isEnabled());
        program.dialog()->findChild<QPushButton *>("cmdCancelar")->click();
        QVERIFY(!program.dialog()->isVisible());

        TfPostIt *reloaded = program.newNote();
        NoteData stored = received->data();
        reloaded->applyData(stored);
        SendingProgram::menu(reloaded, "EnviarpelaRede1");
        QCOMPARE(program.para(), QString("127.0.0.1"));
        program.dialog()->reject();
        SendingProgram::menu(reloaded, "mnuResponder");
        QCOMPARE(program.dialog()->Tag(), reloaded->Tag());
        QCOMPARE(program.para(), QString());
        program.dialog()->reject();

        // With networking off the whole submenu is off, and its shortcuts do nothing.
        program.controller->settings().recRede.Enabled = false;
        SendingProgram::menu(received, "mnuResponder");
        QVERIFY(!program.dialog()->isVisible());
    }
};

QTEST_MAIN(TestSendE2E)
#include "tst_send_e2e.moc"
