#include "mail/SmtpClient.h"

#include "mail/SmtpAuth.h"
#include "net/AsyncSocket.h"
#include "platform/Clock.h"
#include "platform/TextCodec.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>

namespace {

// Request-done travels through the event queue so that it reaches the owner only after the
// handler that ended the request has returned; posted events keep their order.
const QEvent::Type kRequestDoneEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class RequestDoneEvent : public QEvent
{
public:
    RequestDoneEvent(TSmtpRequest kind, quint16 error) : QEvent(kRequestDoneEvent), kind(kind), error(error) {}
    TSmtpRequest kind;
    quint16 error;
};

constexpr int kMaxOkCodes = 16;
// What the owner sees instead of a credential line: base64 hides nothing, and the trace ends up
// in status bars and logs.
const QString kMaskedCredentials = QStringLiteral("****");
constexpr int kNoSuchReply = 500;

QString socketFailureText(int error)
{
    return QStringLiteral("500 %1 (Winsock error #%2)").arg(SocketErrors::text(error)).arg(error);
}

QString exceptionText(const std::exception &e)
{
    if (const auto *smtp = dynamic_cast<const ESmtpError *>(&e))
        return smtp->message();
    if (const auto *sock = dynamic_cast<const ESocketError *>(&e))
        return sock->message();
    return QString::fromLocal8Bit(e.what());
}

// A command goes out as one line: a line break inside a value (an address typed with one)
// would otherwise let it smuggle in commands of its own.
QByteArray commandBytes(const QString &cmd)
{
    QByteArray bytes = TextCodec::toWin1252(cmd);
    bytes.replace('\r', ' ').replace('\n', ' ');
    return bytes;
}

QString envelopeAddress(const QString &value)
{
    const QString t = value.trimmed();
    if (value.contains(QLatin1Char('<')) && value.contains(QLatin1Char('>')))
        return t;
    return QLatin1Char('<') + t + QLatin1Char('>');
}

bool isReplyCode(int code)
{
    return code >= 100 && code <= 999;
}

} // namespace

TSmtpClientBase::TSmtpClientBase(QObject *owner) : QObject(owner), m_socket(new TAsyncSocket(this))
{
    m_socket->OnDnsLookupDone = [this](TAsyncSocket *, int error) { onDnsLookupDone(error); };
    m_socket->OnSessionConnected = [this](TAsyncSocket *, int error) { onSessionConnected(error); };
    m_socket->OnDataAvailable = [this](TAsyncSocket *, int) { onDataAvailable(); };
    m_socket->OnDataSent = [this](TAsyncSocket *, int) { onDataSent(); };
    m_socket->OnSessionClosed = [this](TAsyncSocket *, int error) { onSessionClosed(error); };
    m_socket->OnTlsDone = [this](TAsyncSocket *, int error) { onTlsDone(error); };
}

TSmtpClientBase::~TSmtpClientBase()
{
    // The socket must not call back into a client that is going away.
    m_socket->OnDnsLookupDone = nullptr;
    m_socket->OnSessionConnected = nullptr;
    m_socket->OnDataAvailable = nullptr;
    m_socket->OnDataSent = nullptr;
    m_socket->OnSessionClosed = nullptr;
    m_socket->OnTlsDone = nullptr;
    delete m_socket;
    m_socket = nullptr;
}

void TSmtpClientBase::setContentType(TSmtpContentType v)
{
    if (v == m_contentType)
        return;
    m_contentType = v;
    m_contentTypeString = MailComposer::contentTypeString(v);
}

// ---- Events -----------------------------------------------------------------------------

void TSmtpClientBase::DoDisplay(const QString &msg)
{
    if (OnDisplay)
        OnDisplay(this, msg);
}

void TSmtpClientBase::DoCommand(const QString &msg)
{
    if (OnCommand)
        OnCommand(this, msg);
}

void TSmtpClientBase::DoResponse(const QString &msg)
{
    if (OnResponse)
        OnResponse(this, msg);
}

void TSmtpClientBase::DoRequestDone(TSmtpRequest rqType, quint16 error)
{
    if (OnRequestDone)
        OnRequestDone(this, rqType, error);
}

void TSmtpClientBase::DoStateChange(TSmtpState oldState)
{
    if (OnStateChange)
        OnStateChange(this, oldState);
}

