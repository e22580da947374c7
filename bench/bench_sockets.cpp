// Loopback load on the note server's socket layer: 200 simultaneous connections, each sending
// 1,000 lines of 100 bytes. Prints the lines per second delivered to line handlers and the GUI
// thread's longest pause, next to the same load through QTcpServer/QTcpSocket in the same run.
//
//   bench_sockets [rounds] [ours|qt]     (default 2 rounds of each)
#include "net/AsyncSocket.h"
#include "net/SocketServer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <time.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

constexpr int kConnections = 200;
constexpr int kLinesEach = 1000;
constexpr int kLineBytes = 100;
constexpr int kLinesPerWrite = 50;
constexpr qint64 kTotalLines = qint64(kConnections) * kLinesEach;

using SteadyClock = std::chrono::steady_clock;

double secondsBetween(SteadyClock::time_point a, SteadyClock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

// On a shared machine a wall-clock gap may be time the thread was not scheduled at all; the
// thread's own CPU time tells how much of a gap was spent working.
double threadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// The peers: one thread with blocking sockets, so all the GUI thread does is serve them.
class LoadGenerator
{
public:
    std::atomic<int> accepted{0};
    std::atomic<bool> stop{false};
    std::atomic<bool> failed{false};
    SteadyClock::time_point sendStart;
    std::atomic<bool> sending{false};

    void start(quint16 port) { m_thread = std::thread([this, port] { run(port); }); }
    void finish()
    {
        stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    bool waitUntil(const std::function<bool()> &condition)
    {
        const auto deadline = SteadyClock::now() + std::chrono::seconds(20);
        while (!condition()) {
            if (SteadyClock::now() > deadline || stop) {
                failed = true;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        return true;
    }

    void run(quint16 port)
    {
        std::vector<int> fds;
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        inet_pton(AF_INET, "127.0.0.1", &a.sin_addr);
        for (int i = 0; i < kConnections; ++i) {
            // Stay within the listener's small backlog: a dropped handshake costs a second.
            if (!waitUntil([&] { return accepted.load() >= i - 3; }))
                break;
            const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            if (::connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
                ::close(fd);
                failed = true;
                break;
            }
            fds.push_back(fd);
        }
        if (!failed && waitUntil([&] { return accepted.load() >= kConnections; })) {
            QByteArray block;
            for (int l = 0; l < kLinesPerWrite; ++l)
                block += QByteArray(kLineBytes - 2, char('a' + l % 26)) + "\r\n";
            sendStart = SteadyClock::now();
            sending = true;
            for (int round = 0; round < kLinesEach / kLinesPerWrite && !stop; ++round) {
                for (int fd : fds) {
                    for (qsizetype at = 0; at < block.size();) {
                        const ssize_t n = ::send(fd, block.constData() + at, size_t(block.size() - at), MSG_NOSIGNAL);
                        if (n <= 0) {
                            failed = true;
                            break;
                        }
                        at += n;
                    }
                }
            }
        }
        while (!stop)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        for (int fd : fds)
            ::close(fd);
    }

    std::thread m_thread;
};

struct Result
{
    double linesPerSecond = 0;
    double longestPauseMs = 0;
    double longestBusyMs = 0;   // CPU time the GUI thread spent inside that kind of stretch
    qint64 lines = 0;
    bool ok = false;
};

// Runs the event loop until every line has been counted (or 60 s), watching the GUI thread's
// responsiveness with a 1 ms timer.
Result drive(LoadGenerator &load, const qint64 &lines, SteadyClock::time_point &lastLine)
{
    Result r;
    QEventLoop loop;
    QTimer pulse;
    pulse.setTimerType(Qt::PreciseTimer);
    pulse.setInterval(1);
    auto previous = SteadyClock::now();
    double previousCpu = threadCpuSeconds();
    double worst = 0;
    double worstBusy = 0;
    QObject::connect(&pulse, &QTimer::timeout, [&] {
        const auto now = SteadyClock::now();
        const double cpu = threadCpuSeconds();
        worst = std::max(worst, secondsBetween(previous, now));
        worstBusy = std::max(worstBusy, cpu - previousCpu);
        previous = now;
        previousCpu = cpu;
        if (lines >= kTotalLines || load.failed)
            loop.quit();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    pulse.start();
    loop.exec();
    pulse.stop();
    r.lines = lines;
    r.ok = lines == kTotalLines && !load.failed;
    r.longestPauseMs = worst * 1000.0;
    r.longestBusyMs = worstBusy * 1000.0;
    if (load.sending)
        r.linesPerSecond = double(lines) / std::max(1e-9, secondsBetween(load.sendStart, lastLine));
    return r;
}

Result runOurs()
{
    LoadGenerator load;
    qint64 lines = 0;
    auto lastLine = SteadyClock::now();
    TSocketServer server;
    server.setObjectName(QStringLiteral("Bench"));
    server.OnClientConnect = [&](TCustomSocketServer *, TSocketClient *c, int) {
        c->setLineMode(true);
        c->OnDataAvailable = [&](TAsyncSocket *s, int) {
            const QByteArray line = s->ReceiveText();
            if (line.size() == kLineBytes)
                ++lines;
            lastLine = SteadyClock::now();
        };
        ++load.accepted;
    };
    server.setAddr(QStringLiteral("127.0.0.1"));
    server.setPort(QStringLiteral("0"));
    server.Listen();
    load.start(server.BoundPort().toUShort());
    const Result r = drive(load, lines, lastLine);
    load.finish();
    server.Close();
    return r;
}

Result runQt()
{
    LoadGenerator load;
    qint64 lines = 0;
    auto lastLine = SteadyClock::now();
    QTcpServer server;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        while (QTcpSocket *c = server.nextPendingConnection()) {
            c->write("Welcome\r\n");
            QObject::connect(c, &QTcpSocket::readyRead, c, [&, c] {
                while (c->canReadLine()) {
                    const QByteArray line = c->readLine();
                    if (line.size() == kLineBytes)
                        ++lines;
                    lastLine = SteadyClock::now();
                }
            });
            QObject::connect(c, &QTcpSocket::disconnected, c, &QObject::deleteLater);
            ++load.accepted;
        }
    });
    server.listen(QHostAddress::LocalHost, 0);
    load.start(server.serverPort());
    const Result r = drive(load, lines, lastLine);
    load.finish();
    server.close();
    return r;
}

void print(const char *name, const Result &r)
{
    std::printf("%-28s %10.0f lines/s   longest GUI pause %6.1f ms (%5.1f ms of it busy)   %s\n", name,
                r.linesPerSecond, r.longestPauseMs, r.longestBusyMs, r.ok ? "all lines" : qPrintable(QStringLiteral("INCOMPLETE (%1 lines)").arg(r.lines)));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    // With the GLib dispatcher, timers drop to idle priority while other sources keep firing, so
    // a timer would measure its own starvation rather than how long one pass of the loop takes
    // (input events are served at every pass). Qt's own dispatcher fires due timers every pass.
    qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 2;
    std::printf("%d connections x %d lines of %d bytes on 127.0.0.1\n", kConnections, kLinesEach, kLineBytes);
    const QByteArray only = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    for (int i = 0; i < rounds; ++i) {
        if (only != "qt")
            print("TSocketServer (line mode)", runOurs());
        QCoreApplication::processEvents();
        if (only != "ours")
            print("QTcpServer + readLine", runQt());
        QCoreApplication::processEvents();
    }
    return 0;
}
