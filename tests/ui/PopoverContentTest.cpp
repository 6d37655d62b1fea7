#include <gtest/gtest.h>

#include "ui/PopoverContent.h"

namespace corvane::ui {
namespace {

using Preset = BrightnessPreset;

// A boost panel: standard range up to 600 of 1600 nits, so sdr is 37.5 and 1000 nits 62.5.
PresetTarget boostPanelAt(double percent) {
    return {true, 600, 1600, percent};
}

TEST(PresetPills, ActiveWithinToleranceOfTheFocusedLevelAndRestoreNever) {
    EXPECT_TRUE(isPresetActive(Preset::peak, boostPanelAt(98.5)));
    EXPECT_FALSE(isPresetActive(Preset::peak, boostPanelAt(98.0)));
    EXPECT_TRUE(isPresetActive(Preset::sdr, boostPanelAt(37.5 - 1.59)));
    EXPECT_FALSE(isPresetActive(Preset::sdr, boostPanelAt(37.5 + 1.6)));
    EXPECT_TRUE(isPresetActive(Preset::nits1000, boostPanelAt(62.5)));
    EXPECT_FALSE(isPresetActive(Preset::restore, boostPanelAt(50)));
    for (Preset preset : kAllBrightnessPresets)
        EXPECT_FALSE(isPresetActive(preset, std::nullopt)) << rawValue(preset);

    // On a display without boost, 1000 nits and peak both mean 100.
    const PresetTarget plain{false, 400, 400, 100};
    EXPECT_TRUE(isPresetActive(Preset::nits1000, plain));
    EXPECT_TRUE(isPresetActive(Preset::peak, plain));
    EXPECT_TRUE(isPresetActive(Preset::sdr, plain));
}

TEST(CyclePreset, StepsSdrThenThousandNitsThenPeakAndStartsOverAtSdr) {
    EXPECT_EQ(nextCyclePreset(true, boostPanelAt(37.5)), Preset::nits1000);
    EXPECT_EQ(nextCyclePreset(true, boostPanelAt(62.5)), Preset::peak);
    EXPECT_EQ(nextCyclePreset(true, boostPanelAt(100)), Preset::sdr);
    EXPECT_EQ(nextCyclePreset(true, boostPanelAt(98.5)), Preset::sdr);
    EXPECT_EQ(nextCyclePreset(true, boostPanelAt(50)), Preset::sdr);
    EXPECT_EQ(nextCyclePreset(true, std::nullopt), Preset::sdr);
    EXPECT_EQ(nextCyclePreset(false, boostPanelAt(37.5)), std::nullopt);
    EXPECT_EQ(nextCyclePreset(false, std::nullopt), std::nullopt);
}

TEST(CyclePreset, FirstMatchInCycleOrderWinsWhenTargetsCoincide) {
    // Peak at 1000 nits: 1000 nits and peak both target 100; at 100 the 1000-nit entry matches
    // first, so the press applies peak again rather than going on to sdr.
    const PresetTarget thousandNitPeak{true, 600, 1000, 100};
    EXPECT_EQ(nextCyclePreset(true, thousandNitPeak), Preset::peak);
    // A display whose standard range is its whole range sits at sdr, 1000 nits and peak alike.
    const PresetTarget noHeadroom{true, 1000, 1000, 100};
    EXPECT_EQ(nextCyclePreset(true, noHeadroom), Preset::nits1000);
}

DisplaySnapshot focusAt50(bool xdr) {
    DisplaySnapshot facts;
    facts.supportsXDR = xdr;
    facts.percent = 50;
    facts.sdrNits = xdr ? 600 : 400;
    facts.peakNits = xdr ? 1600 : 400;
    return makeSnapshot(facts);
}

TEST(HeaderSubtitle, LiveNitsOnlyForAFocusedXDRDisplayThatReportsThem) {
    const DisplaySnapshot xdr = focusAt50(true);
    EXPECT_EQ(headerSubtitle(xdr, true), (TextKey{"popover.live %lld", 800}));

    const TextKey plain{"popover.subtitle", std::nullopt};
    EXPECT_EQ(headerSubtitle(xdr, false), plain);
    EXPECT_EQ(headerSubtitle(std::nullopt, true), plain);
    // Another display has XDR, the focused one does not.
    EXPECT_EQ(headerSubtitle(focusAt50(false), true), plain);
}

TEST(WarningLine, BatteryNeedsAllThreeConditionsAndOutranksPeak) {
    EXPECT_EQ(warningFor(true, true, true, true), PopoverWarning::battery);
    EXPECT_EQ(warningFor(true, true, true, false), PopoverWarning::battery);
    EXPECT_EQ(warningFor(false, true, true, true), PopoverWarning::peak);
    EXPECT_EQ(warningFor(true, false, true, true), PopoverWarning::peak);
    EXPECT_EQ(warningFor(true, true, false, false), PopoverWarning::none);
    EXPECT_EQ(warningFor(false, false, true, false), PopoverWarning::none);
}

}  // namespace
}  // namespace corvane::ui