void TSmtpClientBase::DoGetData(int lineNum, QByteArray &msgLine, int maxLen, bool &more)
{
    if (OnGetData)
        OnGetData(this, lineNum, msgLine, maxLen, more);
    else
        more = false;
}

void TSmtpClientBase::DoHeaderLine(QByteArray &msg, int size)
{
    if (OnHeaderLine)
        OnHeaderLine(this, msg, size);
}

void TSmtpClientBase::DoProcessHeader(QList<QByteArray> &hdrLines)
{
    if (OnProcessHeader)
        OnProcessHeader(this, hdrLines);
}

void TSmtpClientBase::DoSessionConnected(int error)
{
    if (OnSessionConnected)
        OnSessionConnected(this, error);
}

void TSmtpClientBase::DoSessionClosed(int error)
{
    if (OnSessionClosed)
        OnSessionClosed(this, error);
}

bool TSmtpClientBase::event(QEvent *e)
{
    if (e->type() == kRequestDoneEvent) {
        const auto *done = static_cast<RequestDoneEvent *>(e);
        DoRequestDone(done->kind, done->error);
        return true;
    }
    return QObject::event(e);
}

// ---- Request bookkeeping ----------------------------------------------------------------

void TSmtpClientBase::setState(TSmtpState state)
{
    if (state == m_state)
        return;
    const TSmtpState old = m_state;
    m_state = state;
    DoStateChange(old);
}

void TSmtpClientBase::checkReady() const
{
    // During the message transfer the state rests at smtpInternalReady between lines; a new
    // command then would land in the middle of the message.
    if ((m_state != smtpReady && m_state != smtpInternalReady) || m_dataSentArmed)
        throw ESmtpError(QStringLiteral("SMTP component not ready"));
}

void TSmtpClientBase::checkConnected() const
{
    if (!m_connected)
        throw ESmtpError(QStringLiteral("SMTP component not connected"));
}

void TSmtpClientBase::beginRequest(TSmtpRequest kind)
{
    if (!m_highLevelFlag)
        m_requestKind = kind;
    m_requestDoneFlag = false;
}

void TSmtpClientBase::setErrorMessage(const QString &text)
{
    if (m_errorMessage.isEmpty())
        m_errorMessage = text;
}

void TSmtpClientBase::localFailure(const QString &text)
{
    m_lastResponse = text;
    m_statusCode = kNoSuchReply;
    m_requestResult = kNoSuchReply;
    setErrorMessage(text);
}

void TSmtpClientBase::triggerRequestDone(int error)
{
    if (m_requestDoneFlag)
        return;
    m_requestDoneFlag = true;
    if (m_nextRequest) {
        if (m_state != smtpAbort)
            setState(smtpInternalReady);
        (this->*m_nextRequest)();
        return;
    }
    setState(smtpReady);
    QCoreApplication::postEvent(this, new RequestDoneEvent(m_requestKind, static_cast<quint16>(error)));
}

void TSmtpClientBase::SendCommand(const QString &cmd, const QList<int> &okCodes, Continuation done, const QString &shown)
{
    m_okCodes = okCodes.mid(0, kMaxOkCodes);
    m_requestDoneFlag = false;
    m_replyHandler = &TSmtpClientBase::evaluateReply;
    m_doneHandler = done;
    setState(smtpWaitingResponse);
    const QString &visible = shown.isEmpty() ? cmd : shown;
    DoCommand(visible);
    DoDisplay(QStringLiteral("> ") + visible);
    // A handler above may have pumped the event loop and aborted meanwhile.
    if (m_socket->State() == ssConnected)
        m_socket->SendText(commandBytes(cmd) + "\r\n");
}

// ---- Socket notifications ---------------------------------------------------------------

void TSmtpClientBase::onDnsLookupDone(int error)
{
    if (m_requestDoneFlag || (m_state != smtpDnsLookup && m_state != smtpAbort))
        return;
    if (error != 0) {
        localFailure(socketFailureText(error));
        triggerRequestDone(error);
        return;
    }
    try {
        m_socket->setProto(QStringLiteral("tcp"));
        m_socket->setAddr(m_socket->DnsResult());
        m_socket->setPort(m_port);
        m_socket->setLocalAddr(m_localAddr);
        setState(smtpConnecting);
        m_socket->Connect();
    } catch (const std::exception &e) {
        localFailure(QStringLiteral("500 ") + exceptionClassName(e) + QStringLiteral(": ") + exceptionText(e));
        setState(smtpReady);
        triggerRequestDone(kNoSuchReply);
    }
}

