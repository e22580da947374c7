#pragma once
// The resident memory of a running process, as the kernel reports it.
#include <QByteArray>
#include <QFile>
#include <QString>

namespace ResidentMemory {

// VmRSS of process `pid` in kB; -1 when it cannot be read (the process is gone).
inline qint64 kilobytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

} // namespace ResidentMemory
