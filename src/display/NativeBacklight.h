#pragma once

#include <optional>

#include "platform/Platform.h"

namespace corvane {

// The backlight of a display that has one, such as a built-in panel: through the private
// display-services entry points first, else the display-connect service's "brightness"
// parameter. Holds nothing between calls. Main thread only.
class NativeBacklight {
public:
    // The probe: a backlight for the display, or none.
    static std::optional<NativeBacklight> probe(const Platform& platform, DisplayID id);

    // The current level, 0...1, or none.
    std::optional<double> read() const;
    // Sets the level, limited to 0...1; true on success.
    bool write(double level) const;

    // The display-connect service that matches the display, or 0.
    static DisplayConnectID ioDisplayService(const Platform& platform, DisplayID id);

    DisplayID displayID() const { return displayID_; }

private:
    NativeBacklight(const Platform& platform, DisplayID id) : platform_(&platform), displayID_(id) {}

    const Platform* platform_;
    DisplayID displayID_;
};

}  // namespace corvane
