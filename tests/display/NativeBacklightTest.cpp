#include "display/NativeBacklight.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/sim/SimDesktop.h"

namespace corvane {
namespace {

using sim::EntryPoint;
using sim::EntryPointState;
using sim::SimDisplayConnect;
using sim::SimDisplayConfig;

class NativeBacklightTest : public ::testing::Test {
protected:
    double level() { return *desktop.display(panel).config.backlight; }
    DisplayConnectID service(std::uint32_t vendor, std::uint32_t product, std::uint32_t serial,
                             bool builtin = false) {
        return desktop.displayConnect().add(
            SimDisplayConnect::infoFor(vendor, product, serial, builtin), 0);
    }
    DisplayConnectID serviceFor(DisplayID id) {
        return NativeBacklight::ioDisplayService(platform, id);
    }

    sim::SimDesktop desktop;
    const Platform& platform = desktop.platform();
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.4));
    std::optional<NativeBacklight> backlight = NativeBacklight::probe(platform, panel);
};

TEST_F(NativeBacklightTest, LevelsAreLimitedAndNaNIsNoLevel) {
    ASSERT_TRUE(backlight);
    desktop.setBacklight(panel, 1.2);
    EXPECT_EQ(backlight->read(), 1.0);
    desktop.setBacklight(panel, -0.1);
    EXPECT_EQ(backlight->read(), 0.0);
    desktop.setBacklight(panel, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(backlight->read(), std::nullopt);

    EXPECT_TRUE(backlight->write(1.5));
    EXPECT_EQ(level(), 1.0);
    EXPECT_TRUE(backlight->write(-0.2));
    EXPECT_EQ(level(), 0.0);
    EXPECT_FALSE(backlight->write(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(level(), 0.0);
}

TEST_F(NativeBacklightTest, FallsBackToTheDisplayConnectService) {
    ASSERT_TRUE(backlight);
    desktop.setEntryPoint(EntryPoint::getBrightness, EntryPointState::failing);
    desktop.setEntryPoint(EntryPoint::setBrightness, EntryPointState::failing);
    EXPECT_NEAR(*backlight->read(), 0.4, 1e-6);
    EXPECT_TRUE(backlight->write(0.9));
    EXPECT_NEAR(level(), 0.9, 1e-6);

    desktop.setEntryPoint(EntryPoint::getBrightness, EntryPointState::absent);
    desktop.setEntryPoint(EntryPoint::setBrightness, EntryPointState::absent);
    EXPECT_TRUE(NativeBacklight::probe(platform, panel));
    EXPECT_TRUE(backlight->write(0.2));
    EXPECT_NEAR(*backlight->read(), 0.2, 1e-6);

    desktop.displayConnect().setMatchingFails(true);
    EXPECT_FALSE(NativeBacklight::probe(platform, panel));
    EXPECT_EQ(backlight->read(), std::nullopt);
    EXPECT_FALSE(backlight->write(0.5));
    EXPECT_NEAR(level(), 0.2, 1e-6);
}

TEST_F(NativeBacklightTest, ProbeTriesTheServiceWhenTheReadingStaysNegative) {
    desktop.setBacklight(panel, -1);
    EXPECT_TRUE(NativeBacklight::probe(platform, panel));
    desktop.displayConnect().setMatchingFails(true);
    EXPECT_FALSE(NativeBacklight::probe(platform, panel));
    EXPECT_FALSE(
        NativeBacklight::probe(platform, desktop.add(SimDisplayConfig::gammaOnlyMonitor("M"))));
}

TEST_F(NativeBacklightTest, MatchesVendorProductAndSerial) {
    SimDisplayConfig config = SimDisplayConfig::gammaOnlyMonitor("Monitor");
    config.serial = 0x55;
    DisplayID monitor = desktop.add(config);
    config.serial = 0;
    DisplayID withoutSerial = desktop.add(config);

    desktop.displayConnect().add(std::nullopt, 0);
    DisplayConnectID otherSerial = service(config.vendor, config.model, 0x99);
    service(config.vendor + 1, config.model, 0x55);
    service(config.vendor, config.model + 1, 0x55, true);
    EXPECT_EQ(serviceFor(monitor), 0u);
    EXPECT_EQ(serviceFor(withoutSerial), otherSerial);

    // A serial entry that is not a number counts as absent; the first match wins.
    DisplayConnectID textSerial =
        desktop.displayConnect().add(Dictionary{{"DisplayVendorID", config.vendor},
                                                {"DisplayProductID", config.model},
                                                {"DisplaySerialNumber", "0x55"}},
                                     0);
    service(config.vendor, config.model, 0x55);
    EXPECT_EQ(serviceFor(monitor), textSerial);
}

TEST_F(NativeBacklightTest, BuiltinPanelMatchesByVendorOrMark) {
    SimDisplayConfig bare = SimDisplayConfig::builtinPanel();
    bare.backlight.reset();
    for (bool byMark : {true, false}) {
        sim::SimDesktop other;
        DisplayID id = other.add(bare);
        auto add = [&](std::uint32_t vendor, bool builtin) {
            return other.displayConnect().add(SimDisplayConnect::infoFor(vendor, 0x1, 0x7, builtin),
                                              0);
        };
        add(0x999, false);
        DisplayConnectID expected = byMark ? add(0x999, true) : add(bare.vendor, false);
        EXPECT_EQ(NativeBacklight::ioDisplayService(other.platform(), id), expected);
    }
}

}  // namespace
}  // namespace corvane
