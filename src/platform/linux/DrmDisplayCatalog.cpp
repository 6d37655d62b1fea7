#include "platform/linux/DrmDisplayCatalog.h"

#include <algorithm>

namespace corvane::linux_desktop {

DisplayID DrmDisplayCatalog::firstBuiltinElseFirst(const std::vector<ConnectedDisplay>& displays) {
    auto builtin = std::find_if(displays.begin(), displays.end(),
                                [](const ConnectedDisplay& d) { return d.connector.builtin; });
    return builtin != displays.end() ? builtin->id : displays.front().id;
}

DrmDisplayCatalog::DrmDisplayCatalog(std::filesystem::path sysfsRoot, MainDisplayChooser chooseMain,
                                     ConnectorMerge merge)
    : sysfsRoot_(std::move(sysfsRoot)),
      chooseMain_(std::move(chooseMain)),
      merge_(std::move(merge)) {
    refresh();
}

void DrmDisplayCatalog::refresh() const {
    std::vector<DrmConnector> connectors = connectedConnectors(sysfsRoot_);
    if (merge_) connectors = merge_(std::move(connectors));
    std::erase_if(connectors, [](const DrmConnector& connector) { return !connector.enabled; });
    displays_ = identities_.identify(std::move(connectors));
    if (displays_.empty()) return;
    const DisplayID main = chooseMain_(displays_);
    std::stable_partition(displays_.begin(), displays_.end(), [main](const ConnectedDisplay& d) {
        return d.connector.builtin || d.id == main;
    });
    std::stable_partition(displays_.begin(), displays_.end(),
                          [](const ConnectedDisplay& d) { return d.connector.builtin; });
}

std::vector<DisplayID> DrmDisplayCatalog::onlineDisplays(std::size_t capacity) const {
    refresh();
    std::vector<DisplayID> ids;
    for (const ConnectedDisplay& display : displays_) {
        if (ids.size() == capacity) break;
        ids.push_back(display.id);
    }
    return ids;
}

const ConnectedDisplay* DrmDisplayCatalog::display(DisplayID id) const {
    auto it = std::find_if(displays_.begin(), displays_.end(),
                           [id](const ConnectedDisplay& d) { return d.id == id; });
    return it != displays_.end() ? &*it : nullptr;
}

const Edid* DrmDisplayCatalog::edid(DisplayID id) const {
    const ConnectedDisplay* found = display(id);
    return found && found->connector.edid ? &*found->connector.edid : nullptr;
}

bool DrmDisplayCatalog::isBuiltin(DisplayID id) const {
    const ConnectedDisplay* found = display(id);
    return found && found->connector.builtin;
}

DisplayID DrmDisplayCatalog::mainDisplay() const {
    return displays_.empty() ? 0 : chooseMain_(displays_);
}

std::uint32_t DrmDisplayCatalog::vendorNumber(DisplayID id) const {
    const Edid* found = edid(id);
    return found ? found->vendorCode : 0;
}

std::uint32_t DrmDisplayCatalog::modelNumber(DisplayID id) const {
    const Edid* found = edid(id);
    return found ? found->product : 0;
}

std::uint32_t DrmDisplayCatalog::serialNumber(DisplayID id) const {
    const Edid* found = edid(id);
    return found ? found->serial : 0;
}

std::optional<std::string> DrmDisplayCatalog::uuid(DisplayID id) const {
    const ConnectedDisplay* found = display(id);
    if (!found) return std::nullopt;
    return found->uuid;
}

}  // namespace corvane::linux_desktop
