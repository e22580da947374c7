#pragma once
// Which Qt platform the program asks for. Under a Wayland session the notes run through
// XWayland when it is there: a Wayland client may neither place its windows nor learn where
// they are, and notes must come back where the user left them.
#include <QByteArray>
#include <functional>

namespace DisplayPlatform {

// The platform to set in QT_QPA_PLATFORM before the application starts, or an empty text to
// leave Qt's own choice; `variable` reads one environment variable (empty when unset).
QByteArray choose(const std::function<QByteArray(const char *)> &variable);

// Applies choose() to this process's environment.
void applyToEnvironment();

} // namespace DisplayPlatform
