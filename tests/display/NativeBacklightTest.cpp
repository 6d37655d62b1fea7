#include "display/NativeBacklight.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/sim/SimDesktop.h"

namespace corvane {
namespace {

using sim::EntryPoint;
using sim::EntryPointState;
using sim::SimDisplayConnect;
using sim::SimDisplaySpec;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class NativeBacklightTest : public ::testing::Test {
protected:
    double backlight(DisplayID id) { return *desktop.display(id).spec.backlight; }
    void withoutDisplayServices() {
        desktop.setEntryPoint(EntryPoint::getBrightness, EntryPointState::absent);
        desktop.setEntryPoint(EntryPoint::setBrightness, EntryPointState::absent);
    }
    // An external monitor without a backlight of its own, for matching tests.
    DisplayID monitor(std::uint32_t serial) {
        SimDisplaySpec spec = SimDisplaySpec::gammaOnlyMonitor("Monitor");
        spec.serial = serial;
        return desktop.add(spec);
    }

    sim::SimDesktop desktop;
    const Platform& platform = desktop.platform();
};

TEST_F(NativeBacklightTest, ReadsAndWritesLimitedToTheUnitRange) {
    DisplayID id = desktop.add(SimDisplaySpec::builtinPanel());
    auto backlightControl = NativeBacklight::probe(platform, id);
    ASSERT_TRUE(backlightControl);
    EXPECT_EQ(backlightControl->displayID(), id);

    desktop.setBacklight(id, 0.3);
    EXPECT_NEAR(*backlightControl->read(), 0.3, 1e-6);
    desktop.setBacklight(id, 1.2);
    EXPECT_EQ(backlightControl->read(), 1.0);
    desktop.setBacklight(id, -0.1);
    EXPECT_EQ(backlightControl->read(), 0.0);

    EXPECT_TRUE(backlightControl->write(1.5));
    EXPECT_EQ(backlight(id), 1.0);
    EXPECT_TRUE(backlightControl->write(-0.2));
    EXPECT_EQ(backlight(id), 0.0);
    EXPECT_TRUE(backlightControl->write(0.7));
    EXPECT_NEAR(backlight(id), 0.7, 1e-6);
}

TEST_F(NativeBacklightTest, NaNIsNeitherReadNorWritten) {
    DisplayID id = desktop.add(SimDisplaySpec::builtinPanel("Panel", 0.4));
    auto backlightControl = NativeBacklight::probe(platform, id);
    ASSERT_TRUE(backlightControl);

    EXPECT_FALSE(backlightControl->write(kNaN));
    EXPECT_NEAR(backlight(id), 0.4, 1e-6);
    desktop.setBacklight(id, kNaN);
    EXPECT_EQ(backlightControl->read(), std::nullopt);
}

TEST_F(NativeBacklightTest, FallsBackToTheDisplayConnectService) {
    DisplayID id = desktop.add(SimDisplaySpec::builtinPanel("Panel", 0.4));
    auto backlightControl = NativeBacklight::probe(platform, id);
    ASSERT_TRUE(backlightControl);

    desktop.setEntryPoint(EntryPoint::getBrightness, EntryPointState::failing);
    desktop.setEntryPoint(EntryPoint::setBrightness, EntryPointState::failing);
    EXPECT_NEAR(*backlightControl->read(), 0.4, 1e-6);
    EXPECT_TRUE(backlightControl->write(0.9));
    EXPECT_NEAR(backlight(id), 0.9, 1e-6);

    withoutDisplayServices();
    EXPECT_TRUE(NativeBacklight::probe(platform, id));
    EXPECT_TRUE(backlightControl->write(0.2));
    EXPECT_NEAR(*backlightControl->read(), 0.2, 1e-6);

    // Neither path left: nothing read, nothing written, no backlight found.
    desktop.displayConnect().setMatchingFails(true);
    EXPECT_FALSE(NativeBacklight::probe(platform, id));
    EXPECT_EQ(backlightControl->read(), std::nullopt);
    EXPECT_FALSE(backlightControl->write(0.5));
    EXPECT_NEAR(backlight(id), 0.2, 1e-6);
}

TEST_F(NativeBacklightTest, ProbeIgnoresAnUntouchedNegativeReading) {
    DisplayID id = desktop.add(SimDisplaySpec::builtinPanel("Panel", -1));
    EXPECT_TRUE(NativeBacklight::probe(platform, id));
    desktop.displayConnect().setMatchingFails(true);
    EXPECT_FALSE(NativeBacklight::probe(platform, id));

    DisplayID monitorID = monitor(7);
    EXPECT_FALSE(NativeBacklight::probe(platform, monitorID));
}

TEST_F(NativeBacklightTest, MatchesServicesByVendorProductAndSerial) {
    DisplayID id = monitor(0x1234);
    SimDisplayConnect& services = desktop.displayConnect();
    const SimDisplaySpec& spec = desktop.display(id).spec;

    services.add(std::nullopt, id);
    services.add(SimDisplayConnect::infoFor(spec.vendor, spec.model, 0x9999, false), id);
    services.add(SimDisplayConnect::infoFor(spec.vendor + 1, spec.model, 0x1234, false), id);
    services.add(SimDisplayConnect::infoFor(spec.vendor, spec.model + 1, 0x1234, true), id);
    EXPECT_EQ(NativeBacklight::ioDisplayService(platform, id), 0u);

    DisplayConnectID exact =
        services.add(SimDisplayConnect::infoFor(spec.vendor, spec.model, 0x1234, false), id);
    services.add(SimDisplayConnect::infoFor(spec.vendor, spec.model, 0x1234, false), id);
    EXPECT_EQ(NativeBacklight::ioDisplayService(platform, id), exact);
}

TEST_F(NativeBacklightTest, SerialMatchesWhenEitherSideHasNone) {
    DisplayID withoutSerial = monitor(0);
    DisplayID withSerial = monitor(0x55);
    const SimDisplaySpec& spec = desktop.display(withoutSerial).spec;
    SimDisplayConnect& services = desktop.displayConnect();

    DisplayConnectID anySerial =
        services.add(SimDisplayConnect::infoFor(spec.vendor, spec.model, 0x4242, false), 0);
    EXPECT_EQ(NativeBacklight::ioDisplayService(platform, withoutSerial), anySerial);
    EXPECT_EQ(NativeBacklight::ioDisplayService(platform, withSerial), 0u);

    // A serial entry that is not a number counts as absent.
    DisplayConnectID textSerial = services.add(
        Dictionary{{"DisplayVendorID", spec.vendor},
                   {"DisplayProductID", spec.model},
                   {"DisplaySerialNumber", "0x55"}},
        0);
    EXPECT_EQ(NativeBacklight::ioDisplayService(platform, withSerial), textSerial);
}

TEST_F(NativeBacklightTest, BuiltinPanelsMatchLooserServices) {
    SimDisplaySpec panelSpec = SimDisplaySpec::builtinPanel();
    panelSpec.backlight.reset();
    DisplayID panel = desktop.add(panelSpec);
    SimDisplayConnect& services = desktop.displayConnect();

    services.add(SimDisplayConnect::infoFor(0x999, 0x999, 0, false), panel);
    DisplayConnectID marked = services.add(SimDisplayConnect::infoFor(0x999, 0x999, 0, true), panel);
    EXPECT_EQ(NativeBacklight::ioDisplayService(platform, panel), marked);

    sim::SimDesktop other;
    DisplayID otherPanel = other.add(panelSpec);
    DisplayConnectID sameVendor = other.displayConnect().add(
        SimDisplayConnect::infoFor(panelSpec.vendor, 0x1, 0x77, false), otherPanel);
    EXPECT_EQ(NativeBacklight::ioDisplayService(other.platform(), otherPanel), sameVendor);

    // An external monitor is not matched by vendor alone nor by the built-in mark.
    DisplayID external = other.add(SimDisplaySpec::gammaOnlyMonitor("Monitor"));
    const SimDisplaySpec& externalSpec = other.display(external).spec;
    other.displayConnect().add(SimDisplayConnect::infoFor(externalSpec.vendor, 0x1, 0, true), 0);
    EXPECT_EQ(NativeBacklight::ioDisplayService(other.platform(), external), 0u);
}

}  // namespace
}  // namespace corvane
