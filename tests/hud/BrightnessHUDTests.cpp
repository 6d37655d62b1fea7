#include "hud/BrightnessHUD.h"

#include <gtest/gtest.h>

#include "hud/HUDLayout.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimIndicatorPanels.h"

namespace corvane {

void PrintTo(const Rect& rect, std::ostream* out) {
    *out << "(" << rect.x << ", " << rect.y << ", " << rect.width << " x " << rect.height << ")";
}

namespace {

using sim::SimDisplayConfig;

SimDisplayConfig sized(SimDisplayConfig display, Size size) {
    display.size = size;
    return display;
}

// Screens sit side by side from x = 0, and the simulated desktop keeps a 60-point dock at the
// bottom of each, so the panel's bottom is at 60 + 108.
class BrightnessHUDTest : public ::testing::Test {
protected:
    const sim::SimIndicatorPanelRecord& panel() const { return *panels.records().at(0); }
    void wait(double seconds) { desktop.loop().advance(Seconds(seconds)); }

    sim::SimDesktop desktop;
    sim::SimIndicatorPanels panels;
    DisplayID builtin = desktop.add(sized(SimDisplayConfig::builtinPanel(), {1512, 982}));
    std::shared_ptr<BrightnessHUD> hud =
        BrightnessHUD::create(desktop.loop(), desktop.platform().screens, panels);
};

TEST_F(BrightnessHUDTest, ShowsTheRoundedLevelOnTheDisplaysScreenWithOnePanel) {
    DisplayID external = desktop.add(sized(SimDisplayConfig::ddcMonitor("Studio"), {2560, 1440}));

    hud->show(37.5, std::nullopt, external);
    hud->show(12.4, 1580, builtin);
    hud->show(-0.5, 0, builtin);

    EXPECT_EQ(panel().size, (Size{236, 118}));
    EXPECT_EQ(panel().contents,
              (std::vector<BrightnessHUDView>{{38, std::nullopt}, {12, 1580}, {-1, 0}}));
    Rect onExternal{1512 + 1280 - 118, 168, 236, 118};
    Rect onBuiltin{756 - 118, 168, 236, 118};
    EXPECT_EQ(panel().frames, (std::vector{onExternal, onBuiltin, onBuiltin}));
    EXPECT_EQ(panel().orderFrontCount, 3);
}

TEST_F(BrightnessHUDTest, DisplayWithoutScreenFallsBackToTheMainScreen) {
    SimDisplayConfig mainMonitor = sized(SimDisplayConfig::ddcMonitor("Main"), {1920, 1080});
    mainMonitor.main = true;
    DisplayID main = desktop.add(mainMonitor);
    SimDisplayConfig headless = SimDisplayConfig::ddcMonitor("Headless");
    headless.hasScreen = false;
    DisplayID withoutScreen = desktop.add(headless);

    hud->show(50, std::nullopt, withoutScreen);
    hud->show(50, std::nullopt, 99);
    Rect onMainScreen{1512 + 960 - 118, 168, 236, 118};
    EXPECT_EQ(panel().frames, (std::vector{onMainScreen, onMainScreen}));

    // Without any screen at all nothing is shown.
    desktop.unplug(builtin);
    desktop.unplug(main);
    hud->show(60, std::nullopt, withoutScreen);
    EXPECT_EQ(panel().contents.size(), 2u);
    EXPECT_EQ(panel().orderFrontCount, 2);
}

TEST_F(BrightnessHUDTest, HidesOneAndAThirdSecondsAfterTheLastShowOrAtOnce) {
    hud->hide();  // before any show: no panel is made for it
    EXPECT_TRUE(panels.records().empty());

    hud->show(40, std::nullopt, builtin);
    wait(1.0);
    hud->show(46.25, std::nullopt, builtin);
    wait(1.34);
    EXPECT_TRUE(panel().onScreen);
    wait(0.01);
    EXPECT_FALSE(panel().onScreen);

    hud->show(40, std::nullopt, builtin);
    hud->hide();
    EXPECT_FALSE(panel().onScreen);
    wait(5);
    EXPECT_EQ(panel().orderOutCount, 2);
}

TEST(HUDLayout, BarFillFollowsTheLevelBetweenStubAndFullTrack) {
    EXPECT_EQ(hudBarFillWidth(200, 3), kHUDBarStubWidth);
    EXPECT_EQ(hudBarFillWidth(200, 50), 100);
    EXPECT_EQ(hudBarFillWidth(200, 130), 200);
    EXPECT_EQ(hudBarFillWidth(4, 50), kHUDBarStubWidth);
}

}  // namespace
}  // namespace corvane
