#pragma once
// A menu as the user reads it: its captions top to bottom, "-" for a separator.
#include <QAction>
#include <QMenu>
#include <QStringList>

inline QStringList menuCaptions(const QMenu *menu)
{
    QStringList out;
    for (const QAction *a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}
