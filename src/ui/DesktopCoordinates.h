#pragma once

#include <QRect>
#include <QRectF>

#include "platform/Geometry.h"

// The core measures the desktop from the bottom-left corner of the main screen with y growing
// upwards; Qt measures it from the top-left with y growing downwards. Both use the same
// device-independent pixels.
namespace corvane::ui::desktop {

// `frame` in Qt's global coordinates, given the primary screen's Qt geometry.
QRectF toQt(const Rect& frame, const QRect& primaryScreen);
// `rect` (Qt's global coordinates) in the core's desktop coordinates.
Rect fromQt(const QRectF& rect, const QRect& primaryScreen);

// The same, against the application's primary screen (an empty one without any screen).
QRectF toQt(const Rect& frame);
Rect fromQt(const QRectF& rect);

}  // namespace corvane::ui::desktop
