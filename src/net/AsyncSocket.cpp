#include "net/AsyncSocket.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

// A background name lookup. The worker posts its answer to `target` unless the socket has
// given the lookup up (cancelled, replaced or destroyed) in the meantime.
struct DnsJob
{
    std::mutex mutex;
    TAsyncSocket *target = nullptr;
};

namespace {

constexpr qsizetype kSendBlockSize = 64 * 1024;
// One read per readiness notice: every connection that is ready gets its turn in each pass of
// the event loop, and one pass over many busy connections stays short.
constexpr qsizetype kReadChunk = 16 * 1024;
constexpr int kListenBacklog = 5;
// How long a listener that ran out of descriptors waits before it accepts again.
constexpr int kAcceptPauseMs = 100;

const QEvent::Type kNoticeType = static_cast<QEvent::Type>(QEvent::registerEventType());

enum NoticeKind { NoticeDataSent, NoticeCloseLater, NoticeDeliver, NoticeConnectFailed, NoticeDnsDone, NoticeTlsFailed };

// An entry of the socket's own event queue, valid only for the session it was posted in.
class SocketNotice : public QEvent
{
public:
    SocketNotice(int kind, quint64 session) : QEvent(kNoticeType), kind(kind), session(session) {}
    int kind;
    quint64 session;
    int error = 0;
    std::shared_ptr<DnsJob> job;
    QStringList addresses;
};

int lastError()
{
    return SocketErrors::fromErrno(errno);
}

struct Endpoint
{
    sockaddr_storage storage{};
    socklen_t length = 0;
    int family() const { return storage.ss_family; }
    const sockaddr *addr() const { return reinterpret_cast<const sockaddr *>(&storage); }
};

bool parseNumericHost(const QByteArray &host, Endpoint &out)
{
    auto *v4 = reinterpret_cast<sockaddr_in *>(&out.storage);
    if (inet_pton(AF_INET, host.constData(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        out.length = sizeof(sockaddr_in);
        return true;
    }
    auto *v6 = reinterpret_cast<sockaddr_in6 *>(&out.storage);
    if (inet_pton(AF_INET6, host.constData(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        out.length = sizeof(sockaddr_in6);
        return true;
    }
    return false;
}

bool isDottedAddress(const QString &host)
{
    Endpoint ignored;
    return parseNumericHost(host.toLatin1(), ignored);
}

// Every address of a name, IPv4 first: the program and its peers speak IPv4.
int lookupAll(const QByteArray &host, QList<Endpoint> &out)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *list = nullptr;
    const int rc = getaddrinfo(host.constData(), nullptr, &hints, &list);
    if (rc != 0)
        return SocketErrors::fromResolver(rc, errno);
    QList<Endpoint> v6;
    for (addrinfo *ai = list; ai; ai = ai->ai_next) {
        if (ai->ai_family != AF_INET && ai->ai_family != AF_INET6)
            continue;
        Endpoint e;
        std::memcpy(&e.storage, ai->ai_addr, ai->ai_addrlen);
        e.length = ai->ai_addrlen;
        (ai->ai_family == AF_INET ? out : v6).append(e);
    }
    freeaddrinfo(list);
    out.append(v6);
    return out.isEmpty() ? SocketErrors::HostNotFound : 0;
}

void formatEndpoint(const sockaddr_storage &ss, QString &addr, QString &port)
{
    char text[INET6_ADDRSTRLEN] = {};
    if (ss.ss_family == AF_INET) {
        const auto *v4 = reinterpret_cast<const sockaddr_in *>(&ss);
        inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
        port = QString::number(ntohs(v4->sin_port));
    } else if (ss.ss_family == AF_INET6) {
        const auto *v6 = reinterpret_cast<const sockaddr_in6 *>(&ss);
        if (IN6_IS_ADDR_V4MAPPED(&v6->sin6_addr))
            inet_ntop(AF_INET, &v6->sin6_addr.s6_addr[12], text, sizeof text);
        else
            inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
        port = QString::number(ntohs(v6->sin6_port));
    } else {
        port = QStringLiteral("error");
        addr = QStringLiteral("error");
        return;
    }
    addr = QString::fromLatin1(text);
}

QString addressText(const Endpoint &e)
{
    QString addr, port;
    formatEndpoint(e.storage, addr, port);
    return addr;
}

// Resolves host and port for Connect/Listen; failures raise with the operation's prefix.
Endpoint resolve(const QString &prefix, const QString &proto, const QString &host, const QString &port)
{
    const QString p = proto.trimmed().toLower();
    if (p != QLatin1String("tcp") && p != QLatin1String("6"))
        throw ESocketError(prefix + QStringLiteral("ResolveProto: Cannot convert protocol '%1', Error #%2")
                                        .arg(proto)
                                        .arg(10043));
    Endpoint e;
    const QByteArray h = host.toLatin1();
    if (!parseNumericHost(h, e)) {
        QList<Endpoint> all;
        const int code = lookupAll(h, all);
        if (code != 0)
            throw ESocketError(prefix + QStringLiteral("ResolveHost: Cannot convert host address '%1', Error #%2")
                                            .arg(host)
                                            .arg(code));
        e = all.first();
    }
    bool numeric = false;
    const uint number = port.toUInt(&numeric);
    quint16 portNumber = 0;
    if (numeric && number <= 65535) {
        portNumber = quint16(number);
    } else {
        const servent *service = getservbyname(port.toLatin1().constData(), "tcp");
        if (!service)
            throw ESocketError(prefix + QStringLiteral("ResolvePort: Cannot convert port '%1', Error #%2")
                                            .arg(port)
                                            .arg(SocketErrors::InvalidArgument));
        portNumber = ntohs(quint16(service->s_port));
    }
    if (e.family() == AF_INET)
        reinterpret_cast<sockaddr_in *>(&e.storage)->sin_port = htons(portNumber);
    else
        reinterpret_cast<sockaddr_in6 *>(&e.storage)->sin6_port = htons(portNumber);
    return e;
}

void setIntOption(int fd, int level, int name, int value)
{
    ::setsockopt(fd, level, name, &value, sizeof value);
}

} // namespace

TAsyncSocket::TAsyncSocket(QObject *owner)
    : QObject(owner), m_aliveFlag(std::make_shared<bool>(true))
{
}

TAsyncSocket::~TAsyncSocket()
{
    m_destroying = true;
    *m_aliveFlag = false;
    detachLookup();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

// ---- properties -------------------------------------------------------------------------

void TAsyncSocket::setProto(const QString &proto)
{
    if (m_state != ssClosed)
        throw ESocketError(QStringLiteral("Cannot change Proto if not closed"));
    m_proto = proto;
}

void TAsyncSocket::setAddr(const QString &addr)
{
    if (m_state != ssClosed)
        throw ESocketError(QStringLiteral("Cannot change Addr if not closed"));
    m_addr = addr.trimmed();
}

void TAsyncSocket::setPort(const QString &port)
{
    if (m_state != ssClosed)
        throw ESocketError(QStringLiteral("Cannot change Port if not closed"));
    m_port = port.trimmed();
}

QString TAsyncSocket::PeerAddr() const
{
    return m_peerAddr;
}

QString TAsyncSocket::PeerPort() const
{
    return m_peerPort;
}

void TAsyncSocket::setLineMode(bool on)
{
    if (on == m_lineMode)
        return;
    m_lineMode = on;
    bool moved = false;
    if (on) {
        if (m_rawPos < m_raw.size()) {
            m_lines.append(m_raw.constData() + m_rawPos, m_raw.size() - m_rawPos);
            moved = true;
        }
        m_raw.clear();
        m_rawPos = 0;
        if (m_rawFull) {
            m_rawFull = false;
            setReading(!m_delivering);
        }
    } else {
        const QByteArray rest = m_offered.mid(m_offeredPos) + m_lines.takeAll();
        m_offered.clear();
        m_offeredPos = 0;
        if (!rest.isEmpty()) {
            m_raw = rest;
            m_rawPos = 0;
            moved = true;
        }
    }
    if (moved)
        post(NoticeDeliver);
}

// ---- handler plumbing -------------------------------------------------------------------

void TAsyncSocket::leaveHandler()
{
    if (--m_handlerDepth == 0 && m_destroyWhenIdle)
        deleteLater();
}

void TAsyncSocket::destroyWhenIdle()
{
    if (m_handlerDepth == 0) {
        delete this;
        return;
    }
    m_destroyWhenIdle = true;
}

void TAsyncSocket::backgroundException(const std::exception &e)
{
    bool canClose = true;
    const auto alive = m_aliveFlag;
    try {
        fire(OnBgException, this, e, canClose);
    } catch (...) {
        // A failing exception handler has nothing left to report to.
    }
    if (*alive && canClose) {
        try {
            Abort();
        } catch (...) {
        }
    }
}

void TAsyncSocket::setState(TSocketState state)
{
    if (state == m_state)
        return;
    const TSocketState old = m_state;
    m_state = state;
    fire(OnChangeState, this, old, state);
}

void TAsyncSocket::socketError(int code, const QString &function)
{
    if ((code == SocketErrors::ConnectionReset || code == SocketErrors::NotConnected) && m_fd >= 0) {
        const auto alive = m_aliveFlag;
        release(false, true, code);
        if (!*alive)
            return;
    }
    const ESocketError error(code, function);
    if (OnError) {
        fire(OnError, this, error);
        return;
    }
    throw error;
}

void TAsyncSocket::post(int kind)
{
    QCoreApplication::postEvent(this, new SocketNotice(kind, m_session));
}

bool TAsyncSocket::event(QEvent *e)
{
    if (e->type() != kNoticeType)
        return QObject::event(e);
    auto *notice = static_cast<SocketNotice *>(e);
    if (notice->kind == NoticeDnsDone) {
        if (!m_dnsJob || notice->job != m_dnsJob)
            return true;   // cancelled or replaced in the meantime
        m_dnsJob.reset();
        m_dnsResultList = notice->addresses;
        m_dnsResult = m_dnsResultList.value(0);
        const int error = notice->error;
        guarded([&] { fire(OnDnsLookupDone, this, error); });
        return true;
    }
    if (notice->session != m_session || m_fd < 0)
        return true;   // the connection it was meant for is gone
    switch (notice->kind) {
    case NoticeDataSent:
        if (m_state == ssConnected)
            guarded([&] { fire(OnDataSent, this, 0); });
        break;
    case NoticeCloseLater:
        guarded([&] { Close(); });
        break;
    case NoticeDeliver:
        if (m_state != ssConnected)
            break;
        if (m_delivering)
            m_redeliver = true;   // a handler up the stack is pumping events: hand over after it
        else
            guarded([&] { m_lineMode ? deliverLines() : deliverRaw(); });
        break;
    case NoticeTlsFailed:
        if (m_state == ssConnected && m_tls)
            guarded([&] { tlsFail(m_tls->errorText()); });
        break;
    case NoticeConnectFailed:
        if (m_state == ssConnecting) {
            const int error = notice->error;
            guarded([&] { finishConnect(error); });
        }
        break;
    }
    return true;
}

// ---- descriptor life --------------------------------------------------------------------

void TAsyncSocket::watch(bool read, bool write)
{
    if (m_fd < 0)
        return;
    if (!m_readNotifier) {
        m_readNotifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_readNotifier, &QSocketNotifier::activated, this, &TAsyncSocket::onReadable);
        m_writeNotifier = new QSocketNotifier(m_fd, QSocketNotifier::Write, this);
        connect(m_writeNotifier, &QSocketNotifier::activated, this, &TAsyncSocket::onWritable);
    }
    m_readNotifier->setEnabled(read);
    m_writeNotifier->setEnabled(write);
}

void TAsyncSocket::setReading(bool on)
{
    if (m_readNotifier && m_fd >= 0)
        m_readNotifier->setEnabled(on);
}

void TAsyncSocket::applyLinger()
{
    if (m_lingerOnOff == ssLingerNoSet || m_fd < 0)
        return;
    linger l{};
    l.l_onoff = m_lingerOnOff == ssLingerOn ? 1 : 0;
    l.l_linger = m_lingerTimeout;
    ::setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
}

void TAsyncSocket::adopt(int fd, TSocketState state)
{
    m_fd = fd;
    ++m_session;
    m_closedFired = false;
    m_delivering = false;
    m_redeliver = false;
    m_rawFull = false;
    m_lines.clear();
    m_offered.clear();
    m_offeredPos = 0;
    m_raw.clear();
    m_rawPos = 0;
    m_sendQueue.clear();
    m_sendHeadPos = 0;
    m_sendQueuedBytes = 0;
    m_sendAnnounce = false;
    m_tls.reset();
    m_tlsWaiting.clear();
    m_tlsError.clear();
    m_tlsCertificateFailed = false;
    setState(state);
}

void TAsyncSocket::release(bool graceful, bool fireClosed, int closedError)
{
    if (m_fd < 0)
        return;
    for (QSocketNotifier *n : {m_readNotifier, m_writeNotifier}) {
        if (n) {
            n->setEnabled(false);
            n->disconnect(this);
            n->deleteLater();
        }
    }
    m_readNotifier = m_writeNotifier = nullptr;
    if (graceful)
        ::shutdown(m_fd, SHUT_WR);
    ::close(m_fd);
    m_fd = -1;
    ++m_session;
    m_sendQueue.clear();
    m_sendHeadPos = 0;
    m_sendQueuedBytes = 0;
    m_sendAnnounce = false;
    m_tlsWaiting.clear();
    m_lines.clear();
    m_offered.clear();
    m_offeredPos = 0;
    m_raw.clear();
    m_rawPos = 0;
    m_rawFull = false;

    const bool announce = fireClosed && !m_closedFired;
    m_closedFired = true;
    setState(ssClosed);
    if (!*m_aliveFlag)
        return;
    if (announce && !fire(OnSessionClosed, this, closedError))
        return;
    sessionEnded();
}

// ---- operations -------------------------------------------------------------------------

void TAsyncSocket::Connect()
{
    if (m_fd >= 0 || m_state != ssClosed)
        throw ESocketError(QStringLiteral("Connect: Socket already in use"));
    if (m_port.isEmpty())
        throw ESocketError(QStringLiteral("Connect: No Port Specified"));
    if (m_addr.isEmpty())
        throw ESocketError(QStringLiteral("Connect: No IP Address Specified"));
    if (m_proto.isEmpty())
        throw ESocketError(QStringLiteral("Connect: No Protocol Specified"));
    const Endpoint remote = resolve(QStringLiteral("connect: "), m_proto, m_addr, m_port);
    const QString localAddr = m_localAddr.isEmpty() ? QStringLiteral("0.0.0.0") : m_localAddr;
    const QString localPort = m_localPort.isEmpty() ? QStringLiteral("0") : m_localPort;
    const bool bindLocal = localPort != QLatin1String("0") || localAddr != QLatin1String("0.0.0.0");
    Endpoint local;
    if (bindLocal)
        local = resolve(QStringLiteral("connect: "), m_proto, localAddr, localPort);

    const int fd = ::socket(remote.family(), SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        socketError(lastError(), QStringLiteral("socket"));
        return;
    }
    m_peerAddr.clear();
    m_peerPort.clear();
    adopt(fd, ssOpened);
    if (m_reuseAddr)
        setIntOption(fd, SOL_SOCKET, SO_REUSEADDR, 1);
    applyLinger();
    setIntOption(fd, SOL_SOCKET, SO_KEEPALIVE, 1);
    if (bindLocal && ::bind(fd, local.addr(), local.length) != 0) {
        const int code = lastError();
        release(false, false, 0);
        socketError(code, QStringLiteral("bind"));
        return;
    }
    setState(ssConnecting);
    if (m_fd != fd)
        return;
    watch(true, true);
    if (::connect(fd, remote.addr(), remote.length) != 0 && errno != EINPROGRESS) {
        // Even an immediate refusal is reported the way every connect ends: as an event.
        const int code = lastError();
        watch(false, false);
        auto *notice = new SocketNotice(NoticeConnectFailed, m_session);
        notice->error = code;
        QCoreApplication::postEvent(this, notice);
    }
}

void TAsyncSocket::Listen()
{
    if (m_fd >= 0 || m_state != ssClosed)
        throw ESocketError(QStringLiteral("listen: Socket already in use"));
    if (m_port.isEmpty())
        throw ESocketError(QStringLiteral("listen: port not assigned"));
    if (m_proto.isEmpty())
        throw ESocketError(QStringLiteral("listen: protocol not assigned"));
    if (m_addr.isEmpty())
        throw ESocketError(QStringLiteral("listen: address not assigned"));
    const Endpoint local = resolve(QStringLiteral("listen: "), m_proto, m_addr, m_port);

    const int fd = ::socket(local.family(), SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        socketError(lastError(), QStringLiteral("socket"));
        return;
    }
    adopt(fd, ssOpened);
    // Restarting the server must not wait for old connections to leave TIME_WAIT; on this
    // platform the option never lets two listeners share a port.
    setIntOption(fd, SOL_SOCKET, SO_REUSEADDR, 1);
    if (local.family() == AF_INET6)
        setIntOption(fd, IPPROTO_IPV6, IPV6_V6ONLY, 0);
    if (::bind(fd, local.addr(), local.length) != 0) {
        const int code = lastError();
        release(false, false, 0);
        socketError(code, QStringLiteral("Bind"));
        return;
    }
    setState(ssBound);
    if (::listen(fd, kListenBacklog) != 0) {
        const int code = lastError();
        release(false, false, 0);
        socketError(code, QStringLiteral("Listen"));
        return;
    }
    setState(ssListening);
    watch(true, false);
}

int TAsyncSocket::Accept()
{
    if (m_fd < 0 || m_state != ssListening)
        return -1;
    sockaddr_storage ss{};
    socklen_t len = sizeof ss;
    for (;;) {
        const int fd = ::accept4(m_fd, reinterpret_cast<sockaddr *>(&ss), &len, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0) {
            m_acceptedInEvent = true;
            return fd;
        }
        const int err = errno;
        if (err == EINTR)
            continue;
        if (err == EAGAIN || err == ECONNABORTED || err == EPROTO)
            return -1;
        if (err == EMFILE || err == ENFILE || err == ENOBUFS || err == ENOMEM) {
            // The waiting connection stays waiting: pause, or the listener would spin.
            setReading(false);
            const quint64 session = m_session;
            QTimer::singleShot(kAcceptPauseMs, this, [this, session] {
                if (session == m_session && m_state == ssListening)
                    setReading(true);
            });
        }
        socketError(SocketErrors::fromErrno(err), QStringLiteral("Accept"));
        return -1;
    }
}

void TAsyncSocket::Dup(int fd)
{
    if (m_fd >= 0)
        throw ESocketError(QStringLiteral("Connect: Socket already in use"));
    sockaddr_storage ss{};
    socklen_t len = sizeof ss;
    if (::getpeername(fd, reinterpret_cast<sockaddr *>(&ss), &len) == 0)
        formatEndpoint(ss, m_peerAddr, m_peerPort);
    adopt(fd, ssOpened);
    applyLinger();
    watch(true, false);
    setState(ssConnected);
}

qsizetype TAsyncSocket::Send(const char *data, qsizetype len)
{
    if (m_state != ssConnected || m_fd < 0) {
        socketError(SocketErrors::NotConnected, QStringLiteral("Send"));
        return -1;
    }
    if (len <= 0)
        return 0;
    if (m_tls) {
        if (!m_tls->established()) {
            m_tlsWaiting.append(data, len);
            return len;
        }
        if (!m_tls->write(data, len)) {
            post(NoticeTlsFailed);
            return -1;
        }
        const QByteArray records = m_tls->takeOutgoing();
        m_sendAnnounce = true;
        queueBytes(records.constData(), records.size());
    } else {
        m_sendAnnounce = true;
        queueBytes(data, len);
    }
    const auto alive = m_aliveFlag;
    const quint64 session = m_session;
    flushSendQueue(false);
    if (!*alive || session != m_session)
        return -1;
    return len;
}

void TAsyncSocket::queueBytes(const char *data, qsizetype len)
{
    qsizetype left = len;
    while (left > 0) {
        if (m_sendQueue.empty() || m_sendQueue.back().size() >= kSendBlockSize) {
            m_sendQueue.emplace_back();
            m_sendQueue.back().reserve(kSendBlockSize);
        }
        QByteArray &block = m_sendQueue.back();
        const qsizetype take = std::min(left, kSendBlockSize - block.size());
        block.append(data + (len - left), take);
        left -= take;
    }
    m_sendQueuedBytes += len;
}

qsizetype TAsyncSocket::SendText(const QByteArray &text)
{
    if (text.isEmpty())
        return 0;
    return Send(text);
}

void TAsyncSocket::flushSendQueue(bool fromNotifier)
{
    while (!m_sendQueue.empty()) {
        const QByteArray &block = m_sendQueue.front();
        const ssize_t n = ::send(m_fd, block.constData() + m_sendHeadPos, size_t(block.size() - m_sendHeadPos),
                                 MSG_NOSIGNAL);
        if (n >= 0) {
            m_sendHeadPos += n;
            m_sendQueuedBytes -= n;
            if (m_sendHeadPos == block.size()) {
                m_sendQueue.pop_front();
                m_sendHeadPos = 0;
            }
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN)
            break;
        const int code = lastError();
        switch (code) {
        case 10022: case 10038: case 10053: case 10054: case 10057:
            release(false, true, code);
            return;
        default:
            socketError(code, QStringLiteral("TryToSend failed"));
            return;
        }
    }
    if (!m_sendQueue.empty()) {
        if (m_writeNotifier)
            m_writeNotifier->setEnabled(true);
        return;
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(false);
    if (!m_sendAnnounce)
        return;   // only TLS's own records went out
    m_sendAnnounce = false;
    if (fromNotifier)
        fire(OnDataSent, this, 0);
    else
        post(NoticeDataSent);
}

qsizetype TAsyncSocket::Receive(char *buffer, qsizetype maxLen)
{
    if (maxLen <= 0)
        return 0;
    qsizetype n = 0;
    if (m_lineMode) {
        n = std::min(maxLen, m_offered.size() - m_offeredPos);
        std::memcpy(buffer, m_offered.constData() + m_offeredPos, size_t(n));
        m_offeredPos += n;
    } else {
        n = std::min(maxLen, m_raw.size() - m_rawPos);
        std::memcpy(buffer, m_raw.constData() + m_rawPos, size_t(n));
        m_rawPos += n;
        if (m_rawPos == m_raw.size()) {
            m_raw.clear();
            m_rawPos = 0;
        } else if (m_rawPos >= 4096 && m_rawPos >= m_raw.size() / 2) {
            m_raw = QByteArray(m_raw.constData() + m_rawPos, m_raw.size() - m_rawPos);
            m_rawPos = 0;
        }
        if (m_rawFull && m_raw.size() - m_rawPos < kMaxUnfinishedInput) {
            m_rawFull = false;
            setReading(!m_delivering);
        }
    }
    return n;
}

QByteArray TAsyncSocket::ReceiveText()
{
    if (m_lineMode && m_offeredPos == 0) {
        // The whole offered line: hand over the bytes themselves rather than a copy.
        QByteArray line;
        line.swap(m_offered);
        return line;
    }
    QByteArray text(RcvdCount(), Qt::Uninitialized);
    text.resize(Receive(text.data(), text.size()));
    return text;
}

qsizetype TAsyncSocket::RcvdCount() const
{
    return m_lineMode ? m_offered.size() - m_offeredPos : m_raw.size() - m_rawPos;
}

void TAsyncSocket::Close()
{
    if (m_fd < 0)
        return;
    if (m_tls && m_tls->established() && m_state == ssConnected && m_sendQueue.empty()) {
        // close-notify tells the peer the end is ours and not a cut; best effort, as the
        // plain close does not wait for the peer either.
        m_tls->shutdown();
        const QByteArray notify = m_tls->takeOutgoing();
        if (!notify.isEmpty())
            ::send(m_fd, notify.constData(), size_t(notify.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
    }
    release(true, true, 0);
}

void TAsyncSocket::CloseLater()
{
    if (m_fd >= 0)
        post(NoticeCloseLater);
}

void TAsyncSocket::Abort()
{
    const auto alive = m_aliveFlag;
    CancelLookup();
    if (!*alive || m_fd < 0)
        return;
    m_sendQueue.clear();
    m_sendHeadPos = 0;
    m_sendQueuedBytes = 0;
    if (m_state == ssConnected) {
        // Linger off: what the platform already holds still leaves, in the background.
        linger l{};
        ::setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    }
    release(false, true, 0);
}

QString TAsyncSocket::BoundAddr() const
{
    if (m_fd < 0 || (m_state != ssConnected && m_state != ssListening))
        return QStringLiteral("error");
    sockaddr_storage ss{};
    socklen_t len = sizeof ss;
    if (::getsockname(m_fd, reinterpret_cast<sockaddr *>(&ss), &len) != 0)
        return QStringLiteral("error");
    QString addr, port;
    formatEndpoint(ss, addr, port);
    return addr;
}

QString TAsyncSocket::BoundPort() const
{
    if (m_fd < 0 || (m_state != ssConnected && m_state != ssListening))
        return QStringLiteral("error");
    sockaddr_storage ss{};
    socklen_t len = sizeof ss;
    if (::getsockname(m_fd, reinterpret_cast<sockaddr *>(&ss), &len) != 0)
        return QStringLiteral("error");
    QString addr, port;
    formatEndpoint(ss, addr, port);
    return port;
}

QString TAsyncSocket::GetLocalHostName()
{
    char name[64] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        throw ESocketError(SocketErrors::fromErrno(errno), QStringLiteral("GetHostName failed"));
    return QString::fromLatin1(name);
}

// ---- name lookup ------------------------------------------------------------------------

void TAsyncSocket::detachLookup()
{
    if (!m_dnsJob)
        return;
    {
        std::lock_guard<std::mutex> lock(m_dnsJob->mutex);
        m_dnsJob->target = nullptr;
    }
    m_dnsJob.reset();
}

void TAsyncSocket::DnsLookup(const QString &host)
{
    detachLookup();
    m_dnsResult.clear();
    m_dnsResultList.clear();
    const QString name = host.trimmed();
    if (name.isEmpty()) {
        if (!fire(OnDnsLookupDone, this, SocketErrors::InvalidArgument))
            return;
        throw ESocketError(QStringLiteral("DNS lookup: invalid host name."));
    }
    if (isDottedAddress(name)) {
        m_dnsResult = name;
        m_dnsResultList = QStringList{name};
        fire(OnDnsLookupDone, this, 0);
        return;
    }
    auto job = std::make_shared<DnsJob>();
    job->target = this;
    const QByteArray latin = name.toLatin1();
    try {
        std::thread([job, latin] {
            QList<Endpoint> found;
            const int code = lookupAll(latin, found);
            QStringList addresses;
            for (const Endpoint &e : found)
                addresses.append(addressText(e));
            std::lock_guard<std::mutex> lock(job->mutex);
            if (!job->target)
                return;
            auto *notice = new SocketNotice(NoticeDnsDone, 0);
            notice->error = code;
            notice->job = job;
            notice->addresses = addresses;
            QCoreApplication::postEvent(job->target, notice);
        }).detach();
    } catch (const std::system_error &e) {
        throw ESocketError(QStringLiteral("%1: can't start DNS lookup, error #%2")
                               .arg(name)
                               .arg(SocketErrors::fromErrno(e.code().value())));
    }
    m_dnsJob = job;
}

void TAsyncSocket::CancelLookup()
{
    if (!m_dnsJob)
        return;
    detachLookup();
    if (!m_destroying)
        fire(OnDnsLookupDone, this, SocketErrors::Interrupted);
}

// ---- notifications ----------------------------------------------------------------------

void TAsyncSocket::sessionAvailable(int error)
{
    m_acceptedInEvent = false;
    const auto alive = m_aliveFlag;
    if (!fire(OnSessionAvailable, this, error))
        return;
    if (!m_acceptedInEvent && m_state == ssListening) {
        // Nobody took it: refuse it rather than be told about it again and again.
        const int fd = Accept();
        if (fd >= 0)
            ::close(fd);
    }
}

void TAsyncSocket::onReadable()
{
    guarded([this] {
        switch (m_state) {
        case ssListening:
            sessionAvailable(0);
            break;
        case ssConnecting:
            finishConnect(0);
            break;
        case ssConnected:
            readIncoming();
            break;
        default:
            break;
        }
    });
}

void TAsyncSocket::onWritable()
{
    guarded([this] {
        if (m_state == ssConnecting)
            finishConnect(0);
        else if (m_state == ssConnected)
            flushSendQueue(true);
        else if (m_writeNotifier)
            m_writeNotifier->setEnabled(false);
    });
}

void TAsyncSocket::finishConnect(int error)
{
    if (error == 0) {
        int soError = 0;
        socklen_t len = sizeof soError;
        if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &soError, &len) != 0)
            soError = errno;
        error = SocketErrors::fromErrno(soError);
    }
    if (error != 0) {
        const quint64 session = m_session;
        if (m_writeNotifier)
            watch(false, false);
        if (!fire(OnSessionConnected, this, error))
            return;
        if (session == m_session)
            release(false, false, 0);
        return;
    }
    sockaddr_storage ss{};
    socklen_t len = sizeof ss;
    if (::getpeername(m_fd, reinterpret_cast<sockaddr *>(&ss), &len) == 0)
        formatEndpoint(ss, m_peerAddr, m_peerPort);
    watch(true, !m_sendQueue.empty());
    setState(ssConnected);
    if (m_state == ssConnected)
        fire(OnSessionConnected, this, 0);
}

void TAsyncSocket::readIncoming()
{
    char chunk[kReadChunk];
    const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, 0);
    if (n < 0) {
        if (errno == EAGAIN || errno == EINTR)
            return;
        const int code = lastError();
        if (m_tls && !m_tls->established()) {
            tlsFail(QStringLiteral("the connection ended during the TLS handshake (%1)").arg(SocketErrors::text(code)));
            return;
        }
        deliverRemainderAndClose(code);
        return;
    }
    if (n == 0) {
        if (m_tls && !m_tls->established()) {
            tlsFail(QStringLiteral("the server closed the connection during the TLS handshake"));
            return;
        }
        deliverRemainderAndClose(0);
        return;
    }
    if (m_tls) {
        tlsIncoming(chunk, n);
        return;
    }
    acceptIncoming(chunk, n);
}

void TAsyncSocket::acceptIncoming(const char *chunk, qsizetype n)
{
    if (m_lineEcho) {
        const auto alive = m_aliveFlag;
        Send(chunk, n);
        if (!*alive || m_state != ssConnected)
            return;
    }
    if (m_lineMode) {
        m_lines.append(chunk, n);
        deliverLines();
    } else {
        m_raw.append(chunk, n);
        deliverRaw();
    }
}

namespace {
// Marks the socket busy delivering for the lifetime of one delivery, with reading paused so a
// handler that pumps the event loop is not handed the same connection's data re-entrantly.
struct DeliveryScope
{
    std::shared_ptr<bool> alive;
    bool &flag;
    std::function<void()> resume;
    ~DeliveryScope()
    {
        if (*alive) {
            flag = false;
            resume();
        }
    }
};
} // namespace

void TAsyncSocket::endDelivery(quint64 session, bool reading)
{
    if (session != m_session)
        return;
    setReading(reading);
    if (m_redeliver) {
        m_redeliver = false;
        post(NoticeDeliver);
    }
}

void TAsyncSocket::deliverRaw()
{
    if (m_delivering)
        return;   // the delivery running further up the stack picks the bytes up
    if (!OnDataAvailable) {
        m_raw.clear();
        m_rawPos = 0;
        return;
    }
    const quint64 session = m_session;
    m_delivering = true;
    setReading(false);
    DeliveryScope scope{m_aliveFlag, m_delivering, [this, session] { endDelivery(session, !m_rawFull); }};
    if (!fire(OnDataAvailable, this, 0) || session != m_session)
        return;
    if (m_raw.size() - m_rawPos >= kMaxUnfinishedInput)
        m_rawFull = true;   // the reader is not keeping up: let the peer wait
}

bool TAsyncSocket::offerLine(quint64 session)
{
    // The handler normally reads the whole line; what it leaves is offered again, as long as
    // it keeps reading some of it.
    qsizetype left = m_offered.size() - m_offeredPos;
    while (left > 0) {
        if (!fire(OnDataAvailable, this, 0))
            return false;
        if (session != m_session || !m_lineMode)
            break;
        const qsizetype now = m_offered.size() - m_offeredPos;
        if (now == left)
            break;
        left = now;
    }
    if (session == m_session) {
        m_offered.clear();
        m_offeredPos = 0;
    }
    return true;
}

void TAsyncSocket::deliverLines()
{
    if (m_delivering)
        return;
    const quint64 session = m_session;
    m_delivering = true;
    setReading(false);
    DeliveryScope scope{m_aliveFlag, m_delivering, [this, session] { endDelivery(session, true); }};
    QByteArray line;
    while (session == m_session && m_lineMode && m_lines.takeLine(line)) {
        if (!OnDataAvailable)
            continue;   // nobody reads lines: dropped
        m_offered = line;
        m_offeredPos = 0;
        if (!offerLine(session))
            return;
    }
    if (session == m_session && m_lineMode)
        checkUnfinished(session);
}

void TAsyncSocket::checkUnfinished(quint64 session)
{
    const qsizetype left = m_lines.size();
    if (m_lineLimit > 0 && left > m_lineLimit) {
        bool clearData = true;
        if (!fire(OnLineLimitExceeded, this, left, clearData) || session != m_session)
            return;
        if (clearData)
            m_lines.clear();
    }
    if (m_lines.size() > kMaxUnfinishedInput) {
        // Whatever the line limit says, one connection cannot hold the memory hostage.
        m_lines.clear();
        const auto alive = m_aliveFlag;
        backgroundException(ESocketError(
            QStringLiteral("Line too long: more than %1 bytes without a line end. Closing.").arg(kMaxUnfinishedInput)));
        if (*alive && session == m_session)
            Abort();
    }
}

void TAsyncSocket::deliverRemainderAndClose(int error)
{
    const quint64 session = m_session;
    if (m_lineMode) {
        const QByteArray rest = m_lines.takeAll();
        if (!rest.isEmpty() && OnDataAvailable) {
            m_offered = rest;
            m_offeredPos = 0;
            if (!offerLine(session))
                return;
        }
    } else if (m_raw.size() > m_rawPos && OnDataAvailable && !m_delivering) {
        // Bytes announced earlier but not read yet: one last chance before the close.
        if (!fire(OnDataAvailable, this, 0))
            return;
    }
    if (session == m_session)
        release(false, true, error);
}

// ---- TLS --------------------------------------------------------------------------------

void TAsyncSocket::StartTls(const TlsOptions &options)
{
    if (m_state != ssConnected || m_fd < 0) {
        socketError(SocketErrors::NotConnected, QStringLiteral("StartTls"));
        return;
    }
    if (m_tls)
        throw ESocketError(QStringLiteral("StartTls: TLS already started on this connection"));
    // Whatever arrived before this point came in the clear.
    m_lines.clear();
    m_offered.clear();
    m_offeredPos = 0;
    m_raw.clear();
    m_rawPos = 0;
    if (m_rawFull) {
        m_rawFull = false;
        setReading(!m_delivering);
    }
    m_tlsError.clear();
    m_tlsCertificateFailed = false;
    m_tls = std::make_unique<TlsSession>(options);
    if (m_tls->start() == TlsSession::Failed) {
        post(NoticeTlsFailed);   // reported the way every other end of the handshake is: as an event
        return;
    }
    tlsSendOutgoing();
}

bool TAsyncSocket::TlsEstablished() const
{
    return m_tls && m_tls->established() && m_state == ssConnected;
}

QString TAsyncSocket::TlsDescription() const
{
    return TlsEstablished() ? m_tls->description() : QString();
}

bool TAsyncSocket::tlsSendOutgoing()
{
    const QByteArray records = m_tls->takeOutgoing();
    if (records.isEmpty())
        return true;
    const auto alive = m_aliveFlag;
    const quint64 session = m_session;
    queueBytes(records.constData(), records.size());
    flushSendQueue(false);
    return *alive && session == m_session;
}

void TAsyncSocket::tlsFail(const QString &reason)
{
    if (m_tlsError.isEmpty())
        m_tlsError = reason.isEmpty() ? QStringLiteral("TLS failure") : reason;
    m_tlsCertificateFailed = m_tls && m_tls->certificateFailed();
    const int code = m_tlsCertificateFailed ? SocketErrors::TlsCertificateRejected : SocketErrors::TlsFailed;
    const quint64 session = m_session;
    if (m_tls && !m_tls->established()) {
        if (!fire(OnTlsDone, this, code) || session != m_session)
            return;
    }
    if (m_fd < 0)
        return;
    m_sendQueue.clear();
    m_sendHeadPos = 0;
    m_sendQueuedBytes = 0;
    release(false, true, code);
}

void TAsyncSocket::tlsIncoming(const char *data, qsizetype n)
{
    const auto alive = m_aliveFlag;
    const quint64 session = m_session;
    m_tls->feed(data, n);
    if (!m_tls->established()) {
        const TlsSession::Status status = m_tls->handshake();
        // The alert of a failed handshake goes out too, so the server knows why.
        if (!tlsSendOutgoing())
            return;
        if (status == TlsSession::Failed) {
            tlsFail(m_tls->errorText());
            return;
        }
        if (status != TlsSession::Done)
            return;
        if (!m_tlsWaiting.isEmpty()) {
            const QByteArray waiting = std::exchange(m_tlsWaiting, QByteArray());
            Send(waiting);
            if (!*alive || session != m_session)
                return;
        }
        if (!fire(OnTlsDone, this, 0) || session != m_session)
            return;
    }
    QByteArray plain;
    const TlsSession::Status status = m_tls->read(plain);
    if (!tlsSendOutgoing())
        return;
    if (!plain.isEmpty()) {
        acceptIncoming(plain.constData(), plain.size());
        if (!*alive || session != m_session)
            return;
    }
    if (status == TlsSession::Closed) {
        deliverRemainderAndClose(0);
    } else if (status == TlsSession::Failed) {
        m_tlsError = m_tls->errorText();
        deliverRemainderAndClose(SocketErrors::TlsFailed);
    }
}
