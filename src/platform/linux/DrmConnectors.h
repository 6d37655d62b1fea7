#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/Edid.h"

namespace corvane::linux_desktop {

// A DRM connector with a display attached.
struct DrmConnector {
    std::filesystem::path path;      // its folder, e.g. <sysfs>/class/drm/card0-eDP-1
    std::string sysfsName;           // "card0-eDP-1"
    std::string name;                // "eDP-1"
    bool builtin = false;            // an eDP, LVDS or DSI panel
    // Whether it shows a picture: the kernel's "enabled", or the window system's word. NVIDIA's
    // driver reports "disabled" for outputs that do show one.
    bool enabled = true;
    std::optional<unsigned> connectorId;  // the kernel's connector object ID, "connector_id"
    std::optional<Edid> edid;             // none when absent or invalid
    std::optional<unsigned> ddcBus;       // the i2c adapter of its DDC channel, when known
    std::optional<std::string> randrOutput;  // the RandR output showing it, when one does
};

// Every connector under <sysfsRoot>/class/drm whose status is "connected", in name order,
// with its DDC bus when its own folder names one (see `ownDdcBus`).
std::vector<DrmConnector> connectedConnectors(const std::filesystem::path& sysfsRoot);

// Reads one connector folder; none when it is not a connected connector.
std::optional<DrmConnector> readConnector(const std::filesystem::path& folder);

// The i2c adapter the connector folder itself names: its "ddc" link, else an i2c-N adapter
// right inside it, else the i2c-N adapter of its drm_dp_aux device.
std::optional<unsigned> ownDdcBus(const std::filesystem::path& folder);

// A connector's EDID file. One that is there but damaged (a bad base block, or a damaged or
// missing extension) is read once more after `pause`, as EDIDs are often read mid-hot-plug;
// the better of the two readings is kept.
std::optional<Edid> readConnectorEdid(const std::filesystem::path& file,
                                      const std::function<void()>& pause);

// Whether a connector name is a built-in panel's: eDP, LVDS or DSI, with or without a number.
bool isBuiltinConnectorName(std::string_view name);

// The connector part of a connector folder's name ("card0-HDMI-A-1" → "HDMI-A-1"); none for
// names that are not of the form card<N>-<connector>.
std::optional<std::string> connectorName(const std::string& sysfsName);

// The bus number of an i2c adapter's sysfs name ("i2c-5" → 5).
std::optional<unsigned> i2cBusNumber(const std::string& adapterName);

}  // namespace corvane::linux_desktop
