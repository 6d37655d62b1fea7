#include "support/ModelFixture.h"

namespace corvane {
namespace {

using sim::SimDisplayConfig;
using testing::ModelFixture;

class AppModelPublication : public ModelFixture {};

std::vector<std::string> names(const std::vector<DisplaySnapshot>& displays) {
    std::vector<std::string> result;
    for (const DisplaySnapshot& display : displays) result.push_back(display.name);
    return result;
}

TEST_F(AppModelPublication, ListsBuiltInThenMainThenByNameIgnoringCase) {
    desktop.add(SimDisplayConfig::gammaOnlyMonitor("dell"));
    desktop.add(SimDisplayConfig::gammaOnlyMonitor("benq"));
    SimDisplayConfig main = SimDisplayConfig::ddcMonitor("Zowie");
    main.main = true;
    DisplayID mainID = desktop.add(main);
    desktop.add(SimDisplayConfig::gammaOnlyMonitor("Acer"));
    DisplayID builtin = desktop.add(SimDisplayConfig::boostPanel("Panel"));
    startModel();
    model->apply(55, mainID);
    model->publish();

    EXPECT_EQ(names(model->displays()),
              (std::vector<std::string>{"Panel", "Zowie", "Acer", "benq", "dell"}));
    EXPECT_EQ(model->focusDisplay()->id, builtin);
    EXPECT_EQ(model->focusSession()->id(), builtin);
    EXPECT_EQ(model->menuPercent(), 55);
    EXPECT_EQ(model->menuNits(), std::nullopt);  // the main display has no boost
    EXPECT_TRUE(model->hasXDR());
}

TEST_F(AppModelPublication, ReadoutsFollowTheBoostRange) {
    SimDisplayConfig config = SimDisplayConfig::boostPanel();
    config.main = true;
    DisplayID xdr = desktop.add(config);
    startModel();
    auto at = [&](double level) {
        model->apply(level, xdr);
        model->publish();
    };
    at(37.5);
    EXPECT_FALSE(model->isBoosting());
    EXPECT_EQ(model->menuNits(), 600);
    at(38.1);
    EXPECT_TRUE(model->isBoosting());
    at(96.9);
    EXPECT_FALSE(model->isAtPeak());
    at(97.0);
    EXPECT_TRUE(model->isAtPeak());
    EXPECT_EQ(model->menuNits(), 1552);
    EXPECT_EQ(model->menuPercent(), 97);
}

TEST_F(AppModelPublication, NoDisplaysGiveEmptyReadouts) {
    startModel();
    EXPECT_TRUE(model->displays().empty());
    EXPECT_EQ(model->focusDisplay(), std::nullopt);
    EXPECT_EQ(model->focusSession(), nullptr);
    EXPECT_EQ(model->menuPercent(), 0);
    EXPECT_EQ(model->menuNits(), std::nullopt);
    EXPECT_FALSE(model->isBoosting() || model->isAtPeak() || model->hasXDR());
}

TEST_F(AppModelPublication, EveryPublicationNotifiesEvenWithoutChange) {
    desktop.add(SimDisplayConfig::builtinPanel());
    startModel();
    int displaysHeard = 0;
    model->addObserver([&](ModelField field) { displaysHeard += field == ModelField::displays; });
    model->publish();
    model->publish();
    EXPECT_EQ(displaysHeard, 2);
}

TEST_F(AppModelPublication, UnplugAndReplugRenewTheSessionButKeepThePreviousLevel) {
    desktop.add(SimDisplayConfig::builtinPanel());
    DisplayID monitor = desktop.add(SimDisplayConfig::ddcMonitor("Dell", {40, 100}));
    startModel();
    model->applyPreset(BrightnessPreset::peak);
    auto before = model->sessions().at(monitor);
    EXPECT_TRUE(model->previousPercents().contains(monitor));

    desktop.unplug(monitor);
    model->refresh();
    EXPECT_FALSE(model->sessions().contains(monitor));
    EXPECT_FALSE(model->intendedPercents().contains(monitor));
    EXPECT_TRUE(model->previousPercents().contains(monitor));
    EXPECT_EQ(model->displays().size(), 1u);

    desktop.plug(monitor);
    model->refresh();
    EXPECT_FALSE(model->sessions().contains(monitor));  // its first reading is under way
    desktop.loop().runPending();
    ASSERT_TRUE(model->sessions().contains(monitor));
    EXPECT_NE(model->sessions().at(monitor), before);
    EXPECT_DOUBLE_EQ(intended(monitor), 100);  // its stored level
    EXPECT_EQ(session(monitor).path(), ControlPath::ddc);
}

TEST_F(AppModelPublication, ASecondRefreshOnlyRenamesAndPublishes) {
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.4));
    startModel();
    auto first = model->sessions().at(panel);
    desktop.setBacklight(panel, 0.9);
    int writes = static_cast<int>(desktop.gamma().writeCount());
    model->refresh();
    EXPECT_EQ(model->sessions().at(panel), first);
    EXPECT_FLOAT_EQ(backlight(panel), 0.9);
    EXPECT_EQ(static_cast<int>(desktop.gamma().writeCount()), writes);
}

TEST_F(AppModelPublication, ABoostDisplayArrivingOnBatteryStartsCapped) {
    desktop.preferences().set("corvane.limitOnBattery", true);
    desktop.preferences().set("corvane.brightness.display-1", 90.0);
    desktop.power().setOnBattery(true);
    DisplayID xdr = desktop.add(SimDisplayConfig::boostPanel());
    startModel();
    EXPECT_DOUBLE_EQ(percent(xdr), 37.5);
    EXPECT_DOUBLE_EQ(intended(xdr), 90);

    desktop.power().setOnBattery(false);
    desktop.loop().advance(Seconds(0.4));
    EXPECT_DOUBLE_EQ(percent(xdr), 90);
}

TEST_F(AppModelPublication, AtMostSixteenDisplaysAreConsidered) {
    for (int i = 0; i < 18; ++i)
        desktop.add(SimDisplayConfig::gammaOnlyMonitor("Screen " + std::to_string(i)));
    startModel();
    EXPECT_EQ(model->sessions().size(), 16u);
    EXPECT_FALSE(model->sessions().contains(17));
}

}  // namespace
}  // namespace corvane
