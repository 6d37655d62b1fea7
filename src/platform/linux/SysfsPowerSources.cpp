#include "platform/linux/SysfsPowerSources.h"

#include "platform/linux/SysfsFiles.h"

namespace corvane::linux_desktop {

SysfsPowerSources::SysfsPowerSources(std::filesystem::path sysfsRoot)
    : folder_(sysfsRoot / "class" / "power_supply"), changes_(folder_, "power_supply") {}

void SysfsPowerSources::findBatteries() const {
    batteryStatuses_.clear();
    for (const std::string& name : sortedEntryNames(folder_)) {
        const std::filesystem::path supply = folder_ / name;
        if (readWord(supply / "type") != "Battery" || readWord(supply / "scope") == "Device")
            continue;
        batteryStatuses_.push_back(std::make_unique<OpenValueFile>(supply / "status"));
    }
}

std::optional<std::vector<std::optional<PropertyValue>>> SysfsPowerSources::descriptions() const {
    if (changes_.changed()) findBatteries();
    bool discharging = false;
    for (const auto& status : batteryStatuses_)
        discharging = discharging || status->word() == "Discharging";
    std::vector<std::optional<PropertyValue>> sources;
    if (!batteryStatuses_.empty())
        sources.emplace_back(Dictionary{
            {"Type", "InternalBattery"},
            {"Power Source State", discharging ? "Battery Power" : "AC Power"},
        });
    return sources;
}

}  // namespace corvane::linux_desktop
