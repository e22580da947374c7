#pragma once
// The note transfer protocol: the bytes a sender writes for one note, and the interpreter that
// runs the received lines of one connection against the program's notes.
//
// A command line is a command word followed by its fields, each introduced by the byte 0xA2,
// in Windows-1252. The sender follows every command line with an empty line, so that two equal
// text lines in a row still reach a receiver that drops immediate repeats.
#include "net/NoteRateLimit.h"
#include "net/NoteSink.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <stdexcept>

namespace NoteProtocol {

inline constexpr char kSeparator = '\xA2';
inline const QByteArray kBanner = QByteArrayLiteral("Corkvane waiting for commands...");
// The answer to "help": LF before CR at each break, and no line end after the last one.
inline const QByteArray kHelpText = QByteArrayLiteral("Commands are:\n\r  new\n\r  exit\n\r  reply\n\r");
// Longest line the interpreter reads; the rest is cut without notice.
inline constexpr int kMaxLineBytes = 255;
// Longest text one "line" command carries whole: the line less "line" and its separator.
inline constexpr int kMaxLineTextBytes = kMaxLineBytes - 5;
// What the separator byte becomes inside a value the sender writes: a receiver has no escape
// for it, and a separator inside a value would shift every field after it.
inline constexpr char kSeparatorStandIn = 'c';
// Bounds on what a remote sender can make of a note: an absurd size or font would only exhaust
// this machine's memory, and endless "line" commands its text.
inline constexpr int kMaxExtent = 4096;
inline constexpr int kMaxFontSize = 256;
// Room for a note of a hundred thousand characters, with the line breaks a sender adds when
// it splits long paragraphs; every received note has at most this much, so the text of all
// of them stays bounded by the table.
inline constexpr qsizetype kMaxReceivedText = 128 * 1024;

// The look of the note as the sender sees it: the text area's size, not the window's.
struct OutgoingNote
{
    QString user;           // the sender's User setting
    QString title;
    ColourValue colour = 0; // text area
    int textWidth = 0;
    int textHeight = 0;
    ColourValue captionColour = 0;
    NoteFont font;
    NoteAlarm alarm;        // written only when armed
    QString text;           // CR LF line breaks
};

// Each function returns one command line followed by CR LF and the empty line.
QByteArray encodeNew(const OutgoingNote &note);
// The moment travels in this machine's short date and long time formats.
QByteArray encodeAlarm(const NoteAlarm &alarm);
// The "line" commands of one text line: CR becomes "_" and LF "^", so the line stays one line
// on the wire, and a line longer than a receiver keeps travels in several pieces
// (splitTextLine), one command each.
QList<QByteArray> encodeLine(const QString &textLine);
// The pieces a text line (already in Windows-1252, CR and LF replaced) travels in: each fits
// kMaxLineTextBytes even after a receiver has turned each of its tabs into up to eight blanks,
// and ends after the last blank that lets it fit, where there is one. Only line breaks are
// added at the receiver: joined, the pieces are the line.
QList<QByteArray> splitTextLine(const QByteArray &bytes);
QByteArray encodeEnd();
// The lines of a text as the sender walks them: split at CR LF, a final line break adds no
// empty line, an empty text has no lines.
QStringList textLines(const QString &text);
// Every command for one note, in the order they are written: "new", "alarm" when the alarm is
// armed, one "line" per piece of each text line, "end".
QList<QByteArray> encodeNote(const OutgoingNote &note);

} // namespace NoteProtocol

// A command that cannot be carried out. The receiver logs the class and the message and aborts
// the connection that sent it; whatever the command applied before it failed stays applied.
class ENoteCommandError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
    virtual const char *className() const { return "ENoteCommandError"; }
};

// A field that is not a number or a date and time.
class EBadFieldValue : public ENoteCommandError
{
public:
    using ENoteCommandError::ENoteCommandError;
    const char *className() const override { return "EBadFieldValue"; }
};

// A command line with fewer fields than the command reads.
class EFieldMissing : public ENoteCommandError
{
public:
    using ENoteCommandError::ENoteCommandError;
    const char *className() const override { return "EFieldMissing"; }
};

// The note this connection was building has been deleted meanwhile.
class ENoteGone : public ENoteCommandError
{
public:
    using ENoteCommandError::ENoteCommandError;
    const char *className() const override { return "ENoteGone"; }
};

// What a command may do to the connection it arrived on.
class CommandChannel
{
public:
    virtual ~CommandChannel() = default;
    // Dotted address of the sender.
    virtual QString peerAddress() const = 0;
    virtual void reply(const QByteArray &bytes) = 0;
    // Closes the connection once the current line has been handled.
    virtual void closeLater() = 0;
    virtual void log(const QString &text) = 0;
};

class NoteInterpreter
{
public:
    // `programFolder` (with its trailing '/') holds the sound a received alarm falls back to.
    NoteInterpreter(NoteSink &sink, QString programFolder);

    // A connection's note in progress: none, or one that may no longer be reached by its slot
    // (the table was emptied, so the slot may hold another note by now).
    static constexpr int kNoNote = -1;
    static constexpr int kNoteLost = -2;

    // Runs every command of one received line, already stripped of its line end, against the
    // connection's note in progress (a slot, kNoNote or kNoteLost). Throws ENoteCommandError
    // for a command that cannot be carried out; the commands before it in the line stay done.
    void interpretLine(const QByteArray &line, int &noteInProgress, CommandChannel &channel);

    // The sound a received alarm plays when the sender's sound file does not exist here.
    QString fallbackSound() const;

    // How fast one address may start notes; a "new" past it creates nothing.
    NoteRateLimit &noteRate() { return m_noteRate; }

private:
    void runCommand(const QList<QByteArray> &fields, int &noteInProgress, CommandChannel &channel);
    void commandNew(const QList<QByteArray> &fields, int &noteInProgress, CommandChannel &channel);
    void commandAlarm(const QList<QByteArray> &fields, int slot);
    void commandLine(const QList<QByteArray> &fields, int slot, CommandChannel &channel);
    void requireNote(int slot, const char *command) const;

    NoteSink &m_sink;
    QString m_programFolder;
    // Text bytes each received note has taken over the network, by slot.
    QHash<int, qsizetype> m_receivedText;
    NoteRateLimit m_noteRate;
};
