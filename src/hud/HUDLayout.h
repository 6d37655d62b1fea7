#pragma once

#include "platform/Geometry.h"

namespace corvane {

// The indicator's geometry, in points, shared by its placement and its drawing.
inline constexpr Size kHUDSize{236, 118};
// Distance from the bottom of the screen's visible frame to the bottom of the panel.
inline constexpr double kHUDBottomOffset = 108;
inline constexpr double kHUDHorizontalPadding = 18;
inline constexpr double kHUDVerticalPadding = 14;
inline constexpr double kHUDRowSpacing = 8;
inline constexpr double kHUDCornerRadius = 20;
inline constexpr double kHUDBarHeight = 5;
inline constexpr double kHUDBarInset = 18;
// The bar's fill never shrinks below this, so an empty level still shows a stub.
inline constexpr double kHUDBarStubWidth = 8;

// The panel's frame on a screen whose visible frame is `visibleFrame`: centred horizontally,
// kHUDBottomOffset above its bottom.
Rect hudFrame(const Rect& visibleFrame);

// Width of the bar's fill in a track `trackWidth` wide: the level's share of the track, at
// least the stub and never wider than the track.
double hudBarFillWidth(double trackWidth, int percent);

}  // namespace corvane
