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
    smtpAuth = 11
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
