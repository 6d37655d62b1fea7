#include "model/BrightnessPreset.h"

#include <algorithm>

namespace corvane {
namespace {

constexpr std::array<std::pair<BrightnessPreset, std::string_view>, 4> kRawValues{{
    {BrightnessPreset::sdr, "sdr"},
    {BrightnessPreset::nits1000, "nits1000"},
    {BrightnessPreset::peak, "peak"},
    {BrightnessPreset::restore, "restore"},
}};

constexpr double kPresetNits = 1000;

}  // namespace

std::string_view rawValue(BrightnessPreset preset) {
    for (const auto& [candidate, raw] : kRawValues)
        if (candidate == preset) return raw;
    return "restore";
}

std::optional<BrightnessPreset> brightnessPresetFromRawValue(std::string_view raw) {
    for (const auto& [preset, candidate] : kRawValues)
        if (candidate == raw) return preset;
    return std::nullopt;
}

double percentFor(BrightnessPreset preset, const PresetTarget& display) {
    const double peak = display.peakNits;
    switch (preset) {
        case BrightnessPreset::sdr:
            return display.peakNits >= 1 ? display.sdrNits / peak * 100 : 100;
        case BrightnessPreset::nits1000:
            if (display.supportsXDR && display.peakNits >= 1)
                return std::min(kPresetNits / peak * 100, 100.0);
            return 100;
        case BrightnessPreset::peak:
            return 100;
        case BrightnessPreset::restore:
            return display.percent;
    }
    return display.percent;
}

}  // namespace corvane
