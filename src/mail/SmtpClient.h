#pragma once
// The asynchronous SMTP client. Every request returns at once and ends later, from the event
// loop, with OnRequestDone(kind, code) (0 = success); misuse is refused synchronously with
// ESmtpError. TSmtpClientBase speaks the protocol; TSmtpClient adds the MIME body with file
// attachments.
//
// Events are std::function members, empty by default, each receiving the client as sender.
// A handler may pump the event loop and may call Abort; it must not delete the client.
// Strings are QString for the owner and Windows-1252 on the wire; the low-level DATA hooks
// work on the wire bytes.
#include "mail/MailComposer.h"
#include "mail/SmtpReply.h"
#include "mail/SmtpTypes.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class TAsyncSocket;

class TSmtpClientBase : public QObject
{
    Q_OBJECT
public:
    using TextEvent = std::function<void(TSmtpClientBase *sender, const QString &Msg)>;
    using SessionEvent = std::function<void(TSmtpClientBase *sender, int error)>;

    explicit TSmtpClientBase(QObject *owner = nullptr);
    ~TSmtpClientBase() override;

    // ---- Events -------------------------------------------------------------------------
    // Trace: "> " + each line sent, "< " + each reply line.
    TextEvent OnDisplay;
    // Each command line just before it is sent (not the lines of the message itself).
    // Credentials never reach these two: the AUTH PLAIN line shows as "AUTH PLAIN ****", the
    // lines answering AUTH LOGIN and CRAM-MD5 as "****".
    TextEvent OnCommand;
    // Each complete reply line as received.
    TextEvent OnResponse;
    // The end of a request, always later than the handler that ended it.
    std::function<void(TSmtpClientBase *sender, TSmtpRequest RqType, quint16 Error)> OnRequestDone;
    // The server's 220 greeting was accepted.
    SessionEvent OnSessionConnected;
    SessionEvent OnSessionClosed;
    std::function<void(TSmtpClientBase *sender, TSmtpState oldState)> OnStateChange;
    // Asked for message line LineNum (from 1) while no other body is left; clear More when done.
    std::function<void(TSmtpClientBase *sender, int LineNum, QByteArray &MsgLine, int MaxLen, bool &More)> OnGetData;
    // Each header line just before it is sent; Msg may be rewritten.
    std::function<void(TSmtpClientBase *sender, QByteArray &Msg, int Size)> OnHeaderLine;
    // The header block once built, before its closing empty line; lines may be changed.
    std::function<void(TSmtpClientBase *sender, QList<QByteArray> &HdrLines)> OnProcessHeader;

    // ---- Properties ---------------------------------------------------------------------
    QString Host() const { return m_host; }
    void setHost(const QString &v) { m_host = v; }
    QString Port() const { return m_port; }
    void setPort(const QString &v) { m_port = v; }
    QString LocalAddr() const { return m_localAddr; }
    void setLocalAddr(const QString &v) { m_localAddr = v; }
    // The name given with HELO/EHLO; empty means this machine's host name.
    QString SignOn() const { return m_signOn; }
    void setSignOn(const QString &v) { m_signOn = v; }
    QString Username() const { return m_username; }
    void setUsername(const QString &v) { m_username = v; }
    QString Password() const { return m_password; }
    void setPassword(const QString &v) { m_password = v; }
    TSmtpAuthType AuthType() const { return m_authType; }
    void setAuthType(TSmtpAuthType v) { m_authType = v; }
    // Envelope sender.
    QString FromName() const { return m_fromName; }
    void setFromName(const QString &v) { m_fromName = v; }
    QStringList RcptName() const { return m_rcptName; }
    void setRcptName(const QStringList &v) { m_rcptName = v; }
    QStringList MailMessage() const { return m_mailMessage; }
    void setMailMessage(const QStringList &v) { m_mailMessage = v; }
    QString HdrFrom() const { return m_hdrFrom; }
    void setHdrFrom(const QString &v) { m_hdrFrom = v; }
    // Also the argument of VRFY.
    QString HdrTo() const { return m_hdrTo; }
    void setHdrTo(const QString &v) { m_hdrTo = v; }
    QString HdrReplyTo() const { return m_hdrReplyTo; }
    void setHdrReplyTo(const QString &v) { m_hdrReplyTo = v; }
    QString HdrReturnPath() const { return m_hdrReturnPath; }
    void setHdrReturnPath(const QString &v) { m_hdrReturnPath = v; }
    QString HdrSubject() const { return m_hdrSubject; }
    void setHdrSubject(const QString &v) { m_hdrSubject = v; }
    QString HdrSender() const { return m_hdrSender; }
    void setHdrSender(const QString &v) { m_hdrSender = v; }
    QString CharSet() const { return m_charSet; }
    void setCharSet(const QString &v) { m_charSet = v; }
    TSmtpContentType ContentType() const { return m_contentType; }
    void setContentType(TSmtpContentType v);
    // When set the client sends no header lines at all: the message carries its own.
    bool OwnHeaders() const { return m_ownHeaders; }
    void setOwnHeaders(bool v) { m_ownHeaders = v; }
    int Tag() const { return m_tag; }
    void setTag(int v) { m_tag = v; }
    // Connection security; smtpSecurityNone is the plain protocol of old. With security chosen
    // Open always greets with EHLO and never falls back to sending anything in the clear.
    TSmtpSecurity Security() const { return m_security; }
    void setSecurity(TSmtpSecurity v) { m_security = v; }
    // A PEM file of certificates trusted besides the system's (a private authority); empty
    // for none. There is no way to skip the check of the server's certificate.
    QString TrustAnchorFile() const { return m_trustAnchorFile; }
    void setTrustAnchorFile(const QString &v) { m_trustAnchorFile = v; }

