#include "notes/NoteLayout.h"

NoteLayout LayOutNote(QSize client, bool footerShown)
{
    const int w = client.width();
    const int h = client.height();
    NoteLayout l;
    l.caption = QRect(0, 0, w, NoteLayout::kCaptionHeight);
    l.iconArea = QRect(0, 0, NoteLayout::kIconAreaWidth, NoteLayout::kCaptionHeight);
    l.deleteButton = QRect(w - NoteLayout::kButtonSize, 0, NoteLayout::kButtonSize, NoteLayout::kButtonSize);
    l.hideButton = QRect(w - 2 * NoteLayout::kButtonSize, 0, NoteLayout::kButtonSize, NoteLayout::kButtonSize);
    l.titleText = QRect(NoteLayout::kIconAreaWidth, 0,
                        qMax(0, l.hideButton.left() - NoteLayout::kIconAreaWidth), NoteLayout::kCaptionHeight);

    int textHeight = h - NoteLayout::kCaptionHeight - 5;
    if (footerShown) {
        l.footer = QRect(0, h - NoteLayout::kFooterHeight - 2, w - 2, NoteLayout::kFooterHeight);
        textHeight -= NoteLayout::kFooterHeight;
    }
    l.text = QRect(0, NoteLayout::kTextTop, w - 5, qMax(0, textHeight));
    return l;
}

QSize windowSizeForText(QSize text, bool footerShown)
{
    return {text.width() + 5,
            text.height() + NoteLayout::kCaptionHeight + 5 + (footerShown ? NoteLayout::kFooterHeight : 0)};
}
