#pragma once
#include <QString>

namespace DataFolder {

// Creates the folder (its parent must exist) readable by its owner only, when it is missing.
// True when the folder exists afterwards. An existing folder keeps its permissions.
bool createPrivate(const QString &path);

} // namespace DataFolder
