#include "notes/NotePlaces.h"

#include <algorithm>
#include <limits>

namespace NotePlaces {

namespace {

// Squared distance between two rectangles; 0 when they touch or overlap.
qint64 distance(const QRect &a, const QRect &b)
{
    const qint64 dx = std::max<qint64>({0, qint64(b.left()) - a.right(), qint64(a.left()) - b.right()});
    const qint64 dy = std::max<qint64>({0, qint64(b.top()) - a.bottom(), qint64(a.top()) - b.bottom()});
    return dx * dx + dy * dy;
}

} // namespace

bool reachable(const QRect &note, int titleBarHeight, const QList<QRect> &areas)
{
    const QRect bar(note.x(), note.y(), note.width(), titleBarHeight);
    const int needWidth = std::min(kReachableWidth, note.width());
    const int needHeight = (titleBarHeight + 1) / 2;
    return std::any_of(areas.begin(), areas.end(), [&](const QRect &area) {
        const QRect inside = bar & area;
        return inside.width() >= needWidth && inside.height() >= needHeight;
    });
}

std::optional<QRect> rescue(const QRect &note, int titleBarHeight, const QList<QRect> &areas)
{
    QList<QRect> usable;
    for (const QRect &area : areas)
        if (!area.isEmpty())
            usable << area;
    if (usable.isEmpty() || reachable(note, titleBarHeight, usable))
        return std::nullopt;
    const QRect *nearest = &usable.front();
    qint64 best = std::numeric_limits<qint64>::max();
    for (const QRect &area : usable) {
        const qint64 d = distance(note, area);
        if (d < best) {
            best = d;
            nearest = &area;
        }
    }
    const QSize size = note.size().boundedTo(nearest->size());
    const int x = std::clamp(note.x(), nearest->left(), nearest->left() + nearest->width() - size.width());
    const int y = std::clamp(note.y(), nearest->top(), nearest->top() + nearest->height() - size.height());
    return QRect(QPoint(x, y), size);
}

QList<QPoint> cascade(const QRect &area, const QList<QSize> &sizes, int step)
{
    QList<QPoint> out;
    out.reserve(sizes.size());
    const int right = area.left() + area.width();
    const int bottom = area.top() + area.height();
    int round = 0;
    QPoint start = area.topLeft();
    int inRun = 0;
    int runRight = start.x();
    for (const QSize &size : sizes) {
        QPoint p = start + QPoint(inRun * step, inRun * step);
        const bool overflows = p.y() + size.height() > bottom || p.x() + size.width() > right;
        if (inRun > 0 && overflows) {
            start = QPoint(runRight, start.y());
            if (start.x() + size.width() > right || start.y() + size.height() > bottom) {
                ++round;
                start = QPoint(area.left(), area.top() + round * step);
                if (start.y() + size.height() > bottom) {
                    round = 0;
                    start = area.topLeft();
                }
            }
            inRun = 0;
            runRight = start.x();
            p = start;
        }
        out << p;
        runRight = std::max(runRight, p.x() + size.width());
        ++inRun;
    }
    return out;
}

} // namespace NotePlaces
