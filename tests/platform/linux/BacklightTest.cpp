#include <gtest/gtest.h>

#include <limits>
#include <map>

#include "FakeSysfs.h"
#include "platform/linux/BacklightServices.h"

namespace corvane::linux_desktop {
namespace {

namespace fs = std::filesystem;
using testing::FakeSysfs;
using testing::makeEdid;

class RecordingWriter final : public BacklightWriter {
  public:
    bool write(const BacklightDevice& device, std::uint64_t value) override {
        written[device.name] = value;
        return accepts;
    }
    std::map<std::string, std::uint64_t> written;
    bool accepts = true;
};

class BacklightTest : public ::testing::Test {
  protected:
    std::optional<std::string> chosen(const fs::path& connectorFolder) {
        std::optional<DrmConnector> connector = readConnector(connectorFolder);
        if (!connector) return "no connector";
        std::optional<BacklightDevice> device = panelBacklight(sysfs.sysfs(), *connector);
        return device ? std::optional(device->name) : std::nullopt;
    }
    fs::path platformDevice(const std::string& name) {
        return sysfs.tree.folder("sys/devices/platform/" + name);
    }
    // The services over the connectors laid out so far; the first display's id.
    DisplayID startServices(BacklightWriter& writer) {
        catalog.emplace(sysfs.sysfs());
        services.emplace(*catalog, sysfs.sysfs(), writer);
        return catalog->displays()[0].id;
    }
    // The services over a laptop panel whose backlight `device` holds `brightness` of `max`.
    DisplayID panelWith(BacklightWriter& writer, const std::string& name, const std::string& type,
                        const std::string& brightness, const std::string& max) {
        device = sysfs.backlight(sysfs.connector("card0-eDP-1"), name, type, brightness, max);
        return startServices(writer);
    }
    float level(DisplayID id) {
        float value = -1;
        EXPECT_EQ(services->getFloatParameter(id, "brightness", &value), 0);
        return value;
    }
    std::int32_t set(DisplayID id, float value) {
        return services->setFloatParameter(id, "brightness", value);
    }
    std::string raw() const { return sysfs.tree.read(device / "brightness"); }