void TSmtpClientBase::onSessionConnected(int error)
{
    if (error != 0) {
        localFailure(socketFailureText(error));
        m_connected = false;
        triggerRequestDone(error);
        m_socket->Close();
        setState(smtpReady);
        return;
    }
    m_connected = true;
    setState(smtpWaitingBanner);
    // From the first byte: the greeting is only read once the server proved who it is.
    if (m_security == smtpSecurityTLS)
        beginTls();
}

void TSmtpClientBase::onDataAvailable()
{
    for (;;) {
        if (m_receive.freeCount() == 0)
            break;
        const qsizetype n = m_socket->Receive(m_receive.freeSpace(), m_receive.freeCount());
        if (n <= 0)
            break;
        m_receive.commit(static_cast<int>(n));
        QByteArray line;
        while (m_receive.takeLine(line)) {
            handleLine(line);
            // The line may have ended the connection (a refused greeting, an Abort from a
            // handler): what followed it belongs to nobody.
            if (!m_connected) {
                m_receive.clear();
                return;
            }
        }
        if (m_receive.isFullWithoutLine()) {
            // A reply line that cannot fit the buffer would never complete: fail instead of
            // waiting forever, and end the connection, whose stream is now out of step.
            m_receive.clear();
            m_lastResponse = QStringLiteral("500 Reply line longer than %1 bytes").arg(SmtpReceiveBuffer::kSize);
            m_statusCode = kNoSuchReply;
            if (!m_requestDoneFlag)
                m_requestResult = kNoSuchReply;
            setErrorMessage(m_lastResponse);
            m_socket->Abort();
            return;
        }
    }
}

void TSmtpClientBase::handleLine(const QByteArray &bytes)
{
    m_lastResponse = TextCodec::fromWin1252(bytes);
    DoResponse(m_lastResponse);
    switch (m_state) {
    case smtpWaitingBanner: {
        DoDisplay(QStringLiteral("< ") + m_lastResponse);
        const SmtpReplyCode reply = parseSmtpReplyCode(bytes);
        m_statusCode = reply.code;
        if (reply.continued)
            return;
        if (reply.code != 220) {
            m_requestResult = isReplyCode(reply.code) ? reply.code : kNoSuchReply;
            setErrorMessage(m_lastResponse);
            m_socket->Close();
            return;
        }
        setState(smtpConnected);
        DoSessionConnected(0);
        triggerRequestDone(0);
        return;
    }
    case smtpWaitingResponse:
        if (!m_replyHandler)
            throw ESmtpError(QStringLiteral("Program error: ReplyHandler is nil"));
        (this->*m_replyHandler)();
        return;
    default:
        DoDisplay(QStringLiteral("< ") + m_lastResponse);
        return;
    }
}

void TSmtpClientBase::evaluateReply()
{
    DoDisplay(QStringLiteral("< ") + m_lastResponse);
    const SmtpReplyCode reply = parseSmtpReplyCode(TextCodec::toWin1252(m_lastResponse));
    m_statusCode = reply.code;
    if (m_collectingEhlo && reply.code == 250 && m_ehloLine++ > 0)
        m_capabilities << m_lastResponse.mid(4).trimmed();
    if (reply.continued)
        return;
    if (m_okCodes.contains(reply.code)) {
        m_requestResult = 0;
    } else {
        // A line without a proper code is no acceptance either.
        m_requestResult = isReplyCode(reply.code) ? reply.code : kNoSuchReply;
        setErrorMessage(m_lastResponse);
    }
    if (m_doneHandler)
        (this->*m_doneHandler)();
    else
        triggerRequestDone(m_requestResult);
}

void TSmtpClientBase::onDataSent()
{
    if (m_dataSentArmed)
        pumpLine();
}

void TSmtpClientBase::onSessionClosed(int error)
{
    if (m_securityFailure == smtpSecurityOk) {
        if (error == SocketErrors::TlsFailed || error == SocketErrors::TlsCertificateRejected)
            securityFailed(m_socket->TlsCertificateFailed() ? smtpCertificateRejected : smtpTlsFailed,
                           m_socket->TlsErrorText());
        else if (m_tlsHandshaking)
            securityFailed(smtpTlsFailed, QStringLiteral("the connection ended during the TLS handshake"));
    }
    m_tlsHandshaking = false;
    m_connected = false;
    m_dataSentArmed = false;
    m_receive.clear();
    DoSessionClosed(error);
    if (!m_requestDoneFlag) {
        if (m_requestResult == 0)
            m_requestResult = SocketErrors::Interrupted;
        triggerRequestDone(SocketErrors::Interrupted);
    }
}