    TSmtpState State() const { return m_state; }
    bool Connected() const { return m_connected; }
    // The last reply line, or the text of a local failure.
    QString LastResponse() const { return m_lastResponse; }
    // The first failure text since the last Open or Mail began.
    QString ErrorMessage() const { return m_errorMessage; }
    // The code of the last reply, 500 after a local failure.
    int StatusCode() const { return m_statusCode; }
    int RequestResult() const { return m_requestResult; }
    bool EsmtpSupported() const { return m_esmtpSupported; }
    // The lines of the last accepted EHLO reply after its first (the server's name), without
    // their code: "STARTTLS", "AUTH PLAIN LOGIN", ...
    QStringList EhloCapabilities() const { return m_capabilities; }
    // The last EHLO reply announced the keyword (case does not matter).
    bool ServerOffers(const QString &keyword) const;
    // Why the protected connection failed since the last Open or Connect began.
    TSmtpSecurityFailure SecurityFailure() const { return m_securityFailure; }
    // The TLS layer's own words for it ("certificate has expired", "hostname mismatch").
    QString SecurityFailureReason() const { return m_securityReason; }
    // The text to show the user for SecurityFailure; empty when there was none.
    QString securityFailureText() const;
    // The TLS session is up on the current connection.
    bool TlsActive() const;

    TAsyncSocket *socket() const { return m_socket; }

    // ---- Requests -----------------------------------------------------------------------
    virtual void Connect();
    virtual void Helo();
    virtual void Ehlo();
    virtual void Auth();
    virtual void Vrfy();
    virtual void MailFrom();
    virtual void RcptTo();
    virtual void Data();
    virtual void Quit();
    virtual void Rset();
    // STARTTLS, then the TLS handshake; only when the last EHLO offered it. Afterwards the
    // server must be greeted again (EHLO) before AUTH.
    virtual void StartTls();
    // Ends whatever runs, at once; a running Open or Mail then ends with 426.
    virtual void Abort();
    // Connect and HELO, or with authentication connect, EHLO (HELO when refused) and AUTH.
    virtual void Open();
    // MAIL FROM, RCPT TO for every recipient, DATA.
    virtual void Mail();

protected:
    using Continuation = void (TSmtpClientBase::*)();

    virtual void DoDisplay(const QString &msg);
    virtual void DoCommand(const QString &msg);
    virtual void DoResponse(const QString &msg);
    virtual void DoRequestDone(TSmtpRequest rqType, quint16 error);
    virtual void DoStateChange(TSmtpState oldState);
    virtual void DoGetData(int lineNum, QByteArray &msgLine, int maxLen, bool &more);
    virtual void DoHeaderLine(QByteArray &msg, int size);
    virtual void DoProcessHeader(QList<QByteArray> &hdrLines);
    virtual void DoSessionConnected(int error);
    virtual void DoSessionClosed(int error);
    // `shown`, when not empty, is what OnCommand and OnDisplay get instead of the line itself.
    virtual void SendCommand(const QString &cmd, const QList<int> &okCodes, Continuation done,
                             const QString &shown = QString());

    bool event(QEvent *e) override;

    // The ready check of every request; also refuses while a message is being transferred.
    void checkReady() const;
    void checkConnected() const;
    void beginRequest(TSmtpRequest kind);
    void setState(TSmtpState state);
    void setErrorMessage(const QString &text);
    // A failure found by the client itself: "500 ..." as the last response.
    void localFailure(const QString &text);
    void triggerRequestDone(int error);

private:
    enum Step : unsigned {
        stepNone = 0,
        stepConnect = 1,
        stepHelo = 2,
        stepEhlo = 4,
        stepAuth = 8,
        stepMailFrom = 16,
        stepRcptTo = 32,
        stepData = 64,
        stepStartTls = 128,
        stepEhloAgain = 256
    };

