#pragma once
// One client TLS connection kept entirely in memory, as TlsSession offers it. The engine lives
// in the TLS module (libcorkvane-tls.so beside the program, OpenSSL inside), so the program
// loads OpenSSL only when a mail goes out over TLS, not at every start.
#include <QByteArray>
#include <QString>

struct TlsOptions
{
    // The name (or address) the user typed for the server: the certificate must be for it.
    QString host;
    // PEM file of further trusted certificates, besides the system's (empty: none).
    QString extraTrustAnchors;
};

class TlsEngine
{
public:
    enum Status {
        Pending,    // needs more bytes from the peer
        Done,       // handshake complete
        Closed,     // the peer ended the session with close-notify
        Failed,     // see errorText() / certificateFailed()
    };

    virtual ~TlsEngine() = default;
    virtual Status start() = 0;
    virtual void feed(const char *data, qsizetype len) = 0;
    virtual Status handshake() = 0;
    virtual bool established() const = 0;
    virtual Status read(QByteArray &out) = 0;
    virtual bool write(const char *data, qsizetype len) = 0;
    virtual void shutdown() = 0;
    virtual QByteArray takeOutgoing() = 0;
    virtual QString errorText() const = 0;
    virtual bool certificateFailed() const = 0;
    virtual QString description() const = 0;
};

// The module's entry point: a new engine for one connection, owned by the caller.
using NewTlsEngine = TlsEngine *(*)(const TlsOptions &options);
inline constexpr const char *kTlsModule = "corkvane-tls";
inline constexpr const char *kNewTlsEngineSymbol = "corkvane_new_tls_engine";
