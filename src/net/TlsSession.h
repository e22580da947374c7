#pragma once
// The client side of one TLS connection, kept entirely in memory: the socket hands it the
// bytes that arrived (feed) and sends what it produces (takeOutgoing), so the socket stays
// non-blocking and driven by its own readiness notices. The peer's certificate is checked
// against the system's trust store (OpenSSL's default paths, so SSL_CERT_FILE and
// SSL_CERT_DIR apply), plus any extra anchors given, and against the host name the user
// typed; TLS 1.2 is the oldest version spoken. There is no way to switch the check off.
#include <QByteArray>
#include <QString>

#include <memory>

struct TlsOptions
{
    // The name (or address) the user typed for the server: the certificate must be for it.
    QString host;
    // PEM file of further trusted certificates, besides the system's (empty: none).
    QString extraTrustAnchors;
};

class TlsSession
{
public:
    enum Status {
        Pending,    // needs more bytes from the peer
        Done,       // handshake complete
        Closed,     // the peer ended the session with close-notify
        Failed,     // see errorText() / certificateFailed()
    };

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
    bool established() const { return m_established; }
    // Appends the decrypted bytes now available to `out`: Pending when more must arrive.
    Status read(QByteArray &out);
    // Encrypts application bytes (only once established); false on failure.
    bool write(const char *data, qsizetype len);
    // Queues close-notify.
    void shutdown();
    // Bytes to send to the peer, taken out.
    QByteArray takeOutgoing();

    QString errorText() const { return m_error; }
    // The failure was the peer's certificate (untrusted, expired, for another name).
    bool certificateFailed() const { return m_certificateFailed; }
    // The protocol version and cipher agreed on, e.g. "TLSv1.3 TLS_AES_256_GCM_SHA384".
    QString description() const;

private:
    Status fail(int sslResult);
    void fail(const QString &text);

    struct Handles;
    std::unique_ptr<Handles> m_h;
    TlsOptions m_options;
    bool m_established = false;
    bool m_failed = false;
    bool m_certificateFailed = false;
    QString m_error;
};
