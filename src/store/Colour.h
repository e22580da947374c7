#pragma once
// Colours are stored and sent as 32-bit integers 0x00BBGGRR: red in the low byte. Negative
// values name system colours.
#include <QColor>
#include <QtGlobal>

using ColourValue = qint32;

constexpr ColourValue kDefaultNoteColour = 0x7BFFFF;     // a note section without Color
constexpr ColourValue kDefaultNewNoteColour = 0x80FFFF;  // [General] DefaultColor when missing

// Lowers each of red, green and blue by 3 x step, stopping at zero.
constexpr ColourValue CaptionShade(ColourValue colour, int step)
{
    auto lower = [step](int component) {
        const int v = component - 3 * step;
        return v < 0 ? 0 : (v > 255 ? 255 : v);
    };
    const int r = lower(colour & 0xFF);
    const int g = lower((colour >> 8) & 0xFF);
    const int b = lower((colour >> 16) & 0xFF);
    return r | (g << 8) | (b << 16);
}

// System colours (negative values) have no fixed value here; they show as the window colour.
QColor toQColor(ColourValue colour);
ColourValue fromQColor(const QColor &colour);
