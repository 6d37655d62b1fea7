#include "display/SoftwareDimming.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/sim/SimDesktop.h"

namespace corvane {
namespace {

using sim::SimGamma;

class SoftwareDimmingTest : public ::testing::Test {
protected:
    DisplayID monitor(std::size_t gammaLength = 256) {
        return desktop.add(sim::SimDisplayConfig::gammaOnlyMonitor("Monitor", gammaLength));
    }
    // Expects every entry of the display's tables at `gain` times its profile entry.
    void expectScaled(DisplayID id, float gain) {
        const SimGamma::Table& now = gamma.current(id);
        const SimGamma::Table& profile = gamma.profile(id);
        ASSERT_EQ(now.red.size(), profile.red.size());
        for (std::size_t i = 0; i < profile.red.size(); ++i) {
            EXPECT_FLOAT_EQ(now.red[i], profile.red[i] * gain);
            EXPECT_FLOAT_EQ(now.green[i], profile.green[i] * gain);
            EXPECT_FLOAT_EQ(now.blue[i], profile.blue[i] * gain);
        }
    }

    sim::SimDesktop desktop;
    SimGamma& gamma = desktop.gamma();
    const Platform& platform = desktop.platform();
};

TEST_F(SoftwareDimmingTest, ScalesTheCaptureWithoutCompounding) {
    DisplayID id = monitor();
    SoftwareDimming dimming(platform, id);
    EXPECT_TRUE(dimming.write(0.5));
    EXPECT_TRUE(dimming.write(0.5));
    expectScaled(id, 0.56f);
    EXPECT_TRUE(dimming.write(-1));
    expectScaled(id, 0.12f);
    EXPECT_FALSE(dimming.write(std::numeric_limits<double>::quiet_NaN()));
    expectScaled(id, 0.12f);
    EXPECT_TRUE(dimming.write(1.7));
    EXPECT_EQ(gamma.current(id), gamma.profile(id));
}

TEST_F(SoftwareDimmingTest, ShortTablesKeepTheirLengthLongOnesAreResampledOverTheWholeTable) {
    DisplayID shortTable = monitor(64);
    DisplayID longTable = monitor(1024);

    SoftwareDimming shortDimming(platform, shortTable);
    ASSERT_TRUE(shortDimming.original());
    EXPECT_EQ(shortDimming.original()->red.size(), 64u);
    EXPECT_TRUE(shortDimming.write(0));
    expectScaled(shortTable, 0.12f);

    // A 1,024-entry display is captured in 256 entries and dimmed over all of its 1,024.
    SoftwareDimming longDimming(platform, longTable);
    ASSERT_TRUE(longDimming.original());
    EXPECT_EQ(longDimming.original()->red.size(), 256u);
    EXPECT_TRUE(longDimming.write(0.8));
    const SimGamma::Table& now = gamma.current(longTable);
    const SimGamma::Table& profile = gamma.profile(longTable);
    ASSERT_EQ(now.blue.size(), 1024u);
    for (std::size_t i = 0; i < profile.blue.size(); ++i)
        ASSERT_NEAR(now.blue[i], profile.blue[i] * (0.8f * 0.88f + 0.12f), 1e-5) << i;
    EXPECT_NEAR(gamma.factor(longTable), 0.824, 1e-5);
}

TEST_F(SoftwareDimmingTest, CaptureResetsEveryDisplayFirst) {
    DisplayID first = monitor();
    DisplayID second = monitor();
    SoftwareDimming firstDimming(platform, first);
    ASSERT_TRUE(firstDimming.write(0));
    SoftwareDimming secondDimming(platform, second);
    EXPECT_EQ(gamma.current(first), gamma.profile(first));

    ASSERT_TRUE(secondDimming.write(0));
    SoftwareDimming again(platform, second);
    EXPECT_EQ(again.original()->red, gamma.profile(second).red);
}

TEST_F(SoftwareDimmingTest, WithoutTablesNothingIsWritten) {
    DisplayID empty = monitor(0);
    DisplayID none = desktop.add(sim::SimDisplayConfig::uncontrolledMonitor("Plain"));
    DisplayID readable = monitor();
    SoftwareDimming emptyDimming(platform, empty);
    SoftwareDimming noneDimming(platform, none);
    gamma.setReadFails(true);
    SoftwareDimming failedDimming(platform, readable);
    for (SoftwareDimming* dimming : {&emptyDimming, &noneDimming, &failedDimming}) {
        EXPECT_FALSE(dimming->original());
        EXPECT_FALSE(dimming->write(0.5));
    }
    EXPECT_EQ(gamma.writeCount(), 0u);

    gamma.setReadFails(false);
    SoftwareDimming captured(platform, readable);
    gamma.setWriteFails(true);
    EXPECT_FALSE(captured.write(0.5));
}

}  // namespace
}  // namespace corvane
