// The TLS module (libcorkvane-tls.so): TlsEngine on OpenSSL, with memory BIOs so that the
// socket layer keeps driving the connection itself.
#include "net/TlsEngine.h"

#include <QFile>
#include <QUrl>

#include <arpa/inet.h>

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

namespace {

struct Handles
{
    SSL_CTX *ctx = nullptr;
    SSL *ssl = nullptr;
    BIO *in = nullptr;    // owned by ssl once attached
    BIO *out = nullptr;
    ~Handles()
    {
        if (ssl)
            SSL_free(ssl);   // frees both BIOs
        if (ctx)
            SSL_CTX_free(ctx);
    }
};

bool isAddressLiteral(const QByteArray &host)
{
    unsigned char buffer[16];
    return inet_pton(AF_INET, host.constData(), buffer) == 1 || inet_pton(AF_INET6, host.constData(), buffer) == 1;
}

// The most specific text OpenSSL has queued for the last failure; the queue is emptied so a
// later failure on another connection does not show this one's reason.
QString takeOpenSslErrors()
{
    QString text;
    while (const unsigned long code = ERR_get_error()) {
        if (!text.isEmpty())
            continue;   // the first one queued names the cause; the rest are its callers
        const char *reason = ERR_reason_error_string(code);
        if (reason)
            text = QString::fromLatin1(reason);
        else {
            char buffer[256];
            ERR_error_string_n(code, buffer, sizeof buffer);
            text = QString::fromLatin1(buffer);
        }
    }
    return text;
}


class OpenSslSession final : public TlsEngine
{
public:
    explicit OpenSslSession(const TlsOptions &options) : m_options(options)
    {
        m_options.host = m_options.host.trimmed();
    }

    Status start() override;
    void feed(const char *data, qsizetype len) override;
    Status handshake() override;
    bool established() const override { return m_established; }
    Status read(QByteArray &out) override;
    bool write(const char *data, qsizetype len) override;
    void shutdown() override;
    QByteArray takeOutgoing() override;
    QString errorText() const override { return m_error; }
    bool certificateFailed() const override { return m_certificateFailed; }
    QString description() const override;

private:
    Status fail(int sslResult);
    void fail(const QString &text);

