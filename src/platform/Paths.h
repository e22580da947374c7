#pragma once
#include <QString>

namespace Paths {

// Folder of the program file, with a trailing '/'.
QString programFolder();
// The personal documents folder with a trailing '/', or an empty text when there is none.
QString documentsFolder();
// The login name; "Default" when the system reports none.
QString loginName();
// Adds the trailing '/' when missing.
QString withSlash(const QString &folder);
// The folder a wave-file dialog opens in: the folder of `current` when it exists, else the
// system's sounds, else the home folder.
QString soundFolder(const QString &current);

} // namespace Paths
