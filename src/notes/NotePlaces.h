#pragma once
// Where notes may stand on the screens, as pure arithmetic over rectangles: whether a note can
// still be grabbed, where a note that cannot goes, and how "Reunir Notas" lays notes out.
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace NotePlaces {

// The part of a title bar that must lie inside one screen's available area for the user to
// grab it: at least this wide, and at least half the bar's height (a sliver of a pixel or two
// at a screen's edge cannot be hit).
constexpr int kReachableWidth = 40;

// Whether the title bar (the top `titleBarHeight` pixels of `note`) lies, kReachableWidth
// pixels of it at least, inside one of `areas`.
bool reachable(const QRect &note, int titleBarHeight, const QList<QRect> &areas);

// Where a note that is not reachable goes: into the available area nearest to it (the first
// of equally near ones), as little moved as it takes to lie wholly inside, keeping its size
// unless the area is smaller, which shrinks it to the area. Empty for a reachable note, or
// when there is no area at all: such a note is left where it is.
std::optional<QRect> rescue(const QRect &note, int titleBarHeight, const QList<QRect> &areas);

// Cascade of notes of the given sizes over `area`, from its top-left corner, each one `step`
// pixels right of and below the one before, so that every title bar stays in view. A note that
// would reach past the bottom or the right of the area starts a new cascade at the top, right
// of the widest note of the cascade before; when that runs past the right edge too, the
// cascades start again at the left, one step lower than the last time round.
QList<QPoint> cascade(const QRect &area, const QList<QSize> &sizes, int step);

} // namespace NotePlaces
