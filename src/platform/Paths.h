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

} // namespace Paths
