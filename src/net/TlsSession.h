#pragma once
// The client side of one TLS connection, kept entirely in memory: the socket hands it the
// bytes that arrived (feed) and sends what it produces (takeOutgoing), so the socket stays
// non-blocking and driven by its own readiness notices. The peer's certificate is checked
// against the system's trust store (OpenSSL's default paths, so SSL_CERT_FILE and
// SSL_CERT_DIR apply), plus any extra anchors given, and against the host name the user
// typed; TLS 1.2 is the oldest version spoken. There is no way to switch the check off.
//
// The work is done by the TLS module's engine (TlsEngine.h), loaded with the first session.
// Without the module every session fails at start() and says why.
#include "net/TlsEngine.h"

#include <memory>

class TlsSession
{
public:
    using Status = TlsEngine::Status;
    static constexpr Status Pending = TlsEngine::Pending;
    static constexpr Status Done = TlsEngine::Done;
    static constexpr Status Closed = TlsEngine::Closed;
    static constexpr Status Failed = TlsEngine::Failed;

    explicit TlsSession(const TlsOptions &options);
    ~TlsSession();
    TlsSession(const TlsSession &) = delete;
    TlsSession &operator=(const TlsSession &) = delete;

    // Prepares the session and produces the first handshake bytes. Failed when the options
    // cannot be used (an unreadable anchor file, an empty host name).
    Status start();
    // Bytes received from the peer.
    void feed(const char *data, qsizetype len);
    // Continues the handshake with what was fed.
    Status handshake();
    bool established() const;
    // Appends the decrypted bytes now available to `out`: Pending when more must arrive.
    Status read(QByteArray &out);
    // Encrypts application bytes (only once established); false on failure.
    bool write(const char *data, qsizetype len);
    // Queues close-notify.
    void shutdown();
    // Bytes to send to the peer, taken out.
    QByteArray takeOutgoing();

    QString errorText() const;
    // The failure was the peer's certificate (untrusted, expired, for another name).
    bool certificateFailed() const;
    // The protocol version and cipher agreed on, e.g. "TLSv1.3 TLS_AES_256_GCM_SHA384".
    QString description() const;

private:
    std::unique_ptr<TlsEngine> m_engine;
    QString m_loadError;
};
