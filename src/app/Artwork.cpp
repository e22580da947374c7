#include "app/Artwork.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kIconSize = 32;

void drawNote(QPainter &p, const QRectF &r, const QColor &paper)
{
    const qreal fold = r.width() * 0.28;
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right(), r.top());
    sheet.lineTo(r.right(), r.bottom() - fold);
    sheet.lineTo(r.right() - fold, r.bottom());
    sheet.lineTo(r.left(), r.bottom());
    sheet.closeSubpath();
    p.setPen(QPen(paper.darker(160), r.width() / 24.0));
    p.setBrush(paper);
    p.drawPath(sheet);

    QPainterPath corner;
    corner.moveTo(r.right(), r.bottom() - fold);
    corner.lineTo(r.right() - fold, r.bottom() - fold);
    corner.lineTo(r.right() - fold, r.bottom());
    corner.closeSubpath();
    p.setBrush(paper.darker(125));
    p.drawPath(corner);

    p.setPen(QPen(paper.darker(200), r.height() / 28.0));
    for (int i = 1; i <= 3; ++i) {
        const qreal y = r.top() + r.height() * (0.25 + 0.17 * i);
        p.drawLine(QPointF(r.left() + r.width() * 0.15, y), QPointF(r.right() - r.width() * (i == 3 ? 0.45 : 0.15), y));
    }
}

void drawPin(QPainter &p, const QPointF &centre, qreal radius, const QColor &colour)
{
    p.setPen(QPen(colour.darker(180), radius / 3));
    p.setBrush(colour);
    p.drawEllipse(centre, radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(centre + QPointF(-radius / 3, -radius / 3), radius / 3, radius / 3);
}

QPixmap iconPixmap(const QColor &paper, const QColor &pin, bool rays)
{
    QPixmap pm(kIconSize, kIconSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    drawNote(p, QRectF(3, 5, 26, 25), paper);
    drawPin(p, QPointF(16, 7), 4.5, pin);
    if (rays) {
        p.setPen(QPen(QColor(220, 30, 30), 2));
        p.drawLine(QPointF(3, 3), QPointF(7, 6));
        p.drawLine(QPointF(29, 3), QPointF(25, 6));
        p.drawLine(QPointF(1, 12), QPointF(5, 12));
        p.drawLine(QPointF(31, 12), QPointF(27, 12));
    }
    return pm;
}

} // namespace

namespace Artwork {

QIcon applicationIcon()
{
    static const QIcon icon(iconPixmap(QColor(0xFF, 0xFF, 0x80), QColor(0xD0, 0x20, 0x20), false));
    return icon;
}

QIcon alarmFrame(int frame)
{
    return frame % 2 == 0 ? QIcon(iconPixmap(QColor(0xFF, 0xC0, 0x40), QColor(0xD0, 0x20, 0x20), true))
                          : QIcon(iconPixmap(QColor(0xFF, 0xFF, 0x80), QColor(0x20, 0x50, 0xD0), false));
}

QPixmap productPicture()
{
    QPixmap pm(177, 132);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.save();
    p.translate(40, 18);
    p.rotate(-8);
    drawNote(p, QRectF(0, 0, 70, 66), QColor(0x80, 0xFF, 0xFF));
    p.restore();
    p.save();
    p.translate(78, 12);
    p.rotate(6);
    drawNote(p, QRectF(0, 0, 76, 72), QColor(0xFF, 0xFF, 0x80));
    drawPin(p, QPointF(38, 6), 7, QColor(0xD0, 0x20, 0x20));
    p.restore();
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0x80, 0x00, 0x00));
    p.drawText(QRect(0, 98, 177, 30), Qt::AlignCenter, QStringLiteral("Corkvane"));
    return pm;
}

} // namespace Artwork
