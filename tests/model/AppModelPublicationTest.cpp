#include "ModelTest.h"

namespace corvane {
namespace {

using sim::SimDisplayConfig;

class AppModelPublication : public testing::ModelTest {};

std::vector<std::string> names(const std::vector<DisplaySnapshot>& displays) {
    std::vector<std::string> result;
    for (const DisplaySnapshot& display : displays) result.push_back(display.name);
    return result;
}

// Which display is the focus and which one the menu reads from:
// ScenarioFiles.AKeyStepsTheBuiltInPanelAndShowsTheIndicatorOnIt; that a boost display is
// among them: MenuPopoverViewTest.RowsFollowTheDisplaysAndXDRAndThePanelIsDrawnAgainAsItGrows.
TEST_F(AppModelPublication, ListsBuiltInThenMainThenByNameIgnoringCase) {
    SimDisplayConfig main = SimDisplayConfig::ddcMonitor("Zowie");
    main.main = true;
    const DisplayID mainID =
        startWith(SimDisplayConfig::gammaOnlyMonitor("Dell"),
                  SimDisplayConfig::gammaOnlyMonitor("benq"), main,
                  SimDisplayConfig::gammaOnlyMonitor("Acer"),
                  SimDisplayConfig::boostPanel("Panel"))[2];
    model->apply(54.5, mainID);
    model->publish();

    EXPECT_EQ(names(model->displays()),
              (std::vector<std::string>{"Panel", "Zowie", "Acer", "benq", "Dell"}));
    EXPECT_EQ(model->menuPercent(), 55) << "halves round away from zero";
}

TEST_F(AppModelPublication, ReadoutsFollowTheBoostRange) {
    SimDisplayConfig config = SimDisplayConfig::boostPanel();
    config.main = true;
    auto [xdr, monitor] = startWith(config, SimDisplayConfig::gammaOnlyMonitor("LG"));
    model->apply(100, monitor);
    auto at = [&](double level) {
        model->apply(level, xdr);
        model->publish();
    };
    // The standard range ends at 37.5; boosting starts half a point above it.
    at(38);
    EXPECT_FALSE(model->isBoosting());
    at(38.01);
    EXPECT_TRUE(model->isBoosting());
    at(96.9);
    EXPECT_FALSE(model->isAtPeak());
    at(97.0);
    EXPECT_TRUE(model->isAtPeak());
    EXPECT_EQ(model->menuNits(), 1552);
}

TEST_F(AppModelPublication, WithoutDisplaysTheReadoutsAreEmptyAndKeysDoNothing) {
    startModel();
    EXPECT_TRUE(model->displays().empty());
    EXPECT_EQ(model->focusDisplay(), std::nullopt);
    EXPECT_EQ(model->focusSession(), nullptr);
    EXPECT_EQ(model->menuPercent(), 0);
    EXPECT_EQ(model->menuNits(), std::nullopt);
    EXPECT_FALSE(model->isBoosting() || model->isAtPeak() || model->hasXDR());

    pressKey(sim::kBrightnessUpKeyCode);
    EXPECT_EQ(indicator(), nullptr);
    EXPECT_FALSE(model->isHolding());
    EXPECT_TRUE(model->intendedPercents().empty());
}

TEST_F(AppModelPublication, AtMostSixteenDisplaysAreConsidered) {
    for (int i = 0; i < 18; ++i)
        desktop.add(SimDisplayConfig::gammaOnlyMonitor("Screen " + std::to_string(i)));
    startModel();
    EXPECT_EQ(model->sessions().size(), 16u);
    EXPECT_FALSE(hasSession(17));
}

}  // namespace
}  // namespace corvane
