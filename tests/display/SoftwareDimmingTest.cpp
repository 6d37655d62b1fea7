#include "display/SoftwareDimming.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/sim/SimDesktop.h"

namespace corvane {
namespace {

using sim::SimDisplaySpec;
using sim::SimGamma;

class SoftwareDimmingTest : public ::testing::Test {
protected:
    DisplayID monitor(std::size_t gammaLength = 256) {
        return desktop.add(SimDisplaySpec::gammaOnlyMonitor("Monitor", gammaLength));
    }
    // Whether every entry of the display's tables is `gain` times its profile entry.
    void expectScaled(DisplayID id, float gain) {
        const SimGamma::Table& now = desktop.gamma().current(id);
        const SimGamma::Table& profile = desktop.gamma().profile(id);
        ASSERT_EQ(now.red.size(), profile.red.size());
        for (std::size_t i = 0; i < profile.red.size(); ++i) {
            EXPECT_FLOAT_EQ(now.red[i], profile.red[i] * gain) << "entry " << i;
            EXPECT_FLOAT_EQ(now.green[i], profile.green[i] * gain) << "entry " << i;
            EXPECT_FLOAT_EQ(now.blue[i], profile.blue[i] * gain) << "entry " << i;
        }
    }

    sim::SimDesktop desktop;
    const Platform& platform = desktop.platform();
};

TEST_F(SoftwareDimmingTest, ScalesTheCaptureWithoutCompounding) {
    DisplayID id = monitor();
    SoftwareDimming dimming(platform, id);
    ASSERT_TRUE(dimming.original());
    EXPECT_EQ(dimming.original()->red, desktop.gamma().profile(id).red);

    EXPECT_TRUE(dimming.write(0.5));
    expectScaled(id, 0.56f);
    EXPECT_TRUE(dimming.write(0.5));
    expectScaled(id, 0.56f);
    EXPECT_TRUE(dimming.write(0));
    expectScaled(id, 0.12f);
    EXPECT_TRUE(dimming.write(-1));
    expectScaled(id, 0.12f);
    EXPECT_TRUE(dimming.write(1.7));
    EXPECT_EQ(desktop.gamma().current(id), desktop.gamma().profile(id));
    EXPECT_TRUE(dimming.write(1));
    EXPECT_EQ(desktop.gamma().current(id), desktop.gamma().profile(id));
}

TEST_F(SoftwareDimmingTest, NaNLevelIsNotWritten) {
    DisplayID id = monitor();
    SoftwareDimming dimming(platform, id);
    ASSERT_TRUE(dimming.write(0.25));
    std::size_t writes = desktop.gamma().writes().size();

    EXPECT_FALSE(dimming.write(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(desktop.gamma().writes().size(), writes);
    expectScaled(id, 0.34f);
}

TEST_F(SoftwareDimmingTest, CapturesWhatTheDisplayHasUpTo256Entries) {
    DisplayID shortTable = monitor(64);
    DisplayID longTable = monitor(300);
    DisplayID single = monitor(1);

    SoftwareDimming shortDimming(platform, shortTable);
    ASSERT_TRUE(shortDimming.original());
    EXPECT_EQ(shortDimming.original()->green.size(), 64u);
    EXPECT_TRUE(shortDimming.write(0));
    EXPECT_EQ(desktop.gamma().writes().back().second.blue.size(), 64u);
    expectScaled(shortTable, 0.12f);

    SoftwareDimming longDimming(platform, longTable);
    ASSERT_TRUE(longDimming.original());
    EXPECT_EQ(longDimming.original()->blue.size(), 256u);
    EXPECT_TRUE(longDimming.write(1));
    const SimGamma::Table& written = desktop.gamma().writes().back().second;
    const SimGamma::Table& profile = desktop.gamma().profile(longTable);
    ASSERT_EQ(written.red.size(), 256u);
    EXPECT_EQ(written.red, std::vector<float>(profile.red.begin(), profile.red.begin() + 256));

    SoftwareDimming singleDimming(platform, single);
    EXPECT_TRUE(singleDimming.write(0.5));
    expectScaled(single, 0.56f);
}

TEST_F(SoftwareDimmingTest, CaptureSeesTheUndimmedTablesOfEveryDisplay) {
    DisplayID first = monitor();
    DisplayID second = monitor();
    SoftwareDimming firstDimming(platform, first);
    ASSERT_TRUE(firstDimming.write(0));
    SoftwareDimming secondDimming(platform, second);
    ASSERT_TRUE(secondDimming.write(0));

    // The second dimmer reset the first display; dimming the second again does not capture
    // its dimmed table.
    EXPECT_EQ(desktop.gamma().current(first), desktop.gamma().profile(first));
    SoftwareDimming again(platform, second);
    EXPECT_EQ(again.original()->red, desktop.gamma().profile(second).red);
    EXPECT_EQ(desktop.gamma().restoreCount(), 3);
}

TEST_F(SoftwareDimmingTest, WithoutTablesNothingIsWritten) {
    DisplayID empty = monitor(0);
    DisplayID none = desktop.add(SimDisplaySpec::uncontrolledMonitor("Plain"));
    DisplayID readable = monitor();

    SoftwareDimming emptyDimming(platform, empty);
    SoftwareDimming noneDimming(platform, none);
    desktop.gamma().setReadFails(true);
    SoftwareDimming failedDimming(platform, readable);
    for (SoftwareDimming* dimming : {&emptyDimming, &noneDimming, &failedDimming}) {
        EXPECT_FALSE(dimming->original());
        EXPECT_FALSE(dimming->write(0.5));
    }
    EXPECT_TRUE(desktop.gamma().writes().empty());

    desktop.gamma().setReadFails(false);
    SoftwareDimming captured(platform, readable);
    desktop.gamma().setWriteFails(true);
    EXPECT_FALSE(captured.write(0.5));
    EXPECT_EQ(desktop.gamma().current(readable), desktop.gamma().profile(readable));
}

}  // namespace
}  // namespace corvane
