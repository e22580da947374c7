#pragma once
// Peers of the note server driven from a thread of their own with plain sockets, so that the
// process under test (this one or the real program) is free to run its event loop: a load
// that tries every way of locking the server, and a genuine sender that must still get through.
// Every source address is one of 127.0.0.0/8.
#include <QByteArray>
#include <QElapsedTimer>
#include <QList>

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <random>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace Hostile {

inline const QByteArray C("\xA2", 1);

inline QByteArray newLine(const QByteArray &user, const QByteArray &title)
{
    return "new" + C + user + C + title + C + "8454143" + C + "175" + C + "120" + C + "8454143" + C + "Arial" + C + "10" + C
           + "0" + C + "nobold" + C + "noitalic\r\n\r\n";
}

// A socket bound to `source`, connecting to 127.0.0.1:port; -1 when it cannot.
inline int connectFrom(const char *source, quint16 port, bool blocking)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (blocking ? 0 : SOCK_NONBLOCK), 0);
    if (fd < 0)
        return -1;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, source, &local.sin_addr);
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(port);
    ::inet_pton(AF_INET, "127.0.0.1", &remote.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0
        || (::connect(fd, reinterpret_cast<sockaddr *>(&remote), sizeof remote) != 0 && errno != EINPROGRESS)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads from a blocking socket until `count` bytes came, the peer closed, or the time is up.
inline QByteArray readFor(int fd, qsizetype count, int timeoutMs)
{
    QByteArray got;
    QElapsedTimer t;
    t.start();
    while (got.size() < count && t.elapsed() < timeoutMs) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, int(std::max<qint64>(1, timeoutMs - t.elapsed()))) <= 0)
            break;
        char buf[4096];
        const ssize_t n = ::recv(fd, buf, size_t(std::min<qsizetype>(count - got.size(), qsizetype(sizeof buf))), 0);
        if (n <= 0)
            break;
        got.append(buf, n);
    }
    return got;
}

struct Delivery
{
    bool greeted = false;   // the banner came, not "busy"
    bool answered = false;  // the "help" after the note was answered: every line was handled
    qint64 ms = -1;         // from connecting to the answer
};

// A sender as the protocol has it: one connection, one command per write, 100 ms between
// them; then "help", whose answer shows that the server has handled every line before it.
inline Delivery deliverNote(const char *source, quint16 port, const QByteArray &title)
{
    Delivery d;
    QElapsedTimer t;
    t.start();
    const int fd = connectFrom(source, port, true);
    if (fd < 0)
        return d;
    const QByteArray banner("Corkvane waiting for commands...\r\n");
    d.greeted = readFor(fd, banner.size(), 5000) == banner;
    const QList<QByteArray> commands{newLine("genuine", title), "line" + C + title + " first\r\n\r\n",
                                     "line" + C + "second\r\n\r\n", "end" + C + "\r\n\r\n"};
    for (const QByteArray &command : commands) {
        if (::send(fd, command.constData(), size_t(command.size()), MSG_NOSIGNAL) != command.size())
            break;
        ::usleep(100 * 1000);
    }
    const QByteArray help("Commands are:\n\r  new\n\r  exit\n\r  reply\n\r");
    ::send(fd, "help\r\n", 6, MSG_NOSIGNAL);
    d.answered = readFor(fd, help.size(), 5000) == help;
    d.ms = t.elapsed();
    ::close(fd);
    return d;
}

// A load of peers that runs on a thread of its own from start() until stop(). A derived load
// calls stop() in its own destructor, so the thread ends before the load's members do.
class PeerThread
{
public:
    virtual ~PeerThread() = default;
    void start() { m_thread = std::thread([this] { run(); }); }
    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

protected:
    virtual void run() = 0;
    std::atomic<bool> m_stop{false};

private:
    std::thread m_thread;
};

// Everything at once, until stopped: `held` connections from one address that send a byte
// now and then and never end a line; floods of "new" from another; unfinished lines; binary
// junk. Closed connections are opened again, a few per round (20 ms).
class Load : public PeerThread
{
public:
    // The address of each kind of peer.
    static constexpr const char *kHeldFrom = "127.0.0.2";
    static constexpr const char *kFloodFrom = "127.0.0.4";
    static constexpr const char *kUnfinishedFrom = "127.0.0.5";
    static constexpr const char *kJunkFrom = "127.0.0.6";

    // `heldAddresses` > 1 spreads the held connections over that many addresses of 127.0.x.y.
    Load(quint16 port, int held, int heldAddresses = 1) : m_port(port), m_held(held), m_heldAddresses(heldAddresses) {}
    ~Load() { stop(); }

