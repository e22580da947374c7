#pragma once
// The receiving side of the note protocol, without sockets: the bounded event log and the
// pipeline every received line goes through (strip, log, block list, repeat filter, interpret).
#include "net/NoteProtocol.h"
#include "store/AppSettings.h"

#include <QByteArray>
#include <QStringList>

// The server's event log: a bounded list of lines, never shown to the user.
class NetEventLog
{
public:
    static constexpr int kMaxLines = 200;
    static constexpr int kDroppedLines = 50;
    // Bytes of one received line that go into the log: the interpreter reads no more of it,
    // and a line of tabs (each up to eight blanks once edited) must not swell the log.
    static constexpr int kMaxLoggedLineBytes = 255;

    // Past kMaxLines lines, the kDroppedLines oldest go before the new one is added.
    void append(const QString &text);
    const QStringList &lines() const { return m_lines; }
    void clear() { m_lines.clear(); }

private:
    QStringList m_lines;
};

// How long a connection lasted, as a time of day "hh:nn:ss" (a day and more wraps round).
QString formatConnectionDuration(qint64 seconds);

class NoteReceiver
{
public:
    // `settings` is read for every line, so a changed block list applies to the next line.
    NoteReceiver(const AppSettings &settings, NoteSink &sink, QString programFolder);

    // One line as the socket delivers it, line end included, from the connection whose note
    // in progress is `noteInProgress`. Throws what the interpreter throws.
    void handleLine(const QByteArray &received, int &noteInProgress, CommandChannel &channel);

    // The line without its line end and any further CR and LF bytes at its end.
    static QByteArray stripLineEnd(const QByteArray &received);

    // The last line handed to the interpreter by any connection.
    const QByteArray &previousLine() const { return m_previousLine; }
    NoteRateLimit &noteRate() { return m_interpreter.noteRate(); }

private:
    const AppSettings &m_settings;
    NoteInterpreter m_interpreter;
    QByteArray m_previousLine;
};
