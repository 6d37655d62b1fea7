#include "support/ModelFixture.h"

namespace corvane {
namespace {

using sim::SimDisplayConfig;
using testing::ModelFixture;

class LevelRequests : public ModelFixture {
protected:
    std::optional<PropertyValue> storedLevel(DisplayID id) {
        return stored(DisplaySession::storedLevelKey(session(id).uuid()));
    }
};

TEST_F(LevelRequests, TheBatteryLimitLooksAtThePowerSourceOnEveryRequest) {
    desktop.preferences().set("corvane.limitOnBattery", true);
    DisplayID xdr = desktop.add(SimDisplayConfig::boostPanel());
    startModel();
    model->apply(80, xdr);
    EXPECT_DOUBLE_EQ(percent(xdr), 80);
    desktop.power().setOnBattery(true);  // no poll has seen it yet
    model->apply(70, xdr);
    EXPECT_DOUBLE_EQ(percent(xdr), 37.5);
    EXPECT_DOUBLE_EQ(intended(xdr), 70);
}

TEST_F(LevelRequests, SyncRecordsTheRequestAsAskedForEveryDisplay) {
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.4));
    DisplayID monitor = desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG"));
    startModel();
    model->setSyncDisplays(true);
    model->apply(140, panel);
    EXPECT_DOUBLE_EQ(intended(panel), 140);
    EXPECT_DOUBLE_EQ(intended(monitor), 140);
    EXPECT_DOUBLE_EQ(percent(monitor), 100);
    model->apply(-20, monitor);
    EXPECT_DOUBLE_EQ(intended(panel), -20);
    EXPECT_DOUBLE_EQ(percent(panel), 0);
}

TEST_F(LevelRequests, RestoreReturnsOnlyToTheLevelsBeforeTheLastPreset) {
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.4));
    DisplayID monitor = desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG"));
    startModel();
    model->apply(50, panel);
    model->apply(60, monitor);
    model->applyPreset(BrightnessPreset::peak);

    desktop.unplug(monitor);
    model->refresh();
    model->apply(30, panel);
    model->applyPreset(BrightnessPreset::sdr);  // remembers the panel alone
    desktop.plug(monitor);
    model->refresh();
    ASSERT_DOUBLE_EQ(percent(monitor), 100);
    model->applyPreset(BrightnessPreset::restore);
    EXPECT_DOUBLE_EQ(percent(panel), 30);
    EXPECT_DOUBLE_EQ(percent(monitor), 100) << "not the level from before the earlier preset";
}

TEST_F(LevelRequests, BoostingStartsHalfAPointAboveTheStandardRange) {
    DisplayID xdr = desktop.add(SimDisplayConfig::boostPanel());
    DisplayID monitor = desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG"));
    startModel();
    model->apply(100, monitor);
    model->apply(38, xdr);  // the standard range ends at 37.5
    model->publish();
    EXPECT_FALSE(model->isBoosting());
    model->apply(38.01, xdr);
    model->publish();
    EXPECT_TRUE(model->isBoosting());
}

TEST_F(LevelRequests, TheIndicatorShowsNitsOnlyForBoostDisplays) {
    DisplayID xdr = desktop.add(SimDisplayConfig::boostPanel());
    DisplayID monitor = desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG"));
    startModel();
    model->apply(50, xdr);
    model->showHUD(xdr);
    ASSERT_NE(indicator(), nullptr);
    ASSERT_FALSE(indicator()->contents.empty());
    EXPECT_EQ(indicator()->contents.back().nits, 800);
    model->showHUD(monitor);
    EXPECT_EQ(indicator()->contents.back().nits, std::nullopt);
}

TEST_F(LevelRequests, ReappliedAndCappedLevelsNeverReplaceTheStoredOnes) {
    desktop.preferences().set("corvane.limitOnBattery", true);
    desktop.preferences().set("corvane.brightness.display-2", 90.0);
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.4));
    desktop.power().setOnBattery(true);
    DisplayID xdr = desktop.add(SimDisplayConfig::boostPanel());
    startModel();
    EXPECT_DOUBLE_EQ(percent(xdr), 37.5);
    EXPECT_EQ(storedLevel(xdr), PropertyValue(90.0)) << "a new session's level is not stored";

    model->apply(60, panel);
    desktop.power().setOnBattery(false);
    desktop.loop().advance(AppModel::kPollInterval);
    EXPECT_DOUBLE_EQ(percent(xdr), 90);
    desktop.power().setOnBattery(true);
    desktop.loop().advance(AppModel::kPollInterval);
    EXPECT_DOUBLE_EQ(percent(xdr), 37.5);
    desktop.notifications().postWake();
    desktop.loop().runPending();
    model->applyStored();
    EXPECT_EQ(storedLevel(xdr), PropertyValue(90.0));
    EXPECT_EQ(storedLevel(panel), PropertyValue(60.0));
}

}  // namespace
}  // namespace corvane
