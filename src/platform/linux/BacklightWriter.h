#pragma once

#include <cstdint>

#include "platform/linux/SysfsBacklight.h"

namespace corvane::linux_desktop {

// Sets a backlight device's brightness. Unprivileged sessions need a go-between (the login
// manager); a writable sysfs file is enough otherwise.
class BacklightWriter {
  public:
    virtual ~BacklightWriter() = default;

    // Sets "brightness" to `value` (0...max_brightness); false when it was refused.
    virtual bool write(const BacklightDevice& device, std::uint64_t value) = 0;
};

// Writes the device's "brightness" file directly; false when it is not writable.
class SysfsBacklightWriter final : public BacklightWriter {
  public:
    bool write(const BacklightDevice& device, std::uint64_t value) override;
};

}  // namespace corvane::linux_desktop
