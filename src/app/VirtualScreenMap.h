#pragma once

#include <vector>

#include "platform/Geometry.h"

namespace corvane::app {

// The simulated desktop drawn to scale on the real one: the box around every virtual screen is
// shrunk (never enlarged) to fit the real screen's work area and centred in it, so that
// whatever the application shows on a virtual screen appears on the real screen in that
// screen's place. Core desktop coordinates on both sides.
class VirtualScreenMap {
  public:
    // A map of `virtualScreens` onto `area`; without virtual screens, the identity moved to
    // the area.
    VirtualScreenMap(const std::vector<Rect>& virtualScreens, const Rect& area);

    double scale() const { return scale_; }
    Point map(Point point) const;
    // `rect` shrunk and moved with the desktop.
    Rect mapRect(const Rect& rect) const;
    // `rect` moved with the desktop at its own size, its bottom centre where the map puts it
    // but never past the area's edges: a panel of fixed size (the indicator) keeps its size
    // and its place on its screen, and stays whole on the real screen.
    Rect mapPanel(const Rect& rect) const;

  private:
    Rect from_;
    Rect area_;
    Point to_;
    double scale_ = 1;
};

}  // namespace corvane::app
