#include "ModelTest.h"

namespace corvane {
namespace {

using sim::kBrightnessUpKeyCode;
using sim::SimDisplayConfig;

class AppModelLifecycle : public testing::ModelTest {};

TEST_F(AppModelLifecycle, FirstLaunchDefaultsWriteOnlyThePercentReadoutAndKeysWaitForStart) {
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.5));
    makeModel();
    EXPECT_TRUE(model->showMenuPercent());
    EXPECT_FALSE(model->showMenuNits());
    EXPECT_FALSE(model->syncDisplays());
    EXPECT_FALSE(model->limitOnBattery());
    pressKey(kBrightnessUpKeyCode);
    EXPECT_EQ(desktop.preferences().all(),
              (Dictionary{{"corvane.showMenuPercent", true}}));
    EXPECT_TRUE(model->sessions().empty());
    EXPECT_FLOAT_EQ(backlight(panel), 0.5);
    EXPECT_EQ(desktop.events().reachedSystem().size(), 2u);
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
    desktop.power().setOnBattery(true);
    auto [xdr] = startWith(SimDisplayConfig::boostPanel());
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
    // A setting switched off is stored too, under its own key.
    model->setSyncDisplays(false);
    model->setShowMenuPercent(false);
    EXPECT_EQ(stored("corvane.syncDisplays"), PropertyValue(false));
    EXPECT_EQ(stored("corvane.showMenuPercent"), PropertyValue(false));

    // Assigning the same value still stores and re-applies (which forces the hardware).
    desktop.setBacklight(xdr, 0.2);
    model->setLimitOnBattery(true);
    EXPECT_FLOAT_EQ(backlight(xdr), 1);
}

// Registering, and a refused change showing the service's state rather than the click:
// MenuPopoverViewTest.SwitchesShowTheModelNotTheClick.
TEST_F(AppModelLifecycle, LaunchAtLoginShowsWhatTheServiceReports) {
    desktop.loginItem().setStatus(LoginItem::Status::enabled);
    startModel();
    EXPECT_TRUE(model->launchAtLogin());
    model->toggleLaunchAtLogin();
    EXPECT_FALSE(model->launchAtLogin());
}

TEST_F(AppModelLifecycle, StartWritesEveryDisplayAgainAndStoresNothingItDidNotAskFor) {
    desktop.preferences().set("corvane.brightness.display-2", 60.0);
    auto [monitor, panel] = startWith(SimDisplayConfig::gammaOnlyMonitor("LG"),
                                      SimDisplayConfig::builtinPanel("Panel", 0.3));
    EXPECT_FLOAT_EQ(backlight(panel), 0.6);
    // Once when the session is made, once more (forced) when the stored levels are applied.
    EXPECT_EQ(desktop.gamma().writeCount(monitor), 2u);
    EXPECT_EQ(storedLevel(monitor), std::nullopt);
    EXPECT_EQ(desktop.events().tapCount(), 1);
    EXPECT_FALSE(model->launchAtLogin()) << "the login item service reports it off";

    // Waking applies the levels again, in a later task.
    desktop.setBacklight(panel, 0.1);
    desktop.notifications().postWake();
    EXPECT_FLOAT_EQ(backlight(panel), 0.1);
    desktop.loop().runPending();
    EXPECT_FLOAT_EQ(backlight(panel), 0.6);
}

// That a new session's refresh writes the displays dimmed by gamma again:
// ScenarioFiles.AHotPlugLeavesAGammaDimmedMonitorDimmed.
TEST_F(AppModelLifecycle, AScreenChangeIsHandledLaterAndARefreshWithoutANewSessionWritesNothing) {
    startWith(SimDisplayConfig::gammaOnlyMonitor("LG"));
    DisplayID second = desktop.add(SimDisplayConfig::gammaOnlyMonitor("Dell"));
    desktop.notifications().postScreenParametersChanged();
    EXPECT_FALSE(hasSession(second)) << "the change is handled in a later task";
    desktop.loop().runPending();
    ASSERT_TRUE(hasSession(second));

    const std::size_t writes = desktop.gamma().writeCount();
    desktop.notifications().postScreenParametersChanged();
    desktop.loop().runPending();
    EXPECT_EQ(desktop.gamma().writeCount(), writes);
}

