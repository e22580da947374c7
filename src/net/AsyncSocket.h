#pragma once
// The program's event-driven TCP socket. Every operation returns at once (except host-name
// resolution inside Connect and Listen); completions and incoming data are reported later as
// events, fired from the GUI thread's event loop. Non-blocking POSIX sockets underneath,
// readiness from QSocketNotifier, and the socket's own event queue is Qt's posted-event queue
// of this object.
//
// Events are std::function members, empty by default. Each receives the socket as sender;
// an `error` argument is a Windows Sockets error number (0 = success, see SocketError.h).
// A handler may pump the event loop (further socket events are dispatched from inside that
// pumping; only the input of the connection whose data is being delivered waits until its
// handler has returned), may Close or Abort its own socket, and may throw: the exception ends
// the handling of that notification and goes to OnBgException (then the socket is aborted
// unless the handler cleared CanClose). A handler must not delete its own socket; use
// CloseLater, or for server clients let the server destroy them.
//
// Bytes are single-byte text (Windows-1252) throughout: QByteArray in and out.
#include "net/LineBuffer.h"
#include "net/SocketError.h"
#include "net/TlsSession.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <deque>
#include <exception>
#include <functional>
#include <memory>

class QSocketNotifier;
struct DnsJob;

enum TSocketState {
    ssInvalidState,
    ssOpened,
    ssBound,
    ssConnecting,
    ssConnected,
    ssAccepting,
    ssListening,
    ssClosed,
};

enum TSocketLingerOnOff { ssLingerOff, ssLingerOn, ssLingerNoSet };

class TAsyncSocket : public QObject
{
    Q_OBJECT
public:
    using Event = std::function<void(TAsyncSocket *sender, int error)>;

    explicit TAsyncSocket(QObject *owner = nullptr);
    ~TAsyncSocket() override;

    // ---- Events -------------------------------------------------------------------------
    // A connect attempt ended. On error the socket then closes itself (without
    // OnSessionClosed: there was no session).
    Event OnSessionConnected;
    // A listening socket has a connection waiting. A handler takes it with Accept(); one that
    // is not taken is refused, so a listener never spins. TSocketServer handles this itself.
    Event OnSessionAvailable;
    // Bytes are available (read them with Receive/ReceiveText). In line mode: once per
    // complete line, and once for an unterminated remainder when the peer closes; what a
    // handler leaves of a line is offered again, unless it read nothing of it (then the rest
    // is dropped rather than offered forever). Without a handler incoming bytes are dropped.
    // Out of line mode, unread bytes wait; past kMaxUnfinishedInput of them the socket stops
    // reading until Receive makes room.
    Event OnDataAvailable;
    // The send queue has become empty after a Send; always later than the Send call itself.
    Event OnDataSent;
    // The connection ended (peer close, Close, Abort, fatal send error); once per connection,
    // after every pending byte has been offered through OnDataAvailable.
    Event OnSessionClosed;
    // A DnsLookup ended (10004 when cancelled).
    Event OnDnsLookupDone;
    std::function<void(TAsyncSocket *sender, TSocketState oldState, TSocketState newState)> OnChangeState;
    // Line mode: the unfinished line holds more than LineLimit bytes. With ClearData left true
    // the unfinished bytes are dropped.
    std::function<void(TAsyncSocket *sender, qsizetype count, bool &ClearData)> OnLineLimitExceeded;
    // An exception escaped a handler or the socket's own event processing. With CanClose left
    // true the socket is aborted afterwards. Exceptions thrown here are swallowed.
    std::function<void(TAsyncSocket *sender, const std::exception &e, bool &CanClose)> OnBgException;
    // When assigned, platform failures are passed here instead of being raised.
    std::function<void(TAsyncSocket *sender, const ESocketError &e)> OnError;
    // The TLS handshake begun by StartTls ended: 0, or SocketErrors::TlsFailed /
    // TlsCertificateRejected (TlsErrorText says why). After a failure the connection is
    // aborted and OnSessionClosed follows with the same code.
    Event OnTlsDone;

    // ---- Properties ---------------------------------------------------------------------
    TSocketState State() const { return m_state; }

    // Proto ("tcp"), Addr (trimmed) and Port (number or service name) may change only while
    // ssClosed; otherwise "Cannot change ... if not closed" is raised.
    QString Proto() const { return m_proto; }
    void setProto(const QString &proto);
    QString Addr() const { return m_addr; }
    void setAddr(const QString &addr);
    QString Port() const { return m_port; }
    void setPort(const QString &port);

    QString LocalAddr() const { return m_localAddr; }
    void setLocalAddr(const QString &addr) { m_localAddr = addr.trimmed(); }
    QString LocalPort() const { return m_localPort; }
    void setLocalPort(const QString &port) { m_localPort = port.trimmed(); }

    // The other end, in dotted form (an IPv4-mapped IPv6 peer is shown as its IPv4 address).
    QString PeerAddr() const;
    QString PeerPort() const;

