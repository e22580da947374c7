#pragma once
// What the note protocol needs from the program to build a received note. The controller
// implements it over NoteTable and the note windows; the protocol itself never sees a window,
// so it can be driven and checked without one.
//
// Every operation names the note by its NoteTable slot. The interpreter asks noteExists()
// before it touches a note that a connection started earlier, because the user may have
// deleted that note in the meantime; the other operations are only called for a slot that
// exists.
#include "store/Colour.h"
#include "store/NoteData.h"

#include <QDateTime>
#include <QString>
#include <array>

// The per-note alarm settings, as a received "alarm" command sets them.
struct NoteAlarm
{
    bool armed = false;
    QDateTime moment;
    bool useSound = false;
    QString soundFile;
    bool remember = false;
    int rememberNo = 0;
    int rememberUnit = 0;
    std::array<bool, 7> dia{};  // Sunday .. Saturday

    bool operator==(const NoteAlarm &) const = default;
};

class NoteSink
{
public:
    virtual ~NoteSink() = default;

    // Creates a note as a received note (received-note sound, colour, width, place and font)
    // and shows it. Returns its slot, or -1 when the table has no free slot left.
    virtual int createReceivedNote() = 0;
    virtual bool noteExists(int slot) const = 0;

    virtual void setTitle(int slot, const QString &title) = 0;
    // The text area's colour; the window takes the same colour.
    virtual void setNoteColour(int slot, ColourValue colour) = 0;
    virtual void setCaptionColour(int slot, ColourValue colour) = 0;
    // The size of the sender's text area. The note gives its text area that size: its window
    // is that much larger, as far as the screen it opens on has room for it.
    virtual void setTextWidth(int slot, int width) = 0;
    virtual void setTextHeight(int slot, int height) = 0;
    // The sender's dotted address, for the note's reply command.
    virtual void setReplyAddress(int slot, const QString &address) = 0;
    virtual NoteFont textFont(int slot) const = 0;
    virtual void setTextFont(int slot, const NoteFont &font) = 0;
    // Sets the footer text and lays the footer panel out along the bottom of the window,
    // visible, in the text area's colour.
    virtual void setFooter(int slot, const QString &text) = 0;

    virtual NoteAlarm alarm(int slot) const = 0;
    virtual void setAlarm(int slot, const NoteAlarm &alarm) = 0;
    virtual void showAlarmIcon(int slot) = 0;

    // Appends one line (which may itself hold CR LF breaks) as the new last line of the text.
    virtual void appendLine(int slot, const QString &line) = 0;
    // Caret to the start, text area fitted between title bar and footer, window brought to
    // the foreground and to the front.
    virtual void finishNote(int slot) = 0;
};
