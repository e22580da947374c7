#include "store/DataFolder.h"

#include <QDir>
#include <QFileInfo>

namespace DataFolder {

bool createPrivate(const QString &path)
{
    if (QFileInfo(path).isDir())
        return true;
    // Created with its final mode: there is no moment at which others could look inside.
    return QDir().mkdir(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace DataFolder
