#include <gtest/gtest.h>

#include <cmath>

#include "platform/linux/x11/GammaResampling.h"

namespace corvane::linux_desktop {
namespace {

constexpr double kLinear = 1;
// The curve of a ramp a calibrated profile leaves.
constexpr double kCalibrated = 0.8;

// A ramp of `size` entries following x^exponent.
std::vector<std::uint16_t> powerRamp(std::size_t size, double exponent) {
    std::vector<std::uint16_t> ramp(size);
    for (std::size_t i = 0; i < size; ++i)
        ramp[i] =
            static_cast<std::uint16_t>(std::lround(65535.0 * std::pow(i / (size - 1.0), exponent)));
    return ramp;
}

TEST(GammaResamplingTest, RampsOfAnySizeBecomeTablesOfTheDimmersSize) {
    const std::vector<float> fromLarge = rampToTable(powerRamp(1024, kLinear), kGammaTableEntries);
    ASSERT_EQ(fromLarge.size(), 256u);
    for (std::size_t i = 0; i < 256; ++i) EXPECT_NEAR(fromLarge[i], i / 255.0, 1e-5) << i;

    // 16 entries spread over 256: every 17th entry falls on a ramp entry, the rest between.
    const std::vector<std::uint16_t> small = powerRamp(16, kCalibrated);
    const std::vector<float> fromSmall = rampToTable(small, kGammaTableEntries);
    ASSERT_EQ(fromSmall.size(), 256u);
    EXPECT_NEAR(fromSmall[17], small[1] / 65535.0, 1e-6);
    EXPECT_NEAR(fromSmall[34], small[2] / 65535.0, 1e-6);
    const double between = 8 * 15 / 255.0;  // entry 8 lies this far from ramp entry 0
    EXPECT_NEAR(fromSmall[8], small[1] * between / 65535.0, 1e-6);

    // A ramp of one entry gives a flat table: the fuzz target randr_fuzz checks it.
}

TEST(GammaResamplingTest, TablesBecomeRampsOfTheCrtcsSizeLimitedToTheValidRange) {
    const std::vector<float> table = rampToTable(powerRamp(256, kLinear), 256);
    const std::vector<std::uint16_t> large = tableToRamp(table, 1024);
    ASSERT_EQ(large.size(), 1024u);
    for (std::size_t i = 0; i < 1024; ++i) EXPECT_NEAR(large[i], 65535.0 * i / 1023, 1.0) << i;
    EXPECT_EQ(tableToRamp(table, 16), powerRamp(16, kLinear));

    const std::vector<float> outOfRange = {-0.5f, NAN, 0.5f, 1.5f};
    EXPECT_EQ(tableToRamp(outOfRange, 4), (std::vector<std::uint16_t>{0, 0, 32768, 65535}));
    EXPECT_TRUE(tableToRamp({}, 256).empty());
    EXPECT_TRUE(tableToRamp(table, 0).empty());
}

}  // namespace
}  // namespace corvane::linux_desktop
