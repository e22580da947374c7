#include "platform/WindowTitle.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QWidget>

namespace WindowTitle {

QString shown(const QString &title)
{
    const QString name = QGuiApplication::applicationDisplayName();
    if (name.isEmpty() || title.endsWith(name))
        return title.isEmpty() ? QGuiApplication::applicationName() : title;
    return title.isEmpty() ? name : title + QStringLiteral(" \u2014 ") + name;
}

int fittingWidth(const QString &title)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(shown(title)) + kDecorationWidth;
}

void fitFixedWindow(QWidget *window)
{
    const int width = fittingWidth(window->windowTitle());
    if (window->minimumWidth() >= width)
        return;
    const int height = window->minimumHeight() == window->maximumHeight() ? window->minimumHeight() : window->height();
    window->setFixedSize(width, height);
}

} // namespace WindowTitle
