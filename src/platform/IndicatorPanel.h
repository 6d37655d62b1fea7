#pragma once

#include <memory>

#include "hud/BrightnessHUDView.h"
#include "platform/Geometry.h"

namespace corvane {

// The on-screen indicator's window: a borderless, translucent panel above every other window,
// including the boost overlays, on every workspace. It never takes focus or activates the
// application and lets clicks through. It is shown and hidden without animation.
class IndicatorPanel {
public:
    virtual ~IndicatorPanel() = default;

    // Replaces what the panel draws.
    virtual void setContent(const BrightnessHUDView& view) = 0;
    // Moves and resizes the panel (desktop coordinates, y up) and redraws it.
    virtual void setFrame(const Rect& frame) = 0;
    // Shows the panel in front, whether or not the application is active.
    virtual void orderFront() = 0;
    virtual void orderOut() = 0;
};

// Makes indicator panels.
class IndicatorPanels {
public:
    virtual ~IndicatorPanels() = default;

    // A panel of content size `size`, not yet on screen.
    virtual std::unique_ptr<IndicatorPanel> make(const Size& size) = 0;
};

}  // namespace corvane
