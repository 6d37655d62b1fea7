#include "platform/sim/SimDisplayConnect.h"

#include "platform/sim/SimDesktop.h"

namespace corvane::sim {

std::optional<std::vector<DisplayConnectID>> SimDisplayConnect::matchingServices() {
    if (matchingFails_) return std::nullopt;
    std::vector<DisplayConnectID> ids;
    for (const auto& [id, service] : services_) ids.push_back(id);
    return ids;
}

std::optional<Dictionary> SimDisplayConnect::infoDictionary(DisplayConnectID service) {
    auto it = services_.find(service);
    return it == services_.end() ? std::nullopt : it->second.info;
}

std::int32_t SimDisplayConnect::getFloatParameter(DisplayConnectID service,
                                                  std::string_view name, float* value) {
    auto it = services_.find(service);
    if (it == services_.end() || name != "brightness") return kFailure;
    SimDisplay& display = desktop_.display(it->second.backlightOf);
    if (!display.online || !display.config.backlight) return kFailure;
    *value = static_cast<float>(*display.config.backlight);
    return 0;
}

std::int32_t SimDisplayConnect::setFloatParameter(DisplayConnectID service,
                                                  std::string_view name, float value) {
    auto it = services_.find(service);
    if (it == services_.end() || name != "brightness") return kFailure;
    SimDisplay& display = desktop_.display(it->second.backlightOf);
    if (!display.online || !display.config.backlight) return kFailure;
    display.config.backlight = value;
    return 0;
}

DisplayConnectID SimDisplayConnect::add(std::optional<Dictionary> info, DisplayID backlightOf) {
    DisplayConnectID id = nextId_++;
    services_[id] = Service{std::move(info), backlightOf};
    return id;
}

Dictionary SimDisplayConnect::infoFor(std::uint32_t vendor, std::uint32_t product,
                                      std::uint32_t serial, bool builtin) {
    return Dictionary{{"DisplayVendorID", vendor},
                      {"DisplayProductID", product},
                      {"DisplaySerialNumber", serial},
                      {"DisplayIsBuiltin", builtin}};
}

}  // namespace corvane::sim
