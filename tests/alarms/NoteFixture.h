#pragma once
// Note windows for the alarm tests, with a controller object that counts what notes post to it.
#include "notes/ControllerEvents.h"
#include "notes/NoteTable.h"
#include "notes/PostIt.h"
#include "store/AppSettings.h"

#include <QObject>
#include <memory>
#include <vector>

class CountingController : public QObject
{
public:
    int acknowledged = 0;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == AlarmAcknowledgedType) {
            ++acknowledged;
            return true;
        }
        return QObject::event(e);
    }
};

struct NoteFixture
{
    AppSettings settings;
    CountingController controller;
    NoteTable table;
    std::vector<std::unique_ptr<TfPostIt>> windows;

    // Adds a hidden note in the next slot.
    TfPostIt *add(const QString &title = QString())
    {
        auto note = std::make_unique<TfPostIt>(table.count(), &controller, &settings);
        note->setTitle(title);
        TfPostIt *raw = note.get();
        table.add(raw);
        windows.push_back(std::move(note));
        return raw;
    }

    // Arms `note` at `when`.
    static void arm(TfPostIt *note, const QDateTime &when, bool remember = false, int n = 1, int unit = 0,
                    std::array<bool, 7> days = {true, true, true, true, true, true, true})
    {
        note->setAlarm(true);
        note->setAlarmDateTime(when);
        note->setRemember(remember);
        note->setRememberNo(n);
        note->setRememberUnit(unit);
        note->setDia(days);
        note->setArmedIconShown(true);
    }
};
