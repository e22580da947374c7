#pragma once
// The stored state of one note: one field per key of a note section of the store.
#include "store/Colour.h"

#include <QDateTime>
#include <QString>
#include <array>

struct NoteFont
{
    QString name = QStringLiteral("Arial");
    int size = 10;              // points
    ColourValue colour = 0;
    bool bold = false;
    bool italic = false;

    bool operator==(const NoteFont &) const = default;
};

struct NoteData
{
    QString caption;
    bool visible = true;
    bool topmost = false;

    // Alarm. A note without an alarm holds false, 0 and empty texts in these fields until the
    // alarm settings fill them.
    bool alarm = false;
    QDateTime alarmDateTime;
    bool useSound = false;
    QString soundFile;
    std::array<bool, 7> dia{};  // Dia1 (Sunday) .. Dia7 (Saturday)
    bool remember = false;
    int rememberNo = 0;
    int rememberUnit = 0;       // 0 minutes, 1 hours, 2 days, 3 weeks, 4 months

    QString note;               // text with CR LF line breaks
    bool scrollbar = false;
    bool darkCaption = false;
    int trackPosition = 12;
    int posx = 400;
    int posy = 100;
    int width = 180;
    int height = 147;
    NoteFont font;
    ColourValue color = kDefaultNoteColour;
    QString rodape;             // footer; shown exactly when not empty
    // The note's identity in the sync folder (a UUID); empty until sync first gives it one.
    QString syncId;

    bool operator==(const NoteData &) const = default;
};
