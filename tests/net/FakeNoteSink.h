#pragma once
// A note table without windows, for driving the protocol in tests.
#include "net/NoteProtocol.h"

#include <QMap>
#include <QStringList>

struct FakeNote
{
    QString title;
    ColourValue colour = 255;
    ColourValue captionColour = 255;
    int textWidth = 335;  // of the text area, as the sender gave it
    int textHeight = 102;
    QString replyAddress;
    NoteFont font{QStringLiteral("Courier New"), 8, 0xFFFFFF, true, false};
    QString footer;
    NoteAlarm alarm;
    bool alarmIcon = false;
    QStringList lines;
    int finished = 0;
};

class FakeNoteSink : public NoteSink
{
public:
    explicit FakeNoteSink(int capacity = 1001) : m_capacity(capacity) {}

    int createReceivedNote() override
    {
        if (m_next >= m_capacity)
            return -1;
        notes.insert(m_next, FakeNote{});
        return m_next++;
    }
    bool noteExists(int slot) const override { return notes.contains(slot); }
    void setTitle(int slot, const QString &title) override { note(slot).title = title; }
    void setNoteColour(int slot, ColourValue colour) override { note(slot).colour = colour; }
    void setCaptionColour(int slot, ColourValue colour) override { note(slot).captionColour = colour; }
    void setTextWidth(int slot, int width) override { note(slot).textWidth = width; }
    void setTextHeight(int slot, int height) override { note(slot).textHeight = height; }
    void setReplyAddress(int slot, const QString &address) override { note(slot).replyAddress = address; }
    NoteFont textFont(int slot) const override { return notes.value(slot).font; }
    void setTextFont(int slot, const NoteFont &font) override { note(slot).font = font; }
    void setFooter(int slot, const QString &text) override { note(slot).footer = text; }
    NoteAlarm alarm(int slot) const override { return notes.value(slot).alarm; }
    void setAlarm(int slot, const NoteAlarm &alarm) override { note(slot).alarm = alarm; }
    void showAlarmIcon(int slot) override { note(slot).alarmIcon = true; }
    void appendLine(int slot, const QString &line) override { note(slot).lines << line; }
    void finishNote(int slot) override { ++note(slot).finished; }

    QMap<int, FakeNote> notes;

private:
    FakeNote &note(int slot)
    {
        // Touching a slot that does not exist is exactly the fault the interpreter must avoid.
        if (!notes.contains(slot))
            qFatal("sink used for missing slot %d", slot);
        return notes[slot];
    }
    int m_capacity;
    int m_next = 0;
};

class FakeChannel : public CommandChannel
{
public:
    explicit FakeChannel(QString peer = QStringLiteral("192.168.0.7")) : peer(std::move(peer)) {}
    QString peerAddress() const override { return peer; }
    void reply(const QByteArray &bytes) override { replies += bytes; }
    void closeLater() override { ++closeRequests; }
    void log(const QString &text) override { logLines << text; }

    QString peer;
    QByteArray replies;
    int closeRequests = 0;
    QStringList logLines;
};