// ---- Plain requests ---------------------------------------------------------------------

QByteArray TSmtpClientBase::heloName() const
{
    return TextCodec::toWin1252(m_signOn.isEmpty() ? TAsyncSocket::GetLocalHostName() : m_signOn);
}

void TSmtpClientBase::Connect()
{
    checkReady();
    if (m_connected)
        throw ESmtpError(QStringLiteral("SMTP component already connected"));
    beginRequest(smtpConnect);
    m_receive.clear();
    m_requestResult = 0;
    m_esmtpSupported = false;
    m_capabilities.clear();
    m_collectingEhlo = false;
    m_tlsHandshaking = false;
    m_securityFailure = smtpSecurityOk;
    m_securityReason.clear();
    m_dataSentArmed = false;
    setState(smtpDnsLookup);
    try {
        m_socket->DnsLookup(m_host);
    } catch (const std::exception &e) {
        // The socket reports a refused lookup both ways; the request ends only once.
        if (!m_requestDoneFlag) {
            localFailure(QStringLiteral("500 ") + exceptionClassName(e) + QStringLiteral(": ") + exceptionText(e));
            triggerRequestDone(kNoSuchReply);
        }
    }
}

void TSmtpClientBase::Helo()
{
    checkReady();
    checkConnected();
    beginRequest(smtpHelo);
    SendCommand(QStringLiteral("HELO ") + TextCodec::fromWin1252(heloName()), {250}, nullptr);
}

void TSmtpClientBase::Ehlo()
{
    checkReady();
    checkConnected();
    beginRequest(smtpEhlo);
    m_capabilities.clear();
    m_collectingEhlo = true;
    m_ehloLine = 0;
    SendCommand(QStringLiteral("EHLO ") + TextCodec::fromWin1252(heloName()), {250}, &TSmtpClientBase::ehloDone);
}

void TSmtpClientBase::ehloDone()
{
    m_collectingEhlo = false;
    if (m_requestResult != 0)
        m_capabilities.clear();
    if (!m_connected)
        return;
    if (m_requestResult == 0)
        m_esmtpSupported = true;
    triggerRequestDone(m_requestResult);
}

void TSmtpClientBase::Auth()
{
    checkReady();
    checkConnected();
    beginRequest(smtpAuth);
    if (!m_esmtpSupported) {
        localFailure(QStringLiteral("500 ESMTP not supported."));
        triggerRequestDone(kNoSuchReply);
        return;
    }
    const QByteArray user = TextCodec::toWin1252(m_username);
    switch (m_authType) {
    case smtpAuthNone:
        localFailure(QStringLiteral("500 No Authorization Type Selected."));
        triggerRequestDone(kNoSuchReply);
        return;
    case smtpAuthPlain: {
        const QByteArray arg = SmtpAuth::plainArgument(user, TextCodec::toWin1252(m_password));
        SendCommand(QStringLiteral("AUTH PLAIN ") + QString::fromLatin1(arg), {235}, nullptr,
                    QStringLiteral("AUTH PLAIN ") + kMaskedCredentials);
        return;
    }
    case smtpAuthLogin:
        SendCommand(QStringLiteral("AUTH LOGIN"), {334}, &TSmtpClientBase::authLoginUser);
        return;
    case smtpAuthCramMD5:
        SendCommand(QStringLiteral("AUTH CRAM-MD5"), {334}, &TSmtpClientBase::authCramAnswer);
        return;
    }
}

void TSmtpClientBase::authLoginUser()
{
    if (m_requestResult != 0) {
        triggerRequestDone(m_requestResult);
        return;
    }
    setState(smtpInternalReady);
    // The prompts' text is not examined: the user name is asked first, the password second.
    SendCommand(QString::fromLatin1(TextCodec::toWin1252(m_username).toBase64()), {334},
                &TSmtpClientBase::authLoginPassword, kMaskedCredentials);
}

