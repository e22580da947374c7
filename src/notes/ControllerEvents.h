#pragma once
// Requests that note windows queue to the controller, so that they run after the note's own
// handler has returned.
#include <QEvent>

inline constexpr QEvent::Type DeleteNoteRequestType = static_cast<QEvent::Type>(1125);
inline constexpr QEvent::Type AlarmAcknowledgedType = static_cast<QEvent::Type>(1126);

class DeleteNoteRequest : public QEvent
{
public:
    explicit DeleteNoteRequest(int slot) : QEvent(DeleteNoteRequestType), m_slot(slot) {}
    int slot() const { return m_slot; }

private:
    int m_slot;
};

class AlarmAcknowledged : public QEvent
{
public:
    AlarmAcknowledged() : QEvent(AlarmAcknowledgedType) {}
};
