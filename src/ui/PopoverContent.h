#pragma once

#include <array>
#include <optional>

#include "model/AppModel.h"
#include "model/BrightnessPreset.h"
#include "model/DisplaySnapshot.h"
#include "ui/TextKey.h"

namespace corvane::ui {

// The one warning line the popover shows under the cards, if any.
enum class PopoverWarning { none, battery, peak };

struct PresetPillState {
    BrightnessPreset preset = BrightnessPreset::sdr;
    // The focused display sits at this preset's level.
    bool active = false;
    // Restore with nothing to go back to: drawn faded and not pressable.
    bool unavailable = false;

    friend bool operator==(const PresetPillState&, const PresetPillState&) = default;
};

// Everything the popover's main content shows, derived from the model alone.
struct PopoverContent {
    // The header's second line: the focused display's live luminance (the key with an
    // argument), or the tagline.
    TextKey subtitle;
    // Whether pressing the header steps through the presets: only with a display that can
    // boost. Otherwise the header neither offers it nor takes the focus.
    bool headerCycles = false;
    bool showsPresetRow = false;
    bool showsSyncRow = false;
    bool showsEmptyState = false;
    // The menu-nits and battery-limit switches.
    bool showsXDRSettings = false;
    PopoverWarning warning = PopoverWarning::none;
    std::array<PresetPillState, 4> pills;

    friend bool operator==(const PopoverContent&, const PopoverContent&) = default;
};

// A level within this distance of a preset's target counts as sitting at that preset.
inline constexpr double kPresetMatchTolerance = 1.6;

PopoverContent describePopover(const AppModel& model);

TextKey headerSubtitle(const std::optional<DisplaySnapshot>& focus, bool hasXDR);
PopoverWarning warningFor(bool limitOnBattery, bool onBattery, bool hasXDR, bool atPeak);
// `focus` is the focused display's session; none when there is no display.
bool isPresetActive(BrightnessPreset preset, const std::optional<PresetTarget>& focus);
// The preset the header applies next: sdr, 1000 nits and peak in turn, starting over at sdr
// from a level at none of them; none without an XDR display.
std::optional<BrightnessPreset> nextCyclePreset(bool hasXDR,
                                                const std::optional<PresetTarget>& focus);

// The header's action: applies the next preset of the cycle to every display.
void cyclePreset(AppModel& model);

// The preset's pill label key.
std::string_view presetTitleKey(BrightnessPreset preset);

}  // namespace corvane::ui
