#include <gtest/gtest.h>

#include "app/InstallLocationPrompt.h"
#include "app/LaunchOptions.h"
#include "app/VirtualDisplaysWindow.h"
#include "support/ModelFixture.h"

namespace corvane::app {
namespace {

TEST(InstallLocationPrompt, DueFromAMountedVolumeOrATranslocatedCopyOnly) {
    EXPECT_TRUE(runsOutsideApplications("/Volumes/Corvane/Corvane Display.app"));
    EXPECT_TRUE(runsOutsideApplications("/private/var/folders/AppTranslocation/x/Corvane.app"));
    EXPECT_TRUE(runsOutsideApplications("/Volumes/Disk/AppTranslocation/Corvane.app"));
    EXPECT_FALSE(runsOutsideApplications("/Users/me/Volumes/Corvane.app"));
    EXPECT_FALSE(runsOutsideApplications("/Volumes"));
    EXPECT_FALSE(runsOutsideApplications("/usr/bin/corvane-display"));
    // Not due: returns at once, with no modal message to block on.
    EXPECT_FALSE(promptIfRunningOutsideApplications(QStringLiteral("/usr/bin/corvane-display"),
                                                    InstallStyle::copiedBundle));
}

TEST(InstallLocationPrompt, NeverShownWhereAPackageManagerInstalls) {
    EXPECT_EQ(kDesktopInstallStyle, InstallStyle::packaged);
    // Even from a path the rule flags, the message does not appear (it would block here).
    EXPECT_FALSE(promptIfRunningOutsideApplications(QStringLiteral("/Volumes/Corvane/corvane")));
    EXPECT_FALSE(promptIfRunningOutsideApplications(QStringLiteral("/tmp/AppTranslocation/c")));
}

// Usage errors, the commands' arguments and which runs start the application are checked on
// the program itself (CommandLineTest); these are the cases it does not run.
TEST(LaunchOptions, DemoImpliesSimulationAndOnlyRunsWithoutACommandStartTheApplication) {
    LaunchOptions demo = LaunchOptions::parse({"corvane-display", "--demo", "/tmp/shots"});
    EXPECT_TRUE(demo.simulate);
    EXPECT_EQ(demo.demoFolder, QStringLiteral("/tmp/shots"));
    LaunchOptions set =
        LaunchOptions::parse({"corvane-display", "--set", "-5", "--display", "display-2"});
    EXPECT_EQ(set.command.kind, RemoteCommand::Kind::set);
    EXPECT_DOUBLE_EQ(set.command.percent, -5);
    EXPECT_TRUE(LaunchOptions::parse({"corvane-display", "--show"}).startsApplication());
    EXPECT_TRUE(LaunchOptions::parse({"corvane-display", "--simulate"}).startsApplication());
    EXPECT_FALSE(
        LaunchOptions::parse({"corvane-display", "--demo", "/tmp", "--list"}).startsApplication());
}

class VirtualDisplayLightTest : public corvane::testing::ModelFixture {};

TEST_F(VirtualDisplayLightTest, OutputIsTheProductOfTheControlsInUse) {
    DisplayID panel = desktop.add(sim::SimDisplayConfig::boostPanel());
    DisplayID monitor = desktop.add(sim::SimDisplayConfig::ddcMonitor("Monitor", {30, 60}));
    DisplayID gammaOnly = desktop.add(sim::SimDisplayConfig::gammaOnlyMonitor("Gamma"));
    startModel();
    model->applyPreset(BrightnessPreset::peak);
    model->apply(25, gammaOnly);
    desktop.loop().advance(Seconds(0.5));

    VirtualDisplayLight boosted = lightOf(desktop, desktop.display(panel));
    EXPECT_DOUBLE_EQ(boosted.hardware, 1);
    const sim::SimOverlayRecord* overlay = desktop.overlays().shownOver(panel);
    ASSERT_NE(overlay, nullptr);
    EXPECT_GT(boosted.boost, 1);
    EXPECT_DOUBLE_EQ(boosted.boost, overlay->presentedFactors.back());
    EXPECT_DOUBLE_EQ(boosted.output(), boosted.boost);  // the panel at full, its gamma untouched

    desktop.display(monitor).monitor->setCurrent(15);
    EXPECT_DOUBLE_EQ(lightOf(desktop, desktop.display(monitor)).output(), 0.25);
    VirtualDisplayLight dimmed = lightOf(desktop, desktop.display(gammaOnly));
    EXPECT_DOUBLE_EQ(dimmed.hardware, 1);
    EXPECT_DOUBLE_EQ(dimmed.gamma, desktop.gamma().factor(gammaOnly));
    EXPECT_LT(dimmed.output(), 1);
}

}  // namespace
}  // namespace corvane::app
