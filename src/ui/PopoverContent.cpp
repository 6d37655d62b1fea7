#include "ui/PopoverContent.h"

#include <cmath>

namespace corvane::ui {
namespace {

constexpr std::array<BrightnessPreset, 3> kCycle{BrightnessPreset::sdr, BrightnessPreset::nits1000,
                                                 BrightnessPreset::peak};

std::optional<PresetTarget> focusTarget(const AppModel& model) {
    auto session = model.focusSession();
    if (!session) return std::nullopt;
    return session->presetTarget();
}

bool sitsAt(BrightnessPreset preset, const PresetTarget& display) {
    return std::abs(display.percent - percentFor(preset, display)) < kPresetMatchTolerance;
}

}  // namespace

TextKey headerSubtitle(const std::optional<DisplaySnapshot>& focus, bool hasXDR) {
    if (hasXDR && focus && focus->estimatedNits)
        return {"popover.live %lld", static_cast<long long>(*focus->estimatedNits)};
    return {"popover.subtitle", std::nullopt};
}

PopoverWarning warningFor(bool limitOnBattery, bool onBattery, bool hasXDR, bool atPeak) {
    if (limitOnBattery && onBattery && hasXDR) return PopoverWarning::battery;
    return atPeak ? PopoverWarning::peak : PopoverWarning::none;
}

bool isPresetActive(BrightnessPreset preset, const std::optional<PresetTarget>& focus) {
    return preset != BrightnessPreset::restore && focus && sitsAt(preset, *focus);
}

std::optional<BrightnessPreset> nextCyclePreset(bool hasXDR,
                                                const std::optional<PresetTarget>& focus) {
    if (!hasXDR) return std::nullopt;
    if (focus) {
        for (std::size_t i = 0; i < kCycle.size(); ++i)
            if (sitsAt(kCycle[i], *focus)) return kCycle[(i + 1) % kCycle.size()];
    }
    return kCycle.front();
}

void cyclePreset(AppModel& model) {
    if (auto next = nextCyclePreset(model.hasXDR(), focusTarget(model))) model.applyPreset(*next);
}

PopoverContent describePopover(const AppModel& model) {
    const bool hasXDR = model.hasXDR();
    const std::size_t displayCount = model.displays().size();
    PopoverContent content{
        .subtitle = headerSubtitle(model.focusDisplay(), hasXDR),
        .headerCycles = hasXDR,
        .showsPresetRow = hasXDR,
        .showsSyncRow = displayCount >= 2,
        .showsEmptyState = displayCount == 0,
        .showsXDRSettings = hasXDR,
        .warning =
            warningFor(model.limitOnBattery(), model.lastOnBattery(), hasXDR, model.isAtPeak()),
        .pills = {},
    };
    const auto focus = focusTarget(model);
    for (std::size_t i = 0; i < kAllBrightnessPresets.size(); ++i) {
        const BrightnessPreset preset = kAllBrightnessPresets[i];
        content.pills[i] = {
            preset, isPresetActive(preset, focus),
            preset == BrightnessPreset::restore && model.previousPercents().empty()};
    }
    return content;
}

std::string_view presetTitleKey(BrightnessPreset preset) {
    switch (preset) {
        case BrightnessPreset::sdr:
            return "preset.sdr";
        case BrightnessPreset::nits1000:
            return "preset.1000";
        case BrightnessPreset::peak:
            return "preset.1600";
        case BrightnessPreset::restore:
            return "preset.restore";
    }
    return "preset.restore";
}

}  // namespace corvane::ui