    bool ReuseAddr() const { return m_reuseAddr; }
    void setReuseAddr(bool on) { m_reuseAddr = on; }
    TSocketLingerOnOff LingerOnOff() const { return m_lingerOnOff; }
    void setLingerOnOff(TSocketLingerOnOff value) { m_lingerOnOff = value; }
    int LingerTimeout() const { return m_lingerTimeout; }
    void setLingerTimeout(int seconds) { m_lingerTimeout = seconds; }

    // Line mode: deliver incoming data line by line. Switching it while bytes are buffered
    // hands them over through the socket's event queue.
    bool LineMode() const { return m_lineMode; }
    void setLineMode(bool on);
    QByteArray LineEnd() const { return m_lines.lineEnd(); }
    void setLineEnd(const QByteArray &lineEnd) { m_lines.setLineEnd(lineEnd); }
    // Largest unfinished line kept, in bytes; 0 = no limit of its own. Whatever the limit, a
    // connection never holds more than kMaxUnfinishedInput unfinished bytes: past that it is
    // aborted and OnBgException says why.
    qsizetype LineLimit() const { return m_lineLimit; }
    void setLineLimit(qsizetype limit) { m_lineLimit = limit < 0 ? 0 : limit; }
    bool LineEdit() const { return m_lines.lineEdit(); }
    void setLineEdit(bool on) { m_lines.setLineEdit(on); }
    bool LineEcho() const { return m_lineEcho; }
    void setLineEcho(bool on) { m_lineEcho = on; }

    QString DnsResult() const { return m_dnsResult; }
    QStringList DnsResultList() const { return m_dnsResultList; }

    static constexpr qsizetype kMaxUnfinishedInput = 4 * 1024 * 1024;

    // ---- Operations ---------------------------------------------------------------------
    // Resolves Addr/Port (a host name synchronously), then starts a non-blocking connect:
    // ssConnecting, completion through OnSessionConnected.
    void Connect();
    // Binds to Addr:Port ("0.0.0.0" all IPv4 interfaces, "::" dual-stack) and listens.
    void Listen();
    // Queues the bytes and sends what the platform takes at once; returns the count taken.
    // Raises 10057 in "Send" unless ssConnected.
    qsizetype Send(const char *data, qsizetype len);
    qsizetype Send(const QByteArray &bytes) { return Send(bytes.constData(), bytes.size()); }
    // Send of the bytes of a text; nothing for an empty text. No terminator is added.
    qsizetype SendText(const QByteArray &text);
    // Bytes queued and not yet taken by the platform.
    qsizetype BufferedCount() const { return m_sendQueuedBytes; }

    // Copies up to maxLen received bytes; in line mode from the line currently offered.
    qsizetype Receive(char *buffer, qsizetype maxLen);
    // All bytes available; in line mode the line offered, with its LineEnd.
    QByteArray ReceiveText();
    // Bytes that Receive would return now.
    qsizetype RcvdCount() const;

    // Shuts down the sending direction, releases the socket, ssClosed, OnSessionClosed once.
    // Closing a closed socket does nothing.
    void Close();
    // Close after the current handler has returned (from the socket's event queue).
    void CloseLater();
    // Drops the send queue and releases the socket without a graceful shutdown.
    void Abort();

    // A dotted address answers at once (OnDnsLookupDone(0) before returning); a name is
    // resolved in the background.
    void DnsLookup(const QString &host);
    void CancelLookup();
    bool LookupInProgress() const { return m_dnsJob != nullptr; }
    static QString GetLocalHostName();

    // The address and port this connected or listening socket is bound to; "error" in any
    // other state or when the query fails.
    QString BoundAddr() const;
    QString BoundPort() const;

    // Listening socket, inside OnSessionAvailable: takes the waiting connection and returns
    // its descriptor (-1 when none is waiting). Hand it to another socket's Dup().
    int Accept();
    // Adopts an accepted connection: applies the linger option, starts watching it and
    // becomes ssConnected; records PeerAddr/PeerPort.
    void Dup(int fd);

    int Handle() const { return m_fd; }

    // ---- TLS ----------------------------------------------------------------------------
    // Starts TLS as the client on this connected socket. From here on every byte of the
    // connection goes through it: Send encrypts (bytes sent before the handshake ends wait
    // for it), OnDataAvailable offers decrypted bytes, Close sends close-notify first. Bytes
    // received before the call and not read yet are dropped: they came unprotected and must
    // not be taken as coming from the verified peer. The end of the handshake comes as
    // OnTlsDone; a later TLS failure (a forged or garbled record) closes the connection with
    // OnSessionClosed(TlsFailed). Raises 10057 in "StartTls" unless ssConnected, and refuses a
    // second start on the same connection.
    void StartTls(const TlsOptions &options);
    // StartTls was called on the current (or, once closed, the last) connection.
    bool TlsActive() const { return m_tls != nullptr; }
    bool TlsEstablished() const;
    // Why TLS failed on the last connection that used it; empty when it did not.
    QString TlsErrorText() const { return m_tlsError; }
    bool TlsCertificateFailed() const { return m_tlsCertificateFailed; }
    // The protocol version and cipher of the running session.
    QString TlsDescription() const;

protected:
    bool event(QEvent *e) override;
    // Called once the socket was released (state ssClosed) and OnSessionClosed fired.
    virtual void sessionEnded() {}
    // Incoming connection on a listening socket (OnSessionAvailable by default).
    virtual void sessionAvailable(int error);

