#include "store/DataFolder.h"

#include <QDir>
#include <QFileInfo>

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
    const int error = errno;
    const bool ok = rc == 0 || error == EINVAL || error == ENOTSUP;
    ::close(fd);
    // The caller may name the reason of a failure.
    errno = error;
    return ok;
}

int removeInterruptedSaves(const QString &folder, const QString &fileName)
{
    // A save writes "<fileName>.XXXXXX" (six letters or digits) and renames it over the store.
    // Matched by hand: a regular expression here would load the pattern engine at every start.
    const auto isTemporary = [&fileName](const QString &name) {
        constexpr qsizetype kSuffix = 6;
        if (name.size() != fileName.size() + 1 + kSuffix || !name.startsWith(fileName)
            || name.at(fileName.size()) != QLatin1Char('.'))
            return false;
        for (const QChar c : QStringView(name).last(kSuffix))
            if (c.unicode() > 0x7F || !c.isLetterOrNumber())
                return false;
        return true;
    };
    const QDir dir(folder);
    int removed = 0;
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (isTemporary(name) && QFile::remove(dir.filePath(name)))
            ++removed;
    }
    return removed;
}

} // namespace DataFolder
