#include "sync/SyncFolder.h"

#include "store/DataFolder.h"
#include "store/IniFile.h"
#include "sync/SyncId.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kNoteExtension = QStringLiteral(".cvn");
const QString kConflictMark = QStringLiteral(".sync-conflict-");
const QString kTombstoneSection = QStringLiteral("Deleted");
// A temporary file this old was left by a crash: no write takes minutes.
constexpr qint64 kStaleTemporarySecs = 600;

QString errnoText(const QString &path, int err)
{
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(err)));
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

bool flushFd(int fd)
{
    int rc;
    do {
        rc = ::fsync(fd);
    } while (rc != 0 && errno == EINTR);
    return rc == 0 || errno == EINVAL || errno == ENOTSUP;
}

QString temporaryNameFor(const QString &path)
{
    return path + QLatin1Char('.') + QString::number(QRandomGenerator::global()->generate64(), 36)
           + SyncFolder::temporarySuffix();
}

} // namespace

SyncFolder::SyncFolder(const QString &root) : m_root(QDir::cleanPath(root)) {}

QString SyncFolder::notesFolder() const { return m_root + QStringLiteral("/notes"); }
QString SyncFolder::deletedFolder() const { return m_root + QStringLiteral("/deleted"); }
QString SyncFolder::notePath(const QString &syncId) const { return notesFolder() + QLatin1Char('/') + syncId + kNoteExtension; }
QString SyncFolder::tombstonePath(const QString &syncId) const { return deletedFolder() + QLatin1Char('/') + syncId; }

bool SyncFolder::prepare(QString *error) const
{
    const QFileInfo root(m_root);
    if (m_root.isEmpty() || !root.isAbsolute() || !root.isDir()) {
        if (error)
            *error = QDir::toNativeSeparators(m_root);
        return false;
    }
    for (const QString &sub : {notesFolder(), deletedFolder()}) {
        if (!QFileInfo(sub).isDir() && !QDir().mkdir(sub)) {
            if (error)
                *error = errnoText(sub, errno ? errno : EACCES);
            return false;
        }
    }
    const QString ignorePath = m_root + QStringLiteral("/.stignore");
    QByteArray ignore;
    const Read read = readFile(ignorePath, &ignore);
    if (read == Read::Unreadable) {
        if (error)
            *error = QDir::toNativeSeparators(ignorePath);
        return false;
    }
    for (const QByteArray &line : ignore.split('\n'))
        if (line.trimmed() == ignoreLine())
            return true;
    // The user's own lines stay; ours is added.
    if (!ignore.isEmpty() && !ignore.endsWith('\n'))
        ignore += '\n';
    ignore += "// Corkvane: files it is still writing\n" + ignoreLine() + '\n';
    return writeFile(ignorePath, ignore, error);
}

QString SyncFolder::idOfName(const QString &name, const QString &extension, bool *conflict)
{
    *conflict = false;
    if (name.size() < 36 || !SyncId::isValid(QStringView(name).first(36)))
        return {};
    const QStringView rest = QStringView(name).sliced(36);
    if (rest == extension)
        return name.first(36);
    if (rest.startsWith(kConflictMark) && rest.endsWith(extension)
        && rest.size() > kConflictMark.size() + extension.size() && !rest.contains(QLatin1Char('/'))) {
        // Not a temporary of ours that happens to carry the mark.
        if (rest.endsWith(temporarySuffix()))
            return {};
        *conflict = true;
        return name.first(36);
    }
    return {};
}

SyncFolder::Listing SyncFolder::list(const QDateTime &now) const
{
    Listing out;
    const auto scan = [&](const QString &folder, const QString &extension, QStringList &ids,
                          QList<EngineConflict> &conflicts) {
        const QDir dir(folder);
        const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        for (const QFileInfo &entry : entries) {
            const QString name = entry.fileName();
            if (name.endsWith(temporarySuffix())) {
                if (entry.isFile() && entry.lastModified().secsTo(now) > kStaleTemporarySecs)
                    out.staleTemporaries << entry.filePath();
                continue;
            }
            bool conflict = false;
            const QString id = idOfName(name, extension, &conflict);
            if (id.isEmpty())
                continue;
            if (conflict)
                conflicts.append({name, id});
            else
                ids << id;
        }
    };
    scan(notesFolder(), kNoteExtension, out.notes, out.conflicts);
    scan(deletedFolder(), QString(), out.tombstones, out.tombstoneConflicts);
    return out;
}

