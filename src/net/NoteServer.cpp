#include "net/NoteServer.h"

#include "platform/Clock.h"

#include <QCoreApplication>
#include <QPointer>

#include <algorithm>
#include <netdb.h>

namespace {

QString describe(const std::exception &e)
{
    const auto *command = dynamic_cast<const ENoteCommandError *>(&e);
    const QString name = command ? QString::fromLatin1(command->className()) : exceptionClassName(e);
    return name + QStringLiteral(": ") + QString::fromUtf8(e.what());
}

// Commands of one connection act on that connection and write to the server's log.
class ClientChannel : public CommandChannel
{
public:
    ClientChannel(NoteServer &server, TNoteClient &client) : m_server(server), m_client(client) {}
    QString peerAddress() const override { return m_client.PeerAddr(); }
    void reply(const QByteArray &bytes) override
    {
        // A peer that asks and never reads its answers would have them pile up here.
        if (m_client.BufferedCount() > NoteServer::kMaxUnreadAnswerBytes) {
            m_server.LogNetEvent(QStringLiteral("Client does not read its answers: ") + m_client.PeerAddr()
                                 + QStringLiteral(". Closing."));
            m_client.Close();
            return;
        }
        m_client.SendText(bytes);
    }
    void closeLater() override { m_client.CloseLater(); }
    void log(const QString &text) override { m_server.LogNetEvent(text); }

private:
    NoteServer &m_server;
    TNoteClient &m_client;
};

} // namespace

NoteServer::NoteServer(const AppSettings &settings, NoteSink &sink, QString programFolder, QObject *parent)
    : QObject(parent), m_settings(settings), m_receiver(settings, sink, std::move(programFolder)),
      m_socket(new TSocketServer(this))
{
    m_uptime.start();
    connect(&m_stallCheck, &QTimer::timeout, this, &NoteServer::closeStalledClients);
    m_socket->setObjectName(QStringLiteral("NoteServer"));
    m_socket->setBanner(NoteProtocol::kBanner);
    m_socket->setBannerToBusy(QByteArrayLiteral("busy"));
    m_socket->setMaxClients(0);
    m_socket->setLineMode(false);
    m_socket->setClientClass<TNoteClient>();
    m_socket->OnClientConnect = [this](TCustomSocketServer *, TSocketClient *client, int) { clientConnect(client); };
    m_socket->OnClientDisconnect = [this](TCustomSocketServer *, TSocketClient *client, int) {
        clientDisconnect(client);
    };
    m_socket->OnBgException = [this](TAsyncSocket *, const std::exception &e, bool &CanClose) {
        LogNetEvent(QStringLiteral("Server exception occured: ") + describe(e));
        CanClose = false;
    };
}

void NoteServer::setConnectionLimits(int perAddress, int stallTimeoutMs, int ceiling)
{
    m_maxPerAddress = std::max(0, perAddress);
    m_ceiling = std::max(0, ceiling);
    m_stallTimeoutMs = std::max(0, stallTimeoutMs);
    if (m_stallTimeoutMs == 0)
        m_stallCheck.stop();
}

NoteServer::~NoteServer()
{
    // The socket objects go before this object's members would; none of their events may
    // reach a half-destroyed server.
    for (int i = 0; i < m_socket->ClientCount(); ++i) {
        TSocketClient *client = m_socket->Client(i);
        client->OnDataAvailable = nullptr;
        client->OnLineLimitExceeded = nullptr;
        client->OnBgException = nullptr;
    }
    m_socket->OnClientConnect = nullptr;
    m_socket->OnClientDisconnect = nullptr;
    m_socket->OnBgException = nullptr;
    delete m_socket;
}

int NoteServer::portNumber(const QString &portText)
{
    const QString text = portText.trimmed();
    if (text.isEmpty())
        return -1;
    bool digits = true;
    for (QChar c : text)
        digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (digits) {
        bool ok = false;
        const int port = text.toInt(&ok);
        return ok && port >= 1 && port <= 65535 ? port : -1;
    }
    const QByteArray name = text.toLatin1();
    const servent *service = ::getservbyname(name.constData(), "tcp");
    return service ? ntohs(static_cast<uint16_t>(service->s_port)) : -1;
}

