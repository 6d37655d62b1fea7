#pragma once

#include <functional>
#include <string>

#include "platform/PrivateDisplayFunctions.h"
#include "platform/linux/dbus/KdeScreenBrightness.h"

namespace corvane::linux_desktop {

// What the private display functions need to know of a display to pair it with Plasma's.
struct DisplayPairing {
    std::function<bool(DisplayID)> isBuiltin;
    // The monitor's name from its EDID; empty when it has none.
    std::function<std::string(DisplayID)> monitorName;
};

// The private display functions with Plasma in the loop. A display Plasma drives (the built-in
// panel by Plasma's internal flag, a monitor by its EDID name in Plasma's label) has its level
// read from and set through Plasma, as a backlight: so a change made in Plasma is read back by
// the poll like any change made elsewhere. While Plasma drives monitors, no DDC/CI bus is
// handed out at all: a monitor Plasma drives must not be written behind its back, and one that
// pairs with none of Plasma's (or with several) may well be one of them. Everything else goes
// to `inner`.
PrivateDisplayFunctions kdeAwareFunctions(PrivateDisplayFunctions inner,
                                          const KdeScreenBrightness& kde,
                                          DisplayPairing pairing);

}  // namespace corvane::linux_desktop
