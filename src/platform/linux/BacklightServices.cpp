#include "platform/linux/BacklightServices.h"

#include <algorithm>
#include <cmath>

#include "platform/Diagnostics.h"

namespace corvane::linux_desktop {
namespace {

constexpr std::string_view kBrightness = "brightness";
constexpr std::uint64_t kFewSteps = 16;

// The lowest raw value written: raw 0 switches many panels off.
std::uint64_t floorOf(std::uint64_t max) {
    return std::max<std::uint64_t>(1, max / 100);
}

// On a panel with few steps: a move of a key step or more moves at least one raw unit, and no
// move goes against its direction.
std::uint64_t stepped(std::uint64_t raw, double level, const BacklightReading& now, double shown) {
    constexpr double kSmallestKeyStep = 1.0 / 64;
    const std::uint64_t unit = std::abs(level - shown) >= kSmallestKeyStep - 1e-9 ? 1 : 0;
    if (level > shown) return std::max(raw, std::min(now.raw + unit, now.max));
    if (level < shown) return std::min(raw, now.raw > unit ? now.raw - unit : 0);
    return raw;
}

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
    std::optional<BacklightDevice> device = panelBacklight(sysfsRoot_, display->connector);
    const std::string name = device ? device->name : std::string();
    if (std::string& last = chosen_[service]; last != name) {
        last = name;
        if (device)
            diagnose(DiagnosticTopic::backlight, DiagnosticLevel::info,
                     display->connector.name + ": backlight " + name + " (" + device->type + ")");
    }
    return device;
}

double BacklightServices::shownLevel(const BacklightDevice& device,
                                     const BacklightReading& reading) const {
    if (auto it = written_.find(device.name); it != written_.end() && it->second.raw == reading.raw)
        return it->second.level;
    return reading.level();
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
    std::optional<BacklightReading> reading = device ? readBacklight(*device) : std::nullopt;
    if (!reading) return kFailure;
    *value = static_cast<float>(shownLevel(*device, *reading));
    return 0;
}

std::int32_t BacklightServices::setFloatParameter(DisplayConnectID service, std::string_view name,
                                                  float value) {
    if (name != kBrightness || std::isnan(value)) return kFailure;
    std::optional<BacklightDevice> device = backlight(service);
    std::optional<BacklightReading> now = device ? readBacklight(*device) : std::nullopt;
    if (!now) return kFailure;
    const double level = std::clamp(static_cast<double>(value), 0.0, 1.0);
    std::uint64_t raw = rawFor(level, now->max);
    if (now->max <= kFewSteps) raw = stepped(raw, level, *now, shownLevel(*device, *now));
    raw = std::max(raw, floorOf(now->max));
    if (!writer_.write(*device, raw)) return kFailure;
    written_[device->name] = Written{level, raw};
    return 0;
}

}  // namespace corvane::linux_desktop
