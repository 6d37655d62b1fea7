#pragma once

#include <memory>

#include "platform/Platform.h"

namespace corvane {

// Raises a boost-capable display's light output past standard white with a click-through,
// extended-range window over its screen that multiplies everything beneath by `factor`.
// Owned by its display session; the owner calls tearDown() before letting it go.
// Main thread only.
class XDROverlay : public std::enable_shared_from_this<XDROverlay> {
public:
    // Makes an overlay without any window.
    static std::shared_ptr<XDROverlay> make(const Platform& platform, DisplayID id);
    // Whether the display's screen can show extended range (potential headroom above 1.5).
    static bool isSupported(const Platform& platform, DisplayID id);

    // Takes a boost fraction (limited to 0...1): below 0.004 the window goes, otherwise it is
    // built when needed and its factor set.
    void setBoost(double fraction);
    // Removes the window and resets the factor to 1.
    void tearDown();

    DisplayID displayID() const { return displayID_; }
    double factor() const { return factor_; }
    bool isBuilt() const { return window_ != nullptr; }

    XDROverlay(const Platform& platform, DisplayID id);

private:
    void build();
    void apply(double fraction);
    void present();
    bool hasQueue();

    const Platform* platform_;
    DisplayID displayID_;
    std::unique_ptr<OverlayWindow> window_;
    // Whether the window has shown a frame yet; it stays transparent until then.
    bool shown_ = false;
    std::unique_ptr<ScheduledWork> timer_;
    double factor_ = 1;
    bool hasDevice_;
    std::optional<bool> queue_;
};

}  // namespace corvane
