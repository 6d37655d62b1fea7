#include <gtest/gtest.h>

#include "ui/CardContent.h"
#include "ui/PopoverContent.h"
#include "ui/SliderGeometry.h"

namespace corvane::ui {
namespace {

using Preset = BrightnessPreset;
namespace geometry = slider_geometry;

DisplaySnapshot snapshot(bool xdr, ControlPath path, double percent) {
    DisplaySnapshot facts;
    facts.supportsXDR = xdr;
    facts.path = path;
    facts.percent = percent;
    facts.sdrNits = xdr ? 600 : 400;
    facts.peakNits = xdr ? 1600 : 400;
    return makeSnapshot(facts);
}

DisplaySnapshot plainDisplay(ControlPath path, double percent = 50) {
    return snapshot(false, path, percent);
}

// A boost panel: standard range up to 600 of 1600 nits, so sdr is 37.5 and 1000 nits 62.5.
PresetTarget boostPanelAt(double percent) {
    return {true, 600, 1600, percent};
}

// The 1000-nit pill lighting at its level shows in the popover (MenuPopoverViewTest).
TEST(PresetPills, ActiveWithinToleranceOfTheFocusedLevelAndRestoreNever) {
    EXPECT_FALSE(isPresetActive(Preset::peak, boostPanelAt(98.0)));
    EXPECT_TRUE(isPresetActive(Preset::sdr, boostPanelAt(37.5 - 1.59)));
    EXPECT_FALSE(isPresetActive(Preset::sdr, boostPanelAt(37.5 + 1.6)));
    EXPECT_FALSE(isPresetActive(Preset::restore, boostPanelAt(50)));
    for (Preset preset : kAllBrightnessPresets)
        EXPECT_FALSE(isPresetActive(preset, std::nullopt)) << rawValue(preset);
    // Each preset's level on a display without boost is BrightnessPreset's (DisplayModelTypesTest).
}

// The first step, from sdr to 1000 nits, is taken in the popover (MenuPopoverViewTest).
TEST(CyclePreset, StepsSdrThenThousandNitsThenPeakAndStartsOverAtSdrFirstMatchWinning) {
    EXPECT_EQ(nextCyclePreset(true, boostPanelAt(62.5)), Preset::peak);
    EXPECT_EQ(nextCyclePreset(true, boostPanelAt(98.5)), Preset::sdr);
    EXPECT_EQ(nextCyclePreset(true, boostPanelAt(50)), Preset::sdr);
    EXPECT_EQ(nextCyclePreset(true, std::nullopt), Preset::sdr);
    EXPECT_EQ(nextCyclePreset(false, std::nullopt), std::nullopt);

    // Peak at 1000 nits: 1000 nits and peak both target 100; at 100 the 1000-nit entry matches
    // first, so the press applies peak again rather than going on to sdr.
    const PresetTarget thousandNitPeak{true, 600, 1000, 100};
    EXPECT_EQ(nextCyclePreset(true, thousandNitPeak), Preset::peak);
    // A display whose standard range is its whole range sits at sdr, 1000 nits and peak alike.
    const PresetTarget noHeadroom{true, 1000, 1000, 100};
    EXPECT_EQ(nextCyclePreset(true, noHeadroom), Preset::nits1000);
}

// The live nits themselves show in the popover's header (MenuPopoverViewTest).
TEST(HeaderSubtitle, LiveNitsOnlyForAFocusedXDRDisplayThatReportsThem) {
    const DisplaySnapshot xdr = snapshot(true, ControlPath::hardware, 50);
    const TextKey plain{"popover.subtitle", std::nullopt};
    EXPECT_EQ(headerSubtitle(xdr, false), plain);
    EXPECT_EQ(headerSubtitle(std::nullopt, true), plain);
    // Another display has XDR, the focused one does not.
    EXPECT_EQ(headerSubtitle(plainDisplay(ControlPath::hardware), true), plain);
}

TEST(WarningLine, BatteryNeedsAllThreeConditionsAndOutranksPeak) {
    EXPECT_EQ(warningFor(true, true, true, true), PopoverWarning::battery);
    EXPECT_EQ(warningFor(true, true, true, false), PopoverWarning::battery);
    EXPECT_EQ(warningFor(false, true, true, true), PopoverWarning::peak);
    EXPECT_EQ(warningFor(true, false, true, true), PopoverWarning::peak);
    EXPECT_EQ(warningFor(true, true, false, false), PopoverWarning::none);
}

// The live nits of an XDR display are on its card, and the software path shows on a gamma-only
// monitor's (DisplayCardViewTest); without a reading, and on every other display, the control
// path shows instead.
TEST(CardText, StatusShowsTheControlPathWithoutLiveNits) {
    DisplaySnapshot xdr = snapshot(true, ControlPath::hardware, 38.25);
    xdr.estimatedNits.reset();
    EXPECT_EQ(cardStatusLine(xdr), (TextKey{"method.hardware", std::nullopt}));
    EXPECT_EQ(cardNitsLine(xdr), std::nullopt);

    const std::pair<ControlPath, std::string_view> paths[] = {
        {ControlPath::hardware, "method.hardware"},
        {ControlPath::ddc, "method.ddc"},
        {ControlPath::unavailable, "method.unavailable"},
    };
    for (const auto& [path, key] : paths) {
        EXPECT_EQ(cardStatusLine(plainDisplay(path)), (TextKey{key, std::nullopt})) << key;
        EXPECT_EQ(cardNitsLine(plainDisplay(path)), std::nullopt);
    }
}

TEST(CardText, PercentRoundsHalvesAwayFromZero) {
    EXPECT_EQ(cardPercentText(plainDisplay(ControlPath::ddc, 49.5)), (TextKey{"%lld%", 50}));
    EXPECT_EQ(cardPercentText(plainDisplay(ControlPath::ddc, 49.4)), (TextKey{"%lld%", 49}));
    EXPECT_EQ(cardPercentText(plainDisplay(ControlPath::ddc, 0.5)), (TextKey{"%lld%", 1}));
}

// The slider's track, in points.
constexpr double kTrackWidth = 200;

TEST(SliderGeometry, FillKeepsAStubAndStopsAtTheTrackEnd) {
    EXPECT_DOUBLE_EQ(geometry::fillWidth(0, kTrackWidth), 10);
    EXPECT_DOUBLE_EQ(geometry::fillWidth(3, kTrackWidth), 10);
    EXPECT_DOUBLE_EQ(geometry::fillWidth(25, kTrackWidth), 50);
    EXPECT_DOUBLE_EQ(geometry::fillWidth(100, kTrackWidth), kTrackWidth);
    EXPECT_DOUBLE_EQ(geometry::fillWidth(140, kTrackWidth), kTrackWidth);
}

TEST(SliderGeometry, KnobCentresOnTheLevelWithoutLeavingTheTrack) {
    EXPECT_DOUBLE_EQ(geometry::knobOffset(2, kTrackWidth), 0);
    EXPECT_DOUBLE_EQ(geometry::knobOffset(50, kTrackWidth), 92);
    EXPECT_DOUBLE_EQ(geometry::knobOffset(100, kTrackWidth), kTrackWidth - 16);
}

TEST(SliderGeometry, TickOnlyStrictlyInsideFourToNinetySix) {
    EXPECT_EQ(geometry::tickCentre(50, kTrackWidth), 100);
    for (std::optional<double> hidden : {std::optional<double>(4), std::optional<double>(96),
                                         std::optional<double>(97), std::optional<double>()})
        EXPECT_EQ(geometry::tickCentre(hidden, kTrackWidth), std::nullopt);
    EXPECT_TRUE(geometry::tickCentre(4.5, kTrackWidth).has_value());
}

}  // namespace
}  // namespace corvane::ui
