#include "platform/MessageEndpoint.h"

#include "platform/LocalSocket.h"
#include "platform/ProgramCommand.h"

#include <QFile>
#include <QLockFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

constexpr int kMessageWaitMs = 2000;

// One accepted connection: its bytes are gathered until the message is complete.
class Client : public QObject
{
public:
    Client(int fd, QObject *parent, std::function<void(const QByteArray &)> deliver)
        : QObject(parent), m_fd(fd), m_deliver(std::move(deliver))
    {
        m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &Client::readSome);
        // The message is complete at its line end, when the peer closes, or after a short
        // wait: a peer that connects and stays silent still counts as one message, as it
        // always did.
        QTimer::singleShot(kMessageWaitMs, this, &Client::finish);
        readSome();
    }
    ~Client() override
    {
        delete m_notifier;
        ::close(m_fd);
    }

private:
    void readSome()
    {
        if (m_done)
            return;
        char buffer[ProgramCommand::kMaxMessageBytes];
        for (;;) {
            const qsizetype room = ProgramCommand::kMaxMessageBytes - m_message.size();
            if (room <= 0 || m_message.contains('\n'))
                return finish();
            const ssize_t n = ::recv(m_fd, buffer, size_t(room), MSG_DONTWAIT);
            if (n > 0) {
                m_message.append(buffer, n);
                continue;
            }
            if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
                return finish();
            if (errno != EINTR)
                return;
        }
    }
    void finish()
    {
        if (m_done)
            return;
        m_done = true;
        m_notifier->setEnabled(false);
        // The peer is let go first, and the message is handed on from the event loop rather
        // than from inside this notice: what it asks for may open a modal dialog, and a
        // notice that never returns would hold up every other socket notice meanwhile.
        ::shutdown(m_fd, SHUT_RDWR);
        QMetaObject::invokeMethod(parent(), [deliver = m_deliver, message = m_message] { deliver(message); },
                                  Qt::QueuedConnection);
        deleteLater();
    }

    const int m_fd;
    QSocketNotifier *m_notifier = nullptr;
    std::function<void(const QByteArray &)> m_deliver;
    QByteArray m_message;
    bool m_done = false;
};

} // namespace

MessageEndpoint::MessageEndpoint(QObject *parent) : QObject(parent)
{
}

MessageEndpoint::~MessageEndpoint()
{
    if (m_fd >= 0) {
        delete m_acceptNotifier;
        ::close(m_fd);
        QFile::remove(socketPath());
    }
}

QString MessageEndpoint::socketPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/CorkvaneMsg");
}

bool MessageEndpoint::listen()
{
    if (m_fd >= 0)
        return true;
    const QString path = socketPath();
    // The lock tells a live owner from a socket left by a crashed run without connecting to it:
    // a connection would itself be a message and make the other Corkvane create a note.
    if (!m_lock) {
        m_lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
        m_lock->setStaleLockTime(0);
    }
    if (!m_lock->isLocked() && !m_lock->tryLock(0)) {
        m_error = QStringLiteral("another Corkvane is already listening on %1").arg(path);
        return false;
    }
    m_fd = LocalSocket::listenAt(path, &m_error);
    if (m_fd < 0 && errno == EADDRINUSE) {
        // We hold the lock, so whatever is at the path was left by a run that ended. The new
        // socket is made beside it and renamed over it: the path is never missing meanwhile.
        const QString fresh = path + QStringLiteral(".%1").arg(::getpid());
        QFile::remove(fresh);
        m_fd = LocalSocket::listenAt(fresh, &m_error);
        if (m_fd >= 0 && ::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()) != 0) {
            m_error = LocalSocket::systemError("rename", errno);
            ::close(m_fd);
            m_fd = -1;
            QFile::remove(fresh);
        }
    }
    if (m_fd < 0)
        return false;
    m_error.clear();
    m_acceptNotifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_acceptNotifier, &QSocketNotifier::activated, this, &MessageEndpoint::acceptClients);
    return true;
}

void MessageEndpoint::acceptClients()
{
    for (;;) {
        const int client = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return;   // EAGAIN: all taken; anything else: tried again at the next notice
        }
        readMessage(client);
    }
}

void MessageEndpoint::readMessage(int client)
{
    new Client(client, this, [this](const QByteArray &message) { emit messageReceived(message); });
}
