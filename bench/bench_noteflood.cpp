// The resident memory of the real program under a long flood of its note port from many
// addresses. Prints the program's resident memory once a minute; after the first minute it
// must stay within 2 MiB. Two floods:
//   hostile (the default): the hostile load of the tests, its held connections (a byte now and
//     then, never a whole line) spread over the addresses, beside an endless stream of "new"
//     from one address, unfinished lines and binary junk;
//   mixed: every address keeps a connection and, in turn, sends whole notes, "help", empty
//     lines, junk, lines too long to finish, "line" without a note, nothing, or reconnects
//     (the first minute fills the note table).
//
//   bench_noteflood [--profile hostile|mixed] [--minutes N] [--addresses N] [--sample-seconds N]
#include "support/ResidentMemory.h"
#include "net/HostileLoad.h"
#include "platform/Paths.h"
#include "store/NoteStore.h"
#include "support/ProgramRun.h"

#include <QCoreApplication>
#include <QTcpServer>

#include <cstdio>

namespace {

constexpr qint64 kAllowedGrowthKb = 2 * 1024;


// Every peer keeps one connection and does one thing with it per round, in turn.
class Flood : public Hostile::PeerThread
{
public:
    Flood(quint16 port, int addresses) : m_port(port), m_addresses(addresses) {}
    ~Flood() { stop(); }


    std::atomic<qint64> connects{0};
    std::atomic<qint64> commands{0};

private:
    struct Peer
    {
        QByteArray source;
        int fd = -1;
    };

