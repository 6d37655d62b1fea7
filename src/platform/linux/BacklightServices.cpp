#include "platform/linux/BacklightServices.h"

#include <algorithm>
#include <cmath>

namespace corvane::linux_desktop {
namespace {

constexpr std::string_view kBrightness = "brightness";

}  // namespace

BacklightServices::BacklightServices(const DrmDisplayCatalog& catalog,
                                     std::filesystem::path sysfsRoot, BacklightWriter& writer)
    : catalog_(catalog),
      sysfsRoot_(std::move(sysfsRoot)),
      writer_(writer),
      changes_(sysfsRoot_ / "class" / "backlight", "backlight") {}

const ConnectedDisplay* BacklightServices::panel(DisplayConnectID service) const {
    const ConnectedDisplay* display = catalog_.display(service);
    return display && display->connector.builtin ? display : nullptr;
}

const BacklightServices::Chosen* BacklightServices::backlight(DisplayConnectID service) {
    const ConnectedDisplay* display = panel(service);
    if (!display) return nullptr;
    auto found = chosen_.find(service);
    if (found == chosen_.end() || (found->second && found->second->connector != display->connector.path)) {
        std::optional<Chosen> chosen;
        if (std::optional<BacklightDevice> device = panelBacklight(sysfsRoot_, display->connector))
            if (std::optional<std::uint64_t> max = maxBrightness(*device))
                chosen = Chosen{display->connector.path, *device, *max,
                                std::make_shared<OpenValueFile>(device->path / "brightness")};
        found = chosen_.insert_or_assign(service, std::move(chosen)).first;
    }
    return found->second ? &*found->second : nullptr;
}

// Every read of a backlight starts here (the panel's service is looked up first): the one
// place that asks whether the backlight folder changed.
std::optional<std::vector<DisplayConnectID>> BacklightServices::matchingServices() {
    if (changes_.changed()) chosen_.clear();
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
    const Chosen* chosen = backlight(service);
    std::optional<std::uint64_t> level = chosen ? chosen->level->number() : std::nullopt;
    if (!level) return kFailure;
    *value = static_cast<float>(
        std::min(1.0, static_cast<double>(*level) / static_cast<double>(chosen->max)));
    return 0;
}

std::int32_t BacklightServices::setFloatParameter(DisplayConnectID service, std::string_view name,
                                                  float value) {
    if (name != kBrightness || std::isnan(value)) return kFailure;
    const Chosen* chosen = backlight(service);
    if (!chosen) return kFailure;
    const double fraction = std::clamp(static_cast<double>(value), 0.0, 1.0);
    const auto raw =
        static_cast<std::uint64_t>(std::llround(fraction * static_cast<double>(chosen->max)));
    return writer_.write(chosen->device, raw) ? 0 : kFailure;
}

}  // namespace corvane::linux_desktop
