#include "FakeNoteSink.h"
#include "net/BlockList.h"
#include "net/NoteProtocol.h"
#include "net/NoteReceiver.h"
#include "platform/Locale.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray C("\xA2", 1);  // the field separator
// A well-formed "new" whose values do not matter to the test using it.
const QByteArray kPlainNew = "new" + C + "u" + C + "t" + C + "1" + C + "2" + C + "3" + C + "4" + C + "A" + C + "9" + C + "5" + C
                             + "nobold" + C + "noitalic";

// The stream cut into lines the way the socket's line mode delivers them (line end included).
QList<QByteArray> wireLines(const QByteArray &stream)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype end; (end = stream.indexOf("\r\n", start)) >= 0; start = end + 2)
        lines << stream.mid(start, end + 2 - start);
    return lines;
}

// The sample exchange a sender writes for a note with an alarm and two text lines.
QByteArray sampleExchange()
{
    return "new" + C + "ana" + C + "Compras" + C + "8454143" + C + "175" + C + "120" + C + "8454143" + C + "Arial" + C
           + "10" + C + "0" + C + "nobold" + C + "noitalic\r\n\r\n" + "alarm" + C + "26/12/2026 08:00:00" + C + "1" + C
           + "C:\\sons\\gong.wav" + C + "\r\n\r\n" + "line" + C + "Comprar p\xE3o\r\n\r\n" + "line" + C + "\r\n\r\n"
           + "end" + C + "\r\n\r\n";
}

} // namespace

class TestProtocol : public QObject
{
    Q_OBJECT

    struct Receiver
    {
        AppSettings settings;
        FakeNoteSink sink;
        NoteReceiver receiver{settings, sink, QStringLiteral("/opt/corkvane/")};

        // Every line of the stream through the pipeline, for one connection.
        void feed(const QByteArray &stream, int &noteInProgress, FakeChannel &channel)
        {
            for (const QByteArray &line : wireLines(stream))
                receiver.handleLine(line, noteInProgress, channel);
        }
    };

private slots:
    void initTestCase() { Locale::overrideLocaleId(Locale::kPortugueseBrazil); }

    void encoderWritesTheSampleExchange()
    {
        NoteProtocol::OutgoingNote note;
        note.user = QStringLiteral("ana");
        note.title = QStringLiteral("Compras");
        note.colour = note.captionColour = 8454143;
        note.textWidth = 175;
        note.textHeight = 120;
        note.font = NoteFont{QStringLiteral("Arial"), 10, 0, false, false};
        note.alarm.armed = true;
        note.alarm.moment = QDateTime(QDate(2026, 12, 26), QTime(8, 0));
        note.alarm.useSound = true;
        note.alarm.soundFile = QStringLiteral("C:\\sons\\gong.wav");
        note.text = QString::fromUtf8("Comprar pão\r\n\r\n");
        QCOMPARE(NoteProtocol::encodeNote(note).join(), sampleExchange());

        // Without an alarm and without text only "new" and "end" travel.
        note.alarm.armed = false;
        note.text.clear();
        const QList<QByteArray> bare = NoteProtocol::encodeNote(note);
        QCOMPARE(bare.size(), 2);
        QCOMPARE(bare.last(), "end" + C + "\r\n\r\n");
    }

    void encoderWritesRecurrenceAndKeepsEachCommandOnOneLine()
    {
        NoteAlarm alarm;
        alarm.armed = true;
        alarm.moment = QDateTime(QDate(2026, 1, 2), QTime(0, 0));
        alarm.remember = true;
        alarm.rememberNo = 75;
        alarm.rememberUnit = 0;
        alarm.dia = {false, true, true, true, true, true, false};
        alarm.soundFile = QStringLiteral("/not/sent");
        QCOMPARE(NoteProtocol::encodeAlarm(alarm), "alarm" + C + "02/01/2026 00:00:00" + C + "0" + C + C + "1" + C + "75"
                                                       + C + "0" + C + "0" + C + "1" + C + "1" + C + "1" + C + "1" + C + "1"
                                                       + C + "0" + C + "\r\n\r\n");

        QCOMPARE(NoteProtocol::encodeLine(QStringLiteral("a\rb\nc")), QList<QByteArray>{"line" + C + "a_b^c\r\n\r\n"});
        NoteProtocol::OutgoingNote note;
        note.title = QStringLiteral("two\r\nlines");
        note.font.bold = true;
        note.font.italic = true;
        const QByteArray line = NoteProtocol::encodeNew(note);
        QCOMPARE(line.count("\r\n"), 2);
        QVERIFY(line.contains(C + "two  lines" + C));
        QVERIFY(line.endsWith(C + "bold" + C + "italic\r\n\r\n"));

        QCOMPARE(NoteProtocol::textLines(QString()), QStringList());
        QCOMPARE(NoteProtocol::textLines(QStringLiteral("a\r\nb")), (QStringList{"a", "b"}));
        QCOMPARE(NoteProtocol::textLines(QStringLiteral("a\r\n\r\n")), (QStringList{"a", ""}));
    }

