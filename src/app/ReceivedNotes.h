#pragma once
// Builds the notes that arrive from other computers: the note protocol's view of the
// controller's table and note windows.
#include "net/NoteSink.h"

#include <QPoint>
#include <QRect>
#include <QSize>

class TfStickyNote;
class TfPostIt;

class ReceivedNotes : public NoteSink
{
public:
    // Slots of the note table that notes from other computers never take: whatever arrives,
    // the user can still write this many notes of their own in this run.
    static constexpr int kSlotsKeptForUser = 100;

    explicit ReceivedNotes(TfStickyNote &controller) : m_controller(controller) {}

    int createReceivedNote() override;
    bool noteExists(int slot) const override;
    void setTitle(int slot, const QString &title) override;
    void setNoteColour(int slot, ColourValue colour) override;
    void setCaptionColour(int slot, ColourValue colour) override;
    void setTextWidth(int slot, int width) override;
    void setTextHeight(int slot, int height) override;
    void setReplyAddress(int slot, const QString &address) override;
    NoteFont textFont(int slot) const override;
    void setTextFont(int slot, const NoteFont &font) override;
    void setFooter(int slot, const QString &text) override;
    NoteAlarm alarm(int slot) const override;
    void setAlarm(int slot, const NoteAlarm &alarm) override;
    void showAlarmIcon(int slot) override;
    void appendLine(int slot, const QString &line) override;
    void finishNote(int slot) override;

    // The available area (less panels and docks) of the screen at `point`, or of the primary
    // screen when none is there.
    static QRect screenAreaAt(QPoint point);

private:
    TfPostIt &note(int slot) const;
    // Gives the note's window `size`, inside the available area of the screen it stands on:
    // a sender's size never makes a window (and its memory) larger than this screen.
    static void fitWindow(TfPostIt &note, QSize size);
    TfStickyNote &m_controller;
};
