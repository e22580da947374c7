#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <pwd.h>
#include <unistd.h>

namespace Paths {

QString withSlash(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

QString programFolder()
{
    return withSlash(QCoreApplication::applicationDirPath());
}

QString documentsFolder()
{
    return withSlash(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

QString loginName()
{
    if (const passwd *pw = getpwuid(getuid()); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? QStringLiteral("Default") : user;
}

} // namespace Paths

QString Paths::soundFolder(const QString &current)
{
    if (!current.isEmpty()) {
        const QFileInfo info(current);
        if (info.absoluteDir().exists())
            return info.absolutePath();
    }
    for (const char *candidate : {"/usr/share/sounds", "/usr/local/share/sounds"})
        if (QFileInfo(QLatin1String(candidate)).isDir())
            return QLatin1String(candidate);
    return QDir::homePath();
}
