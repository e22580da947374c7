#pragma once
// What one process of this user asks the running Corkvane to do through the "CorkvaneMsg"
// endpoint: a connection carries at most one command word on one line, and a connection that
// carries none (or a word this program does not know) asks for the clipboard note, as it
// always has. Shared by the program and the small corkvane-msg command, so header-only.
#include <QByteArray>
#include <algorithm>
#include <QByteArrayView>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QThread>
#include <optional>

#include "platform/LocalSocket.h"

namespace ProgramCommand {

enum class Command { Clipboard, Show, NewNote, ShowAll, Preferences, Notes };

struct Entry
{
    Command command;
    const char *word;    // on the endpoint, and corkvane-msg's argument
    const char *option;  // the program's own command-line option
};

inline constexpr Entry kCommands[] = {
    {Command::Clipboard, "clipboard", "--clipboard"},
    {Command::Show, "show", "--show"},
    {Command::NewNote, "new-note", "--new-note"},
    {Command::ShowAll, "show-all", "--show-all"},
    {Command::Preferences, "preferences", "--preferences"},
    {Command::Notes, "notes", "--notes"},
};

// Longest message read from one connection; the rest is not looked at.
inline constexpr int kMaxMessageBytes = 64;

inline QString endpointPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/CorkvaneMsg");
}

inline QByteArray word(Command command)
{
    for (const Entry &e : kCommands)
        if (e.command == command)
            return QByteArray(e.word);
    return {};
}

// The command of a received message: its first line, without blanks around it.
inline Command fromMessage(const QByteArray &message)
{
    const QByteArray first = message.left(kMaxMessageBytes).split('\n').first().trimmed();
    for (const Entry &e : kCommands)
        if (first == e.word)
            return e.command;
    return Command::Clipboard;
}

inline std::optional<Command> fromWord(const QString &text)
{
    for (const Entry &e : kCommands)
        if (text == QLatin1String(e.word))
            return e.command;
    return std::nullopt;
}

// The first of the program's own options among its arguments; other arguments are not ours.
inline std::optional<Command> fromArguments(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i)
        for (const Entry &e : kCommands)
            if (arguments.at(i) == QLatin1String(e.option))
                return e.command;
    return std::nullopt;
}

// Hands `command` to the running program, trying again until `timeoutMs` has passed (a program
// that has just started opens its endpoint only once its notes are loaded). The clipboard note
// goes as a bare connection, which every version of the program understands.
inline bool send(Command command, int timeoutMs, QString *error)
{
    QElapsedTimer clock;
    clock.start();
    int fd = -1;
    for (;;) {
        const int wait = std::max(100, int(std::min<qint64>(3000, timeoutMs - clock.elapsed())));
        fd = LocalSocket::connectTo(endpointPath(), wait, error);
        if (fd >= 0)
            break;
        if (clock.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(200);
    }
    if (command != Command::Clipboard)
        LocalSocket::writeAll(fd, word(command) + '\n', 3000);
    // The end of what we write ends the message; the program then closes its side.
    ::shutdown(fd, SHUT_WR);
    LocalSocket::waitForClose(fd, 3000);
    ::close(fd);
    return true;
}

} // namespace ProgramCommand
