#pragma once
#include <QString>

namespace DataFolder {

// Creates the folder (its parent must exist) readable by its owner only, when it is missing.
// True when the folder exists afterwards. An existing folder keeps its permissions.
bool createPrivate(const QString &path);

// Flushes the folder's own entries to disk, so that a file just renamed into it survives a
// power loss under its new name. False when the folder cannot be opened or flushed; a file
// system that cannot flush folders at all counts as flushed. On failure errno tells why.
bool syncEntries(const QString &path);
// Removes what a save of `fileName` interrupted by a crash or a kill can leave in `folder`: the
// temporary "<fileName>.XXXXXX" (six letters or digits) it writes before renaming it over the
// file. Other files are not touched. Returns the number removed.
int removeInterruptedSaves(const QString &folder, const QString &fileName);

} // namespace DataFolder
