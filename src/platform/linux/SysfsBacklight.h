#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/linux/DrmConnectors.h"

namespace corvane::linux_desktop {

// A device of <sysfs>/class/backlight.
struct BacklightDevice {
    std::filesystem::path path;  // <sysfs>/class/backlight/<name>
    std::string name;
    std::string type;  // "firmware", "platform" or "raw"
};

// The backlight of the built-in panel on `connector`: the device that sits under the
// connector itself when there is one; otherwise the best by type (firmware, then platform,
// then raw; name order among equals) of those that sit under no other connector. A device
// below a DDC/CI monitor's i2c address is never chosen: it is an external monitor's.
std::optional<BacklightDevice> panelBacklight(const std::filesystem::path& sysfsRoot,
                                              const DrmConnector& connector);

// The device's "max_brightness"; none when it is unreadable or zero.
std::optional<std::uint64_t> maxBrightness(const BacklightDevice& device);

}  // namespace corvane::linux_desktop
