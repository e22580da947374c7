#include "app/Startup.h"

#include "app/Artwork.h"
#include "app/StickyNote.h"
#include "platform/DisplayPlatform.h"
#include "platform/Paths.h"
#include "platform/ProgramCommand.h"
#include "platform/WindowTitle.h"

#include <QApplication>
#include <QLockFile>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>

namespace {

QStringList argumentList(int argc, char *argv[])
{
    QStringList out;
    for (int i = 0; i < argc; ++i)
        out << QString::fromLocal8Bit(argv[i]);
    return out;
}

} // namespace

int runCorkvane(int argc, char *argv[])
{
    const std::optional<ProgramCommand::Command> command = ProgramCommand::fromArguments(argumentList(argc, argv));
    DisplayPlatform::applyToEnvironment();

    // One Corkvane per user: two would save over each other's notes in the same store. A second
    // start hands its request to the running one (by default: bring up the notes and the menu),
    // which is how a desktop without a notification area reaches the program.
    QLockFile instance(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/corkvane.lock"));
    instance.setStaleLockTime(0);
    if (!instance.tryLock(0)) {
        QCoreApplication app(argc, argv);
        QString error;
        if (ProgramCommand::send(command.value_or(ProgramCommand::Command::Show), 15000, &error))
            return 0;
        std::fprintf(stderr, "corkvane: Corkvane is already running for this user but does not answer (%s)\n",
                     qPrintable(error));
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corkvane"));
    QApplication::setApplicationDisplayName(QString::fromLatin1(WindowTitle::kProgramName));
    QApplication::setApplicationVersion(QStringLiteral(CORKVANE_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(Artwork::applicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.corkvane.Corkvane"));

    TfStickyNote controller({Paths::programFolder(), Paths::documentsFolder(), Paths::loginName()});
    controller.setProcessEndsAfterShutdown(true);
    // Without a notification area there is no icon to start from: the notes window opens
    // with the notes, and reaches every note and, through its menu, every command.
    if (!controller.notificationAreaAvailable() && command != ProgramCommand::Command::Notes)
        controller.runProgramCommand(ProgramCommand::Command::Notes);
    if (command && *command != ProgramCommand::Command::Show)
        controller.runProgramCommand(*command);
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