    std::atomic<int> connects{0};
    std::atomic<int> newsSent{0};
    std::atomic<int> heldOpen{0};

private:
    // Sends what the socket takes now; false once the server has closed it.
    static bool push(int fd, const QByteArray &bytes)
    {
        const ssize_t n = ::send(fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno != EAGAIN && errno != ENOTCONN)
            return false;
        char sink[4096];
        ssize_t r;
        while ((r = ::recv(fd, sink, sizeof sink, MSG_DONTWAIT)) > 0) {
        }
        return !(r == 0);
    }

    QByteArray heldSource(size_t index) const
    {
        if (m_heldAddresses <= 1)
            return kHeldFrom;
        const int n = int(index % size_t(m_heldAddresses));
        return "127.0." + QByteArray::number(1 + n / 250) + '.' + QByteArray::number(1 + n % 250);
    }

    int reopen(int &fd, const char *source)
    {
        if (fd >= 0)
            ::close(fd);
        fd = connectFrom(source, m_port, false);
        ++connects;
        return fd;
    }

    void run() override
    {
        std::vector<int> held(size_t(m_held), -1);
        int flood = -1, unfinished = -1, junk = -1;
        std::mt19937 random(7801);
        int round = 0;
        while (!m_stop) {
            ++round;
            int reopened = 0, open = 0;
            for (size_t i = 0; i < held.size(); ++i) {
                int &fd = held[i];
                const bool alive = fd >= 0 && push(fd, round % 25 == 0 ? QByteArray("x") : QByteArray());
                if (!alive && reopened < 4) {
                    ++reopened;
                    reopen(fd, heldSource(i).constData());
                }
                open += fd >= 0;
            }
            heldOpen = open;
            // The held connections get a second to settle in before the rest starts.
            if (round < 50) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                continue;
            }

            if (flood < 0 || !push(flood, {}))
                reopen(flood, kFloodFrom);
            QByteArray news;
            for (int i = 0; i < 20; ++i)
                news += newLine("flood", "n" + QByteArray::number(newsSent + i));
            if (flood >= 0 && push(flood, news))
                newsSent += 20;

            if (unfinished < 0 || !push(unfinished, QByteArray(40, 'u')))
                reopen(unfinished, kUnfinishedFrom);

            QByteArray bytes(2048, Qt::Uninitialized);
            for (qsizetype i = 0; i < bytes.size(); ++i)
                bytes[i] = i % 60 == 58 ? '\r' : i % 60 == 59 ? '\n' : char(random() & 0xFF);
            if (junk < 0 || !push(junk, bytes))
                reopen(junk, kJunkFrom);

            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        for (int fd : held)
            if (fd >= 0)
                ::close(fd);
        for (int fd : {flood, unfinished, junk})
            if (fd >= 0)
                ::close(fd);
    }

    quint16 m_port;
    int m_held;
    int m_heldAddresses;
};

// Connections from many addresses, as many from each as the server lets one address have,
// kept alive with an empty line now and then; each one the server closes is opened again.
class KeepAlive : public PeerThread
{
public:
    // Sources 127.0.0.`firstHost` onwards, one per address.
    KeepAlive(quint16 port, int addresses, int perAddress, int everyMs, int firstHost = 10)
        : m_port(port), m_addresses(addresses), m_perAddress(perAddress), m_everyMs(everyMs), m_firstHost(firstHost)
    {
    }
    ~KeepAlive() { stop(); }

    std::atomic<int> connects{0};
    std::atomic<int> open{0};

private:
    void run() override
    {
        std::vector<QByteArray> sources;
        for (int a = 0; a < m_addresses; ++a)
            sources.push_back("127.0.0." + QByteArray::number(m_firstHost + a));
        std::vector<int> fds(size_t(m_addresses * m_perAddress), -1);
        while (!m_stop) {
            int alive = 0;
            for (size_t i = 0; i < fds.size(); ++i) {
                int &fd = fds[i];
                if (fd >= 0) {
                    ::send(fd, "\r\n", 2, MSG_NOSIGNAL | MSG_DONTWAIT);
                    char sink[256];
                    ssize_t r;
                    while ((r = ::recv(fd, sink, sizeof sink, MSG_DONTWAIT)) > 0) {
                    }
                    if (r == 0 || (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) {
                        ::close(fd);
                        fd = -1;
                    }
                }
                if (fd < 0) {
                    fd = connectFrom(sources[i / size_t(m_perAddress)].constData(), m_port, false);
                    // A few at a time: the server's listening backlog is short, and a connect
                    // it has no room for would only be tried again a second later.
                    if (++connects % 4 == 0)
                        std::this_thread::sleep_for(std::chrono::milliseconds(5));
                }
                alive += fd >= 0;
            }
            open = alive;
            std::this_thread::sleep_for(std::chrono::milliseconds(m_everyMs));
        }
        for (int fd : fds)
            if (fd >= 0)
                ::close(fd);
    }

    quint16 m_port;
    int m_addresses;
    int m_perAddress;
    int m_everyMs;
    int m_firstHost;
};

} // namespace Hostile