    void sampleExchangeBuildsTheNote()
    {
        Receiver r;
        FakeChannel channel;
        int nip = -1;
        r.feed(sampleExchange(), nip, channel);
        QCOMPARE(nip, -1);
        QCOMPARE(r.sink.notes.size(), 1);
        const FakeNote &n = r.sink.notes.first();
        QCOMPARE(n.title, QStringLiteral("Compras"));
        QCOMPARE(n.colour, 8454143);
        QCOMPARE(n.captionColour, 8454143);
        QCOMPARE(n.textWidth, 175);
        QCOMPARE(n.textHeight, 120);
        QCOMPARE(n.font, (NoteFont{QStringLiteral("Arial"), 10, 0, false, false}));
        QCOMPARE(n.footer, QStringLiteral("De ana (192.168.0.7)"));
        QCOMPARE(n.replyAddress, QStringLiteral("192.168.0.7"));
        QVERIFY(n.alarm.armed);
        QVERIFY(n.alarmIcon);
        QCOMPARE(n.alarm.moment, QDateTime(QDate(2026, 12, 26), QTime(8, 0)));
        QVERIFY(n.alarm.useSound);
        // The sender's Windows path does not exist here.
        QCOMPARE(n.alarm.soundFile, QStringLiteral("/opt/corkvane/boing.wav"));
        QVERIFY(!n.alarm.remember);
        QCOMPARE(n.alarm.dia, (std::array<bool, 7>{}));
        QCOMPARE(n.lines, (QStringList{QString::fromUtf8("Comprar pão"), QString()}));
        QCOMPARE(n.finished, 1);
        QVERIFY(channel.replies.isEmpty());
    }

    void encoderAndInterpreterAgree()
    {
        QTemporaryDir dir;
        const QString sound = dir.filePath(QStringLiteral("gong.wav"));
        QFile file(sound);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        NoteProtocol::OutgoingNote note;
        note.user = QStringLiteral("José");
        note.title = QStringLiteral("Reunião às 9");
        note.colour = 0x00FF80;
        note.captionColour = -16777201;
        note.textWidth = 222;
        note.textHeight = 99;
        note.font = NoteFont{QStringLiteral("Courier New"), 12, 0x123456, true, true};
        note.alarm = NoteAlarm{true, QDateTime(QDate(2027, 3, 1), QTime(23, 59, 58)), true, sound, true, 2, 4, {true, false, true, false, true, false, true}};
        note.text = QStringLiteral("first\r\nsame\r\nsame\r\n\r\nwith_^caret and a lone _ and ^");

        Receiver r;
        FakeChannel channel(QStringLiteral("10.0.0.1"));
        int nip = -1;
        r.feed(NoteProtocol::encodeNote(note).join(), nip, channel);
        const FakeNote &n = r.sink.notes.first();
        QCOMPARE(n.title, note.title);
        QCOMPARE(n.colour, note.colour);
        QCOMPARE(n.captionColour, note.captionColour);
        QCOMPARE(n.textWidth, 222);
        QCOMPARE(n.textHeight, 99);
        QCOMPARE(n.font, note.font);
        QCOMPARE(n.footer, QString::fromUtf8("De José (10.0.0.1)"));
        QCOMPARE(n.alarm, note.alarm);
        // Equal text lines both arrive; "_^" typed in the text comes back as a line break.
        QCOMPARE(n.lines, (QStringList{"first", "same", "same", "", "with\r\ncaret and a lone _ and ^"}));
        QCOMPARE(n.finished, 1);
    }