    static bool push(int fd, const QByteArray &bytes)
    {
        if (!bytes.isEmpty()) {
            const ssize_t n = ::send(fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n < 0 && errno != EAGAIN && errno != ENOTCONN)
                return false;
        }
        char sink[4096];
        ssize_t r;
        while ((r = ::recv(fd, sink, sizeof sink, MSG_DONTWAIT)) > 0) {
        }
        return r != 0 && !(r < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
    }

    void run() override
    {
        const QByteArray &C = Hostile::C;
        std::vector<Peer> peers(static_cast<size_t>(m_addresses));
        for (int i = 0; i < m_addresses; ++i)
            peers[size_t(i)].source = QByteArray("127.0.") + QByteArray::number(1 + i / 250) + '.' + QByteArray::number(1 + i % 250);
        std::mt19937 random(7801);
        qint64 round = 0;
        while (!m_stop) {
            ++round;
            for (size_t i = 0; i < peers.size() && !m_stop; ++i) {
                Peer &peer = peers[i];
                if (peer.fd < 0) {
                    peer.fd = Hostile::connectFrom(peer.source.constData(), m_port, false);
                    ++connects;
                    continue;
                }
                QByteArray bytes;
                switch ((round + qint64(i)) % 8) {
                case 0:
                    bytes = Hostile::newLine("flood", "n" + QByteArray::number(round)) + "line" + C + "some text "
                            + QByteArray::number(qint64(i)) + "\r\n\r\n" + "line" + C + QByteArray(200, 'w') + "\r\n\r\nend"
                            + C + "\r\n\r\n";
                    break;
                case 1:
                    bytes = "help\r\n";
                    break;
                case 2:
                    bytes = "\r\n\r\n";
                    break;
                case 3:
                    bytes.resize(600);
                    for (qsizetype b = 0; b < bytes.size(); ++b)
                        bytes[b] = b % 60 == 58 ? '\r' : b % 60 == 59 ? '\n' : char(random() & 0xFF);
                    break;
                case 4:
                    bytes = QByteArray(50, 'u');  // twice of these overruns the line limit
                    break;
                case 5:
                    bytes = "line" + C + "no note in progress " + QByteArray::number(round) + "\r\n";
                    break;
                case 6:
                    ::close(peer.fd);
                    peer.fd = -1;
                    continue;
                default:
                    break;  // idle this round
                }
                ++commands;
                if (!push(peer.fd, bytes)) {
                    ::close(peer.fd);
                    peer.fd = -1;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        for (const Peer &peer : peers)
            if (peer.fd >= 0)
                ::close(peer.fd);
    }

    quint16 m_port;
    int m_addresses;
};

int argument(const QStringList &args, const QString &name, int fallback)
{
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1).toInt() : fallback;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int minutes = argument(args, QStringLiteral("--minutes"), 5);
    const int addresses = std::clamp(argument(args, QStringLiteral("--addresses"), 250), 1, 250 * 250);
    const int sampleSeconds = std::max(1, argument(args, QStringLiteral("--sample-seconds"), 60));
    const bool hostile = !args.contains(QStringLiteral("mixed"));
    if (qEnvironmentVariableIsEmpty("CORKVANE_BIN_DIR"))
        qputenv("CORKVANE_BIN_DIR", QCoreApplication::applicationDirPath().toLocal8Bit());

    quint16 port = 0;
    {
        QTcpServer probe;
        if (probe.listen(QHostAddress::AnyIPv4, 0))
            port = probe.serverPort();
    }
    ProgramRun run;
    // The offscreen platform's complaints about raising windows say nothing here.
    run.process.setProcessChannelMode(QProcess::SeparateChannels);
    run.process.setStandardErrorFile(QProcess::nullDevice());
    AppSettings settings;
    settings.recGeral.UseSounds = false;
    settings.recGeral.AutoSave = false;
    settings.recRede.Enabled = true;
    settings.recRede.PortTCP = QString::number(port);
    QDir().mkpath(run.dataFolder());
    if (port == 0 || !NoteStore::save(run.storePath(), settings, {}, true) || !run.start()) {
        std::fprintf(stderr, "the program did not start from %s\n", qPrintable(ProgramRun::binFolder()));
        return 2;
    }
    QTest::qWait(1000);
    const qint64 pid = run.process.processId();
    std::printf("%s flood from %d addresses on 127.0.0.1:%u for %d min, resident memory of the program (pid %lld):\n",
                hostile ? "hostile" : "mixed", addresses, port, minutes, pid);
    std::printf("  start: %lld kB\n", ResidentMemory::kilobytes(pid));
    std::fflush(stdout);

    Flood flood(port, addresses);
    Hostile::Load load(port, addresses, addresses);
    if (hostile)
        load.start();
    else
        flood.start();
    QList<qint64> samples;
    QElapsedTimer clock;
    clock.start();
    const int sampleCount = minutes * 60 / sampleSeconds;
    for (int s = 1; s <= sampleCount; ++s) {
        while (clock.elapsed() < qint64(s) * sampleSeconds * 1000 && run.process.state() == QProcess::Running)
            QTest::qWait(200);
        if (run.process.state() != QProcess::Running)
            break;
        samples << ResidentMemory::kilobytes(pid);
        if (hostile)
            std::printf("  %4d s: %lld kB  (%d connections opened, %d \"new\" sent so far)\n", s * sampleSeconds, samples.last(),
                        int(load.connects), int(load.newsSent));
        else
            std::printf("  %4d s: %lld kB  (%lld connections opened, %lld commands sent so far)\n", s * sampleSeconds,
                        samples.last(), qint64(flood.connects), qint64(flood.commands));
        std::fflush(stdout);
    }
    flood.stop();
    load.stop();
    const bool alive = run.process.state() == QProcess::Running;
    if (!alive) {
        std::printf("the program ended during the flood\n");
        return 1;
    }
    const int settled = 60 / sampleSeconds;  // samples of the first minute
    if (samples.size() <= settled) {
        std::printf("too short to judge: the first minute fills the note table\n");
        return 0;
    }
    const QList<qint64> after = samples.mid(settled - 1);
    const qint64 low = *std::min_element(after.begin(), after.end());
    const qint64 high = *std::max_element(after.begin(), after.end());
    const double perMinute = double(after.last() - after.first()) / 1024.0 / double(after.size() - 1) * (60.0 / sampleSeconds);
    std::printf("after the first minute: %lld .. %lld kB, spread %lld kB (allowed %lld), %+.2f MiB/min end to end\n", low, high,
                high - low, kAllowedGrowthKb, perMinute);
    if (run.terminate() == 0) {
        const auto notes = NoteStore::load(run.storePath(), QDateTime::currentDateTime(), Paths::loginName(),
                                           ProgramRun::binFolder()).notes;
        std::printf("notes the program took in: %lld\n", qint64(notes.size()));
    }
    return high - low <= kAllowedGrowthKb ? 0 : 1;
}
