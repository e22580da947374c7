#include "alarms/AlarmCheck.h"

#include "alarms/AlarmMath.h"
#include "notes/NoteTable.h"
#include "notes/PostIt.h"

bool NoteAlarmDue(const TfPostIt &note, const QDateTime &now)
{
    return note.alarm() && AlarmMath::isAlarmDue(note.remember(), note.dia(), note.alarmDateTime(), now);
}

int RunAlarmTick(const NoteTable &table, int &ringingNote, const QDateTime &now, const AlarmHooks &hooks)
{
    int rang = 0;
    for (int slot = 0; slot < table.count(); ++slot) {
        TfPostIt *note = table.at(slot);
        if (!note || !NoteAlarmDue(*note, now))
            continue;

        ++rang;
        if (hooks.startTrayAnimation)
            hooks.startTrayAnimation();
        ringingNote = slot;
        note->setAlarm(false);
        if (note->useSound()) {
            if (hooks.playSound)
                hooks.playSound(note->soundFile());
        } else if (hooks.beep) {
            hooks.beep();
        }
        note->bringToFront();
        note->setArmedIconShown(false);
        note->setRingingIconShown(true);

        if (note->remember()) {
            note->setAlarmDateTime(AlarmMath::NextAlarmTime(note->alarmDateTime(), note->rememberNo(),
                                                            note->rememberUnit(), note->dia(), now));
            note->setAlarm(true);
            if (hooks.saveStore)
                hooks.saveStore();
        }
    }
    return rang;
}

bool AnswerRingingNote(const NoteTable &table, int &ringingNote, const std::function<void()> &stopTrayAnimation)
{
    if (ringingNote < 0)
        return false;
    if (TfPostIt *note = table.at(ringingNote))
        note->bringToFront();
    ringingNote = -1;
    if (stopTrayAnimation)
        stopTrayAnimation();
    return true;
}
