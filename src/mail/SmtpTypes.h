#pragma once
// Types shared by the SMTP client and the message composition. The ordinals are stored:
// TSmtpAuthType is the store's "Authtype" value, TSmtpRequest the kind given with request-done.
#include <QString>
#include <exception>

enum TSmtpState {
    smtpReady,
    smtpDnsLookup,
    smtpConnecting,
    smtpConnected,
    smtpInternalReady,
    smtpWaitingBanner,
    smtpWaitingResponse,
    smtpAbort
};

enum TSmtpAuthType { smtpAuthNone, smtpAuthPlain, smtpAuthLogin, smtpAuthCramMD5 };

enum TSmtpContentType { smtpHTML, smtpPlainText };

enum TSmtpRequest {
    smtpConnect = 0,
    smtpHelo = 1,
    smtpMailFrom = 2,
    smtpVrfy = 3,
    smtpRcptTo = 4,
    smtpData = 5,
    smtpQuit = 6,
    smtpRset = 7,
    smtpOpen = 8,
    smtpMail = 9,
    smtpEhlo = 10,
    smtpAuth = 11,
    smtpStartTls = 12
};

// How the connection to the server is protected; the ordinal is the store's "SMTPSecurity".
// STARTTLS upgrades a plain connection (port 587 usually), TLS speaks it from the first byte
// (port 465 usually).
enum TSmtpSecurity { smtpSecurityNone, smtpSecuritySTARTTLS, smtpSecurityTLS };

// The stored value as a choice. A value this program does not know asked for some protection
// it cannot name: the strictest one it knows is used rather than none, so a password never
// goes out in the clear because of it.
inline TSmtpSecurity smtpSecurityFromStore(int value)
{
    switch (value) {
    case 0: return smtpSecurityNone;
    case 1: return smtpSecuritySTARTTLS;
    default: return smtpSecurityTLS;
    }
}

// Why a protected connection could not be had.
enum TSmtpSecurityFailure {
    smtpSecurityOk,
    smtpStartTlsNotOffered,    // STARTTLS chosen, the server does not offer it (or refused it)
    smtpTlsFailed,             // the TLS negotiation failed (not a TLS server, torn down, garbled)
    smtpCertificateRejected,   // the server's certificate is untrusted, expired or for another name
};

// Raised synchronously for misuse of the client (and by the body source for unreadable
// attachments); protocol outcomes are never raised, they end the request with a code.
class ESmtpError : public std::exception
{
public:
    explicit ESmtpError(const QString &message) : m_message(message), m_utf8(message.toUtf8()) {}
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