    void onDnsLookupDone(int error);
    void onSessionConnected(int error);
    void onDataAvailable();
    void onDataSent();
    void onSessionClosed(int error);
    void onTlsDone(int error);
    void beginTls();
    void startTlsReply();
    void securityFailed(TSmtpSecurityFailure kind, const QString &reason);
    void handleLine(const QByteArray &line);

    void evaluateReply();
    void ehloDone();
    void authLoginUser();
    void authLoginPassword();
    void authCramAnswer();
    void rcptNext();
    void sendRcpt();
    void dataStart();
    void pumpLine();
    void sendDataLine(const QByteArray &line);

    void startHighLevel(TSmtpRequest kind, unsigned steps);
    void highLevelNext();
    void runNextStep(bool raise);
    QByteArray heloName() const;

    TAsyncSocket *m_socket = nullptr;

    QString m_host;
    QString m_port = QStringLiteral("smtp");
    QString m_localAddr = QStringLiteral("0.0.0.0");
    QString m_signOn, m_username, m_password, m_fromName;
    TSmtpAuthType m_authType = smtpAuthNone;
    QStringList m_rcptName, m_mailMessage;
    QString m_hdrFrom, m_hdrTo, m_hdrReplyTo, m_hdrReturnPath, m_hdrSubject, m_hdrSender;
    // What the text is encoded in (TextCodec), so what the Content-Type must name.
    QString m_charSet = QString::fromLatin1(MailComposer::kTextCharset);
    TSmtpContentType m_contentType = smtpPlainText;
    QByteArray m_contentTypeString = MailComposer::contentTypeString(smtpPlainText);
    bool m_ownHeaders = false;
    int m_tag = 0;
    TSmtpSecurity m_security = smtpSecurityNone;
    QString m_trustAnchorFile;

    TSmtpState m_state = smtpReady;
    bool m_connected = false;
    bool m_esmtpSupported = false;
    bool m_collectingEhlo = false;
    int m_ehloLine = 0;
    QStringList m_capabilities;
    bool m_tlsHandshaking = false;
    TSmtpSecurityFailure m_securityFailure = smtpSecurityOk;
    QString m_securityReason;
    QString m_lastResponse, m_errorMessage;
    int m_statusCode = 0;
    int m_requestResult = 0;
    TSmtpRequest m_requestKind = smtpConnect;
    bool m_requestDoneFlag = true;
    QList<int> m_okCodes;
    Continuation m_replyHandler = nullptr;
    Continuation m_doneHandler = nullptr;
    SmtpReceiveBuffer m_receive;

    unsigned m_pendingSteps = stepNone;
    Step m_previousStep = stepNone;
    int m_highLevelResult = 0;
    bool m_highLevelFlag = false;
    Continuation m_nextRequest = nullptr;
    int m_rcptIndex = 0;

    // The DATA transfer.
    bool m_dataSentArmed = false;
    QList<QByteArray> m_headerLines;
    qsizetype m_headerIndex = -1;
    int m_lineNum = 0;
    bool m_moreLines = false;
};

class TSmtpClient : public TSmtpClientBase
{
    Q_OBJECT
public:
    explicit TSmtpClient(QObject *owner = nullptr);
    ~TSmtpClient() override;

    // Files attached to the next mails. Names are trimmed and empty ones skipped; a name whose
    // file does not exist raises "File not found '<name>'" (the names before it stay).
    QStringList EmailFiles() const { return m_emailFiles; }
    void setEmailFiles(const QStringList &files);

    // FileNumber is the 0-based index in EmailFiles; FileName and ContentType may be changed.
    std::function<void(TSmtpClient *sender, int FileNumber, QString &FileName, QString &ContentType)> OnAttachContentType;
    // Lines may be added to the part header.
    std::function<void(TSmtpClient *sender, int FileNumber, const QString &FileName, QList<QByteArray> &HdrLines)> OnAttachHeader;

    void Data() override;

protected:
    void DoGetData(int lineNum, QByteArray &msgLine, int maxLen, bool &more) override;
    void DoHeaderLine(QByteArray &msg, int size) override;
    virtual void DoAttachContentType(int fileNumber, QString &fileName, QString &contentType);
    virtual void DoAttachHeader(int fileNumber, const QString &fileName, QList<QByteArray> &hdrLines);

private:
    QStringList m_emailFiles;
    MailBodySource m_body;
};
