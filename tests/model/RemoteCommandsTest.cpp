#include <limits>

#include "ModelTest.h"
#include "model/RemoteCommands.h"

namespace corvane {
namespace {

using sim::SimDisplayConfig;

class RemoteCommands : public testing::ModelTest {
protected:
    void SetUp() override {
        panel = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.5));
        monitor = desktop.add(SimDisplayConfig::gammaOnlyMonitor("Monitor"));
        startModel();
    }
    std::string uuidOf(DisplayID id) {
        for (const DisplaySnapshot& display : model->displays())
            if (display.id == id) return display.uuid;
        return {};
    }

    DisplayID panel = 0;
    DisplayID monitor = 0;
};

TEST_F(RemoteCommands, SetLevelReachesTheNamedDisplayOrTheFocusDisplayAndShowsTheIndicator) {
    EXPECT_FALSE(setLevel(*model, uuidOf(monitor), 30));
    EXPECT_DOUBLE_EQ(percent(monitor), 30);
    EXPECT_DOUBLE_EQ(percent(panel), 50);
    EXPECT_EQ(storedLevel(monitor), PropertyValue(30.0));
    EXPECT_EQ(shown().percent, 30);

    // The focus display is the built-in panel; the published record follows at once.
    EXPECT_FALSE(setLevel(*model, "", 140));
    EXPECT_DOUBLE_EQ(percent(panel), 100);
    EXPECT_DOUBLE_EQ(intended(panel), 140);
    EXPECT_DOUBLE_EQ(model->focusDisplay()->percent, 100);
}

TEST_F(RemoteCommands, RefusedRequestsSayWhyAndChangeNothing) {
    const auto intendedBefore = model->intendedPercents();

    RemoteCommandResult unknown = setLevel(*model, "no-such-display", 40);
    ASSERT_TRUE(unknown);
    EXPECT_NE(unknown->message.find("no-such-display"), std::string::npos);
    EXPECT_TRUE(setLevel(*model, uuidOf(panel), std::numeric_limits<double>::quiet_NaN()));
    EXPECT_TRUE(setLevel(*model, "", std::numeric_limits<double>::infinity()));
    RemoteCommandResult preset = applyPresetNamed(*model, "brightest");
    ASSERT_TRUE(preset);
    EXPECT_NE(preset->message.find("brightest"), std::string::npos);
    EXPECT_TRUE(applyPresetNamed(*model, "SDR"));  // names are exact
    EXPECT_TRUE(stepBrightness(*model, "sideways", false));

    EXPECT_DOUBLE_EQ(percent(panel), 50);
    EXPECT_DOUBLE_EQ(percent(monitor), 80);
    EXPECT_EQ(model->intendedPercents(), intendedBefore);
    EXPECT_TRUE(model->previousPercents().empty());
    EXPECT_EQ(indicator(), nullptr);

    unplug(panel);
    unplug(monitor);
    EXPECT_TRUE(setLevel(*model, "", 50)) << "without displays there is no focus display";
}

TEST_F(RemoteCommands, StepsAndPresetsAreTheKeysAndThePopoversOwn) {
    ASSERT_TRUE(setLevel(*model, "", 50) == std::nullopt);
    desktop.loop().advance(Seconds(1));
    EXPECT_FALSE(stepBrightness(*model, "up", false));
    EXPECT_DOUBLE_EQ(percent(panel), 56.25);
    EXPECT_TRUE(model->isHolding());
    EXPECT_FALSE(stepBrightness(*model, "down", true));
    EXPECT_DOUBLE_EQ(percent(panel), 55.25);

    EXPECT_FALSE(applyPresetNamed(*model, "peak"));
    EXPECT_DOUBLE_EQ(percent(panel), 100);
    EXPECT_FALSE(applyPresetNamed(*model, "restore"));
    EXPECT_DOUBLE_EQ(percent(panel), 55.25);
}

}  // namespace
}  // namespace corvane
