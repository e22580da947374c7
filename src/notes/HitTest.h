#pragma once
// What lies under the pointer on the note window's own surface: the window has no frame, so it
// decides itself whether a press moves it or resizes it from an edge or a corner.
#include <Qt>

enum class HitZone { Move, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

// (x, y) relative to the window's top-left corner, in a window W x H. Starts as Move; each later
// rule that holds overrides the earlier answer: the four 12 px corners, then the 6 px bottom,
// 2 px top, 6 px right and 6 px left edges. Every comparison is strict.
HitZone HitTest(int x, int y, int width, int height);

// The edges a system resize grabs for a zone (none for Move).
Qt::Edges EdgesOf(HitZone zone);
// The pointer shape shown over a zone.
Qt::CursorShape CursorOf(HitZone zone);
