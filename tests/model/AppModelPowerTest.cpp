#include "support/ModelFixture.h"

namespace corvane {
namespace {

using sim::SimDisplayConfig;
using testing::ModelFixture;

class AppModelPower : public ModelFixture {};

using Descriptions = std::vector<std::optional<PropertyValue>>;

TEST_F(AppModelPower, OnlyAnInternalBatteryOnBatteryPowerCounts) {
    sim::SimPowerSources power;
    EXPECT_FALSE(AppModel::onBattery(power));  // no sources at all
    power.setDescriptions(std::nullopt);
    EXPECT_FALSE(AppModel::onBattery(power));
    power.setOnBattery(true);
    EXPECT_TRUE(AppModel::onBattery(power));
    power.setOnBattery(false);
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

TEST_F(AppModelPower, UnpluggingTheChargerCapsAtTheNextPollAndPluggingInRestores) {
    DisplayID xdr = desktop.add(SimDisplayConfig::boostPanel());
    DisplayID monitor = desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG"));
    desktop.power().setOnBattery(false);
    startModel();
    model->setLimitOnBattery(true);
    model->apply(80, xdr);
    model->apply(90, monitor);

    desktop.power().setOnBattery(true);
    EXPECT_DOUBLE_EQ(percent(xdr), 80);
    desktop.loop().advance(Seconds(0.4));
    EXPECT_DOUBLE_EQ(percent(xdr), 37.5);
    EXPECT_DOUBLE_EQ(percent(monitor), 90);
    EXPECT_FALSE(session(xdr).xdr()->isBuilt());

    desktop.power().setOnBattery(false);
    desktop.loop().advance(Seconds(0.4));
    EXPECT_DOUBLE_EQ(percent(xdr), 80);
    EXPECT_TRUE(session(xdr).xdr()->isBuilt());
}

TEST_F(AppModelPower, WithoutTheLimitBatteryPowerChangesNothing) {
    DisplayID xdr = desktop.add(SimDisplayConfig::boostPanel());
    startModel();
    model->apply(80, xdr);
    desktop.power().setOnBattery(true);
    desktop.loop().advance(Seconds(0.8));
    EXPECT_DOUBLE_EQ(percent(xdr), 80);
}

TEST_F(AppModelPower, ThePollAdoptsABuiltInPanelMovedFromOutside) {
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.5));
    DisplayID xdr = desktop.add(SimDisplayConfig::boostPanel("XDR", 0.5));
    startModel();
    desktop.setBacklight(panel, 0.51);
    desktop.setBacklight(xdr, 0.9);
    desktop.loop().advance(Seconds(0.4));
    EXPECT_DOUBLE_EQ(percent(panel), 50);

    desktop.setBacklight(panel, 0.52);
    desktop.loop().advance(Seconds(0.4));
    EXPECT_NEAR(percent(panel), 52, 1e-5);
    EXPECT_NEAR(intended(panel), 52, 1e-5);
    EXPECT_NEAR(*stored("corvane.brightness.display-1")->number(), 52, 1e-5);
    EXPECT_DOUBLE_EQ(percent(xdr), 18.75);  // boost panels are never adopted
}

TEST_F(AppModelPower, SoftwareAndDDCDisplaysAreNeverAdopted) {
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.5));
    startModel();
    desktop.setEntryPoint(sim::EntryPoint::setBrightness, sim::EntryPointState::failing);
    desktop.displayConnect().setMatchingFails(true);
    model->apply(30, panel);
    ASSERT_EQ(session(panel).path(), ControlPath::software);
    desktop.setEntryPoint(sim::EntryPoint::setBrightness, sim::EntryPointState::present);
    desktop.setBacklight(panel, 0.9);
    desktop.loop().advance(Seconds(0.4));
    EXPECT_DOUBLE_EQ(percent(panel), 30);
}

TEST_F(AppModelPower, EveryPollPublishes) {
    desktop.add(SimDisplayConfig::builtinPanel());
    startModel();
    int published = 0;
    model->addObserver([&](ModelField field) { published += field == ModelField::displays; });
    std::uint64_t callbacks = desktop.loop().callbacks();
    desktop.loop().advance(Seconds(2.0));
    EXPECT_EQ(published, 5);
    // Idle, each poll is one main-loop callback and nothing else wakes the loop.
    EXPECT_EQ(desktop.loop().callbacks() - callbacks, 5u);
}

TEST_F(AppModelPower, TheKeyHoldTicksOnceAFrame) {
    desktop.add(SimDisplayConfig::builtinPanel());
    startModel();
    model->beginHold();
    std::uint64_t callbacks = desktop.loop().callbacks();
    desktop.loop().advance(Seconds(0.11));
    // Six frames of the hold and no poll yet (the 0.4 s poll fires at 0.4 s of virtual time).
    EXPECT_EQ(desktop.loop().callbacks() - callbacks, 6u);
}

}  // namespace
}  // namespace corvane
