#include "store/Colour.h"

#include <QGuiApplication>
#include <QPalette>

QColor toQColor(ColourValue colour)
{
    if (colour < 0)
        return QGuiApplication::palette().color(QPalette::Window);
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

ColourValue fromQColor(const QColor &colour)
{
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}
