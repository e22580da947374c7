#pragma once
// Builds the notes that arrive from other computers: the note protocol's view of the
// controller's table and note windows.
#include "net/NoteSink.h"

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
    void setWidth(int slot, int width) override;
    void setHeight(int slot, int height) override;
    int footerHeight(int slot) const override;
    void setReplyAddress(int slot, const QString &address) override;
    NoteFont textFont(int slot) const override;
    void setTextFont(int slot, const NoteFont &font) override;
    void setFooter(int slot, const QString &text) override;
    NoteAlarm alarm(int slot) const override;
    void setAlarm(int slot, const NoteAlarm &alarm) override;
    void showAlarmIcon(int slot) override;
    void appendLine(int slot, const QString &line) override;
    void finishNote(int slot) override;

private:
    TfPostIt &note(int slot) const;
    TfStickyNote &m_controller;
};
