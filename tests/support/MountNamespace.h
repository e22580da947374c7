#pragma once
// Folders that refuse writes, for tests that run as root (permission bits do not stop root):
// the test process moves into a mount namespace of its own, where a read-only bind mount or a
// tiny tmpfs over a folder is seen by this process only and goes with it.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>

namespace MountNamespace {

inline QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Once per process. False, with the reason, where the system does not allow it (no
// privileges, a container without mount namespaces): the caller then skips.
inline bool enter(QString *why)
{
    static int state = 0;  // 0 not tried, 1 entered, -1 refused
    static QString reason;
    if (state == 0) {
        if (::unshare(CLONE_NEWNS) != 0) {
            reason = QStringLiteral("no mount namespace of its own: ") + systemError();
            state = -1;
        } else if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            // Mounts made from here must not reach the rest of the machine.
            reason = QStringLiteral("mounts cannot be made private: ") + systemError();
            state = -1;
        } else {
            state = 1;
        }
    }
    if (state < 0 && why)
        *why = reason;
    return state > 0;
}

// The folder, as seen by this process, refuses every write ("Read-only file system").
inline bool makeReadOnly(const QString &folder, QString *why)
{
    const QByteArray path = QFile::encodeName(folder);
    if (::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) != 0
        || ::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
        if (why)
            *why = QStringLiteral("read-only bind mount: ") + systemError();
        return false;
    }
    return true;
}

// An empty file system of `bytes` over the folder: writes beyond it fail ("No space left on
// device"). What the folder held is hidden until undo().
inline bool makeFull(const QString &folder, qint64 bytes, QString *why)
{
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0700";
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) != 0) {
        if (why)
            *why = QStringLiteral("tmpfs: ") + systemError();
        return false;
    }
    return true;
}

// Takes the last mount over the folder away again.
inline bool undo(const QString &folder)
{
    return ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH) == 0;
}

} // namespace MountNamespace
