#include "display/NativeBacklight.h"

#include <cmath>
#include <string_view>

namespace corvane {
namespace {

constexpr std::string_view kBrightness = "brightness";

// A level limited to 0...1; NaN is no level at all.
std::optional<double> limited(double level) {
    if (std::isnan(level)) return std::nullopt;
    return level <= 0 ? 0.0 : level > 1 ? 1.0 : level;
}

std::optional<std::uint32_t> numberEntry(const Dictionary& info, std::string_view key) {
    const PropertyValue* value = find(info, key);
    return value ? value->uint32() : std::nullopt;
}

bool isTrue(const Dictionary& info, std::string_view key) {
    const PropertyValue* value = find(info, key);
    return value && value->boolean() && *value->boolean();
}

// Whether a display-connect service's information describes the display.
bool describes(const Dictionary& info, const DisplayCatalog& displays, DisplayID id) {
    auto vendor = numberEntry(info, "DisplayVendorID");
    auto product = numberEntry(info, "DisplayProductID");
    auto serial = numberEntry(info, "DisplaySerialNumber");
    bool vendorMatches = vendor == displays.vendorNumber(id);
    std::uint32_t displaySerial = displays.serialNumber(id);
    bool serialMatches = displaySerial == 0 || !serial || serial == displaySerial;
    if (vendorMatches && product == displays.modelNumber(id) && serialMatches) return true;
    // A built-in panel's service often carries other numbers than the panel reports.
    return displays.isBuiltin(id) && (isTrue(info, "DisplayIsBuiltin") || vendorMatches);
}

}  // namespace

std::optional<NativeBacklight> NativeBacklight::probe(const Platform& platform, DisplayID id) {
    if (const auto& get = platform.functions.getBrightness) {
        float level = -1;
        if (get(id, &level) == 0 && level >= 0) return NativeBacklight(platform, id);
    }
    if (ioDisplayService(platform, id) != 0) return NativeBacklight(platform, id);
    return std::nullopt;
}

std::optional<double> NativeBacklight::read() const {
    if (const auto& get = platform_->functions.getBrightness) {
        float level = 0;
        if (get(displayID_, &level) == 0)
            if (auto value = limited(level)) return value;
    }
    DisplayConnectID service = ioDisplayService(*platform_, displayID_);
    if (service == 0) return std::nullopt;
    float level = 0;
    if (platform_->displayConnect.getFloatParameter(service, kBrightness, &level) != 0)
        return std::nullopt;
    return limited(level);
}

bool NativeBacklight::write(double level) const {
    auto value = limited(level);
    if (!value) return false;
    auto single = static_cast<float>(*value);
    if (const auto& set = platform_->functions.setBrightness)
        if (set(displayID_, single) == 0) return true;
    DisplayConnectID service = ioDisplayService(*platform_, displayID_);
    if (service == 0) return false;
    return platform_->displayConnect.setFloatParameter(service, kBrightness, single) == 0;
}

DisplayConnectID NativeBacklight::ioDisplayService(const Platform& platform, DisplayID id) {
    auto services = platform.displayConnect.matchingServices();
    if (!services) return 0;
    for (DisplayConnectID service : *services) {
        // A service without information cannot be matched; the walk goes on.
        auto info = platform.displayConnect.infoDictionary(service);
        if (info && describes(*info, platform.displays, id)) return service;
    }
    return 0;
}

}  // namespace corvane