    void setState(TSocketState state);
    // Platform failure: for 10054/10057 the socket is released first; then OnError or raise.
    void socketError(int code, const QString &function);
    // Runs the socket's own processing for one notification; an exception escaping it goes
    // to OnBgException.
    template <class F> void guarded(F &&work)
    {
        const std::shared_ptr<bool> alive = m_aliveFlag;
        try {
            work();
        } catch (const std::exception &e) {
            if (*alive)
                backgroundException(e);
        } catch (...) {
            if (*alive)
                backgroundException(ESocketError(QStringLiteral("Unknown exception in socket handler")));
        }
    }
    void backgroundException(const std::exception &e);

    // Calls a handler (a copy of it, so a handler may reassign itself). Returns false when the
    // handler destroyed this socket; the caller must then touch nothing of it.
    template <class Fn, class... Args> bool fire(const Fn &handler, Args &&...args)
    {
        if (!handler)
            return true;
        const Fn call = handler;
        const std::shared_ptr<bool> alive = m_aliveFlag;
        ++m_handlerDepth;
        struct Leave {
            TAsyncSocket *socket;
            const std::shared_ptr<bool> &alive;
            ~Leave()
            {
                if (*alive)
                    socket->leaveHandler();
            }
        } leave{this, alive};
        call(std::forward<Args>(args)...);
        return *alive;
    }
    int handlerDepth() const { return m_handlerDepth; }
    // Destroys this object as soon as none of its handlers is running.
    void destroyWhenIdle();

    // The other end, recorded when the connection is made and kept after it ends.
    QString m_peerAddr;
    QString m_peerPort;

private:
    void leaveHandler();

    void onReadable();
    void onWritable();
    void finishConnect(int error);
    void readIncoming();
    void acceptIncoming(const char *data, qsizetype n);
    void queueBytes(const char *data, qsizetype len);
    void tlsIncoming(const char *data, qsizetype n);
    bool tlsSendOutgoing();
    void tlsFail(const QString &reason);
    void deliverRaw();
    void deliverLines();
    void endDelivery(quint64 session, bool reading);
    bool offerLine(quint64 session);
    void checkUnfinished(quint64 session);
    void deliverRemainderAndClose(int error);
    void flushSendQueue(bool fromNotifier);
    void post(int kind);
    void release(bool graceful, bool fireClosed, int closedError);
    void watch(bool read, bool write);
    void setReading(bool on);
    void applyLinger();
    void adopt(int fd, TSocketState state);
    void detachLookup();

    int m_fd = -1;
    TSocketState m_state = ssClosed;
    quint64 m_session = 0;       // bumps with each new socket, so stale posted notices are ignored
    bool m_closedFired = true;   // OnSessionClosed already fired for the current session
    bool m_destroying = false;
    int m_handlerDepth = 0;
    std::shared_ptr<bool> m_aliveFlag;

    QString m_proto = QStringLiteral("tcp");
    QString m_addr;
    QString m_port;
    QString m_localAddr = QStringLiteral("0.0.0.0");
    QString m_localPort = QStringLiteral("0");
    bool m_reuseAddr = false;
    TSocketLingerOnOff m_lingerOnOff = ssLingerOn;
    int m_lingerTimeout = 0;

    bool m_lineMode = false;
    bool m_lineEcho = false;
    qsizetype m_lineLimit = 65536;
    LineBuffer m_lines;
    QByteArray m_offered;        // line mode: the line offered to the reader
    qsizetype m_offeredPos = 0;
    QByteArray m_raw;            // raw mode: received, not yet read
    qsizetype m_rawPos = 0;
    bool m_delivering = false;
    bool m_redeliver = false;    // a handover arrived while a delivery was running
    bool m_rawFull = false;      // raw mode: reading paused until the reader catches up
    bool m_acceptedInEvent = false;
    bool m_destroyWhenIdle = false;

    std::unique_ptr<TlsSession> m_tls;
    QByteArray m_tlsWaiting;     // sent before the handshake ended
    QString m_tlsError;
    bool m_tlsCertificateFailed = false;
    bool m_sendAnnounce = false; // the queue holds bytes of a Send (not just TLS's own records)

    std::deque<QByteArray> m_sendQueue;  // fixed-capacity blocks, oldest first
    qsizetype m_sendHeadPos = 0;
    qsizetype m_sendQueuedBytes = 0;

    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;

    QString m_dnsResult;
    QStringList m_dnsResultList;
    std::shared_ptr<DnsJob> m_dnsJob;
};
