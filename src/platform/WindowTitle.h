#pragma once
// A window's title as the window manager shows it, and the width that leaves room for all of
// it. The toolkit adds " — Corkvane" (the program's display name) to every title that does not
// already end with it, so a short dialog that fits its own words can still have its title cut.
#include <QString>

class QWidget;

namespace WindowTitle {

// The display name the program gives itself at start; the toolkit adds it to the titles.
inline constexpr char kProgramName[] = "Corkvane";

// Room the window manager takes in a title bar besides the text: the window's icon, its
// buttons and their padding (a title centred in the bar needs the buttons' width on both sides).
constexpr int kDecorationWidth = 120;

// The title the window manager receives for `title` (the program's display name being
// kProgramName, as the program sets it).
QString shown(const QString &title);

// The narrowest window on which the whole of `title` shows: its text, as shown, in the title
// font (the desktop's title font, bold as most window managers draw it) plus the decoration.
int fittingWidth(const QString &title);

// Widens a window, if need be, so that its title fits: a fixed-size one to that width (its
// height stays), another one no narrower than that.
void fitWindow(QWidget *window);

// fitWindow() now and whenever the window's title, size or language changes, for as long as
// the window lives.
void keepFitting(QWidget *window);

} // namespace WindowTitle
