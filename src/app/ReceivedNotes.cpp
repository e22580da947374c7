#include "app/ReceivedNotes.h"

#include "app/NewNote.h"
#include "app/NoteSync.h"
#include "app/StickyNote.h"
#include "notes/NoteLayout.h"
#include "notes/PostIt.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <stdexcept>

TfPostIt &ReceivedNotes::note(int slot) const
{
    TfPostIt *found = m_controller.note(slot);
    if (!found)
        throw std::logic_error("received note slot is empty");
    return *found;
}

int ReceivedNotes::createReceivedNote()
{
    if (NoteTable::kSlots - m_controller.noteTable().count() <= kSlotsKeptForUser)
        return -1;
    return m_controller.createNote(TfStickyNote::NoteKind::Received);
}

bool ReceivedNotes::noteExists(int slot) const
{
    return m_controller.note(slot) != nullptr;
}

void ReceivedNotes::setTitle(int slot, const QString &title)
{
    note(slot).setTitle(title);
}

void ReceivedNotes::setNoteColour(int slot, ColourValue colour)
{
    note(slot).setColor(colour);
}

void ReceivedNotes::setCaptionColour(int slot, ColourValue colour)
{
    note(slot).paintCaption(colour);
}

QRect ReceivedNotes::screenAreaAt(QPoint point)
{
    QScreen *screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void ReceivedNotes::fitWindow(TfPostIt &note, QSize size)
{
    // The place the note keeps is what the store will hold, whatever a window manager does.
    const QRect place = note.storedGeometry();
    note.place(fitIntoArea(QRect(place.topLeft(), size), screenAreaAt(place.center())));
}

// A received note shows its footer: the window holds the title bar, the text area the sender
// had, and the footer.
void ReceivedNotes::setTextWidth(int slot, int width)
{
    TfPostIt &n = note(slot);
    fitWindow(n, QSize(windowSizeForText(QSize(width, 0), true).width(), n.storedGeometry().height()));
}

void ReceivedNotes::setTextHeight(int slot, int height)
{
    TfPostIt &n = note(slot);
    fitWindow(n, QSize(n.storedGeometry().width(), windowSizeForText(QSize(0, height), true).height()));
}

void ReceivedNotes::setReplyAddress(int slot, const QString &address)
{
    note(slot).setReplyAddress(address);
}

NoteFont ReceivedNotes::textFont(int slot) const
{
    return note(slot).noteFont();
}

void ReceivedNotes::setTextFont(int slot, const NoteFont &font)
{
    note(slot).setNoteFont(font);
}

void ReceivedNotes::setFooter(int slot, const QString &text)
{
    note(slot).setFooterText(text);
}

NoteAlarm ReceivedNotes::alarm(int slot) const
{
    const TfPostIt &n = note(slot);
    return {n.alarm(), n.alarmDateTime(), n.useSound(), n.soundFile(), n.remember(), n.rememberNo(), n.rememberUnit(), n.dia()};
}

void ReceivedNotes::setAlarm(int slot, const NoteAlarm &alarm)
{
    TfPostIt &n = note(slot);
    n.setAlarm(alarm.armed);
    n.setAlarmDateTime(alarm.moment);
    n.setUseSound(alarm.useSound);
    n.setSoundFile(alarm.soundFile);
    n.setRemember(alarm.remember);
    n.setRememberNo(alarm.rememberNo);
    n.setRememberUnit(alarm.rememberUnit);
    n.setDia(alarm.dia);
}

void ReceivedNotes::showAlarmIcon(int slot)
{
    note(slot).setArmedIconShown(true);
}

void ReceivedNotes::appendLine(int slot, const QString &line)
{
    // The note itself tells "no line yet" from "empty lines so far" in an empty text area.
    note(slot).appendText(line);
}

void ReceivedNotes::finishNote(int slot)
{
    TfPostIt &n = note(slot);
    if (auto *text = n.findChild<QPlainTextEdit *>(QStringLiteral("memPostit"))) {
        QTextCursor cursor = text->textCursor();
        cursor.movePosition(QTextCursor::Start);
        text->setTextCursor(cursor);
        text->ensureCursorVisible();
    }
    n.bringToFront();
    // A note that came over the network reaches the user's other computers at once.
    if (NoteSync *sync = m_controller.noteSync())
        sync->engine().requestMerge();
}
