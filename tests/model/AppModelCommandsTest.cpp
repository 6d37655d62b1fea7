#include "support/ModelFixture.h"

namespace corvane {
namespace {

using sim::kBrightnessDownKeyCode;
using sim::kBrightnessUpKeyCode;
using sim::SimDisplayConfig;
using testing::ModelFixture;

class AppModelCommands : public ModelFixture {};

TEST_F(AppModelCommands, KeyStepsPastTheTopKeepTheRequestButNotTheLevel) {
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel("Panel", 1.0));
    startModel();
    pressKey(kBrightnessUpKeyCode);
    EXPECT_DOUBLE_EQ(percent(panel), 100);
    EXPECT_DOUBLE_EQ(intended(panel), 106.25);
    desktop.loop().advance(Seconds(0.01));
    pressKey(kBrightnessDownKeyCode);
    EXPECT_DOUBLE_EQ(percent(panel), 93.75);
    desktop.loop().advance(Seconds(0.01));
    pressKey(kBrightnessDownKeyCode, kOptionModifier);
    EXPECT_DOUBLE_EQ(percent(panel), 92.75);
    EXPECT_EQ(stored("corvane.brightness.display-1"), PropertyValue(92.75));
    ASSERT_NE(indicator(), nullptr);
    EXPECT_EQ(indicator()->contents.back().percent, 93);
    EXPECT_TRUE(indicator()->onScreen);
    EXPECT_TRUE(desktop.events().reachedSystem().empty());
}

TEST_F(AppModelCommands, AKeyStepOnBatteryStopsAtTheStandardRange) {
    desktop.preferences().set("corvane.limitOnBattery", true);
    desktop.preferences().set("corvane.brightness.display-1", 35.0);
    desktop.power().setOnBattery(true);
    DisplayID xdr = desktop.add(SimDisplayConfig::boostPanel());
    startModel();
    pressKey(kBrightnessUpKeyCode);
    EXPECT_DOUBLE_EQ(percent(xdr), 37.5);
    EXPECT_DOUBLE_EQ(intended(xdr), 41.25);
    EXPECT_EQ(indicator()->contents.back().nits, 600);
    desktop.power().setOnBattery(false);
    desktop.loop().advance(Seconds(1.3));
    EXPECT_DOUBLE_EQ(percent(xdr), 41.25);
}

TEST_F(AppModelCommands, WithoutDisplaysAKeyDoesNothing) {
    startModel();
    pressKey(kBrightnessUpKeyCode);
    EXPECT_EQ(indicator(), nullptr);
    EXPECT_FALSE(model->isHolding());
    EXPECT_TRUE(model->intendedPercents().empty());
}

TEST_F(AppModelCommands, SyncSetsEveryDisplayToTheFocusLevelPlusTheStep) {
    desktop.preferences().set("corvane.brightness.display-1", 20.0);
    desktop.preferences().set("corvane.brightness.display-2", 80.0);
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel());
    DisplayID monitor = desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG"));
    startModel();
    model->setSyncDisplays(true);
    pressKey(kBrightnessUpKeyCode);
    EXPECT_DOUBLE_EQ(percent(panel), 26.25);
    EXPECT_DOUBLE_EQ(percent(monitor), 26.25);

    model->setSyncDisplays(false);
    model->apply(70, monitor);
    EXPECT_DOUBLE_EQ(percent(panel), 26.25);
    EXPECT_DOUBLE_EQ(percent(monitor), 70);
}

TEST_F(AppModelCommands, ApplyingToAnUnknownDisplayOnlyRecordsTheRequest) {
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel());
    startModel();
    model->apply(33, 99);
    EXPECT_DOUBLE_EQ(intended(99), 33);
    EXPECT_DOUBLE_EQ(percent(panel), 50);
    EXPECT_FALSE(stored("corvane.brightness.display-99").has_value());
}

TEST_F(AppModelCommands, RestoreGoesBackOnePreset) {
    DisplayID xdr = desktop.add(SimDisplayConfig::boostPanel("XDR", 0.8));  // 30 percent
    DisplayID monitor = desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG"));  // 80 percent
    startModel();
    model->applyPreset(BrightnessPreset::peak);
    EXPECT_DOUBLE_EQ(percent(xdr), 100);
    model->applyPreset(BrightnessPreset::restore);
    EXPECT_NEAR(percent(xdr), 30, 1e-5);
    EXPECT_DOUBLE_EQ(percent(monitor), 80);
    EXPECT_TRUE(model->previousPercents().empty());
    model->apply(45, xdr);
    model->applyPreset(BrightnessPreset::restore);
    EXPECT_DOUBLE_EQ(percent(xdr), 45);
    EXPECT_DOUBLE_EQ(intended(xdr), 45);

    model->applyPreset(BrightnessPreset::sdr);
    model->applyPreset(BrightnessPreset::peak);
    model->applyPreset(BrightnessPreset::restore);
    EXPECT_DOUBLE_EQ(percent(xdr), 37.5);
    EXPECT_DOUBLE_EQ(percent(monitor), 100);
}

TEST_F(AppModelCommands, PresetsActOnEveryDisplayAndShowTheBuiltIn) {
    DisplayID monitor = desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG"));
    DisplayID xdr = desktop.add(SimDisplayConfig::boostPanel());
    startModel();
    model->applyPreset(BrightnessPreset::nits1000);
    EXPECT_DOUBLE_EQ(percent(xdr), 62.5);
    EXPECT_DOUBLE_EQ(percent(monitor), 100);
    EXPECT_EQ(indicator()->contents.back().nits, 1000);
    EXPECT_EQ(stored("corvane.brightness.display-2"), PropertyValue(62.5));
}

TEST_F(AppModelCommands, TheHoldLastsUntilShortlyAfterTheLastStep) {
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.5));
    startModel();
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
