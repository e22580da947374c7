#pragma once
// The sending side of the note transfer: one client socket, sockCliente, shared by every send
// of the run, and the connect time limit of the controller's tmrConecta.
//
// Every wait here (the connect, the pause after each text line, the last bytes leaving) keeps
// the event loop running: other notes, the tray, the note server and the alarm check go on
// while a note is on its way. The caller keeps itself from being re-entered meanwhile.
#include "net/AsyncSocket.h"
#include "net/NoteProtocol.h"

#include <QObject>
#include <QString>

class QEventLoop;
class QTimer;

class NoteSender : public QObject
{
    Q_OBJECT

public:
    // The pause after each "line" and after "end": the receiver sees the pacing of a person.
    static constexpr int kLinePauseMs = 100;
    // How long a connect may take, and how long the last bytes may take to leave.
    static constexpr int kConnectLimitMs = 5000;

    // `tmrConecta` limits every connect; it is the controller's and outlives the sender.
    explicit NoteSender(QTimer &tmrConecta, QObject *parent = nullptr);
    ~NoteSender() override;

    TAsyncSocket *sockCliente() const { return m_socket; }

    // Connects sockCliente to host:port and waits, at most kConnectLimitMs, for the outcome.
    // An attempt still pending when the limit passes is abandoned, so the next recipient gets
    // a fresh socket. Any failure (no such host, refused, silent) is "not connected".
    bool ConnectToComputer(const QString &host, const QString &port);
    // Writes one encoded command (its line end and blank line included) in one send. False
    // when the connection is not up or the write failed; nothing is raised.
    bool SendNoteLine(const QByteArray &line);
    // Graceful close of sockCliente.
    void CloseNoteConnection();

    // Writes the whole note over the connected socket: "new", "alarm" when armed, each text
    // line followed by a pause, "end" followed by a pause. True only when every byte left this
    // machine while the connection was still up; a connection that drops (or is refused, or
    // times out on its last bytes) fails the note and is dropped.
    bool sendNote(const NoteProtocol::OutgoingNote &note);

    // Waits `ms` milliseconds with the event loop running.
    void pause(int ms);

    // The program is ending: the socket is closed and every send in progress stops at its next
    // step. Nothing is sent after this.
    void shutdown();
    bool stopped() const { return m_stopped; }

private:
    // Runs the event loop until sockCliente's state changes, the timer fires, or `ms` passes.
    void waitForSocket(int ms);
    bool drained();

    QTimer &m_tmrConecta;
    TAsyncSocket *m_socket = nullptr;
    QEventLoop *m_wait = nullptr;
    bool m_stopped = false;
};
