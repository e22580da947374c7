#include "app/Startup.h"

#include <QApplication>

int runCorkvane(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return app.exec();
}
