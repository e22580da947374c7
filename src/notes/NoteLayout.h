#pragma once
// Where the note window's children go for a given client size. Run on every resize.
#include <QRect>
#include <QSize>

struct NoteLayout
{
    static constexpr int kCaptionHeight = 13;
    static constexpr int kButtonSize = 13;
    static constexpr int kIconAreaWidth = 16;
    static constexpr int kTextTop = 16;     // 3 px of bare window under the title bar
    static constexpr int kFooterHeight = 12;

    QRect caption;       // pnlCaption
    QRect iconArea;      // Panel1, inside the title bar
    QRect titleText;     // lblCaption, inside the title bar
    QRect hideButton;    // cmdEsconder, inside the title bar
    QRect deleteButton;  // cmdApagarPostit, inside the title bar
    QRect text;          // memPostit
    QRect footer;        // pnlRodape (empty when the footer is hidden)
};

NoteLayout LayOutNote(QSize client, bool footerShown);

// The window size whose text area LayOutNote makes `text`: the inverse of its arithmetic.
QSize windowSizeForText(QSize text, bool footerShown);
