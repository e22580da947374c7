#pragma once
// The program's own pictures, drawn at run time so that no image files need shipping.
#include <QIcon>
#include <QPixmap>

namespace Artwork {

// A yellow note with a red pin: the tray's static icon, the application and window icon.
QIcon applicationIcon();
// The two frames the tray icon alternates while an alarm rings (frame 0 or 1).
QIcon alarmFrame(int frame);
// The about box's product picture, 177 x 132.
QPixmap productPicture();

} // namespace Artwork
