#pragma once
// The desktop session's autostart entry of Corkvane: $XDG_CONFIG_HOME/autostart/corkvane.desktop
// (~/.config when the variable is not set). It lives outside the store on purpose: the session
// reads it before Corkvane runs.
#include <QString>

namespace Autostart {

// The entry's full path.
QString entryPath();
// True when the entry exists and the session would start it (not hidden, not switched off).
bool isEnabled();
// On: writes a complete entry that starts `programPath` (made absolute); off: removes the entry.
// Returns an empty text on success, else what went wrong.
QString setEnabled(bool on, const QString &programPath);
// The Exec= value that runs `programPath` with no arguments, quoted as desktop entries require.
QString execValue(const QString &programPath);

} // namespace Autostart
