#pragma once
// Zooming a note's text with the keyboard and the wheel: what a key or a turn of the wheel
// asks for, and the font size that follows. The size is the note's own font size (in points),
// so it is stored with the note.
#include <Qt>

namespace NoteZoom {

constexpr int kMinSize = 6;
constexpr int kMaxSize = 72;

enum class Step { None, In, Out, Reset };

// Ctrl++ (also Ctrl+= and the keypad's +), Ctrl+- and Ctrl+0; Shift may be held, as '+' needs
// it on many keyboards. Anything else is Step::None.
Step stepForKey(int key, Qt::KeyboardModifiers modifiers);

// Whole notches of a wheel turned with Ctrl held: `pending` keeps what a fine-grained wheel or
// touchpad has turned short of a notch (120 eighths of a degree), in either direction.
int notches(int &pending, int angleDeltaY);

// The size after `steps` (positive: larger), one point each, within kMinSize..kMaxSize; a size
// already outside them is not moved further out.
int zoomed(int size, int steps);

} // namespace NoteZoom
