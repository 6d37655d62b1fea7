#include "support/ModelFixture.h"

namespace corvane {
namespace {

using sim::SimDisplayConfig;
using testing::ModelFixture;

class AppModelLifecycle : public ModelFixture {};

TEST_F(AppModelLifecycle, FirstLaunchDefaultsWriteOnlyThePercentReadout) {
    makeModel();
    EXPECT_TRUE(model->showMenuPercent());
    EXPECT_FALSE(model->showMenuNits());
    EXPECT_FALSE(model->syncDisplays());
    EXPECT_FALSE(model->limitOnBattery());
    EXPECT_EQ(desktop.preferences().all(),
              (Dictionary{{"corvane.showMenuPercent", true}}));
    EXPECT_TRUE(model->sessions().empty());
}

TEST_F(AppModelLifecycle, StoredSettingsAreReadAndWrongTypesFallBack) {
    desktop.preferences().set("corvane.showMenuPercent", false);
    desktop.preferences().set("corvane.showMenuNits", "YES");
    desktop.preferences().set("corvane.syncDisplays", 1);
    desktop.preferences().set("corvane.limitOnBattery", 1);  // a number, not a boolean
    makeModel();
    EXPECT_FALSE(model->showMenuPercent());
    EXPECT_TRUE(model->showMenuNits());
    EXPECT_TRUE(model->syncDisplays());
    EXPECT_FALSE(model->limitOnBattery());
    EXPECT_EQ(stored("corvane.showMenuPercent"), PropertyValue(false));
}

TEST_F(AppModelLifecycle, SettersPublishStoreAndTheBatteryLimitReappliesAtOnce) {
    DisplayID xdr = desktop.add(SimDisplayConfig::boostPanel());
    desktop.power().setOnBattery(true);
    startModel();
    model->apply(80, xdr);
    std::vector<ModelField> heard;
    model->addObserver([&](ModelField field) { heard.push_back(field); });

    model->setShowMenuNits(true);
    model->setLimitOnBattery(true);
    EXPECT_EQ(stored("corvane.showMenuNits"), PropertyValue(true));
    EXPECT_EQ(stored("corvane.limitOnBattery"), PropertyValue(true));
    EXPECT_DOUBLE_EQ(percent(xdr), 37.5);
    EXPECT_DOUBLE_EQ(intended(xdr), 80);
    EXPECT_EQ(heard, (std::vector<ModelField>{ModelField::showMenuNits,
                                              ModelField::limitOnBattery, ModelField::displays}));

    // Assigning the same value still stores and re-applies (which forces the hardware).
    desktop.setBacklight(xdr, 0.2);
    model->setLimitOnBattery(true);
    EXPECT_FLOAT_EQ(backlight(xdr), 1);
}

TEST_F(AppModelLifecycle, LaunchAtLoginShowsWhatTheServiceReports) {
    startModel();
    EXPECT_FALSE(model->launchAtLogin());
    model->toggleLaunchAtLogin();
    EXPECT_TRUE(model->launchAtLogin());
    desktop.loginItem().setRefusesUnregister(true);
    model->toggleLaunchAtLogin();
    EXPECT_TRUE(model->launchAtLogin());
    desktop.loginItem().setRefusesUnregister(false);
    model->toggleLaunchAtLogin();
    EXPECT_FALSE(model->launchAtLogin());

    desktop.loginItem().setStatus(LoginItem::Status::enabled);
    sim::SimDesktop other;
    auto otherHud = BrightnessHUD::create(other.loop(), other.platform().screens,
                                          other.indicatorPanels());
    other.loginItem().setStatus(LoginItem::Status::enabled);
    auto otherModel = AppModel::make(other.platform(), *otherHud);
    otherModel->start();
    EXPECT_TRUE(otherModel->launchAtLogin());
}

TEST_F(AppModelLifecycle, StartAppliesLevelsAndNotificationsArriveAsLaterTasks) {
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.3));
    desktop.preferences().set("corvane.brightness.display-1", 60.0);
    startModel();
    EXPECT_FLOAT_EQ(backlight(panel), 0.6);
    EXPECT_EQ(model->displays().size(), 1u);
    EXPECT_EQ(desktop.events().tapCount(), 1);

