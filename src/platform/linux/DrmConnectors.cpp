#include "platform/linux/DrmConnectors.h"

#include <charconv>
#include <chrono>
#include <thread>

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

// The adapter the connector's "ddc" link points at, when the link resolves.
std::optional<unsigned> linkedBus(const fs::path& folder) {
    std::error_code error;
    const fs::path adapter = fs::canonical(folder / "ddc", error);
    if (error) return std::nullopt;
    return i2cBusNumber(adapter.filename().string());
}

// The first i2c-N adapter directly inside a folder.
std::optional<unsigned> childBus(const fs::path& folder) {
    for (const std::string& entry : sortedEntryNames(folder))
        if (std::optional<unsigned> bus = i2cBusNumber(entry)) return bus;
    return std::nullopt;
}

std::optional<unsigned> auxChannelBus(const fs::path& folder) {
    for (const std::string& entry : sortedEntryNames(folder))
        if (entry.starts_with("drm_dp_aux"))
            if (std::optional<unsigned> bus = childBus(folder / entry)) return bus;
    return std::nullopt;
}

// How long a damaged EDID is given before it is read again.
constexpr std::chrono::milliseconds kEdidSettleTime{50};

bool better(const std::optional<Edid>& candidate, const std::optional<Edid>& than) {
    return candidate && (!than || candidate->blocks > than->blocks);
}

}  // namespace

std::optional<Edid> readConnectorEdid(const fs::path& file, const std::function<void()>& pause) {
    std::optional<std::vector<std::uint8_t>> bytes = readBytes(file);
    if (!bytes || bytes->empty()) return std::nullopt;
    std::optional<Edid> edid = parseEdid(*bytes);
    if (edid && edid->complete()) return edid;
    pause();
    std::optional<std::vector<std::uint8_t>> again = readBytes(file);
    std::optional<Edid> second = again ? parseEdid(*again) : std::nullopt;
    return better(second, edid) ? second : edid;
}

bool isBuiltinConnectorName(std::string_view name) {
    for (std::string_view type : {"eDP", "LVDS", "DSI"})
        if (name == type || (name.starts_with(type) && name.size() > type.size() &&
                             (name[type.size()] == '-' || decimal(name.substr(type.size())))))
            return true;
    return false;
}

std::optional<unsigned> ownDdcBus(const fs::path& folder) {
    if (std::optional<unsigned> bus = linkedBus(folder)) return bus;
    if (std::optional<unsigned> bus = childBus(folder)) return bus;
    return auxChannelBus(folder);
}

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

    DrmConnector connector;
    connector.path = folder;
    connector.sysfsName = sysfsName;
    connector.name = *name;
    connector.builtin = isBuiltinConnectorName(*name);
    connector.enabled = readWord(folder / "enabled") == "enabled";
    if (std::optional<std::uint64_t> id = readNumber(folder / "connector_id"); id && *id <= ~0u)
        connector.connectorId = static_cast<unsigned>(*id);
    connector.ddcBus = ownDdcBus(folder);
    connector.edid = readConnectorEdid(folder / "edid", [] {
        std::this_thread::sleep_for(kEdidSettleTime);
    });
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
