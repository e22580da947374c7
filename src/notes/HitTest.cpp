#include "notes/HitTest.h"

HitZone HitTest(int x, int y, int w, int h)
{
    constexpr int corner = 12;
    constexpr int edge = 6;
    constexpr int topEdge = 2;

    HitZone zone = HitZone::Move;
    if (y > h - corner && x > w - corner)
        zone = HitZone::BottomRight;
    if (y < corner && x > w - corner)
        zone = HitZone::TopRight;
    if (y < corner && x < corner)
        zone = HitZone::TopLeft;
    if (y > h - corner && x < corner)
        zone = HitZone::BottomLeft;
    if (y > h - edge && corner < x && x < w - corner)
        zone = HitZone::Bottom;
    if (y < topEdge && corner < x && x < w - corner)
        zone = HitZone::Top;
    if (x > w - edge && corner < y && y < h - corner)
        zone = HitZone::Right;
    if (x < edge && corner < y && y < h - corner)
        zone = HitZone::Left;
    return zone;
}

Qt::Edges EdgesOf(HitZone zone)
{
    switch (zone) {
    case HitZone::Move: return {};
    case HitZone::Left: return Qt::LeftEdge;
    case HitZone::Right: return Qt::RightEdge;
    case HitZone::Top: return Qt::TopEdge;
    case HitZone::Bottom: return Qt::BottomEdge;
    case HitZone::TopLeft: return Qt::TopEdge | Qt::LeftEdge;
    case HitZone::TopRight: return Qt::TopEdge | Qt::RightEdge;
    case HitZone::BottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
    case HitZone::BottomRight: return Qt::BottomEdge | Qt::RightEdge;
    }
    return {};
}

Qt::CursorShape CursorOf(HitZone zone)
{
    switch (zone) {
    case HitZone::Move: return Qt::ArrowCursor;
    case HitZone::Left:
    case HitZone::Right: return Qt::SizeHorCursor;
    case HitZone::Top:
    case HitZone::Bottom: return Qt::SizeVerCursor;
    case HitZone::TopLeft:
    case HitZone::BottomRight: return Qt::SizeFDiagCursor;
    case HitZone::TopRight:
    case HitZone::BottomLeft: return Qt::SizeBDiagCursor;
    }
    return Qt::ArrowCursor;
}