SyncFolder::Read SyncFolder::readFile(const QString &path, QByteArray *bytes)
{
    bytes->clear();
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT ? Read::Missing : Read::Unreadable;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxFileSize) {
        ::close(fd);
        return Read::Unreadable;
    }
    QByteArray data;
    data.resize(qsizetype(st.st_size));
    qsizetype got = 0;
    bool ok = true;
    for (;;) {
        if (got == data.size())
            data.resize(got + 4096);  // it may have grown since
        const ssize_t n = ::read(fd, data.data() + got, size_t(data.size() - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        if (n == 0)
            break;
        got += n;
        if (got > kMaxFileSize) {
            ok = false;
            break;
        }
    }
    ::close(fd);
    if (!ok)
        return Read::Unreadable;
    data.truncate(got);
    *bytes = std::move(data);
    return Read::Ok;
}

bool SyncFolder::writeFiles(QList<Write> &writes, QString *error)
{
    struct Pending
    {
        qsizetype index;
        QByteArray temporary;
    };
    QList<Pending> pending;
    bool allOk = true;
    const auto fail = [&](const QString &path, int err) {
        if (allOk && error)
            *error = errnoText(path, err);
        allOk = false;
    };
    // Past a few files one flush of the whole file system costs less than one per file.
    const bool flushEach = writes.size() <= 4;
    for (qsizetype i = 0; i < writes.size(); ++i) {
        Write &w = writes[i];
        w.ok = false;
        const QByteArray temporary = QFile::encodeName(temporaryNameFor(w.path));
        const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            fail(w.path, errno);
            continue;
        }
        const bool written = writeAll(fd, w.bytes) && (!flushEach || flushFd(fd));
        const int err = errno;
        ::close(fd);
        if (!written) {
            ::unlink(temporary.constData());
            fail(w.path, err);
            continue;
        }
        pending.append({i, temporary});
    }
    if (!flushEach && !pending.isEmpty()) {
        const int fd = ::open(pending.first().temporary.constData(), O_RDONLY | O_CLOEXEC);
        const bool flushed = fd >= 0 && ::syncfs(fd) == 0;
        const int err = errno;
        if (fd >= 0)
            ::close(fd);
        if (!flushed) {
            for (const Pending &p : pending) {
                ::unlink(p.temporary.constData());
                fail(writes[p.index].path, err);
            }
            return false;
        }
    }
    QStringList folders;
    for (const Pending &p : pending) {
        Write &w = writes[p.index];
        if (::rename(p.temporary.constData(), QFile::encodeName(w.path).constData()) != 0) {
            const int err = errno;
            ::unlink(p.temporary.constData());
            fail(w.path, err);
            continue;
        }
        w.ok = true;
        const QString folder = QFileInfo(w.path).absolutePath();
        if (!folders.contains(folder))
            folders << folder;
    }
    for (const QString &folder : folders)
        DataFolder::syncEntries(folder);
    return allOk;
}

bool SyncFolder::writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QList<Write> one{Write{path, bytes, false}};
    return writeFiles(one, error);
}

bool SyncFolder::removeFile(const QString &path)
{
    return ::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT;
}

QByteArray SyncFolder::tombstoneBytes(const QString &syncId, const QDateTime &deletedUtc, const QString &device)
{
    IniFile ini;
    ini.writeString(kTombstoneSection, QStringLiteral("SyncId"), syncId);
    ini.writeString(kTombstoneSection, QStringLiteral("Deleted"), deletedUtc.toUTC().toString(Qt::ISODate));
    ini.writeString(kTombstoneSection, QStringLiteral("Device"), device);
    return ini.toBytes();
}

QDateTime SyncFolder::tombstoneMoment(const QByteArray &bytes, const QString &path)
{
    const QDateTime when =
        QDateTime::fromString(IniFile(bytes).readString(kTombstoneSection, QStringLiteral("Deleted")), Qt::ISODate);
    if (when.isValid())
        return when.toUTC();
    return QFileInfo(path).lastModified().toUTC();
}

bool SyncFolder::tombstoneExpired(const QDateTime &deletedUtc, const QDateTime &nowUtc)
{
    return deletedUtc.isValid() && deletedUtc.addDays(kTombstoneDays) < nowUtc;
}