void TSmtpClientBase::authLoginPassword()
{
    if (m_requestResult != 0) {
        triggerRequestDone(m_requestResult);
        return;
    }
    setState(smtpInternalReady);
    SendCommand(QString::fromLatin1(TextCodec::toWin1252(m_password).toBase64()), {235}, nullptr, kMaskedCredentials);
}

void TSmtpClientBase::authCramAnswer()
{
    if (m_requestResult != 0) {
        triggerRequestDone(m_requestResult);
        return;
    }
    if (m_lastResponse.size() <= 4) {
        localFailure(QStringLiteral("500 Malformed MD5 Challege: ") + m_lastResponse);
        triggerRequestDone(kNoSuchReply);
        return;
    }
    const QByteArray challenge = SmtpAuth::cramMd5Challenge(TextCodec::toWin1252(m_lastResponse));
    const QByteArray answer = SmtpAuth::cramMd5Answer(TextCodec::toWin1252(m_username),
                                                      TextCodec::toWin1252(m_password), challenge);
    setState(smtpInternalReady);
    SendCommand(QString::fromLatin1(answer), {235}, nullptr, kMaskedCredentials);
}

void TSmtpClientBase::Vrfy()
{
    checkReady();
    checkConnected();
    beginRequest(smtpVrfy);
    SendCommand(QStringLiteral("VRFY ") + m_hdrTo, {250}, nullptr);
}

void TSmtpClientBase::MailFrom()
{
    checkReady();
    checkConnected();
    beginRequest(smtpMailFrom);
    SendCommand(QStringLiteral("MAIL FROM:") + envelopeAddress(m_fromName), {250}, nullptr);
}

void TSmtpClientBase::RcptTo()
{
    checkReady();
    checkConnected();
    if (m_rcptName.isEmpty())
        throw ESmtpError(QStringLiteral("RcptName list is empty"));
    beginRequest(smtpRcptTo);
    m_rcptIndex = 0;
    sendRcpt();
}

void TSmtpClientBase::sendRcpt()
{
    const bool last = m_rcptIndex + 1 >= m_rcptName.size();
    SendCommand(QStringLiteral("RCPT TO:") + envelopeAddress(m_rcptName.at(m_rcptIndex)), {250, 251},
                last ? nullptr : &TSmtpClientBase::rcptNext);
}

void TSmtpClientBase::rcptNext()
{
    if (!m_connected)
        return;
    // Every recipient is tried whatever the previous one got; an earlier refusal stays in
    // ErrorMessage and the last reply decides the result.
    ++m_rcptIndex;
    setState(smtpInternalReady);
    sendRcpt();
}

void TSmtpClientBase::Data()
{
    checkReady();
    checkConnected();
    beginRequest(smtpData);
    m_headerLines.clear();
    if (!m_ownHeaders) {
        MailComposer::HeaderFields f;
        f.from = TextCodec::toWin1252(m_hdrFrom);
        f.to = TextCodec::toWin1252(m_hdrTo);
        f.subject = TextCodec::toWin1252(m_hdrSubject);
        f.replyTo = TextCodec::toWin1252(m_hdrReplyTo);
        f.returnPath = TextCodec::toWin1252(m_hdrReturnPath);
        f.sender = TextCodec::toWin1252(m_hdrSender);
        f.contentType = m_contentTypeString;
        f.charSet = TextCodec::toWin1252(m_charSet);
        const QDateTime now = Clock::now();
        m_headerLines = MailComposer::headerLines(f, MailComposer::rfc822Date(now, MailComposer::timeZoneBias(now)));
        DoProcessHeader(m_headerLines);
        m_headerLines << QByteArray();
    }
    m_headerIndex = -1;
    m_lineNum = 0;
    m_moreLines = true;
    SendCommand(QStringLiteral("DATA"), {354}, &TSmtpClientBase::dataStart);
}

void TSmtpClientBase::dataStart()
{
    if (!m_connected)
        return;
    if (m_requestResult != 0) {
        triggerRequestDone(m_requestResult);
        return;
    }
    m_dataSentArmed = true;
    pumpLine();
}

void TSmtpClientBase::sendDataLine(const QByteArray &line)
{
    m_socket->Send(line + "\r\n");
}

