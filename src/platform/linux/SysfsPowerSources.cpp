#include "platform/linux/SysfsPowerSources.h"

#include "platform/linux/SysfsFiles.h"

namespace corvane::linux_desktop {

SysfsPowerSources::SysfsPowerSources(std::filesystem::path sysfsRoot)
    : sysfsRoot_(std::move(sysfsRoot)) {}

std::optional<std::vector<std::optional<PropertyValue>>> SysfsPowerSources::descriptions() const {
    const std::filesystem::path folder = sysfsRoot_ / "class" / "power_supply";
    bool hasBattery = false;
    bool discharging = false;
    for (const std::string& name : sortedEntryNames(folder)) {
        const std::filesystem::path supply = folder / name;
        if (readWord(supply / "type") != "Battery" || readWord(supply / "scope") == "Device")
            continue;
        hasBattery = true;
        discharging = discharging || readWord(supply / "status") == "Discharging";
    }
    std::vector<std::optional<PropertyValue>> sources;
    if (hasBattery)
        sources.emplace_back(Dictionary{
            {"Type", "InternalBattery"},
            {"Power Source State", discharging ? "Battery Power" : "AC Power"},
        });
    return sources;
}

}  // namespace corvane::linux_desktop
