#include "platform/DisplayPlatform.h"

#include <QtGlobal>

namespace DisplayPlatform {

QByteArray choose(const std::function<QByteArray(const char *)> &variable)
{
    if (!variable("QT_QPA_PLATFORM").isEmpty())
        return {};  // the user's own choice
    const bool wayland = !variable("WAYLAND_DISPLAY").isEmpty() || variable("XDG_SESSION_TYPE") == "wayland";
    if (!wayland || variable("DISPLAY").isEmpty())
        return {};
    return QByteArrayLiteral("xcb");
}

void applyToEnvironment()
{
    const QByteArray platform = choose([](const char *name) { return qgetenv(name); });
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

} // namespace DisplayPlatform