void TSmtpClientBase::pumpLine()
{
    if (!m_connected || m_socket->State() != ssConnected) {
        m_dataSentArmed = false;
        return;
    }
    setState(smtpInternalReady);
    ++m_headerIndex;
    if (m_headerIndex < m_headerLines.size()) {
        QByteArray line = m_headerLines.at(m_headerIndex);
        DoHeaderLine(line, MailComposer::kLineBufferSize);
        line = MailComposer::wireLine(MailComposer::foldHeaderLine(line));
        DoDisplay(QStringLiteral("> ") + TextCodec::fromWin1252(line));
        sendDataLine(line);
        return;
    }
    m_headerIndex = m_headerLines.size();
    QByteArray line;
    if (m_moreLines) {
        ++m_lineNum;
        try {
            bool more = true;
            DoGetData(m_lineNum, line, MailComposer::kMaxLineLength, more);
            m_moreLines = more;
        } catch (const std::exception &e) {
            // An attachment that cannot be read, or a failing hook, leaves the message
            // incomplete. Ending it with "." would have the server deliver a truncated mail
            // and report success; dropping the connection instead makes the server discard
            // it, and the request fails with the reason.
            m_moreLines = false;
            m_dataSentArmed = false;
            localFailure(QStringLiteral("500 ") + exceptionText(e));
            m_socket->Abort();
            return;
        }
    }
    if (m_moreLines) {
        line = MailComposer::wireLine(MailComposer::cutLine(line));
        DoDisplay(QStringLiteral("> ") + TextCodec::fromWin1252(line));
        sendDataLine(line);
        return;
    }
    m_dataSentArmed = false;
    SendCommand(QStringLiteral("."), {250}, nullptr);
}

void TSmtpClientBase::Rset()
{
    checkReady();
    checkConnected();
    beginRequest(smtpRset);
    SendCommand(QStringLiteral("RSET"), {250}, nullptr);
}

void TSmtpClientBase::Quit()
{
    checkReady();
    beginRequest(smtpQuit);
    if (!m_connected) {
        triggerRequestDone(0);
        return;
    }
    SendCommand(QStringLiteral("QUIT"), {221}, nullptr);
}

void TSmtpClientBase::Abort()
{
    setState(smtpAbort);
    try {
        m_socket->CancelLookup();
    } catch (const std::exception &) {
        // Whether or not the lookup could be cancelled, the client stops waiting for it.
    }
    m_dataSentArmed = false;
    m_tlsHandshaking = false;
    m_socket->Abort();
    // A request still waiting (nothing was open that could report its end) ends here, so a
    // caller waiting for it never hangs.
    if (!m_requestDoneFlag)
        triggerRequestDone(SocketErrors::Interrupted);
    m_connected = false;
    setState(smtpReady);
}

// ---- Connection security ----------------------------------------------------------------

