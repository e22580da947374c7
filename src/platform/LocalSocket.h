#pragma once
// Unix-domain stream sockets for the "CorkvaneMsg" endpoint, on the system calls themselves:
// the program then needs no network library at start. Header-only, shared with corkvane-msg.
#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace LocalSocket {

inline QString systemError(const char *what, int error)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(error)));
}

// The address of `path`; false when the path does not fit in one.
inline bool addressOf(const QString &path, sockaddr_un *address, QString *error)
{
    const QByteArray name = QFile::encodeName(path);
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    if (name.isEmpty() || name.size() >= qsizetype(sizeof address->sun_path)) {
        if (error)
            *error = QStringLiteral("invalid socket path %1").arg(path);
        return false;
    }
    std::memcpy(address->sun_path, name.constData(), size_t(name.size()));
    return true;
}

// A non-blocking stream socket, closed on exec, and the address of `path` for it.
inline int newSocketFor(const QString &path, sockaddr_un *address, QString *error)
{
    if (!addressOf(path, address, error))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0 && error)
        *error = systemError("socket", errno);
    return fd;
}

// A non-blocking listening socket at `path`, readable and writable by this user only. A file
// already at `path` makes it fail (EADDRINUSE); the caller decides whether it may go.
inline int listenAt(const QString &path, QString *error)
{
    sockaddr_un address;
    const int fd = newSocketFor(path, &address, error);
    if (fd < 0)
        return -1;
    // The socket file is made with the umask in force: owner-only from the first moment.
    const mode_t previous = ::umask(0177);
    const int bound = ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
    const int bindError = errno;
    ::umask(previous);
    if (bound != 0 || ::listen(fd, 16) != 0) {
        // Read before close, which may change errno; the caller looks at it (EADDRINUSE).
        const int failure = bound != 0 ? bindError : errno;
        if (error)
            *error = systemError(bound != 0 ? "bind" : "listen", failure);
        ::close(fd);
        errno = failure;
        return -1;
    }
    return fd;
}

// Connects to the socket at `path`, waiting at most `timeoutMs`; the descriptor is blocking.
inline int connectTo(const QString &path, int timeoutMs, QString *error)
{
    sockaddr_un address;
    const int fd = newSocketFor(path, &address, error);
    if (fd < 0)
        return -1;
    int rc = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
    if (rc != 0 && (errno == EAGAIN || errno == EINPROGRESS)) {
        // A full backlog: the listener has not accepted yet.
        pollfd p{fd, POLLOUT, 0};
        int soError = ETIMEDOUT;
        if (::poll(&p, 1, timeoutMs) == 1) {
            socklen_t len = sizeof soError;
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len);
        }
        rc = soError == 0 ? 0 : -1;
        errno = soError;
    }
    if (rc != 0) {
        if (error)
            *error = systemError("connect", errno);
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// Writes all of `bytes`, waiting at most `timeoutMs` in all.
inline bool writeAll(int fd, const QByteArray &bytes, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    qsizetype done = 0;
    while (done < bytes.size()) {
        pollfd p{fd, POLLOUT, 0};
        const int left = int(std::max<qint64>(0, timeoutMs - clock.elapsed()));
        if (::poll(&p, 1, left) != 1)
            return false;
        const ssize_t n = ::send(fd, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (n > 0)
            done += n;
    }
    return true;
}

// Waits (at most `timeoutMs`) for the peer to close, discarding anything it sends.
inline void waitForClose(int fd, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    char buffer[256];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        const int left = int(std::max<qint64>(0, timeoutMs - clock.elapsed()));
        if (::poll(&p, 1, left) != 1)
            return;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
            return;
    }
}

} // namespace LocalSocket
