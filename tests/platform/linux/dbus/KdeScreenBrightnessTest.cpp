#include <gtest/gtest.h>

#include "platform/linux/dbus/KdeAwareFunctions.h"
#include "platform/linux/dbus/KdeScreenBrightness.h"
#include "support/PlasmaBrightnessMock.h"
#include "support/PrivateSessionBus.h"

namespace corvane::linux_desktop {
namespace {

using corvane::testing::PrivateSessionBus;
using corvane::testing::waitUntil;

const QString kMonitorName = QStringLiteral("display1");
constexpr DisplayID kPanel = 1;
constexpr DisplayID kMonitor = 2;

// The raw i2c-dev side, which must stay untouched while Plasma drives the monitors.
struct RawBus final : AVService {};

constexpr RegistryEntryID kBusEntry = 7;

// Plasma with a built-in panel (300 of 1200) and the monitor (50 of 100).
class KdeScreenBrightnessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus.start()) << bus.error().toStdString();
        connection = bus.connect(QStringLiteral("application"));
        ASSERT_TRUE(plasma.start(bus, connection))
            << "the Plasma mock did not come up (is python3-dbusmock installed?)";
        ASSERT_TRUE(plasma.addDisplay("display0", 300, 1200, true, "Built-in Screen"));
        ASSERT_TRUE(plasma.addDisplay("display1", 50, 100, false, "Dell U2720Q"));
        ASSERT_TRUE(plasma.listDisplays({"display0", "display1"}));
    }

    PrivateSessionBus bus;
    QDBusConnection connection{QString()};
    corvane::testing::PlasmaBrightnessMock plasma;
};

// The functions as the desktop composes them: the panel is display 1, the monitor display 2.
struct Composed {
    explicit Composed(const KdeScreenBrightness& kde) {
        PrivateDisplayFunctions raw;
        raw.createAVService = [this](RegistryEntryID) {
            ++rawOpens;
            return std::make_shared<RawBus>();
        };
        functions = kdeAwareFunctions(
            raw, kde,
            {[](DisplayID id) { return id == kPanel; },
             [](DisplayID id) { return id == kMonitor ? "DELL U2720Q" : ""; }});
    }
    std::optional<float> level(DisplayID id) const {
        float value = -1;
        if (functions.getBrightness(id, &value) != 0) return std::nullopt;
        return value;
    }

    PrivateDisplayFunctions functions;
    int rawOpens = 0;
};

TEST_F(KdeScreenBrightnessTest, PlasmasDisplaysAreDrivenThroughItUntilItGoesAway) {
    KdeScreenBrightness kde(connection);
    EXPECT_EQ(kde.externalDisplayNamed("LG HDR 4K"), nullptr);
    Composed composed(kde);
    const PrivateDisplayFunctions& functions = composed.functions;

    // Levels are Plasma's, as fractions of its maximum; settings go to Plasma in its units,
    // without its indicator, once each. (LinuxDesktopTest sets the panel, whose maximum is
    // not 100, and follows a change made in Plasma.)
    EXPECT_EQ(composed.level(kPanel), 0.25f);
    EXPECT_EQ(composed.level(kMonitor), 0.5f);
    EXPECT_EQ(composed.level(3), std::nullopt);
    EXPECT_EQ(functions.setBrightness(kMonitor, 0.7f), 0);
    EXPECT_EQ(functions.setBrightness(kMonitor, 0.7f), 0);
    EXPECT_EQ(functions.setBrightness(kMonitor, 1.5f), 0);
    ASSERT_TRUE(waitUntil([&] { return plasma.setCalls(kMonitorName).size() == 2; }));
    EXPECT_EQ(plasma.setCalls(kMonitorName)[0], (QVariantList{70, 1u}));
    EXPECT_EQ(plasma.setCalls(kMonitorName)[1], (QVariantList{100, 1u}));
    // No DDC/CI bus while Plasma drives the monitors.
    EXPECT_EQ(functions.createAVService(kBusEntry), nullptr);
    EXPECT_EQ(composed.rawOpens, 0);

    // Plasma going away hands the displays back to the raw paths.
    plasma.stop();
    ASSERT_TRUE(waitUntil([&] { return !kde.isPresent(); }));
    EXPECT_EQ(composed.level(kPanel), std::nullopt);
    EXPECT_NE(functions.createAVService(kBusEntry), nullptr);
    EXPECT_EQ(composed.rawOpens, 1);
}

TEST_F(KdeScreenBrightnessTest, AMonitorThatCannotBePairedIsNotWrittenWhilePlasmaDrivesMonitors) {
    ASSERT_TRUE(plasma.addDisplay("display2", 20, 100, false, "Dell U2720Q"));
    ASSERT_TRUE(plasma.listDisplays({"display0", "display1", "display2"}));
    KdeScreenBrightness kde(connection);

    // Two Plasma monitors fit the name: this one is neither Plasma's nor ours to write.
    Composed composed(kde);
    EXPECT_EQ(composed.level(kMonitor), std::nullopt);
    // Its DDC/CI bus stays shut as every bus does while Plasma drives monitors (see above).
    EXPECT_NE(composed.functions.setBrightness(kMonitor, 0.5f), 0);
}

}  // namespace
}  // namespace corvane::linux_desktop
