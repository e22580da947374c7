#include "notes/NoteZoom.h"

#include <algorithm>

namespace NoteZoom {

Step stepForKey(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers other = modifiers & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (other != Qt::ControlModifier)
        return Step::None;
    switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return Step::In;
    case Qt::Key_Minus:
        return Step::Out;
    case Qt::Key_0:
        return (modifiers & Qt::ShiftModifier) ? Step::None : Step::Reset;
    default:
        return Step::None;
    }
}

int notches(int &pending, int angleDeltaY)
{
    constexpr int kNotch = 120;
    // A turn the other way drops what was gathered the first way.
    if ((pending > 0 && angleDeltaY < 0) || (pending < 0 && angleDeltaY > 0))
        pending = 0;
    pending += angleDeltaY;
    const int whole = pending / kNotch;
    pending -= whole * kNotch;
    return whole;
}

int zoomed(int size, int steps)
{
    // A size already beyond a bound (set in the font dialog, or read from the store) is never
    // moved the wrong way by a step toward it.
    const long long wanted = static_cast<long long>(size) + steps;
    if (steps > 0)
        return static_cast<int>(std::max<long long>(size, std::min<long long>(wanted, kMaxSize)));
    if (steps < 0)
        return static_cast<int>(std::min<long long>(size, std::max<long long>(wanted, kMinSize)));
    return size;
}

} // namespace NoteZoom
