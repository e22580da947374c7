#include "app/Startup.h"

#include "app/Artwork.h"
#include "app/StickyNote.h"
#include "platform/Paths.h"

#include <QApplication>

int runCorkvane(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corkvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Corkvane"));
    QApplication::setApplicationVersion(QStringLiteral(CORKVANE_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(Artwork::applicationIcon());

    TfStickyNote controller({Paths::programFolder(), Paths::documentsFolder(), Paths::loginName()});
    controller.start();
    return app.exec();
}