TEST_F(AppModelLifecycle, ARefreshKeepsTheSessionsRenamesThemAndFindsMonitorsThatArrivedLater) {
    auto [panel] = startWith(SimDisplayConfig::builtinPanel("Panel", 0.4));
    auto first = model->sessions().at(panel);
    desktop.setBacklight(panel, 0.9);
    desktop.display(panel).config.name = "Renamed Panel";
    DisplayID monitor = desktop.add(SimDisplayConfig::ddcMonitor("Dell", {40, 100}));
    model->refresh();
    desktop.loop().runPending();  // the monitor's first reading
    ASSERT_EQ(model->displays().size(), 2u);
    EXPECT_EQ(model->displays()[0].name, "Renamed Panel");
    EXPECT_EQ(session(monitor).path(), ControlPath::ddc);
    EXPECT_EQ(model->sessions().at(panel), first);
    EXPECT_FLOAT_EQ(backlight(panel), 0.9) << "a kept session is not applied again";
}

TEST_F(AppModelLifecycle, UnplugTakesTheBoostDownAndReplugRenewsTheSessionButKeepsThePreviousLevel) {
    auto [xdr, monitor] = startWith(SimDisplayConfig::boostPanel(),
                                    SimDisplayConfig::ddcMonitor("Dell", {40, 100}));
    model->applyPreset(BrightnessPreset::peak);
    std::shared_ptr<XDROverlay> overlay = session(xdr).xdr();
    ASSERT_TRUE(overlay && overlay->isBuilt());
    auto before = model->sessions().at(monitor);
    EXPECT_TRUE(model->previousPercents().contains(monitor));

    unplug(xdr);
    EXPECT_FALSE(hasSession(xdr));
    EXPECT_FALSE(overlay->isBuilt());
    unplug(monitor);
    EXPECT_FALSE(hasSession(monitor));
    EXPECT_TRUE(model->previousPercents().contains(monitor));

    plug(monitor);
    EXPECT_FALSE(hasSession(monitor));  // its first reading is under way
    desktop.loop().runPending();
    ASSERT_TRUE(hasSession(monitor));
    EXPECT_NE(model->sessions().at(monitor), before);
    EXPECT_DOUBLE_EQ(intended(monitor), 100);  // its stored level
}

TEST_F(AppModelLifecycle, HandlersHoldTheModelWeaklyAndDoNothingOnceItIsGone) {
    startWith(SimDisplayConfig::builtinPanel());
    pressKey(kBrightnessUpKeyCode);
    desktop.notifications().postWake();
    std::weak_ptr<AppModel> watched = model;
    model.reset();
    ASSERT_TRUE(watched.expired()) << "no handler keeps the model alive";
    pressKey(kBrightnessUpKeyCode);
    desktop.loop().runPending();
    desktop.loop().advance(Seconds(2));
    EXPECT_EQ(desktop.loop().scheduledCount(), 0u);
}

TEST_F(AppModelLifecycle, TeardownStopsKeysHoldAndBoostButLeavesLevels) {
    auto [xdr] = startWith(SimDisplayConfig::boostPanel());
    pressKey(kBrightnessUpKeyCode);
    model->apply(90, xdr);
    ASSERT_TRUE(session(xdr).xdr()->isBuilt());
    ASSERT_TRUE(model->isHolding());

    // The indicator hidden: MenuPopoverViewTest.QuitTearsTheModelDownBeforeQuitting.
    model->teardown();
    EXPECT_FALSE(session(xdr).xdr()->isBuilt());
    EXPECT_FALSE(model->isHolding());
    EXPECT_EQ(desktop.events().tapCount(), 0);
    EXPECT_FLOAT_EQ(backlight(xdr), 1);
    EXPECT_DOUBLE_EQ(percent(xdr), 90);
}

}  // namespace
}  // namespace corvane
