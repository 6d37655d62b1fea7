#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace corvane::app {

// The screen edge a tray item sits at.
enum class TrayEdge { top, bottom, left, right };

// Where the popover may go on one screen (global coordinates): the whole screen, the part
// panels leave free (the work area), and how far the popover keeps inside that.
struct PopoverArea {
    QRect screen;
    QRect available;
    int margin = 0;
};

// The edge of the screen the tray item sits at: the side of the work area it lies beyond,
// or else the screen edge nearest to it.
TrayEdge trayEdge(const QRect& anchor, const PopoverArea& area);

// The tallest popover that fits beside the tray item on `area`'s work area without covering
// the item.
int popoverHeightLimit(const QRect& anchor, const PopoverArea& area);

// Where the popover's panel goes (its top-left corner): beside the tray item on the side away
// from its edge (under a top tray, above a bottom one, right of a left one, left of a right
// one), centred on the item along that edge, and moved along the edge as far as needed to stay
// inside the work area. It never moves over the item: a panel taller than the room beside the
// item keeps to the item's side and overflows away from it.
QPoint popoverPosition(QSize panel, const QRect& anchor, const PopoverArea& area);

}  // namespace corvane::app