bool TSmtpClientBase::ServerOffers(const QString &keyword) const
{
    for (const QString &line : m_capabilities) {
        if (line.section(QLatin1Char(' '), 0, 0).compare(keyword, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool TSmtpClientBase::TlsActive() const
{
    return m_connected && m_socket->TlsEstablished();
}

void TSmtpClientBase::securityFailed(TSmtpSecurityFailure kind, const QString &reason)
{
    if (m_securityFailure != smtpSecurityOk)
        return;
    m_securityFailure = kind;
    m_securityReason = reason;
    switch (kind) {
    case smtpStartTlsNotOffered:
        localFailure(QStringLiteral("500 STARTTLS not offered by the server: nothing was sent in the clear."));
        break;
    case smtpCertificateRejected:
        localFailure(QStringLiteral("500 Server certificate not valid for %1: %2").arg(m_host.trimmed(), reason));
        break;
    case smtpTlsFailed:
        localFailure(QStringLiteral("500 TLS failed with %1: %2").arg(m_host.trimmed(), reason));
        break;
    case smtpSecurityOk:
        break;
    }
}

QString TSmtpClientBase::securityFailureText() const
{
    const QString host = m_host.trimmed();
    switch (m_securityFailure) {
    case smtpCertificateRejected:
        return tr("O certificado do servidor não é válido para %1: %2").arg(host, m_securityReason);
    case smtpTlsFailed:
        return tr("A conexão segura com %1 falhou: %2").arg(host, m_securityReason);
    case smtpStartTlsNotOffered:
        return tr("O servidor %1 não oferece conexão segura (STARTTLS); nada foi enviado.").arg(host);
    case smtpSecurityOk:
        break;
    }
    return QString();
}

void TSmtpClientBase::StartTls()
{
    checkReady();
    checkConnected();
    beginRequest(smtpStartTls);
    if (m_socket->TlsActive()) {
        localFailure(QStringLiteral("500 TLS already started."));
        triggerRequestDone(kNoSuchReply);
        return;
    }
    if (!ServerOffers(QStringLiteral("STARTTLS"))) {
        securityFailed(smtpStartTlsNotOffered, QString());
        triggerRequestDone(kNoSuchReply);
        // Nothing more goes out on a connection that would stay in the clear.
        m_socket->Close();
        return;
    }
    SendCommand(QStringLiteral("STARTTLS"), {220}, &TSmtpClientBase::startTlsReply);
}

void TSmtpClientBase::startTlsReply()
{
    if (!m_connected)
        return;
    if (m_requestResult != 0) {
        securityFailed(smtpStartTlsNotOffered, m_lastResponse);
        triggerRequestDone(m_requestResult);
        m_socket->Close();
        return;
    }
    // Replies pipelined behind the 220 came in the clear: they are not the server's word.
    m_receive.clear();
    beginTls();
}

void TSmtpClientBase::beginTls()
{
    m_tlsHandshaking = true;
    m_esmtpSupported = false;
    m_capabilities.clear();
    TlsOptions options;
    options.host = m_host;
    options.extraTrustAnchors = m_trustAnchorFile;
    try {
        m_socket->StartTls(options);
    } catch (const std::exception &e) {
        m_tlsHandshaking = false;
        securityFailed(smtpTlsFailed, exceptionText(e));
        triggerRequestDone(kNoSuchReply);
        m_socket->Abort();
    }
}

void TSmtpClientBase::onTlsDone(int error)
{
    if (!m_tlsHandshaking)
        return;
    m_tlsHandshaking = false;
    if (error != 0) {
        securityFailed(error == SocketErrors::TlsCertificateRejected ? smtpCertificateRejected : smtpTlsFailed,
                       m_socket->TlsErrorText());
        m_connected = false;
        // The socket aborts the connection right after this; the request ends here, with the cause.
        triggerRequestDone(error);
        return;
    }
    DoDisplay(QStringLiteral("< TLS ") + m_socket->TlsDescription());
    // Implicit TLS: the greeting follows now. STARTTLS: the request is complete.
    if (m_state == smtpWaitingResponse) {
        m_requestResult = 0;
        triggerRequestDone(0);
    }
}

// ---- High-level requests ----------------------------------------------------------------

void TSmtpClientBase::Open()
{
    if (m_connected)
        throw ESmtpError(QStringLiteral("SMTP component already connected"));
    checkReady();
    unsigned steps = m_authType == smtpAuthNone ? stepConnect | stepHelo : stepConnect | stepEhlo | stepAuth;
    if (m_security != smtpSecurityNone) {
        steps = stepConnect | stepEhlo;
        if (m_security == smtpSecuritySTARTTLS)
            steps |= stepStartTls | stepEhloAgain;
        if (m_authType != smtpAuthNone)
            steps |= stepAuth;
    }
    startHighLevel(smtpOpen, steps);
}

void TSmtpClientBase::Mail()
{
    checkReady();
    startHighLevel(smtpMail, stepMailFrom | stepRcptTo | stepData);
}

void TSmtpClientBase::startHighLevel(TSmtpRequest kind, unsigned steps)
{
    m_lastResponse.clear();
    m_errorMessage.clear();
    m_requestKind = kind;
    m_requestResult = 0;
    m_highLevelResult = 0;
    m_highLevelFlag = true;
    m_pendingSteps = steps;
    m_previousStep = stepNone;
    m_nextRequest = &TSmtpClientBase::highLevelNext;
    runNextStep(true);
}

void TSmtpClientBase::highLevelNext()
{
    if (m_state == smtpAbort) {
        m_pendingSteps = stepNone;
        m_highLevelResult = 426;
        m_errorMessage = QStringLiteral("426 Operation aborted.");
    } else if (m_requestResult != 0) {
        if (m_previousStep == stepEhlo && m_connected && m_security == smtpSecuritySTARTTLS) {
            // No EHLO, no STARTTLS: HELO would carry on in the clear.
            securityFailed(smtpStartTlsNotOffered, m_lastResponse);
            m_highLevelResult = m_requestResult;
            m_pendingSteps = stepNone;
            m_socket->Close();
        } else if (m_previousStep == stepEhlo && m_connected) {
            // A server without ESMTP is greeted with HELO instead, and AUTH is dropped.
            m_pendingSteps = stepHelo;
        } else {
            m_highLevelResult = m_requestResult;
            m_pendingSteps = stepNone;
        }
    }
    runNextStep(false);
}

void TSmtpClientBase::runNextStep(bool raise)
{
    static const Step order[] = {stepConnect, stepHelo,   stepEhlo,     stepStartTls, stepEhloAgain,
                                 stepAuth,    stepMailFrom, stepRcptTo, stepData};
    for (const Step step : order) {
        if (!(m_pendingSteps & step))
            continue;
        m_pendingSteps &= ~step;
        m_previousStep = step;
        try {
            switch (step) {
            case stepConnect: Connect(); break;
            case stepHelo: Helo(); break;
            case stepEhlo: Ehlo(); break;
            case stepStartTls: StartTls(); break;
            case stepEhloAgain: Ehlo(); break;
            case stepAuth: Auth(); break;
            case stepMailFrom: MailFrom(); break;
            case stepRcptTo: RcptTo(); break;
            case stepData: Data(); break;
            case stepNone: break;
            }
        } catch (const std::exception &e) {
            if (raise) {
                // The first step is refused synchronously, as a plain request would be.
                m_nextRequest = nullptr;
                m_highLevelFlag = false;
                m_pendingSteps = stepNone;
                throw;
            }
            // A later step that cannot start (the connection was lost in between, no
            // recipients) ends the sequence with a failure instead of leaving it hanging.
            localFailure(QStringLiteral("500 ") + exceptionText(e));
            m_highLevelResult = kNoSuchReply;
            m_pendingSteps = stepNone;
            break;
        }
        return;
    }
    m_nextRequest = nullptr;
    m_highLevelFlag = false;
    m_requestDoneFlag = false;
    triggerRequestDone(m_highLevelResult);
}

// ---- TSmtpClient ------------------------------------------------------------------------

TSmtpClient::TSmtpClient(QObject *owner) : TSmtpClientBase(owner)
{
    m_body.getData = [this](int lineNum, QByteArray &line, int maxLen, bool &more) {
        TSmtpClientBase::DoGetData(lineNum, line, maxLen, more);
    };
    m_body.attachContentType = [this](int n, QString &name, QString &type) { DoAttachContentType(n, name, type); };
    m_body.attachHeader = [this](int n, const QString &name, QList<QByteArray> &lines) {
        DoAttachHeader(n, name, lines);
    };
}

TSmtpClient::~TSmtpClient() = default;

void TSmtpClient::setEmailFiles(const QStringList &files)
{
    m_emailFiles.clear();
    for (const QString &entry : files) {
        const QString name = entry.trimmed();
        if (name.isEmpty())
            continue;
        if (!QFileInfo(name).isFile())
            throw ESmtpError(QStringLiteral("File not found '%1'").arg(name));
        m_emailFiles << name;
    }
}

void TSmtpClient::Data()
{
    // Checked first: preparing the body would disturb a transfer that is still running.
    checkReady();
    checkConnected();
    QList<QByteArray> lines;
    const QStringList message = MailMessage();
    lines.reserve(message.size());
    for (const QString &l : message)
        lines << TextCodec::toWin1252(l);
    m_body.prepare(m_emailFiles, lines, MailComposer::contentTypeString(ContentType()), TextCodec::toWin1252(CharSet()),
                   Clock::now());
    TSmtpClientBase::Data();
}

void TSmtpClient::DoGetData(int, QByteArray &msgLine, int, bool &more)
{
    more = m_body.next(msgLine);
}

void TSmtpClient::DoHeaderLine(QByteArray &msg, int size)
{
    if (!m_body.boundary().isEmpty() && MailComposer::isContentTypeHeader(msg))
        msg = MailComposer::multipartContentTypeHeader(m_body.boundary());
    TSmtpClientBase::DoHeaderLine(msg, size);
}

void TSmtpClient::DoAttachContentType(int fileNumber, QString &fileName, QString &contentType)
{
    if (OnAttachContentType)
        OnAttachContentType(this, fileNumber, fileName, contentType);
}

void TSmtpClient::DoAttachHeader(int fileNumber, const QString &fileName, QList<QByteArray> &hdrLines)
{
    if (OnAttachHeader)
        OnAttachHeader(this, fileNumber, fileName, hdrLines);
}