    // A text line travels in pieces a receiver keeps whole; joined they are the line.
    void longTextLinesAreSplitNotCut_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QList<int>>("pieceSizes");
        const QByteArray words = QByteArray("palavra ").repeated(40);  // 320 bytes, a blank every 8
        QTest::newRow("empty") << QByteArray() << QList<int>{0};
        QTest::newRow("exactly the room") << QByteArray(250, 'a') << QList<int>{250};
        QTest::newRow("one byte over, no blank: cut at the room") << QByteArray(251, 'a') << QList<int>{250, 1};
        QTest::newRow("words: after the last blank that fits") << words << QList<int>{248, 72};
        QTest::newRow("a blank just inside the room") << QByteArray(249, 'a') + " b" << QList<int>{250, 1};
        QTest::newRow("a blank just past the room") << QByteArray(250, 'a') + " b" << QList<int>{250, 2};
        QTest::newRow("a leading blank only") << " " + QByteArray(300, 'a') << QList<int>{1, 250, 50};
        // A receiver may make eight blanks of a tab: 31 tabs are 248 of its bytes, a 32nd is not.
        QTest::newRow("tabs count as eight") << QByteArray(40, '\t') << QList<int>{31, 9};
        QTest::newRow("a 1400-byte paragraph") << QByteArray("uma frase de teste, ").repeated(70)
                                                << QList<int>{250, 250, 250, 250, 250, 150};
    }
    void longTextLinesAreSplitNotCut()
    {
        QFETCH(QByteArray, line);
        QFETCH(QList<int>, pieceSizes);
        const QList<QByteArray> pieces = NoteProtocol::splitTextLine(line);
        QList<int> sizes;
        for (const QByteArray &piece : pieces) {
            sizes << int(piece.size());
            QVERIFY(piece.size() + piece.count('\t') * 7 <= NoteProtocol::kMaxLineTextBytes);
        }
        QCOMPARE(sizes, pieceSizes);
        QCOMPARE(pieces.join(), line);

        // On the wire and through the receiver: every byte arrives, one piece per line.
        Receiver r;
        FakeChannel channel;
        int nip = -1;
        r.feed(NoteProtocol::encodeNew({}), nip, channel);
        const QList<QByteArray> commands = NoteProtocol::encodeLine(QString::fromLatin1(line));
        QCOMPARE(commands.size(), pieces.size());
        for (const QByteArray &command : commands)
            r.feed(command, nip, channel);
        QCOMPARE(r.sink.notes.first().lines.size(), pieces.size());
        QCOMPARE(r.sink.notes.first().lines.join(QString()), QString::fromLatin1(line));
    }

    // The field separator typed into a value travels as "c"; every other field stays in place.
    void separatorsInValuesTravelAsC()
    {
        NoteProtocol::OutgoingNote note;
        note.user = QString::fromUtf8("ana¢bia");
        note.title = QString::fromUtf8("Preço: ¢50");
        note.colour = 8454143;
        note.captionColour = 65535;
        note.textWidth = 175;
        note.textHeight = 120;
        note.font = NoteFont{QString::fromUtf8("Fonte¢"), 11, 0x123456, true, false};
        note.alarm = NoteAlarm{true, QDateTime(QDate(2027, 3, 1), QTime(7, 0)), true, QString::fromUtf8("/sons/¢.wav"), true, 2, 1,
                               {true, false, true, false, true, false, true}};
        note.text = QString::fromUtf8("custa ¢10¢ cada\r\n¢");
        for (const QByteArray &command : NoteProtocol::encodeNote(note))
            QCOMPARE(command.count('\xA2'), command.startsWith("new") ? 11 : command.startsWith("alarm") ? 14 : 1);

        Receiver r;
        FakeChannel channel(QStringLiteral("10.0.0.1"));
        int nip = -1;
        r.feed(NoteProtocol::encodeNote(note).join(), nip, channel);
        QVERIFY(channel.logLines.filter(QStringLiteral("exception")).isEmpty());
        const FakeNote &n = r.sink.notes.first();
        QCOMPARE(n.title, QStringLiteral("Preço: c50"));
        QCOMPARE(n.footer, QStringLiteral("De anacbia (10.0.0.1)"));
        QCOMPARE(n.colour, 8454143);
        QCOMPARE(n.captionColour, 65535);
        QCOMPARE(n.textWidth, 175);
        QCOMPARE(n.textHeight, 120);
        QCOMPARE(n.font, (NoteFont{QStringLiteral("Fontec"), 11, 0x123456, true, false}));
        QVERIFY(n.alarm.remember);
        QCOMPARE(n.alarm.rememberNo, 2);
        QCOMPARE(n.alarm.dia, note.alarm.dia);
        QCOMPARE(n.lines, (QStringList{QStringLiteral("custa c10c cada"), QStringLiteral("c")}));
        QCOMPARE(n.finished, 1);
    }

    void helpExitAndUnknownWords()
    {
        FakeNoteSink sink;
        NoteInterpreter interp(sink, QStringLiteral("/p/"));
        FakeChannel channel;
        int nip = -1;
        for (const char *word : {"help", "HELP", "Help"})
            interp.interpretLine(word, nip, channel);
        QCOMPARE(NoteProtocol::kHelpText.size(), 39);
        QCOMPARE(channel.replies, NoteProtocol::kHelpText.repeated(3));

        channel.replies.clear();
        for (const char *other : {"reply", "reply\xA2x", "bogus", "\xA2new", "  new"})
            interp.interpretLine(other, nip, channel);
        QVERIFY(channel.replies.isEmpty());
        QVERIFY(sink.notes.isEmpty());
        QCOMPARE(channel.closeRequests, 0);

        interp.interpretLine("EXIT", nip, channel);
        QCOMPARE(channel.closeRequests, 1);
        // A lone CR or LF inside a line separates commands.
        interp.interpretLine("help\rhelp\n\nexit", nip, channel);
        QCOMPARE(channel.replies, NoteProtocol::kHelpText.repeated(2));
        QCOMPARE(channel.closeRequests, 2);
    }

    void commandsWithoutANoteInProgressChangeNothing()
    {
        FakeNoteSink sink;
        NoteInterpreter interp(sink, QStringLiteral("/p/"));
        FakeChannel channel;
        int nip = -1;
        for (QByteArray line : {"line" + C + "text", "end" + C, "alarm" + C + "bad date", QByteArray("line")})
            interp.interpretLine(line, nip, channel);
        QVERIFY(sink.notes.isEmpty());
        QCOMPARE(nip, -1);
    }

    void fontStyleWordsAreCaseSensitive()
    {
        FakeNoteSink sink;
        NoteInterpreter interp(sink, QStringLiteral("/p/"));
        FakeChannel channel;
        int nip = -1;
        const QByteArray head = "new" + C + "u" + C + "t" + C + "1" + C + "2" + C + "3" + C + "4" + C + "Arial" + C + "9" + C + "5" + C;
        interp.interpretLine(head + "Bold" + C + "italic", nip, channel);
        QCOMPARE(sink.notes[0].font, (NoteFont{QStringLiteral("Arial"), 9, 5, false, true}));
        interp.interpretLine("NEW" + C + "u" + C + "t" + C + "1" + C + "2" + C + "3" + C + "4" + C + "Arial" + C + "9" + C + "5" + C + "bold" + C + "Italic", nip, channel);
        QCOMPARE(nip, 1);
        QCOMPARE(sink.notes[1].font, (NoteFont{QStringLiteral("Arial"), 9, 5, true, false}));
        // A second "new" leaves the first note as it was.
        QCOMPARE(sink.notes[0].finished, 0);
    }

    void malformedNewKeepsWhatItApplied()
    {
        FakeNoteSink sink;
        NoteInterpreter interp(sink, QStringLiteral("/p/"));
        FakeChannel channel;
        int nip = -1;
        // A separator inside the title shifts every later field: "pras" is read as a colour.
        const QByteArray shifted = "new" + C + "ana" + C + "Com" + C + "pras" + C + "8454143" + C + "175" + C + "120" + C + "8454143"
                                   + C + "Arial" + C + "10" + C + "0" + C + "nobold" + C + "noitalic";
        QVERIFY_THROWS_EXCEPTION(EBadFieldValue, interp.interpretLine(shifted, nip, channel));
        QCOMPARE(nip, 0);
        QCOMPARE(sink.notes[0].title, QStringLiteral("Com"));
        QCOMPARE(sink.notes[0].colour, 255);
        QVERIFY(sink.notes[0].footer.isEmpty());

        // A bad font size keeps the font name read just before it.
        QVERIFY_THROWS_EXCEPTION(EBadFieldValue,
                                 interp.interpretLine("new" + C + "u" + C + "T" + C + "1" + C + "2" + C + "3" + C + "4" + C + "Arial" + C + "x",
                                                      nip, channel));
        QCOMPARE(nip, 1);
        QCOMPARE(sink.notes[1].font.name, QStringLiteral("Arial"));
        QCOMPARE(sink.notes[1].font.size, 8);
        QCOMPARE(sink.notes[1].textWidth, 2);
        QCOMPARE(sink.notes[1].textHeight, 3);
        QCOMPARE(sink.notes[1].replyAddress, QStringLiteral("192.168.0.7"));

        // Eleven fields: everything but the italic flag is applied, then the command fails.
        try {
            interp.interpretLine("new" + C + "u" + C + "T" + C + "1" + C + "2" + C + "3" + C + "4" + C + "Arial" + C + "11" + C + "7" + C + "bold",
                                 nip, channel);
            QFAIL("an eleven-field \"new\" must fail");
        } catch (const EFieldMissing &e) {
            QCOMPARE(QString::fromLatin1(e.className()), QStringLiteral("EFieldMissing"));
            QVERIFY(QString::fromUtf8(e.what()).contains(QLatin1String("11")));
        }
        QCOMPARE(sink.notes[2].font, (NoteFont{QStringLiteral("Arial"), 11, 7, true, false}));
        QVERIFY(sink.notes[2].footer.isEmpty());
    }

    void absurdSizesAreBounded()
    {
        FakeNoteSink sink;
        NoteInterpreter interp(sink, QStringLiteral("/p/"));
        FakeChannel channel;
        int nip = -1;
        interp.interpretLine("new" + C + "u" + C + "t" + C + "1" + C + "2000000000" + C + "-5" + C + "4" + C + "Arial" + C + "99999" + C
                                 + "5" + C + "nobold" + C + "noitalic",
                             nip, channel);
        QCOMPARE(sink.notes[0].textWidth, NoteProtocol::kMaxExtent);
        QCOMPARE(sink.notes[0].textHeight, 0);
        QCOMPARE(sink.notes[0].font.size, NoteProtocol::kMaxFontSize);
    }

    void alarmFieldsAndTheirFailures()
    {
        QTemporaryDir dir;
        QFile real(dir.filePath(QStringLiteral("ding.wav")));
        QVERIFY(real.open(QIODevice::WriteOnly));
        real.close();

        FakeNoteSink sink;
        NoteInterpreter interp(sink, QStringLiteral("/p/"));
        FakeChannel channel;
        int nip = -1;
        auto newNote = [&] {
            interp.interpretLine(kPlainNew, nip, channel);
            return nip;
        };
        const QByteArray moment = "01/02/2027 10:20:30";

        // An existing regular file is kept; a device is not worth playing.
        int slot = newNote();
        interp.interpretLine("alarm" + C + moment + C + "1" + C + real.fileName().toUtf8() + C, nip, channel);
        QCOMPARE(sink.notes[slot].alarm.soundFile, real.fileName());
        interp.interpretLine("alarm" + C + moment + C + "1" + C + "/dev/zero" + C, nip, channel);
        QCOMPARE(sink.notes[slot].alarm.soundFile, QStringLiteral("/p/boing.wav"));
        // Without sound, field 3 is not read.
        interp.interpretLine("alarm" + C + moment + C + "0" + C + "ignored" + C, nip, channel);
        QVERIFY(!sink.notes[slot].alarm.useSound);
        QCOMPARE(sink.notes[slot].alarm.soundFile, QStringLiteral("/p/boing.wav"));

        // An unreadable moment still arms the alarm, at the moment the note had.
        slot = newNote();
        QVERIFY_THROWS_EXCEPTION(EBadFieldValue, interp.interpretLine("alarm" + C + "tomorrow" + C + "0" + C + C, nip, channel));
        QVERIFY(sink.notes[slot].alarm.armed);
        QVERIFY(!sink.notes[slot].alarm.moment.isValid());
        QVERIFY(!sink.notes[slot].alarmIcon);

        // Four fields: the sound is applied, then field 4 is missing.
        slot = newNote();
        QVERIFY_THROWS_EXCEPTION(EFieldMissing, interp.interpretLine("alarm" + C + moment + C + "1" + C + "/nowhere", nip, channel));
        QCOMPARE(sink.notes[slot].alarm.moment, QDateTime(QDate(2027, 2, 1), QTime(10, 20, 30)));
        QVERIFY(sink.notes[slot].alarm.useSound);

        // Recurring with too few day flags: the flags read so far stay.
        slot = newNote();
        QVERIFY_THROWS_EXCEPTION(EFieldMissing, interp.interpretLine("alarm" + C + moment + C + "0" + C + C + "1" + C + "3" + C + "2" + C + "1" + C + "1",
                                                                     nip, channel));
        QVERIFY(sink.notes[slot].alarm.remember);
        QCOMPARE(sink.notes[slot].alarm.rememberNo, 3);
        QCOMPARE(sink.notes[slot].alarm.rememberUnit, 2);
        QCOMPARE(sink.notes[slot].alarm.dia, (std::array<bool, 7>{true, true, false, false, false, false, false}));

        // A non-number in the step count fails after the recurrence flag.
        slot = newNote();
        QVERIFY_THROWS_EXCEPTION(EBadFieldValue, interp.interpretLine("alarm" + C + moment + C + "0" + C + C + "1" + C + "x" + C + "2", nip, channel));
        QVERIFY(sink.notes[slot].alarm.remember);
        QCOMPARE(sink.notes[slot].alarm.rememberUnit, 0);
    }

    void textLinesAreCutAndJoined()
    {
        FakeNoteSink sink;
        NoteInterpreter interp(sink, QStringLiteral("/p/"));
        FakeChannel channel;
        int nip = -1;
        interp.interpretLine(kPlainNew, nip, channel);
        interp.interpretLine("line" + C + "price 5" + C + "50 each", nip, channel);
        interp.interpretLine("line" + C + "a_^b_^^_", nip, channel);
        interp.interpretLine("line" + C + QByteArray(300, 'x'), nip, channel);
        QVERIFY_THROWS_EXCEPTION(EFieldMissing, interp.interpretLine("line", nip, channel));
        QCOMPARE(sink.notes[0].lines,
                 (QStringList{"price 5", "a\r\nb\r\n^_", QString(255 - 5, QLatin1Char('x'))}));
    }

    void receivedTextIsBounded()
    {
        FakeNoteSink sink;
        NoteInterpreter interp(sink, QStringLiteral("/p/"));
        FakeChannel channel;
        int nip = -1;
        interp.interpretLine(kPlainNew, nip, channel);
        const QByteArray line = "line" + C + QByteArray(248, 'y');
        for (int i = 0; i < 1000; ++i)
            interp.interpretLine(line, nip, channel);
        const qsizetype kept = sink.notes[0].lines.size();
        QCOMPARE(kept, NoteProtocol::kMaxReceivedText / 250);
        QVERIFY(channel.logLines.last().startsWith(QLatin1String("Text limit reached")));
        interp.interpretLine("end", nip, channel);
        QCOMPARE(sink.notes[0].finished, 1);
    }

    void deletedNoteInProgressFailsTheCommand()
    {
        FakeNoteSink sink;
        NoteInterpreter interp(sink, QStringLiteral("/p/"));
        FakeChannel channel;
        for (QByteArray command : {"line" + C + "x", "end" + C, "alarm" + C + "01/01/2027 10:00:00" + C + "0" + C + C}) {
            int nip = -1;
            interp.interpretLine(kPlainNew, nip, channel);
            sink.notes.remove(nip);
            QVERIFY_THROWS_EXCEPTION(ENoteGone, interp.interpretLine(command, nip, channel));
        }
    }

    void aFullTableCreatesNothing()
    {
        FakeNoteSink sink(1);
        NoteInterpreter interp(sink, QStringLiteral("/p/"));
        FakeChannel channel;
        int nip = -1;
        interp.interpretLine(kPlainNew, nip, channel);
        interp.interpretLine("line" + C + "first note", nip, channel);
        QCOMPARE(nip, 0);

        interp.interpretLine(kPlainNew, nip, channel);
        QCOMPARE(nip, -1);
        QCOMPARE(channel.logLines, QStringList{QStringLiteral("Note table full: note from 192.168.0.7 refused.")});
        // The rest of the refused note must not land in the note started before it.
        interp.interpretLine("alarm" + C + "01/01/2027 10:00:00" + C + "0" + C + C, nip, channel);
        interp.interpretLine("line" + C + "second note", nip, channel);
        interp.interpretLine("end" + C, nip, channel);
        QCOMPARE(sink.notes.size(), 1);
        QCOMPARE(sink.notes[0].lines, QStringList{"first note"});
        QVERIFY(!sink.notes[0].alarm.armed);
        QCOMPARE(sink.notes[0].finished, 0);
    }

    void blockEntriesThatCanMatchASender()
    {
        // What is typed, and the entry added (null: refused, it could never match).
        const struct { const char *typed; const char *entry; } cases[] = {
            {"192.168.0.7", "192.168.0.7"},
            {"  10.0.0.1\t", "10.0.0.1"},
            {"127.0.0.1", "127.0.0.1"},
            {"1.2.3.4", "1.2.3.4"},
            {"223.255.255.255", "223.255.255.255"},
            {"", nullptr},
            {"   ", nullptr},
            {"pc-da-ana", nullptr},
            {"ana@example.com", nullptr},
            {"Ana Souza", nullptr},
            {"localhost", nullptr},
            {"192.168.000.007", nullptr},    // the server writes no leading zeros
            {"192.168.0.07", nullptr},
            {"192.168.0", nullptr},
            {"192.168.0.7.1", nullptr},
            {"192.168.0.256", nullptr},
            {"192.168..7", nullptr},
            {"192.168.0.7 pc", nullptr},
            {"192.168.0.-7", nullptr},
            {"+1.2.3.4", nullptr},
            {"1.2.3.4/24", nullptr},
            {"::1", nullptr},                // the server listens on IPv4 only
            {"::ffff:192.168.0.7", nullptr},
            {"0.0.0.0", nullptr},            // no sender has these
            {"0.1.2.3", nullptr},
            {"224.0.0.1", nullptr},
            {"255.255.255.255", nullptr},
            {"１.２.３.４", nullptr},          // full-width digits
        };
        for (const auto &c : cases) {
            const QString entry = BlockList::matchableEntry(QString::fromUtf8(c.typed));
            QVERIFY2(c.entry ? entry == QLatin1String(c.entry) : entry.isNull(), c.typed);
            // What is accepted does match that sender.
            if (c.entry)
                QVERIFY(BlockList::blocks(BlockList::kBlockSelected, {entry}, QLatin1String(c.entry)));
        }
    }

    void pipelineLogsBlocksAndDropsRepeats()
    {
        Receiver r;
        FakeChannel a(QStringLiteral("127.0.0.1"));
        FakeChannel b(QStringLiteral("10.1.1.1"));
        int nipA = -1, nipB = -1;

        r.receiver.handleLine("help\r\n", nipA, a);
        QCOMPARE(a.logLines, QStringList{QStringLiteral("Received from 127.0.0.1: 'help'")});
        QCOMPARE(r.receiver.previousLine(), QByteArray("help"));
        // The repeat filter is shared: the same line from another connection right after is dropped.
        r.receiver.handleLine("help\r\n", nipB, b);
        QVERIFY(b.replies.isEmpty());
        QCOMPARE(b.logLines.size(), 1);
        r.receiver.handleLine("\r\n", nipB, b);
        r.receiver.handleLine("help\r\r\n\n", nipB, b);
        QCOMPARE(b.replies, NoteProtocol::kHelpText);
        QCOMPARE(b.logLines.last(), QStringLiteral("Received from 10.1.1.1: 'help'"));

        // A repeated command line without a blank line between gives one note, with one two.
        const QByteArray newLine = kPlainNew + "\r\n";
        r.feed(newLine + newLine, nipA, a);
        QCOMPARE(r.sink.notes.size(), 1);
        r.feed("\r\n" + newLine + "\r\n" + newLine, nipA, a);
        QCOMPARE(r.sink.notes.size(), 3);

        // Blocking all: logged, ignored, even "help".
        r.settings.recRede.Blocktype = BlockList::kBlockAll;
        a.replies.clear();
        r.feed("\r\nhelp\r\n" + newLine, nipA, a);
        QVERIFY(a.replies.isEmpty());
        QCOMPARE(r.sink.notes.size(), 3);
        QCOMPARE(a.logLines.last(), QStringLiteral("Received from 127.0.0.1: 'new\u00A2u\u00A2t\u00A21\u00A22\u00A23\u00A24\u00A2A\u00A29\u00A25\u00A2nobold\u00A2noitalic'"));

        // Blocking selected senders: only the exact dotted address matches.
        r.settings.recRede.Blocktype = BlockList::kBlockSelected;
        r.settings.recRede.BlockList = {QStringLiteral("localhost"), QStringLiteral("127.0.0.1 "), QString()};
        r.feed("help\r\n", nipA, a);
        QCOMPARE(a.replies, NoteProtocol::kHelpText);
        r.settings.recRede.BlockList << QStringLiteral("127.0.0.1");
        r.feed("\r\nhelp\r\n", nipA, a);
        QCOMPARE(a.replies, NoteProtocol::kHelpText);
        r.feed("\r\nhelp\r\n", nipB, b);
        QCOMPARE(b.replies, NoteProtocol::kHelpText.repeated(2));
    }

    void eventLogAndDurations()
    {
        NetEventLog log;
        for (int i = 0; i < 201; ++i)
            log.append(QString::number(i));
        QCOMPARE(log.lines().size(), 201);
        log.append(QStringLiteral("next"));
        QCOMPARE(log.lines().size(), 152);
        QCOMPARE(log.lines().first(), QStringLiteral("50"));
        QCOMPARE(log.lines().last(), QStringLiteral("next"));

        QCOMPARE(formatConnectionDuration(65), QStringLiteral("00:01:05"));
        QCOMPARE(formatConnectionDuration(25 * 3600 + 61), QStringLiteral("01:01:01"));
        QCOMPARE(formatConnectionDuration(-3), QStringLiteral("00:00:00"));
    }

    void aLongLineAddsLittleToTheLog_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("logged");
        const QString head = QStringLiteral("Received from 127.0.0.1: '");
        QTest::newRow("255 bytes") << QByteArray(255, 'a') << head + QString(255, QLatin1Char('a')) + QLatin1Char('\'');
        QTest::newRow("256 bytes") << QByteArray(256, 'a')
                                   << head + QString(255, QLatin1Char('a')) + QStringLiteral("' (cut, 256 bytes)");
        // What 16 KiB of tabs in one read become once edited.
        QTest::newRow("edited tabs") << QByteArray(128 * 1024, ' ')
                                     << head + QString(255, QLatin1Char(' ')) + QStringLiteral("' (cut, 131072 bytes)");
    }

    void aLongLineAddsLittleToTheLog()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, logged);
        Receiver r;
        FakeChannel a(QStringLiteral("127.0.0.1"));
        int nip = -1;
        r.receiver.handleLine(line + "\r\n", nip, a);
        QCOMPARE(a.logLines, QStringList{logged});
    }

    void notesArePacedPerAddress()
    {
        qint64 now = 0;
        NoteRateLimit rate;
        rate.setClock([&now] { return now; });
        rate.setLimits(3, 1000);
        const QString a = QStringLiteral("10.0.0.1"), b = QStringLiteral("10.0.0.2");
        // A burst at once, then one per interval; each address on its own.
        for (int i = 0; i < 3; ++i)
            QVERIFY(rate.take(a));
        QVERIFY(!rate.take(a));
        QVERIFY(rate.take(b));
        // Asking without a turn restarts the wait: the next turn is an interval after the
        // last refusal, and an address that keeps asking gets nothing.
        const QList<std::pair<qint64, bool>> asks{{999, false}, {1998, false}, {2997, false}, {3997, true},
                                                  {3997, false}, {4996, false}, {5996, true}};
        for (const auto &[at, granted] : asks) {
            now = at;
            QVERIFY2(rate.take(a) == granted, qPrintable(QString::number(at)));
        }
        for (now = 6000; now < 30000; now += 100)
            QVERIFY(!rate.take(a));
        QVERIFY(rate.take(b));
        // A long rest gives the whole burst again, no more.
        now = 60000;
        for (int i = 0; i < 3; ++i)
            QVERIFY(rate.take(a));
        QVERIFY(!rate.take(a));
        // Addresses that have rested are forgotten: many senders over time cost no memory.
        for (int i = 0; i < 5000; ++i) {
            now += 2000;
            QVERIFY(rate.take(QStringLiteral("10.1.%1.%2").arg(i / 256).arg(i % 256)));
        }
        QVERIFY2(rate.trackedPeers() <= 257, qPrintable(QString::number(rate.trackedPeers())));
        rate.setLimits(0, 1000);
        for (int i = 0; i < 100; ++i)
            QVERIFY(rate.take(a));

        // The interpreter asks before it creates: a refused "new" leaves no note in progress,
        // so its lines land nowhere.
        FakeNoteSink sink;
        NoteInterpreter interp(sink, QStringLiteral("/p/"));
        interp.noteRate().setClock([&now] { return now; });
        interp.noteRate().setLimits(1, 1000);
        FakeChannel channel;
        int nip = -1;
        interp.interpretLine(kPlainNew, nip, channel);
        QCOMPARE(nip, 0);
        interp.interpretLine(kPlainNew, nip, channel);
        QCOMPARE(nip, -1);
        interp.interpretLine("line" + C + "lost", nip, channel);
        QCOMPARE(sink.notes.size(), 1);
        QVERIFY(sink.notes[0].lines.isEmpty());
        QCOMPARE(channel.logLines, QStringList{QStringLiteral("Too many notes from 192.168.0.7: note refused.")});
    }
};

QTEST_GUILESS_MAIN(TestProtocol)
#include "tst_protocol.moc"
