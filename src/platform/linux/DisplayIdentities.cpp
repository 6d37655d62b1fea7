#include "platform/linux/DisplayIdentities.h"

#include <algorithm>

#include "platform/Diagnostics.h"
#include "platform/linux/NameBasedUuid.h"

namespace corvane::linux_desktop {
namespace {

std::uint32_t fnv1a(const std::string& text) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char byte : text) hash = (hash ^ byte) * 16777619u;
    return hash;
}

bool sameEdid(const DrmConnector& a, const DrmConnector& b) {
    return a.edid && b.edid && a.edid->bytes == b.edid->bytes;
}

}  // namespace

std::string DisplayIdentities::uuidFor(const ConnectedDisplay& display,
                                       const std::vector<ConnectedDisplay>& all) {
    const std::optional<Edid>& edid = display.connector.edid;
    if (!edid) return "display-" + std::to_string(display.id);
    std::vector<std::uint8_t> name = edid->bytes;
    const bool twin = std::any_of(all.begin(), all.end(), [&](const ConnectedDisplay& other) {
        return &other != &display && sameEdid(other.connector, display.connector);
    });
    if (twin) name.insert(name.end(), display.connector.name.begin(), display.connector.name.end());
    const std::vector<std::uint8_t> base = edid->baseBlock();
    const std::string baseKey(base.begin(), base.end());
    if (edid->complete()) {
        std::string uuid = nameBasedUuid(kDisplayUuidNamespace, name);
        if (!twin) completeUuids_[baseKey] = uuid;
        return uuid;
    }
    if (damageReported_.insert(display.connector.sysfsName).second)
        diagnose(DiagnosticTopic::displays, DiagnosticLevel::warning,
                 display.connector.sysfsName + ": EDID extension damaged; using its base block");
    if (auto known = completeUuids_.find(baseKey); !twin && known != completeUuids_.end())
        return known->second;
    return nameBasedUuid(kDisplayUuidNamespace, name);
}

DisplayID DisplayIdentities::idFor(const std::string& sysfsName) const {
    if (auto it = assigned_.find(sysfsName); it != assigned_.end()) return it->second;
    auto taken = [&](DisplayID id) {
        return id == 0 || std::any_of(assigned_.begin(), assigned_.end(),
                                      [id](const auto& entry) { return entry.second == id; });
    };
    DisplayID id = fnv1a(sysfsName);
    while (taken(id)) ++id;
    return id;
}

std::vector<ConnectedDisplay> DisplayIdentities::identify(std::vector<DrmConnector> connectors) {
    // Displays still connected keep their IDs; the new ones are given IDs none of those holds.
    std::map<std::string, DisplayID> kept;
    for (const DrmConnector& connector : connectors)
        if (auto it = assigned_.find(connector.sysfsName); it != assigned_.end()) kept.insert(*it);
    assigned_ = kept;

    std::vector<ConnectedDisplay> displays;
    for (DrmConnector& connector : connectors) {
        const DisplayID id = idFor(connector.sysfsName);
        assigned_[connector.sysfsName] = id;
        displays.push_back(ConnectedDisplay{id, {}, std::move(connector)});
    }
    for (ConnectedDisplay& display : displays) display.uuid = uuidFor(display, displays);
    return displays;
}

}  // namespace corvane::linux_desktop