void NoteServer::StartNoteServer()
{
    if (m_socket->State() == ssListening || m_socket->State() == ssConnected)
        return;
    const QString portText = m_settings.recRede.PortTCP.trimmed();
    if (portNumber(portText) < 0)
        throw ENoteServerError(
            QCoreApplication::translate("NoteServer", "A porta TCP \"%1\" não é válida: informe um número de 1 a "
                                                      "65535 ou o nome de um serviço TCP.")
                .arg(portText)
                .toStdString());
    m_socket->setProto(QStringLiteral("tcp"));
    m_socket->setPort(portText);
    m_socket->setAddr(QStringLiteral("0.0.0.0"));
    m_socket->Listen();
    LogNetEvent(QStringLiteral("Waiting for clients..."));
}

void NoteServer::MoveNoteServer()
{
    if (!isListening()) {
        StartNoteServer();
        return;
    }
    const QString portText = m_settings.recRede.PortTCP.trimmed();
    const int port = portNumber(portText);
    if (port < 0)
        throw ENoteServerError(
            QCoreApplication::translate("NoteServer", "A porta TCP \"%1\" não é válida: informe um número de 1 a "
                                                      "65535 ou o nome de um serviço TCP.")
                .arg(portText)
                .toStdString());
    const QString oldPort = listeningPort();
    if (QString::number(port) == oldPort)
        return;
    {
        // Throws, with the old listener untouched, when the new port is taken.
        TSocketServer probe;
        probe.setProto(QStringLiteral("tcp"));
        probe.setPort(QString::number(port));
        probe.setAddr(QStringLiteral("0.0.0.0"));
        probe.Listen();
        probe.Close();
    }
    m_socket->Close();
    try {
        m_socket->setPort(QString::number(port));
        m_socket->Listen();
    } catch (...) {
        // Someone took the port in between: stay where the senders know us.
        m_socket->setPort(oldPort);
        m_socket->Listen();
        throw;
    }
    LogNetEvent(QStringLiteral("Waiting for clients..."));
}

void NoteServer::StopNoteServer()
{
    m_socket->Close();
}

void NoteServer::ForgetNotesInProgress()
{
    for (int i = 0; i < m_socket->ClientCount(); ++i) {
        auto *client = static_cast<TNoteClient *>(m_socket->Client(i));
        if (client->NoteInProgress >= 0)
            client->NoteInProgress = NoteInterpreter::kNoteLost;
    }
}

bool NoteServer::isListening() const
{
    return m_socket->State() == ssListening;
}

QString NoteServer::listeningPort() const
{
    return m_socket->BoundPort();
}

void NoteServer::LogNetEvent(const QString &text)
{
    m_log.append(text);
    emit netEventLogged(text);
}