    DisplayID monitor = desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG"));
    desktop.notifications().postScreenParametersChanged();
    EXPECT_EQ(model->sessions().size(), 1u);  // not inline
    desktop.loop().runPending();
    EXPECT_EQ(model->sessions().size(), 2u);
    EXPECT_TRUE(model->sessions().contains(monitor));

    desktop.setBacklight(panel, 0.1);
    desktop.notifications().postWake();
    desktop.loop().runPending();
    EXPECT_FLOAT_EQ(backlight(panel), 0.6);
}

TEST_F(AppModelLifecycle, AHotPlugLeavesTheGammaDimmedDisplaysAtTheirLevels) {
    DisplayID first = desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG"));
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.5));
    startModel();
    model->apply(30, first);
    const double dimmed = desktop.gamma().factor(first);
    ASSERT_LT(dimmed, 0.5);

    // The new session puts every profile back; the dimmed display is written again at once.
    DisplayID second = desktop.add(SimDisplayConfig::gammaOnlyMonitor("Dell"));
    desktop.notifications().postScreenParametersChanged();
    desktop.loop().runPending();
    ASSERT_TRUE(model->sessions().contains(second));
    EXPECT_DOUBLE_EQ(desktop.gamma().factor(first), dimmed);
    EXPECT_DOUBLE_EQ(percent(first), 30);
    EXPECT_FLOAT_EQ(backlight(panel), 0.5) << "only displays dimmed by gamma are written";

    // A refresh that makes no session writes nothing.
    const std::size_t writes = desktop.gamma().writes().size();
    desktop.notifications().postScreenParametersChanged();
    desktop.loop().runPending();
    EXPECT_EQ(desktop.gamma().writes().size(), writes);
}

TEST_F(AppModelLifecycle, HandlersDoNothingOnceTheModelIsGone) {
    desktop.add(SimDisplayConfig::builtinPanel());
    startModel();
    desktop.notifications().postWake();
    model.reset();
    desktop.loop().runPending();
    desktop.loop().advance(Seconds(1));
    EXPECT_EQ(desktop.loop().scheduledCount(), 0u);
}

TEST_F(AppModelLifecycle, TeardownStopsKeysHoldAndBoostButLeavesLevels) {
    DisplayID xdr = desktop.add(SimDisplayConfig::boostPanel());
    startModel();
    pressKey(sim::kBrightnessUpKeyCode);
    model->apply(90, xdr);
    ASSERT_TRUE(session(xdr).xdr()->isBuilt());
    ASSERT_TRUE(model->isHolding());

    model->teardown();
    EXPECT_FALSE(session(xdr).xdr()->isBuilt());
    EXPECT_FALSE(model->isHolding());
    EXPECT_FALSE(indicator()->onScreen);
    EXPECT_EQ(desktop.events().tapCount(), 0);
    EXPECT_FLOAT_EQ(backlight(xdr), 1);
    EXPECT_DOUBLE_EQ(percent(xdr), 90);
    pressKey(sim::kBrightnessDownKeyCode);
    EXPECT_DOUBLE_EQ(percent(xdr), 90);
}

TEST_F(AppModelLifecycle, KeysBeforeStartDoNothing) {
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.5));
    makeModel();
    pressKey(sim::kBrightnessUpKeyCode);
    EXPECT_TRUE(model->sessions().empty());
    EXPECT_FLOAT_EQ(backlight(panel), 0.5);
    EXPECT_EQ(desktop.events().reachedSystem().size(), 2u);
}

}  // namespace
}  // namespace corvane
