#pragma once

#include <filesystem>
#include <vector>

namespace corvane::linux_desktop {

// The i2c adapters (bus numbers, ascending) that belong to a display controller: those below
// a DRM card or connector, those whose parent is a PCI device of the display class (0x03xxxx),
// and those named like a GPU's DDC or AUX channel. SMBus controllers, sensors and touchpads
// are none of these, so their buses are never touched.
std::vector<unsigned> displayAdapterBuses(const std::filesystem::path& sysfsRoot);

}  // namespace corvane::linux_desktop
