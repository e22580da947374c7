// Asks the running Corkvane of this user for a new note holding the clipboard's text, or, with
// a command word, for another of the requests a desktop entry makes (new-note, show-all,
// preferences, notes, show).
#include "platform/ProgramCommand.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    ProgramCommand::Command command = ProgramCommand::Command::Clipboard;
    if (args.size() > 2 || (args.size() == 2 && !ProgramCommand::fromWord(args.at(1)))) {
        std::fprintf(stderr, "usage: corkvane-msg [clipboard|new-note|show-all|preferences|notes|show]\n");
        return 2;
    }
    if (args.size() == 2)
        command = *ProgramCommand::fromWord(args.at(1));
    QString error;
    if (!ProgramCommand::send(command, 0, &error)) {
        std::fprintf(stderr, "corkvane-msg: no Corkvane is running for this user (%s)\n", qPrintable(error));
        return 1;
    }
    return 0;
}
