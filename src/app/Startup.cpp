#include "app/Startup.h"

#include "app/Artwork.h"
#include "app/StickyNote.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QLockFile>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>

int runCorkvane(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corkvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Corkvane"));
    QApplication::setApplicationVersion(QStringLiteral(CORKVANE_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(Artwork::applicationIcon());

    // One Corkvane per user: two would save over each other's notes in the same store.
    QLockFile instance(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/corkvane.lock"));
    instance.setStaleLockTime(0);
    if (!instance.tryLock(0)) {
        std::fprintf(stderr, "corkvane: Corkvane is already running for this user\n");
        return 1;
    }

    TfStickyNote controller({Paths::programFolder(), Paths::documentsFolder(), Paths::loginName()});
    controller.setProcessEndsAfterShutdown(true);
    controller.start();
    const int code = app.exec();
    if (controller.shutDown()) {
        // Everything worth keeping is on disk: end at once rather than tear down every window.
        std::fflush(nullptr);
        instance.unlock();
        std::_Exit(code);
    }
    return code;
}
