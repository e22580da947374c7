// Notes arriving from other computers, built by the real controller's note windows: the size
// the sender gave the text area, bounded by the screen; where each one lands; a long note
// taken in whole by the program's own server over loopback.
#include "app/NewNote.h"
#include "app/ReceivedNotes.h"
#include "app/StickyNote.h"
#include "net/FakeNoteSink.h"
#include "net/NoteServer.h"
#include "notes/NoteLayout.h"
#include "notes/PostIt.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "support/TestFiles.h"
#include "support/WaitUntil.h"
#include "support/StartedController.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const QByteArray C("\xA2", 1);

QByteArray newLine(int textWidth, int textHeight, const QByteArray &title = "t")
{
    return "new" + C + "ana" + C + title + C + "8454143" + C + QByteArray::number(textWidth) + C
           + QByteArray::number(textHeight) + C + "8454143" + C + "Arial" + C + "10" + C + "0" + C + "nobold" + C
           + "noitalic";
}

quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::AnyIPv4, 0) ? probe.serverPort() : 0;
}

QRect screenArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

} // namespace

class TestReceivedNotes : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;

    std::unique_ptr<TfStickyNote> makeController(const QByteArray &store)
    {
        return startedController(qEnvironmentVariable("CORKVANE_BIN_DIR") + QLatin1Char('/'), m_home->path(), store);
    }

    // Runs received lines through the controller's own notes, as its server does.
    struct Wire
    {
        explicit Wire(TfStickyNote &controller) : sink(controller), interpreter(sink, QStringLiteral("/p/")) {}
        int note(const QByteArray &newCommand)
        {
            int inProgress = NoteInterpreter::kNoNote;
            interpreter.interpretLine(newCommand, inProgress, channel);
            const int slot = inProgress;
            interpreter.interpretLine("end" + C, inProgress, channel);
            return slot;
        }
        ReceivedNotes sink;
        NoteInterpreter interpreter;
        FakeChannel channel{QStringLiteral("10.0.0.7")};
    };

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        Dialogs::setTestMode(true);
        Locale::overrideLocaleId(Locale::kPortugueseBrazil);
    }

    // The text area is the sender's; the window is as much larger as the title bar, the
    // footer and the margins need, but never larger than the screen's available area.
    void theSendersTextAreaWithinTheScreen_data()
    {
        QTest::addColumn<QSize>("sent");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QSize>("textArea");
        const QSize area = screenArea().size();
        QTest::newRow("the sample note") << QSize(175, 120) << QSize(180, 150) << QSize(175, 120);
        QTest::newRow("a double-width note") << QSize(335, 102) << QSize(340, 132) << QSize(335, 102);
        QTest::newRow("smaller than a note can be") << QSize(10, 5) << QSize(TfPostIt::kMinWidth, TfPostIt::kMinHeight)
                                                    << QSize(TfPostIt::kMinWidth - 5, TfPostIt::kMinHeight - 30);
        QTest::newRow("4096 x 4096") << QSize(4096, 4096) << area << area - QSize(5, 30);
        QTest::newRow("wider than the screen") << QSize(20000, 120) << QSize(area.width(), 150)
                                               << QSize(area.width() - 5, 120);
    }
    void theSendersTextAreaWithinTheScreen()
    {
        QFETCH(QSize, sent);
        QFETCH(QSize, window);
        QFETCH(QSize, textArea);
        auto controller = makeController("[General]\r\nNumStickies=0\r\n");
        Wire wire(*controller);
        TfPostIt *note = controller->note(wire.note(newLine(sent.width(), sent.height())));
        QVERIFY(note);
        QCOMPARE(note->size(), window);
        QCOMPARE(note->findChild<QPlainTextEdit *>("memPostit")->size(), textArea);
        QVERIFY2(screenArea().contains(note->geometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4").arg(note->x()).arg(note->y()).arg(note->width()).arg(note->height())));
        QCOMPARE(note->footerText(), QStringLiteral("De ana (10.0.0.7)"));
    }

    // Each note received while another stands on the centre spot lands a title bar lower and
    // to the right; once the spot is free again, the next one lands on it.
    void notesReceivedInARowDoNotHideEachOther()
    {
        auto controller = makeController("[General]\r\nNumStickies=0\r\n");
        Wire wire(*controller);
        const QPoint spot = centredPosition(QGuiApplication::primaryScreen()->virtualGeometry(), 340, 120);
        QList<TfPostIt *> notes;
        for (int i = 0; i < 3; ++i)
            notes << controller->note(wire.note(newLine(175, 120)));
        const int step = NoteLayout::kCaptionHeight;
        QCOMPARE(notes[0]->pos(), spot);
        QCOMPARE(notes[1]->pos(), spot + QPoint(step, step));
        QCOMPARE(notes[2]->pos(), spot + QPoint(2 * step, 2 * step));

        notes[0]->place(QRect(QPoint(10, 10), notes[0]->size()));  // moved away, as by its user
        QCOMPARE(controller->note(wire.note(newLine(175, 120)))->pos(), spot);
        // A hidden note hides nothing.
        notes[1]->hide();
        QCOMPARE(controller->note(wire.note(newLine(175, 120)))->pos(), spot + QPoint(step, step));
    }

    // A note of a hundred thousand characters comes in whole through the program's own server.
    void aHundredThousandCharactersArriveWhole()
    {
        const quint16 port = freePort();
        auto controller = makeController("[General]\r\nNumStickies=0\r\nUseSounds=0\r\n[Network]\r\nEnabled=1\r\nPortTCP="
                                         + QByteArray::number(port) + "\r\n");
        QVERIFY(controller->noteServer()->isListening());
        QString text;
        for (int i = 0; text.size() < 100000; ++i)
            text += (i % 5 == 0 ? QString::fromUtf8("um parágrafo comprido ").repeated(60) : QString(i % 200, QChar(u'a' + i % 26)))
                    + QStringLiteral("\r\n");
        text.truncate(100000);
        if (text.endsWith(QLatin1Char('\r')))
            text.back() = QLatin1Char('.');
        NoteProtocol::OutgoingNote note;
        note.user = QStringLiteral("ana");
        note.textWidth = 175;
        note.textHeight = 120;
        note.font = NoteFont{QStringLiteral("Arial"), 10, 0, false, false};
        note.text = text;

        QTcpSocket peer;
        peer.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(peer.waitForConnected(5000));
        QVERIFY(waitUntil([&] { return peer.bytesAvailable() >= 34; }, 5000));
        // One command per write, a moment apart, as a sender paces them.
        for (const QByteArray &command : NoteProtocol::encodeNote(note)) {
            peer.write(command);
            peer.flush();
            QTest::qWait(1);
        }
        TfPostIt *received = nullptr;
        QVERIFY(waitUntil([&] {
            received = controller->note(0);
            return received && received->text().size() >= 100000;
        }, 20000));
        QCOMPARE(peer.state(), QAbstractSocket::ConnectedState);
        QString got = received->text();
        // Only the breaks between the pieces of the long paragraphs were added.
        QCOMPARE(got.remove(QStringLiteral("\r\n")), text.remove(QStringLiteral("\r\n")));
        QVERIFY(controller->noteServer()->eventLog().lines().filter(QStringLiteral("limit")).isEmpty());
    }
};

QTEST_MAIN(TestReceivedNotes)
#include "tst_receivednotes.moc"
