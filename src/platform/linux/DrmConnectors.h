#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/Edid.h"

namespace corvane::linux_desktop {

// A DRM connector with a display attached and switched on.
struct DrmConnector {
    std::filesystem::path path;      // its folder, e.g. <sysfs>/class/drm/card0-eDP-1
    std::string sysfsName;           // "card0-eDP-1"
    std::string name;                // "eDP-1"
    bool builtin = false;            // an eDP, LVDS or DSI panel
    std::optional<Edid> edid;        // none when absent or invalid
    std::optional<unsigned> ddcBus;  // the i2c adapter its "ddc" link names, when that exists
};

// Every connector under <sysfsRoot>/class/drm whose status is "connected" and which is
// "enabled", in name order.
std::vector<DrmConnector> connectedConnectors(const std::filesystem::path& sysfsRoot);

// Reads one connector folder; none when it is not a connected, enabled connector.
std::optional<DrmConnector> readConnector(const std::filesystem::path& folder);

// The connector part of a connector folder's name ("card0-HDMI-A-1" → "HDMI-A-1"); none for
// names that are not of the form card<N>-<connector>.
std::optional<std::string> connectorName(const std::string& sysfsName);

// The bus number of an i2c adapter's sysfs name ("i2c-5" → 5).
std::optional<unsigned> i2cBusNumber(const std::string& adapterName);

}  // namespace corvane::linux_desktop
