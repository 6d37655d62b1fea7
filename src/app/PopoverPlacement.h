#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace corvane::app {

// Where the popover's panel goes (its top-left corner, global coordinates): centred under the
// tray item when the item sits in the upper half of its screen, above it otherwise, and moved
// in as far as needed to stay `margin` inside the screen's available area.
QPoint popoverPosition(QSize panel, const QRect& anchor, const QRect& available, int margin);

}  // namespace corvane::app
