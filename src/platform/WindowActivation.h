#pragma once
// Bringing a window the program opens by itself to the front with the keyboard focus.
class QWidget;

namespace WindowActivation {

// Once `window` is on screen, raises it and asks the window manager to make it the active
// window. On X11 the request carries the X server's current time: a window opened for a click
// the program never saw itself (a menu that a panel shows for it over the session bus) would
// otherwise carry the time of the program's last own input, and window managers that keep
// windows from stealing the focus would leave it behind, its keys going elsewhere.
void activateWhenShown(QWidget *window);

} // namespace WindowActivation
