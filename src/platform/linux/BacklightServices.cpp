#include "platform/linux/BacklightServices.h"

#include <algorithm>
#include <cmath>

namespace corvane::linux_desktop {
namespace {

constexpr std::string_view kBrightness = "brightness";

}  // namespace

BacklightServices::BacklightServices(const DrmDisplayCatalog& catalog,
                                     std::filesystem::path sysfsRoot, BacklightWriter& writer)
    : catalog_(catalog), sysfsRoot_(std::move(sysfsRoot)), writer_(writer) {}

const ConnectedDisplay* BacklightServices::panel(DisplayConnectID service) const {
    const ConnectedDisplay* display = catalog_.display(service);
    return display && display->connector.builtin ? display : nullptr;
}

std::optional<BacklightDevice> BacklightServices::backlight(DisplayConnectID service) const {
    const ConnectedDisplay* display = panel(service);
    if (!display) return std::nullopt;
    return panelBacklight(sysfsRoot_, display->connector);
}

std::optional<std::vector<DisplayConnectID>> BacklightServices::matchingServices() {
    std::vector<DisplayConnectID> services;
    for (const ConnectedDisplay& display : catalog_.displays())
        if (backlight(display.id)) services.push_back(display.id);
    return services;
}

std::optional<Dictionary> BacklightServices::infoDictionary(DisplayConnectID service) {
    const ConnectedDisplay* display = panel(service);
    if (!display) return std::nullopt;
    Dictionary info{{"DisplayIsBuiltin", true}};
    if (const std::optional<Edid>& edid = display->connector.edid) {
        info.emplace("DisplayVendorID", static_cast<std::uint32_t>(edid->vendorCode));
        info.emplace("DisplayProductID", static_cast<std::uint32_t>(edid->product));
        info.emplace("DisplaySerialNumber", edid->serial);
    }
    return info;
}

std::int32_t BacklightServices::getFloatParameter(DisplayConnectID service, std::string_view name,
                                                  float* value) {
    if (name != kBrightness || !value) return kFailure;
    std::optional<BacklightDevice> device = backlight(service);
    std::optional<double> level = device ? backlightLevel(*device) : std::nullopt;
    if (!level) return kFailure;
    *value = static_cast<float>(*level);
    return 0;
}

std::int32_t BacklightServices::setFloatParameter(DisplayConnectID service, std::string_view name,
                                                  float value) {
    if (name != kBrightness || std::isnan(value)) return kFailure;
    std::optional<BacklightDevice> device = backlight(service);
    std::optional<std::uint64_t> max = device ? maxBrightness(*device) : std::nullopt;
    if (!max) return kFailure;
    const double fraction = std::clamp(static_cast<double>(value), 0.0, 1.0);
    const auto raw = static_cast<std::uint64_t>(std::llround(fraction * static_cast<double>(*max)));
    return writer_.write(*device, raw) ? 0 : kFailure;
}

}  // namespace corvane::linux_desktop
