#include "app/PopoverPlacement.h"

#include <algorithm>

namespace corvane::app {
namespace {

// Distance between the tray item and the panel.
constexpr int kGapToAnchor = 6;

// `start` moved into [low, high - length]; a length larger than that keeps `low`.
int clampInto(int start, int length, int low, int high) {
    return std::max(low, std::min(start, high - length));
}

QRect inner(const PopoverArea& area) {
    return area.available.adjusted(area.margin, area.margin, -area.margin, -area.margin);
}

// The first row or column the panel may use beside the item, away from its edge, and the one
// past the last; rows for top and bottom trays, columns for left and right ones.
struct Room {
    int first;
    int end;
};

Room roomBeside(const QRect& anchor, const PopoverArea& area, TrayEdge edge) {
    const QRect free = inner(area);
    switch (edge) {
        case TrayEdge::top:
            return {std::max(anchor.bottom() + 1 + kGapToAnchor, free.top()), free.bottom() + 1};
        case TrayEdge::bottom:
            return {free.top(), std::min(anchor.top() - kGapToAnchor, free.bottom() + 1)};
        case TrayEdge::left:
            return {std::max(anchor.right() + 1 + kGapToAnchor, free.left()), free.right() + 1};
        case TrayEdge::right:
            return {free.left(), std::min(anchor.left() - kGapToAnchor, free.right() + 1)};
    }
    return {free.top(), free.bottom() + 1};
}

}  // namespace

TrayEdge trayEdge(const QRect& anchor, const PopoverArea& area) {
    // An item in a panel lies outside the work area, on the panel's side.
    const QPoint centre = anchor.center();
    const QRect& free = area.available;
    if (centre.y() < free.top()) return TrayEdge::top;
    if (centre.y() > free.bottom()) return TrayEdge::bottom;
    if (centre.x() < free.left()) return TrayEdge::left;
    if (centre.x() > free.right()) return TrayEdge::right;
    // Otherwise (a panel that does not reserve its space, or the pointer): the nearest edge.
    const int toTop = centre.y() - area.screen.top();
    const int toBottom = area.screen.bottom() - centre.y();
    const int toLeft = centre.x() - area.screen.left();
    const int toRight = area.screen.right() - centre.x();
    const int nearest = std::min({toTop, toBottom, toLeft, toRight});
    if (nearest == toTop) return TrayEdge::top;
    if (nearest == toBottom) return TrayEdge::bottom;
    return nearest == toLeft ? TrayEdge::left : TrayEdge::right;
}

int popoverHeightLimit(const QRect& anchor, const PopoverArea& area) {
    const TrayEdge edge = trayEdge(anchor, area);
    if (edge == TrayEdge::left || edge == TrayEdge::right) return inner(area).height();
    const Room room = roomBeside(anchor, area, edge);
    return std::max(0, room.end - room.first);
}

QPoint popoverPosition(QSize panel, const QRect& anchor, const PopoverArea& area) {
    const QRect free = inner(area);
    const TrayEdge edge = trayEdge(anchor, area);
    const Room room = roomBeside(anchor, area, edge);
    switch (edge) {
        case TrayEdge::top:
        case TrayEdge::bottom: {
            const int x = clampInto(anchor.center().x() - panel.width() / 2, panel.width(),
                                    free.left(), free.right() + 1);
            const int y = edge == TrayEdge::top ? room.first : room.end - panel.height();
            return {x, y};
        }
        case TrayEdge::left:
        case TrayEdge::right: {
            const int y = clampInto(anchor.center().y() - panel.height() / 2, panel.height(),
                                    free.top(), free.bottom() + 1);
            const int x = edge == TrayEdge::left ? room.first : room.end - panel.width();
            return {x, y};
        }
    }
    return free.topLeft();
}

}  // namespace corvane::app