    Handles m_h;
    TlsOptions m_options;
    bool m_established = false;
    bool m_failed = false;
    bool m_certificateFailed = false;
    QString m_error;
};

void OpenSslSession::fail(const QString &text)
{
    m_failed = true;
    if (m_error.isEmpty())
        m_error = text;
}

TlsEngine::Status OpenSslSession::start()
{
    ERR_clear_error();
    if (m_options.host.isEmpty()) {
        fail(QStringLiteral("no server name to check the certificate against"));
        return Failed;
    }
    m_h.ctx = SSL_CTX_new(TLS_client_method());
    if (!m_h.ctx) {
        fail(takeOpenSslErrors());
        return Failed;
    }
    SSL_CTX_set_min_proto_version(m_h.ctx, TLS1_2_VERSION);
    SSL_CTX_set_verify(m_h.ctx, SSL_VERIFY_PEER, nullptr);
    // A system without a trust store still fails safely: nothing is trusted then.
    SSL_CTX_set_default_verify_paths(m_h.ctx);
    if (!m_options.extraTrustAnchors.isEmpty()) {
        const QByteArray path = QFile::encodeName(m_options.extraTrustAnchors);
        if (SSL_CTX_load_verify_locations(m_h.ctx, path.constData(), nullptr) != 1) {
            fail(QStringLiteral("cannot read the trusted certificates in %1: %2")
                     .arg(m_options.extraTrustAnchors, takeOpenSslErrors()));
            return Failed;
        }
    }
    m_h.ssl = SSL_new(m_h.ctx);
    m_h.in = BIO_new(BIO_s_mem());
    m_h.out = BIO_new(BIO_s_mem());
    if (!m_h.ssl || !m_h.in || !m_h.out) {
        if (m_h.in)
            BIO_free(m_h.in);
        if (m_h.out)
            BIO_free(m_h.out);
        m_h.in = m_h.out = nullptr;
        fail(takeOpenSslErrors());
        return Failed;
    }
    // An empty input BIO means "wait for more", not end of file.
    BIO_set_mem_eof_return(m_h.in, -1);
    SSL_set_bio(m_h.ssl, m_h.in, m_h.out);
    SSL_set_connect_state(m_h.ssl);

    const QByteArray host = m_options.host.toLatin1();
    if (isAddressLiteral(host)) {
        if (X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(m_h.ssl), host.constData()) != 1) {
            fail(QStringLiteral("invalid server address %1").arg(m_options.host));
            return Failed;
        }
    } else {
        // A name with accents is checked (and announced) in its ASCII form, as certificates carry it.
        const QByteArray ace = QUrl::toAce(m_options.host);
        if (ace.isEmpty()) {
            fail(QStringLiteral("invalid server name %1").arg(m_options.host));
            return Failed;
        }
        SSL_set_hostflags(m_h.ssl, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
        if (SSL_set1_host(m_h.ssl, ace.constData()) != 1 || SSL_set_tlsext_host_name(m_h.ssl, ace.constData()) != 1) {
            fail(QStringLiteral("invalid server name %1").arg(m_options.host));
            return Failed;
        }
    }
    return handshake();
}

void OpenSslSession::feed(const char *data, qsizetype len)
{
    if (m_h.in && len > 0)
        BIO_write(m_h.in, data, int(len));
}

TlsEngine::Status OpenSslSession::fail(int sslResult)
{
    const int kind = SSL_get_error(m_h.ssl, sslResult);
    if (kind == SSL_ERROR_WANT_READ || kind == SSL_ERROR_WANT_WRITE)
        return Pending;
    if (kind == SSL_ERROR_ZERO_RETURN)
        return Closed;
    const long verify = SSL_get_verify_result(m_h.ssl);
    if (!m_established && verify != X509_V_OK) {
        m_certificateFailed = true;
        ERR_clear_error();
        fail(QString::fromLatin1(X509_verify_cert_error_string(verify)));
        return Failed;
    }
    QString text = takeOpenSslErrors();
    if (text.isEmpty())
        text = kind == SSL_ERROR_SYSCALL ? QStringLiteral("the connection ended unexpectedly")
                                         : QStringLiteral("TLS error %1").arg(kind);
    fail(text);
    return Failed;
}

TlsEngine::Status OpenSslSession::handshake()
{
    if (m_failed)
        return Failed;
    if (m_established)
        return Done;
    ERR_clear_error();
    const int rc = SSL_do_handshake(m_h.ssl);
    if (rc == 1) {
        m_established = true;
        return Done;
    }
    return fail(rc);
}

TlsEngine::Status OpenSslSession::read(QByteArray &out)
{
    if (m_failed)
        return Failed;
    char buffer[16 * 1024];
    for (;;) {
        ERR_clear_error();
        const int n = SSL_read(m_h.ssl, buffer, sizeof buffer);
        if (n > 0) {
            out.append(buffer, n);
            continue;
        }
        return fail(n);
    }
}

bool OpenSslSession::write(const char *data, qsizetype len)
{
    if (m_failed || !m_established)
        return false;
    while (len > 0) {
        ERR_clear_error();
        const int chunk = int(std::min<qsizetype>(len, 1 << 30));
        const int n = SSL_write(m_h.ssl, data, chunk);
        if (n <= 0) {
            fail(n);
            return false;
        }
        data += n;
        len -= n;
    }
    return true;
}

void OpenSslSession::shutdown()
{
    if (m_h.ssl && m_established && !m_failed) {
        ERR_clear_error();
        SSL_shutdown(m_h.ssl);
        ERR_clear_error();
    }
}

QByteArray OpenSslSession::takeOutgoing()
{
    QByteArray bytes;
    if (!m_h.out)
        return bytes;
    const size_t pending = BIO_ctrl_pending(m_h.out);
    if (pending == 0)
        return bytes;
    bytes.resize(qsizetype(pending));
    const int n = BIO_read(m_h.out, bytes.data(), int(pending));
    bytes.resize(n > 0 ? n : 0);
    return bytes;
}

QString OpenSslSession::description() const
{
    if (!m_established)
        return QString();
    return QString::fromLatin1(SSL_get_version(m_h.ssl)) + QLatin1Char(' ') +
           QString::fromLatin1(SSL_CIPHER_get_name(SSL_get_current_cipher(m_h.ssl)));
}

} // namespace

extern "C" Q_DECL_EXPORT TlsEngine *corkvane_new_tls_engine(const TlsOptions &options)
{
    return new OpenSslSession(options);
}
