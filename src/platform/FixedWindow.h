#pragma once
// Windows of one fixed size: no maximise button, no resizing.
#include "platform/WindowTitle.h"

#include <QSize>
#include <QWidget>

namespace FixedWindow {

// The close button is asked for on purpose: an X11 window that asks the window manager for none
// of close, minimise and maximise is offered all three, maximise included.
inline void apply(QWidget *window, Qt::WindowType type, QSize size)
{
    window->setWindowFlags(type | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    window->setFixedSize(size);
    // Wider where the title needs it, so the window manager does not cut it.
    WindowTitle::keepFitting(window);
}

} // namespace FixedWindow
