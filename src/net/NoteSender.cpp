#include "net/NoteSender.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <sys/ioctl.h>
#include <linux/sockios.h>

namespace {

// Bytes the platform still holds for the peer: not yet sent, or sent and not yet acknowledged.
int unacknowledged(int fd)
{
    int pending = 0;
    if (fd < 0 || ::ioctl(fd, SIOCOUTQ, &pending) != 0)
        return 0;
    return pending;
}

} // namespace

NoteSender::NoteSender(QTimer &tmrConecta, QObject *parent) : QObject(parent), m_tmrConecta(tmrConecta)
{
    m_socket = new TAsyncSocket(this);
    m_socket->setObjectName(QStringLiteral("sockCliente"));
    // The sender never reads: the receiver's greeting and answers are dropped unread. Its own
    // handlers only end a wait early when the connection changes state.
    m_socket->OnChangeState = [this](TAsyncSocket *, TSocketState, TSocketState) {
        if (m_wait)
            m_wait->quit();
    };
    m_socket->OnDataSent = [this](TAsyncSocket *, int) {
        if (m_wait)
            m_wait->quit();
    };
    connect(&m_tmrConecta, &QTimer::timeout, this, [this] {
        m_tmrConecta.stop();
        if (m_wait)
            m_wait->quit();
    });
}

NoteSender::~NoteSender()
{
    if (m_wait)
        m_wait->quit();
}

void NoteSender::waitForSocket(int ms)
{
    QEventLoop loop;
    QEventLoop *outer = m_wait;
    m_wait = &loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    m_wait = outer;
}

void NoteSender::pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool NoteSender::ConnectToComputer(const QString &host, const QString &port)
{
    if (m_stopped)
        return false;
    try {
        // A socket left open by an earlier send that ended abruptly must not block this one.
        if (m_socket->State() != ssClosed)
            m_socket->Abort();
        m_socket->setProto(QStringLiteral("tcp"));
        m_socket->setAddr(host);
        m_socket->setPort(port);
        m_socket->Connect();
        m_tmrConecta.setInterval(kConnectLimitMs);
        m_tmrConecta.start();
        while (m_socket->State() == ssConnecting && m_tmrConecta.isActive() && !m_stopped)
            waitForSocket(50);
        m_tmrConecta.stop();
        // A host that never answers would hold the socket in its connect: abandon it, so the
        // next recipient can connect at once.
        if (m_socket->State() == ssConnecting || m_stopped)
            m_socket->Abort();
        return m_socket->State() == ssConnected;
    } catch (...) {
        m_tmrConecta.stop();
        try {
            m_socket->Abort();
        } catch (...) {
        }
        return false;
    }
}

bool NoteSender::SendNoteLine(const QByteArray &line)
{
    if (m_stopped || m_socket->State() != ssConnected)
        return false;
    try {
        m_socket->SendText(line);
    } catch (...) {
        return false;
    }
    return m_socket->State() == ssConnected;
}

void NoteSender::CloseNoteConnection()
{
    try {
        m_socket->Close();
    } catch (...) {
    }
}

bool NoteSender::drained()
{
    // The close that follows drops whatever has not reached the peer, so the note counts as
    // sent only once the peer has acknowledged every byte.
    const auto pending = [this] {
        return m_socket->BufferedCount() > 0 || unacknowledged(m_socket->Handle()) > 0;
    };
    QElapsedTimer waited;
    waited.start();
    while (!m_stopped && m_socket->State() == ssConnected && pending() && waited.elapsed() < kConnectLimitMs)
        waitForSocket(10);
    return !m_stopped && m_socket->State() == ssConnected && !pending();
}

bool NoteSender::sendNote(const NoteProtocol::OutgoingNote &note)
{
    const QList<QByteArray> commands = NoteProtocol::encodeNote(note);
    // "new" and "alarm" go at once; each text line and the final "end" are followed by a pause.
    const int unpaced = note.alarm.armed ? 2 : 1;
    for (int i = 0; i < commands.size(); ++i) {
        if (!SendNoteLine(commands.at(i))) {
            m_socket->Abort();
            return false;
        }
        if (i >= unpaced)
            pause(kLinePauseMs);
    }
    if (!drained()) {
        m_socket->Abort();
        return false;
    }
    return true;
}

void NoteSender::shutdown()
{
    m_stopped = true;
    m_tmrConecta.stop();
    CloseNoteConnection();
    if (m_wait)
        m_wait->quit();
}
