#include "platform/linux/DrmConnectors.h"

#include <charconv>

#include "platform/linux/SysfsFiles.h"

namespace corvane::linux_desktop {
namespace {

namespace fs = std::filesystem;

std::optional<unsigned> decimal(std::string_view text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

bool isBuiltinType(std::string_view name) {
    for (std::string_view prefix : {"eDP-", "LVDS-", "DSI-"})
        if (name.starts_with(prefix)) return true;
    return false;
}

// The adapter the connector's "ddc" link points at, when the link resolves.
std::optional<unsigned> ddcBus(const fs::path& folder) {
    std::error_code error;
    const fs::path adapter = fs::canonical(folder / "ddc", error);
    if (error) return std::nullopt;
    return i2cBusNumber(adapter.filename().string());
}

}  // namespace

std::optional<std::string> connectorName(const std::string& sysfsName) {
    if (!sysfsName.starts_with("card")) return std::nullopt;
    const std::size_t dash = sysfsName.find('-');
    if (dash == std::string::npos || dash + 1 == sysfsName.size()) return std::nullopt;
    if (!decimal(std::string_view(sysfsName).substr(4, dash - 4))) return std::nullopt;
    return sysfsName.substr(dash + 1);
}

std::optional<unsigned> i2cBusNumber(const std::string& adapterName) {
    if (!adapterName.starts_with("i2c-")) return std::nullopt;
    return decimal(std::string_view(adapterName).substr(4));
}

std::optional<DrmConnector> readConnector(const fs::path& folder) {
    const std::string sysfsName = folder.filename().string();
    std::optional<std::string> name = connectorName(sysfsName);
    if (!name) return std::nullopt;
    if (readWord(folder / "status") != "connected") return std::nullopt;
    if (readWord(folder / "enabled") != "enabled") return std::nullopt;

    DrmConnector connector{folder,       sysfsName,     *name, isBuiltinType(*name),
                           std::nullopt, ddcBus(folder)};
    if (auto bytes = readBytes(folder / "edid")) connector.edid = parseEdid(*bytes);
    return connector;
}

std::vector<DrmConnector> connectedConnectors(const fs::path& sysfsRoot) {
    const fs::path drm = sysfsRoot / "class" / "drm";
    std::vector<DrmConnector> connectors;
    for (const std::string& entry : sortedEntryNames(drm))
        if (std::optional<DrmConnector> connector = readConnector(drm / entry))
            connectors.push_back(std::move(*connector));
    return connectors;
}

}  // namespace corvane::linux_desktop
