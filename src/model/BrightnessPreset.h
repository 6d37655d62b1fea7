#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string_view>

namespace corvane {

// The quick presets, in the order the popover shows them.
enum class BrightnessPreset { sdr, nits1000, peak, restore };

inline constexpr std::array<BrightnessPreset, 4> kAllBrightnessPresets{
    BrightnessPreset::sdr, BrightnessPreset::nits1000, BrightnessPreset::peak,
    BrightnessPreset::restore};

std::string_view rawValue(BrightnessPreset preset);
std::optional<BrightnessPreset> brightnessPresetFromRawValue(std::string_view raw);

// The four figures of a display that a preset's level depends on.
struct PresetTarget {
    bool supportsXDR = false;
    int sdrNits = 0;
    int peakNits = 0;
    double percent = 0;
};

// The level on the percent scale that `preset` stands for on a display. Not clamped.
double percentFor(BrightnessPreset preset, const PresetTarget& display);

}  // namespace corvane

template <>
struct std::hash<corvane::BrightnessPreset> {
    std::size_t operator()(corvane::BrightnessPreset preset) const noexcept {
        return std::hash<std::string_view>{}(corvane::rawValue(preset));
    }
};
