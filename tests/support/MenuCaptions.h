#pragma once
// A menu as the user reads it: its shown captions top to bottom, "-" for a separator.
#include <QAction>
#include <QMenu>
#include <QStringList>

inline QStringList menuCaptions(const QMenu *menu)
{
    QStringList out;
    for (const QAction *a : menu->actions())
        if (a->isVisible())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}
