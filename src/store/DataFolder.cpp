#include "store/DataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace DataFolder {

bool createPrivate(const QString &path)
{
    if (QFileInfo(path).isDir())
        return true;
    // Created with its final mode: there is no moment at which others could look inside.
    return QDir().mkdir(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

bool syncEntries(const QString &path)
{
    const QByteArray name = QFile::encodeName(path.isEmpty() ? QStringLiteral(".") : path);
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int rc;
    do {
        rc = ::fsync(fd);
    } while (rc != 0 && errno == EINTR);
    const bool ok = rc == 0 || errno == EINVAL || errno == ENOTSUP;
    ::close(fd);
    return ok;
}

int removeInterruptedSaves(const QString &folder, const QString &fileName)
{
    const QRegularExpression temporary(QLatin1Char('^') + QRegularExpression::escape(fileName)
                                       + QStringLiteral("\\.[A-Za-z0-9]{6}$"));
    const QDir dir(folder);
    int removed = 0;
    for (const QString &name : dir.entryList({fileName + QStringLiteral(".*")}, QDir::Files | QDir::Hidden)) {
        if (temporary.match(name).hasMatch() && QFile::remove(dir.filePath(name)))
            ++removed;
    }
    return removed;
}

} // namespace DataFolder