void NoteServer::clientConnect(TSocketClient *socket)
{
    auto *client = static_cast<TNoteClient *>(socket);
    int open = 0;
    int fromPeer = 0;
    for (int i = 0; i < m_socket->ClientCount(); ++i) {
        const auto *other = static_cast<const TNoteClient *>(m_socket->Client(i));
        if (other == client || other->Refused || other->State() != ssConnected)
            continue;
        ++open;
        if (other->PeerAddr() == client->PeerAddr())
            ++fromPeer;
    }
    if (m_maxPerAddress > 0 && fromPeer >= m_maxPerAddress) {
        refuse(client, QStringLiteral("Too many connections from ") + client->PeerAddr() + QStringLiteral(": refused."));
        return;
    }
    // Every connection holds a file descriptor; without a ceiling, idle peers could take them
    // all and leave none for saving the store. Held connections from enough addresses would
    // then keep every sender out, so a newcomer displaces the oldest connection that has no
    // note on its way: a sender's connection gets its "new" in at once and is safe from then on.
    if (m_ceiling > 0 && open >= m_ceiling && !makeRoomFor(client)) {
        refuse(client, QStringLiteral("Too many connections: ") + client->PeerAddr() + QStringLiteral(" refused."));
        return;
    }
    LogNetEvent(QStringLiteral("Client connected. Remote: ") + client->PeerAddr() + QLatin1Char('/') + client->PeerPort()
                + QStringLiteral(" Local: ") + client->BoundAddr() + QLatin1Char('/') + client->BoundPort());
    client->setLineMode(true);
    client->setLineEdit(true);
    client->setLineLimit(80);
    client->OnDataAvailable = [this](TAsyncSocket *sender, int) { clientDataAvailable(static_cast<TNoteClient *>(sender)); };
    client->OnLineLimitExceeded = [this](TAsyncSocket *sender, qsizetype, bool &ClearData) {
        LogNetEvent(QStringLiteral("Line limit exceeded from ") + sender->PeerAddr() + QStringLiteral(". Closing."));
        ClearData = true;
        sender->Close();
    };
    client->OnBgException = [this](TAsyncSocket *, const std::exception &e, bool &CanClose) {
        LogNetEvent(QStringLiteral("Client exception occured: ") + describe(e));
        CanClose = true;
    };
    client->ConnectedAt = Clock::now();
    client->NoteInProgress = NoteInterpreter::kNoNote;
    client->LastProgress = m_uptime.elapsed();
    if (m_stallTimeoutMs > 0 && !m_stallCheck.isActive())
        m_stallCheck.start(std::clamp(m_stallTimeoutMs / 4, 10, 1000));
}

void NoteServer::refuse(TNoteClient *client, const QString &why)
{
    LogNetEvent(why);
    client->Refused = true;
    // The peer is told why before the connection closes.
    client->setBanner(m_socket->BannerToBusy());
    client->CloseLater();
}

bool NoteServer::makeRoomFor(const TNoteClient *newcomer)
{
    // Clients are listed in the order they were accepted.
    for (int i = 0; i < m_socket->ClientCount(); ++i) {
        auto *client = static_cast<TNoteClient *>(m_socket->Client(i));
        if (client == newcomer || client->Refused || client->State() != ssConnected || client->NoteInProgress >= 0)
            continue;
        LogNetEvent(QStringLiteral("Too many connections: closing the oldest idle one, from ") + client->PeerAddr()
                    + QStringLiteral(", for ") + newcomer->PeerAddr() + QLatin1Char('.'));
        client->Abort();
        return true;
    }
    return false;
}

void NoteServer::closeStalledClients()
{
    if (m_socket->ClientCount() == 0 || m_stallTimeoutMs == 0) {
        m_stallCheck.stop();
        return;
    }
    const qint64 now = m_uptime.elapsed();
    QList<QPointer<TNoteClient>> stalled;
    for (int i = 0; i < m_socket->ClientCount(); ++i) {
        auto *client = static_cast<TNoteClient *>(m_socket->Client(i));
        if (client->State() == ssConnected && now - client->LastProgress > m_stallTimeoutMs)
            stalled << client;
    }
    for (const QPointer<TNoteClient> &client : std::as_const(stalled)) {
        if (!client || client->State() != ssConnected)
            continue;
        LogNetEvent(QStringLiteral("No line from ") + client->PeerAddr() + QStringLiteral(" for too long. Closing."));
        // Whatever the peer left unfinished is dropped, as for an overlong line.
        client->Abort();
    }
}

void NoteServer::clientDisconnect(TSocketClient *socket)
{
    auto *client = static_cast<TNoteClient *>(socket);
    LogNetEvent(QStringLiteral("Client disconnecting: ") + client->PeerAddr() + QStringLiteral("   Duration: ")
                + formatConnectionDuration(client->ConnectedAt.secsTo(Clock::now())));
}

void NoteServer::clientDataAvailable(TNoteClient *client)
{
    client->ReceivedLine = NoteReceiver::stripLineEnd(client->ReceiveText());
    // An empty line carries no command: it is what a peer would send to hold a connection
    // forever, not progress.
    if (!client->ReceivedLine.isEmpty())
        client->LastProgress = m_uptime.elapsed();
    ClientChannel channel(*this, *client);
    m_receiver.handleLine(client->ReceivedLine, client->NoteInProgress, channel);
}
