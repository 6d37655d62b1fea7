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

// The device's "max_brightness"; none when it is unreadable, zero, or not a number that fits
// in 64 bits.
std::optional<std::uint64_t> maxBrightness(const BacklightDevice& device);

// A device's "brightness" and "max_brightness" read together.
struct BacklightReading {
    std::uint64_t raw = 0;
    std::uint64_t max = 1;
    // The raw value as a fraction of the maximum, 0...1 (a raw value above it counts as 1).
    double level() const;
};
std::optional<BacklightReading> readBacklight(const BacklightDevice& device);

// The raw value nearest to `level` (0...1) of `max`, for any maximum up to 2^64 - 1.
std::uint64_t rawFor(double level, std::uint64_t max);

}  // namespace corvane::linux_desktop
