#pragma once
// The once-a-second alarm check and the tray click that answers a ringing note.
//
// The controller calls RunAlarmTick from tmrAlarme's handler, after the auto-save countdown:
//
//   AlarmHooks hooks;
//   hooks.startTrayAnimation = [this] { startBlinking(); };
//   hooks.saveStore = [this] { saveStore(); };              // a recurring alarm re-armed
//   hooks.playSound = [this](const QString &f) { wavSom.setFileName(f); wavSom.play(); };
//   hooks.beep = &TWavePlayer::defaultBeep;
//   RunAlarmTick(noteTable, RingingNote, Clock::now(), hooks);
//
// Every hook may be left empty. A hook that throws ends the tick there (the notes already
// handled keep their new state; the others are seen again on the next tick).
#include <QDateTime>
#include <QString>
#include <functional>

class NoteTable;
class TfPostIt;

struct AlarmHooks
{
    std::function<void()> startTrayAnimation;
    std::function<void()> saveStore;
    std::function<void(const QString &soundFile)> playSound;  // asynchronous, never waits
    std::function<void()> beep;
};

// Checks every note in slot order. A due note rings: the tray starts blinking, `ringingNote`
// becomes its slot, the alarm is cleared, its sound (or the beep) starts, the note comes to the
// front with its ringing icon in place of the armed one, and a recurring alarm is re-armed on
// its next moment and the store saved at once. Several notes may ring in one tick; the highest
// slot ends in `ringingNote`. Returns how many rang.
int RunAlarmTick(const NoteTable &table, int &ringingNote, const QDateTime &now, const AlarmHooks &hooks);

// Whether `note` rings at `now` (armed, due, and for a recurring alarm an allowed weekday).
bool NoteAlarmDue(const TfPostIt &note, const QDateTime &now);

// A single click on the tray icon: with a ringing note, brings it to the front, forgets it
// and stops the blinking. Returns whether there was one.
bool AnswerRingingNote(const NoteTable &table, int &ringingNote, const std::function<void()> &stopTrayAnimation);
