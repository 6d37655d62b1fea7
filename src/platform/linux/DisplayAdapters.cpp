#include "platform/linux/DisplayAdapters.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/linux/DrmConnectors.h"
#include "platform/linux/SysfsFiles.h"

namespace corvane::linux_desktop {
namespace {

namespace fs = std::filesystem;

bool belowDrm(const fs::path& adapter) {
    const fs::path above = adapter.parent_path();
    return std::any_of(above.begin(), above.end(), [](const fs::path& part) {
        return part == "drm" || connectorName(part.string()).has_value();
    });
}

bool displayClassParent(const fs::path& adapter) {
    const std::optional<std::string> pciClass = readWord(adapter.parent_path() / "class");
    return pciClass && pciClass->size() == 8 && pciClass->starts_with("0x03");
}

// The names the GPU drivers give their DDC and DisplayPort AUX adapters.
bool gpuChannelName(const fs::path& adapter) {
    std::string name = readWord(adapter / "name").value_or("");
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (std::string_view mark :
         {"nvidia i2c adapter", "i915 gmbus", "dpddc", "amdgpu dm", "radeon i2c", "nvkm-", "dp aux",
          "dp-aux", "dpmst"})
        if (name.find(mark) != std::string::npos) return true;
    return false;
}

}  // namespace

std::vector<unsigned> displayAdapterBuses(const fs::path& sysfsRoot) {
    const fs::path devices = sysfsRoot / "bus" / "i2c" / "devices";
    std::vector<unsigned> buses;
    for (const std::string& entry : sortedEntryNames(devices)) {
        const std::optional<unsigned> bus = i2cBusNumber(entry);
        std::error_code error;
        const fs::path adapter = fs::canonical(devices / entry, error);
        if (!bus || error) continue;
        if (belowDrm(adapter) || displayClassParent(adapter) || gpuChannelName(adapter))
            buses.push_back(*bus);
    }
    std::sort(buses.begin(), buses.end());
    return buses;
}

}  // namespace corvane::linux_desktop
