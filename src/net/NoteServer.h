#pragma once
// The listening note server: accepts connections from other installations on the PortTCP port,
// greets them, and runs every line they send through the receiving pipeline (log, block list,
// repeat filter, interpreter). A failing command aborts only its own connection; the note it
// was building stays as far as it got.
//
// Everything runs on the GUI thread. The server reads the settings live, so a changed block
// list applies to the next line; a changed port applies after a stop and a new start. The sink
// and the settings must outlive the server.
#include "net/NoteReceiver.h"
#include "net/SocketServer.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <stdexcept>

// The server's own refusal to start (the socket layer raises ESocketError for the rest).
class ENoteServerError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// One accepted connection of the note server.
class TNoteClient : public TSocketClient
{
    Q_OBJECT
public:
    explicit TNoteClient(QObject *owner = nullptr) : TSocketClient(owner) {}

    QByteArray ReceivedLine;  // the line being handled, without its line end
    QDateTime ConnectedAt;
    int NoteInProgress = NoteInterpreter::kNoNote;  // slot of the note this connection builds
    qint64 LastProgress = 0;  // server uptime (ms) of the last line with a command, or of the accept
    bool Refused = false;     // turned away at the accept; closes as soon as the banner is out
};

class NoteServer : public QObject
{
    Q_OBJECT
public:
    // Simultaneous connections kept. Past it, a new connection takes the place of the oldest
    // one that is not building a note; only when every one is, the new one is turned away.
    static constexpr int kMaxConnections = 200;
    // Simultaneous connections from one address. A sender uses one connection per note, so
    // this leaves room for a few people behind one address, and keeps any one address from
    // holding the server's connections (and so every other sender) for itself.
    static constexpr int kMaxConnectionsPerAddress = 8;
    // A connection that completes no line for this long is closed: idle, dribbling a line out
    // a byte at a time, or sending nothing but empty lines (which carry no command). A sender
    // writes a command every 100 ms however long its note is.
    static constexpr int kStallTimeoutMs = 60 * 1000;
    // Answers ("help") queued for a peer that does not read them; past this it is closed.
    static constexpr qsizetype kMaxUnreadAnswerBytes = 64 * 1024;

    NoteServer(const AppSettings &settings, NoteSink &sink, QString programFolder, QObject *parent = nullptr);
    ~NoteServer() override;

    // Starts listening on all interfaces at PortTCP; does nothing while already listening.
    // Throws ENoteServerError for a port text that names no port, ESocketError when the
    // socket cannot listen (the server then stays stopped).
    void StartNoteServer();
    // Makes a listening server follow a changed PortTCP at once (a stopped one simply starts).
    // The new port is opened before the old one is let go: when it cannot be opened, this
    // throws as StartNoteServer does and the server goes on listening where it was.
    void MoveNoteServer();
    // Closes the listening socket; connections already accepted go on until they end, and so
    // do the notes they are building.
    void StopNoteServer();
    // Lets go of the notes that open connections are building. Whoever empties the note table
    // to fill it again calls this first: a slot would then name another note. Such a
    // connection's next "alarm", "line" or "end" fails as for a deleted note.
    void ForgetNotesInProgress();
    bool isListening() const;
    // The port actually listened on, "error" when stopped.
    QString listeningPort() const;

    void LogNetEvent(const QString &text);
    const NetEventLog &eventLog() const { return m_log; }
    const NoteReceiver &receiver() const { return m_receiver; }
    int connectionCount() const { return m_socket->ClientCount(); }
    NoteReceiver &receiver() { return m_receiver; }

    // For tests and benchmarks: the connection limits above (0 = none).
    void setConnectionLimits(int perAddress, int stallTimeoutMs, int ceiling = kMaxConnections);

    // The port a PortTCP text names: a number 1..65535 or a TCP service name; -1 for anything
    // else (0 would let the system pick a port no sender knows).
    static int portNumber(const QString &portText);

signals:
    void netEventLogged(const QString &text);

private:
    void clientConnect(TSocketClient *client);
    void clientDisconnect(TSocketClient *client);
    void clientDataAvailable(TNoteClient *client);
    void refuse(TNoteClient *client, const QString &why);
    // Closes the oldest open connection that builds no note; false when there is none.
    bool makeRoomFor(const TNoteClient *client);
    void closeStalledClients();

    const AppSettings &m_settings;
    NoteReceiver m_receiver;
    NetEventLog m_log;
    TSocketServer *m_socket;
    int m_maxPerAddress = kMaxConnectionsPerAddress;
    int m_stallTimeoutMs = kStallTimeoutMs;
    int m_ceiling = kMaxConnections;
    QElapsedTimer m_uptime;
    QTimer m_stallCheck;
};
