#include <gtest/gtest.h>

#include "model/BrightnessPreset.h"
#include "model/ControlPath.h"
#include "model/CorvaneUUID.h"
#include "model/DisplaySnapshot.h"
#include "platform/sim/SimDesktop.h"

namespace corvane {
namespace {

DisplaySnapshot boostFacts(double percent) {
    DisplaySnapshot facts;
    facts.supportsXDR = true;
    facts.percent = percent;
    facts.sdrNits = 600;
    facts.peakNits = 1600;
    return facts;
}

// A boost display's nits and standard range are pinned by the model tests (the menu's and the
// indicator's nits, the battery cap at 37.5); here, a plain display, a peak of zero and the rounding.
TEST(DisplaySnapshot, DerivesRoundedNitsAndStandardRangeFromTheFigures) {
    DisplaySnapshot plain = boostFacts(50);
    plain.supportsXDR = false;
    EXPECT_EQ(makeSnapshot(plain).estimatedNits, std::nullopt);

    DisplaySnapshot dark = boostFacts(50);
    dark.peakNits = 0;
    EXPECT_DOUBLE_EQ(makeSnapshot(dark).sdrPercent, 100);

    // Estimated nits round halves away from zero.
    // 1600 × 0.03125 = 50 exactly; 1600 × 0.0003125 = 0.5 rounds up to 1, not to even 0.
    EXPECT_EQ(makeSnapshot(boostFacts(3.125)).estimatedNits, 50);
    EXPECT_EQ(makeSnapshot(boostFacts(0.03125)).estimatedNits, 1);
    EXPECT_EQ(makeSnapshot(boostFacts(0.15625)).estimatedNits, 3);  // 2.5 → 3
}

TEST(ControlPath, RawValuesRoundTripAndNothingElseParses) {
    for (ControlPath path : {ControlPath::hardware, ControlPath::ddc, ControlPath::software,
                             ControlPath::unavailable})
        EXPECT_EQ(controlPathFromRawValue(rawValue(path)), path);
    // The raw values themselves: the scenario dumps, e.g.
    // ScenarioFiles.AFailingDDCMonitorDegradesAndFallsBackToSoftware.
    EXPECT_EQ(controlPathFromRawValue("Hardware"), std::nullopt);
    EXPECT_EQ(controlPathFromRawValue("DDC"), std::nullopt);
    EXPECT_EQ(controlPathFromRawValue(""), std::nullopt);
}

// Parsing names, and only exact ones: ScenarioFiles.APresetMovesEveryDisplayAndRestoreGoesBack
// and RemoteCommands.RefusedRequestsSayWhyAndChangeNothing.
TEST(BrightnessPreset, CasesAreOrderedWithTheirRawValues) {
    std::vector<std::string_view> raws;
    for (BrightnessPreset preset : kAllBrightnessPresets) raws.push_back(rawValue(preset));
    EXPECT_EQ(raws, (std::vector<std::string_view>{"sdr", "nits1000", "peak", "restore"}));
}

// The levels the presets give ordinary boost and plain displays are pinned where the model
// applies them: AppModelCommands.RestoreGoesBackOnlyToTheLevelsBeforeTheLastPreset and
// AppModelCommands.PresetsActOnEveryDisplayAndTheIndicatorShowsNitsOnlyForBoostDisplays.
TEST(BrightnessPreset, RestoreKeepsTheLevelAndDegenerateFiguresNeverLeaveTheScale) {
    EXPECT_DOUBLE_EQ(percentFor(BrightnessPreset::restore, PresetTarget{false, 400, 400, 23}), 23);

    PresetTarget noPeak{true, 600, 0, 10};
    EXPECT_DOUBLE_EQ(percentFor(BrightnessPreset::sdr, noPeak), 100);
    EXPECT_DOUBLE_EQ(percentFor(BrightnessPreset::nits1000, noPeak), 100);
    PresetTarget dimPeak{true, 300, 800, 10};
    EXPECT_DOUBLE_EQ(percentFor(BrightnessPreset::nits1000, dimPeak), 100);
    PresetTarget exactPeak{true, 300, 1000, 10};
    EXPECT_DOUBLE_EQ(percentFor(BrightnessPreset::nits1000, exactPeak), 100);
}

TEST(CorvaneUUID, UsesThePlatformUUIDElseTheDecimalIdentifier) {
    sim::SimDesktop desktop;
    sim::SimDisplayConfig withUUID = sim::SimDisplayConfig::ddcMonitor("Dell");
    withUUID.uuid = "9E3A1C52-0B6F-4E0D-8C3E-2A7F3D5B9C11";
    DisplayID known = desktop.add(withUUID);
    DisplayID unknown = desktop.add(sim::SimDisplayConfig::gammaOnlyMonitor("LG"));
    EXPECT_EQ(corvaneUUID(desktop.platform().displays, known), *withUUID.uuid);
    EXPECT_EQ(corvaneUUID(desktop.platform().displays, unknown), "display-2");
    EXPECT_EQ(corvaneUUID(desktop.platform().displays, 4294967295u), "display-4294967295");
}

}  // namespace
}  // namespace corvane
