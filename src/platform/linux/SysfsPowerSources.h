#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "platform/PowerSources.h"
#include "platform/linux/DeviceFolderChanges.h"
#include "platform/linux/SysfsFiles.h"

namespace corvane::linux_desktop {

// The power supplies of <sysfs>/class/power_supply. The internal battery is made of the
// supplies of type "Battery" whose scope is not "Device" (a device's scope marks a mouse's or
// a headset's battery). With one, the description list holds a single internal battery,
// on "Battery Power" when any such supply is "Discharging" (a machine with two batteries
// drains one at a time) and on "AC Power" otherwise. Without one — no battery, or none
// whose type can be read — the list is empty, which means mains power.
//
// The supplies that make up the battery are found again only when the folder changes (a
// supply comes or goes); each ask reads just their status files, kept open.
class SysfsPowerSources final : public PowerSources {
  public:
    explicit SysfsPowerSources(std::filesystem::path sysfsRoot);

    std::optional<std::vector<std::optional<PropertyValue>>> descriptions() const override;

  private:
    void findBatteries() const;

    std::filesystem::path folder_;
    mutable DeviceFolderChanges changes_;
    mutable std::vector<std::unique_ptr<OpenValueFile>> batteryStatuses_;
};

}  // namespace corvane::linux_desktop
