#include "ModelTest.h"

namespace corvane {
namespace {

using sim::SimDisplayConfig;

class AppModelPower : public testing::ModelTest {};

using Descriptions = std::vector<std::optional<PropertyValue>>;

TEST_F(AppModelPower, OnlyAnInternalBatteryOnBatteryPowerCounts) {
    sim::SimPowerSources power;
    EXPECT_FALSE(AppModel::onBattery(power));  // no sources at all
    power.setDescriptions(std::nullopt);
    EXPECT_FALSE(AppModel::onBattery(power));

    Dictionary ups{{"Type", "UPS"}, {"Power Source State", "Battery Power"}};
    Dictionary battery{{"Type", "InternalBattery"}, {"Power Source State", "Battery Power"}};
    Dictionary oddState{{"Type", "InternalBattery"}, {"Power Source State", 1}};
    power.setDescriptions(Descriptions{ups});
    EXPECT_FALSE(AppModel::onBattery(power));
    power.setDescriptions(Descriptions{std::nullopt, PropertyValue(3), Dictionary{{"Type", 4}},
                                       ups, battery});
    EXPECT_TRUE(AppModel::onBattery(power));
    power.setDescriptions(Descriptions{oddState, battery});  // the first battery decides
    EXPECT_FALSE(AppModel::onBattery(power));
}

// The poll's switch to mains power, and battery power without the limit, are checked by
// ABoostDisplayStartsCappedAndCappedLevelsNeverReplaceTheStoredOnes and
// ScenarioFiles.TheBatteryLimitCapsABoostPanelUntilMainsPower.
TEST_F(AppModelPower, OnBatteryTheLimitCapsBoostDisplaysAndEveryRequestAsksThePowerSource) {
    desktop.preferences().set("corvane.limitOnBattery", true);
    auto [xdr] = startWith(SimDisplayConfig::boostPanel());
    model->apply(80, xdr);
    desktop.power().setOnBattery(true);
    EXPECT_DOUBLE_EQ(percent(xdr), 80);
    model->apply(70, xdr);  // no poll has seen the battery yet
    EXPECT_DOUBLE_EQ(percent(xdr), 37.5);
    EXPECT_DOUBLE_EQ(intended(xdr), 70);
}

TEST_F(AppModelPower, ABoostDisplayStartsCappedAndCappedLevelsNeverReplaceTheStoredOnes) {
    limitOnBattery();
    desktop.preferences().set("corvane.brightness.display-2", 90.0);
    auto [panel, xdr] = startWith(SimDisplayConfig::builtinPanel("Panel", 0.4),
                                  SimDisplayConfig::boostPanel());
    EXPECT_DOUBLE_EQ(percent(xdr), 37.5);
    EXPECT_DOUBLE_EQ(intended(xdr), 90);
    EXPECT_EQ(storedLevel(xdr), PropertyValue(90.0)) << "a new session's level is not stored";

    model->apply(60, panel);
    desktop.power().setOnBattery(false);
    poll();
    EXPECT_DOUBLE_EQ(percent(xdr), 90);
    desktop.power().setOnBattery(true);
    poll();
    EXPECT_DOUBLE_EQ(percent(xdr), 37.5);
    desktop.notifications().postWake();
    desktop.loop().runPending();
    model->applyStored();
    EXPECT_EQ(storedLevel(xdr), PropertyValue(90.0));
    EXPECT_EQ(storedLevel(panel), PropertyValue(60.0));
}

TEST_F(AppModelPower, ThePollAdoptsOnlyABuiltInPanelOnItsBacklightMovedFromOutside) {
    auto [panel, xdr] = startWith(SimDisplayConfig::builtinPanel("Panel", 0.5),
                                  SimDisplayConfig::boostPanel("XDR", 0.5));
    desktop.setBacklight(panel, 0.51);
    desktop.setBacklight(xdr, 0.9);
    poll();
    EXPECT_DOUBLE_EQ(percent(panel), 50);

    desktop.setBacklight(panel, 0.52);
    poll();
    EXPECT_NEAR(percent(panel), 52, 1e-5);
    EXPECT_NEAR(intended(panel), 52, 1e-5);
    EXPECT_NEAR(*storedLevel(panel)->number(), 52, 1e-5);
    EXPECT_DOUBLE_EQ(percent(xdr), 18.75);  // boost panels are never adopted

    // Nor is a panel dimmed in software.
    desktop.setEntryPoint(sim::EntryPoint::setBrightness, sim::EntryPointState::failing);
    desktop.displayConnect().setMatchingFails(true);
    model->apply(30, panel);
    ASSERT_EQ(session(panel).path(), ControlPath::software);
    desktop.setEntryPoint(sim::EntryPoint::setBrightness, sim::EntryPointState::present);
    desktop.setBacklight(panel, 0.9);
    poll();
    EXPECT_DOUBLE_EQ(percent(panel), 30);
}

TEST_F(AppModelPower, EachIdlePollIsOneCallbackThatPublishesAndTheHoldTicksOnceAFrame) {
    startWith(SimDisplayConfig::builtinPanel());
    int published = 0;
    model->addObserver([&](ModelField field) { published += field == ModelField::displays; });
    std::uint64_t callbacks = desktop.loop().callbacks();
    desktop.loop().advance(Seconds(2.0));
    EXPECT_EQ(published, 5);
    // Idle, each poll is one main-loop callback and nothing else wakes the loop.
    EXPECT_EQ(desktop.loop().callbacks() - callbacks, 5u);

    model->beginHold();
    callbacks = desktop.loop().callbacks();
    desktop.loop().advance(Seconds(0.11));
    // Six frames of the hold and no poll (the next one is due 0.4 s after the last).
    EXPECT_EQ(desktop.loop().callbacks() - callbacks, 6u);
}

}  // namespace
}  // namespace corvane
