#include "ModelTest.h"

namespace corvane {
namespace {

using sim::kBrightnessDownKeyCode;
using sim::kBrightnessUpKeyCode;
using sim::SimDisplayConfig;

class AppModelCommands : public testing::ModelTest {};

TEST_F(AppModelCommands, KeyStepsPastTheTopKeepTheRequestButNotTheLevel) {
    auto [panel] = startWith(SimDisplayConfig::builtinPanel("Panel", 1.0));
    pressKey(kBrightnessUpKeyCode);
    EXPECT_DOUBLE_EQ(percent(panel), 100);
    EXPECT_DOUBLE_EQ(intended(panel), 106.25);
    desktop.loop().advance(Seconds(0.01));
    // The fine step with Option: ScenarioFiles.AKeyStepsTheBuiltInPanelAndShowsTheIndicatorOnIt.
    pressKey(kBrightnessDownKeyCode);
    EXPECT_DOUBLE_EQ(percent(panel), 93.75);
    EXPECT_EQ(stored("corvane.brightness.display-1"), PropertyValue(93.75));
    EXPECT_EQ(shown().percent, 94);
}

TEST_F(AppModelCommands, AKeyStepOnBatteryStopsAtTheStandardRange) {
    limitOnBattery();
    desktop.preferences().set("corvane.brightness.display-1", 35.0);
    auto [xdr] = startWith(SimDisplayConfig::boostPanel());
    pressKey(kBrightnessUpKeyCode);
    EXPECT_DOUBLE_EQ(percent(xdr), 37.5);
    EXPECT_DOUBLE_EQ(intended(xdr), 41.25);
    EXPECT_EQ(shown().nits, 600);
    desktop.power().setOnBattery(false);
    desktop.loop().advance(Seconds(1.3));
    EXPECT_DOUBLE_EQ(percent(xdr), 41.25);
}

// Switching sync off again: ScenarioRunnerTest.CardsSettingsAndTheOutsideWorldReachTheModel.
TEST_F(AppModelCommands, SyncMovesEveryDisplayAndRecordsTheRequestAsAsked) {
    desktop.preferences().set("corvane.brightness.display-1", 20.0);
    desktop.preferences().set("corvane.brightness.display-2", 80.0);
    auto [panel, monitor] = startWith(SimDisplayConfig::builtinPanel(),
                                      SimDisplayConfig::gammaOnlyMonitor("LG"));
    model->setSyncDisplays(true);
    pressKey(kBrightnessUpKeyCode);  // the focus display's level plus the step
    EXPECT_DOUBLE_EQ(percent(panel), 26.25);
    EXPECT_DOUBLE_EQ(percent(monitor), 26.25);
    model->apply(140, panel);
    EXPECT_DOUBLE_EQ(intended(panel), 140);
    EXPECT_DOUBLE_EQ(intended(monitor), 140);
    EXPECT_DOUBLE_EQ(percent(monitor), 100);
    model->apply(-20, monitor);
    EXPECT_DOUBLE_EQ(intended(panel), -20);
    EXPECT_DOUBLE_EQ(percent(panel), 0);
}

TEST_F(AppModelCommands, ApplyingToAnUnknownDisplayOnlyRecordsTheRequest) {
    auto [panel] = startWith(SimDisplayConfig::builtinPanel());
    model->apply(33, 99);
    EXPECT_DOUBLE_EQ(intended(99), 33);
    EXPECT_DOUBLE_EQ(percent(panel), 50);
    EXPECT_FALSE(storedLevel(99).has_value());
}

// A restore going back to the levels before a preset:
// ScenarioFiles.APresetMovesEveryDisplayAndRestoreGoesBack; that a restore uses up the
// remembered levels: MenuPopoverViewTest.RestorePillIsUnavailableUntilAPresetLeavesALevelToGoBackTo.
TEST_F(AppModelCommands, RestoreGoesBackOnlyToTheLevelsBeforeTheLastPreset) {
    auto [xdr, monitor] = startWith(SimDisplayConfig::boostPanel("XDR", 0.8),    // 30 percent
                                    SimDisplayConfig::gammaOnlyMonitor("LG"));  // 80 percent
    model->applyPreset(BrightnessPreset::sdr);
    model->applyPreset(BrightnessPreset::peak);
    model->applyPreset(BrightnessPreset::restore);
    EXPECT_DOUBLE_EQ(percent(xdr), 37.5);
    EXPECT_DOUBLE_EQ(percent(monitor), 100);

    // A preset replaces the remembered levels as a whole: a display that was away at the last
    // preset keeps its level.
    model->apply(60, monitor);
    model->applyPreset(BrightnessPreset::peak);
    unplug(monitor);
    model->apply(30, xdr);
    model->applyPreset(BrightnessPreset::sdr);  // remembers the XDR panel alone
    plug(monitor);
    ASSERT_DOUBLE_EQ(percent(monitor), 100);
    model->applyPreset(BrightnessPreset::restore);
    EXPECT_DOUBLE_EQ(percent(xdr), 30);
    EXPECT_DOUBLE_EQ(percent(monitor), 100) << "not the level from before the earlier preset";
}

TEST_F(AppModelCommands, PresetsActOnEveryDisplayAndTheIndicatorShowsNitsOnlyForBoostDisplays) {
    auto [monitor, xdr] = startWith(SimDisplayConfig::gammaOnlyMonitor("LG"),
                                    SimDisplayConfig::boostPanel());
    // The boost panel's level: ScenarioFiles.APresetMovesEveryDisplayAndRestoreGoesBack; that
    // presets are stored: RestoreGoesBackOnlyToTheLevelsBeforeTheLastPreset.
    model->applyPreset(BrightnessPreset::nits1000);
    EXPECT_DOUBLE_EQ(percent(monitor), 100);
    EXPECT_EQ(shown().nits, 1000) << "the built-in panel is shown";

    model->showHUD(monitor);
    EXPECT_EQ(shown().nits, std::nullopt);
}

TEST_F(AppModelCommands, TheHoldLastsUntilShortlyAfterTheLastStep) {
    auto [panel] = startWith(SimDisplayConfig::builtinPanel("Panel", 0.5));
    std::size_t timersBefore = desktop.loop().scheduledCount();
    for (int i = 0; i < 4; ++i) {
        pressKey(kBrightnessDownKeyCode);
        desktop.loop().advance(Seconds(0.3));
    }
    EXPECT_EQ(desktop.loop().scheduledCount(), timersBefore + 2);  // the hold and the hide
    ASSERT_TRUE(model->isHolding());

    // Something else moves the panel during the hold: the hold puts the level back and the
    // poll does not adopt it.
    desktop.setBacklight(panel, 0.9);
    desktop.loop().advance(Seconds(0.3));
    EXPECT_FLOAT_EQ(backlight(panel), 0.25);
    EXPECT_DOUBLE_EQ(percent(panel), 25);
    desktop.loop().advance(Seconds(0.3));
    EXPECT_TRUE(model->isHolding());
    desktop.loop().advance(Seconds(0.05));
    EXPECT_FALSE(model->isHolding());

    desktop.setBacklight(panel, 0.9);
    desktop.loop().advance(Seconds(0.4));
    EXPECT_NEAR(percent(panel), 90, 1e-5);
}

}  // namespace
}  // namespace corvane