    FakeSysfs sysfs;
    fs::path device;
    std::optional<DrmDisplayCatalog> catalog;
    std::optional<BacklightServices> services;
};

TEST_F(BacklightTest, ChoosesTheConnectorsOwnDeviceElseTheBestTypeOfTheFreeOnes) {
    const fs::path panel = sysfs.connector("card0-eDP-1");
    const fs::path other = sysfs.connector("card1-eDP-2");
    EXPECT_EQ(chosen(panel), std::nullopt);

    // A DDC/CI monitor's backlight, directly and one level below the i2c client.
    const fs::path client = sysfs.tree.folder(sysfs.i2cAdapter(5) / "5-0037");
    sysfs.backlight(client, "ddcci5", "firmware", "10", "100");
    sysfs.backlight(client / "ddcci5-device", "ddcci5b", "firmware", "10", "100");
    sysfs.backlight(other, "amdgpu_bl1", "raw", "10", "255");
    EXPECT_EQ(chosen(panel), std::nullopt);

    sysfs.backlight(platformDevice("raw-b"), "raw_b", "raw", "1", "10");
    sysfs.backlight(platformDevice("raw-a"), "raw_a", "raw", "1", "10");
    EXPECT_EQ(chosen(panel), "raw_a");
    sysfs.backlight(platformDevice("vendor"), "thinkpad_screen", "platform", "1", "10");
    EXPECT_EQ(chosen(panel), "thinkpad_screen");
    sysfs.backlight(platformDevice("acpi"), "acpi_video0", "firmware", "1", "10");
    sysfs.backlight(platformDevice("odd"), "odd0", "mystery", "1", "10");
    sysfs.backlight(platformDevice("broken"), "aaa_broken", "firmware", "1", "0");
    sysfs.tree.link("sys/class/backlight/aaa_gone", "/nowhere");
    EXPECT_EQ(chosen(panel), "acpi_video0");

    sysfs.backlight(panel, "intel_backlight", "raw", "1", "10");
    EXPECT_EQ(chosen(panel), "intel_backlight");
}

TEST_F(BacklightTest, OneServicePerBuiltinPanelWithABacklight) {
    const fs::path panel = sysfs.connector("card0-eDP-1", makeEdid(0x09E5, 0x05DF, 42));
    sysfs.connector("card0-DP-1", makeEdid(0x10AC, 0x2009, 7), 5);
    sysfs.connector("card1-DSI-1");
    device = sysfs.backlight(panel, "intel_backlight", "raw", "4800", "19200");
    sysfs.backlight(sysfs.connector("card1-eDP-2"), "amdgpu_bl1", "raw", "1", "0");
    RecordingWriter writer;
    const DisplayID panelId = startServices(writer);
    const DisplayID externalId = catalog->displays()[3].id, dsiId = catalog->displays()[1].id;

    EXPECT_EQ(services->matchingServices(), std::vector<DisplayConnectID>{panelId});
    EXPECT_EQ(services->infoDictionary(panelId), (Dictionary{{"DisplayVendorID", 0x09E5},
                                                             {"DisplayProductID", 0x05DF},
                                                             {"DisplaySerialNumber", 42},
                                                             {"DisplayIsBuiltin", true}}));
    EXPECT_EQ(services->infoDictionary(externalId), std::nullopt) << "external";
    EXPECT_EQ(services->infoDictionary(dsiId), (Dictionary{{"DisplayIsBuiltin", true}}));

    float ignored = -1;
    EXPECT_NE(services->getFloatParameter(panelId, "contrast", &ignored), 0);
    EXPECT_NE(services->getFloatParameter(externalId, "brightness", &ignored), 0);
    sysfs.tree.write(device / "brightness", "lots\n");
    EXPECT_NE(services->getFloatParameter(panelId, "brightness", &ignored), 0);
    sysfs.tree.write(device / "brightness", "40000\n");
    EXPECT_FLOAT_EQ(level(panelId), 1.0f);

    EXPECT_EQ(set(panelId, 1.7f), 0);
    EXPECT_EQ(writer.written["intel_backlight"], 19200u);
    EXPECT_EQ(set(panelId, -1), 0);
    EXPECT_EQ(writer.written["intel_backlight"], 192u) << "1 %: raw 0 switches panels off";
    EXPECT_NE(set(panelId, std::numeric_limits<float>::quiet_NaN()), 0);
    writer.accepts = false;
    EXPECT_NE(set(panelId, 0.5f), 0);

    // A backlight that goes away is missed at the next look-up, which every read begins with.
    fs::remove(sysfs.tree.path("sys/class/backlight/intel_backlight"));
    EXPECT_EQ(services->matchingServices(), std::vector<DisplayConnectID>{});
    EXPECT_NE(services->getFloatParameter(panelId, "brightness", &ignored), 0);
}

TEST_F(BacklightTest, FewStepPanelsMoveOnEveryKeyStepAndThePollKeepsTheLevelAsked) {
    SysfsBacklightWriter writer;
    const DisplayID id = panelWith(writer, "acpi_video0", "firmware", "4", "7");
    // Key steps of 1/16 from 4/7: each moves the panel, and each reads back as asked.
    float shown = level(id);
    std::vector<std::string> raws;
    for (int press = 0; press < 4; ++press) {
        shown += 1 / 16.0f;
        ASSERT_EQ(set(id, shown), 0);
        raws.push_back(raw());
        EXPECT_FLOAT_EQ(level(id), shown) << "the poll sees no change";
    }
    EXPECT_EQ(raws, (std::vector<std::string>{"5\n", "6\n", "7\n", "7\n"}));
    for (int press = 0; press < 3; ++press) {
        shown -= 1 / 16.0f;
        ASSERT_EQ(set(id, shown), 0);
        EXPECT_LT(std::stoi(raw()), std::stoi(raws.back()));
        raws.push_back(raw());
    }

    // A change made elsewhere is read as it is; level 0 keeps one raw unit lit.
    sysfs.tree.write(device / "brightness", "2\n");
    EXPECT_FLOAT_EQ(level(id), 2 / 7.0f);
    ASSERT_EQ(set(id, 0), 0);
    EXPECT_EQ(raw(), "1\n");
    ASSERT_EQ(set(id, 0), 0);
    EXPECT_EQ(raw(), "1\n");
    EXPECT_FALSE(writer.write({device / "gone", "gone", "firmware"}, 12)) << "no such device";
}

TEST_F(BacklightTest, ManyStepPanelsRoundAndHugeNumbersNeverOverflow) {
    RecordingWriter writer;
    const DisplayID id = panelWith(writer, "intel_backlight", "raw", "128", "255");
    ASSERT_EQ(set(id, 128 / 255.0f + 1 / 64.0f), 0);
    EXPECT_EQ(writer.written["intel_backlight"], 132u);
    ASSERT_EQ(set(id, 0.001f), 0);
    EXPECT_EQ(writer.written["intel_backlight"], 2u);

    // Maxima and readings of any 64-bit size; beyond that the device is unreadable.
    sysfs.tree.write(device / "max_brightness", "18446744073709551615\n");
    sysfs.tree.write(device / "brightness", "18446744073709551615\n");
    EXPECT_FLOAT_EQ(level(id), 1.0f);
    ASSERT_EQ(set(id, 1.0f), 0);
    EXPECT_EQ(writer.written["intel_backlight"], 18446744073709551615u);
    ASSERT_EQ(set(id, 0.5f), 0);
    EXPECT_EQ(writer.written["intel_backlight"], 9223372036854775808u);
    EXPECT_EQ(rawFor(0.25, 9223372036854775809u), 2305843009213693952u);
    sysfs.tree.write(device / "max_brightness", "18446744073709551616\n");
    float ignored = -1;
    EXPECT_NE(services->getFloatParameter(id, "brightness", &ignored), 0);
    EXPECT_NE(set(id, 0.5f), 0);
}

}  // namespace
}  // namespace corvane::linux_desktop
