// How fast notes are taken in: the interpreter alone, then the note server over loopback with
// many senders at once, and how long the event loop went without running a timer meanwhile.
#include "net/FakeNoteSink.h"
#include "net/NoteReceiver.h"
#include "net/NoteServer.h"
#include "platform/Locale.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

QList<QByteArray> noteCommands(int i)
{
    NoteProtocol::OutgoingNote note;
    note.user = QStringLiteral("user%1").arg(i);
    note.title = QStringLiteral("title %1").arg(i);
    note.colour = note.captionColour = 8454143;
    note.textWidth = 175;
    note.textHeight = 120;
    note.alarm = NoteAlarm{true, QDateTime(QDate(2027, 1, 1), QTime(8, 0)), false, {}, true, 1, 2, {true, true, true, true, true, true, true}};
    for (int l = 0; l < 10; ++l)
        note.text += QStringLiteral("line %1 of note %2, some words to make it a realistic length\r\n").arg(l).arg(i);
    return NoteProtocol::encodeNote(note);
}

void benchInterpreter()
{
    AppSettings settings;
    FakeNoteSink sink(1000000);
    NoteReceiver receiver(settings, sink, QStringLiteral("/opt/corkvane/"));
    receiver.noteRate().setLimits(0, 1);  // throughput, not the pace one sender is allowed
    FakeChannel channel;
    const int kNotes = 1000;
    std::vector<QList<QByteArray>> lines;
    for (int i = 0; i < kNotes; ++i) {
        QList<QByteArray> wire;
        for (const QByteArray &command : noteCommands(i))
            for (const QByteArray &line : command.split('\n'))
                if (!line.isEmpty())
                    wire << line + '\n';
        lines.push_back(wire);
    }
    QElapsedTimer t;
    t.start();
    qint64 count = 0;
    for (const auto &note : lines) {
        int nip = -1;
        for (const QByteArray &line : note) {
            receiver.handleLine(line, nip, channel);
            ++count;
        }
    }
    const double ms = double(t.nsecsElapsed()) / 1e6;
    std::printf("interpreter: %d notes, %lld lines in %.1f ms (%.0f lines/s)\n", kNotes, count, ms, count / ms * 1000.0);
}

void benchServer(int senders, int notesEach)
{
    AppSettings settings;
    FakeNoteSink sink(1000000);
    NoteServer server(settings, sink, QStringLiteral("/opt/corkvane/"));
    // Every sender is on 127.0.0.1 here: measure throughput, not what one address is allowed.
    server.setConnectionLimits(0, NoteServer::kStallTimeoutMs);
    server.receiver().noteRate().setLimits(0, 1);
    {
        QTcpServer probe;
        probe.listen(QHostAddress::AnyIPv4, 0);
        settings.recRede.PortTCP = QString::number(probe.serverPort());
    }
    server.StartNoteServer();
    const quint16 port = server.listeningPort().toUShort();

    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, worstGap = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        worstGap = std::max(worstGap, clock.elapsed() - last);
        last = clock.elapsed();
    });
    timer.start(5);

    std::vector<std::unique_ptr<QTcpSocket>> peers;
    for (int s = 0; s < senders; ++s) {
        peers.push_back(std::make_unique<QTcpSocket>());
        peers.back()->connectToHost(QHostAddress::LocalHost, port);
        // The server accepts on this same thread: let it, instead of blocking in a wait.
        QElapsedTimer wait;
        wait.start();
        while (peers.back()->bytesAvailable() == 0 && wait.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QElapsedTimer t;
    t.start();
    last = clock.elapsed();
    worstGap = 0;
    for (int n = 0; n < notesEach; ++n) {
        std::vector<QList<QByteArray>> commands;
        for (int s = 0; s < senders; ++s)
            commands.push_back(noteCommands(n * senders + s));
        for (qsizetype c = 0; c < commands.front().size(); ++c)
            for (int s = 0; s < senders; ++s)
                peers[size_t(s)]->write(commands[size_t(s)].at(c));
        QCoreApplication::processEvents();
    }
    for (auto &peer : peers)
        peer->disconnectFromHost();
    const int expected = senders * notesEach;
    auto finished = [&] {
        int done = 0;
        for (const FakeNote &note : sink.notes)
            done += note.finished;
        return done;
    };
    while (finished() < expected && t.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const double ms = double(t.nsecsElapsed()) / 1e6;
    std::printf("server: %d senders x %d notes: %d of %d complete in %.0f ms (%.0f notes/s), longest timer gap %lld ms\n",
                senders, notesEach, finished(), expected, ms, finished() / ms * 1000.0, worstGap);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Locale::overrideLocaleId(Locale::kPortugueseBrazil);
    benchInterpreter();
    benchServer(10, 20);
    benchServer(50, 10);
    return 0;
}
