#include <gtest/gtest.h>

#include <regex>

#include "FakeSysfs.h"
#include "platform/linux/DrmDisplayCatalog.h"

namespace corvane::linux_desktop {
namespace {

namespace fs = std::filesystem;
using testing::FakeSysfs;
using testing::makeEdid;

constexpr std::uint16_t kDEL = 0x10AC;
constexpr std::uint16_t kBOE = 0x09E5;

std::vector<std::uint8_t> bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST(DisplaysTest, OnlyConnectedEnabledConnectorsAreDisplays) {
    FakeSysfs sysfs;
    sysfs.connector("card0-eDP-1", makeEdid(kBOE, 0x05DF, 0));
    sysfs.connector("card0-HDMI-A-1", makeEdid(kDEL, 0x2009, 7, "DELL P2210"), 5);
    sysfs.connector("card1-DSI-1", {}, std::nullopt, "connected\n\n");
    sysfs.connector("card1-LVDS-1", bytes("garbage"));
    sysfs.connector("card0-DP-1", {}, 3, "disconnected");
    sysfs.connector("card0-DP-2", {}, 4, "connected", "disabled");
    sysfs.connector("card0-DP-3", {}, 6, "unknown");
    sysfs.tree.link("sys/class/drm/card0-DP-4", "/nowhere");
    sysfs.tree.write("sys/class/drm/version", "drm 1.1.0\n");
    sysfs.tree.folder("sys/class/drm/card0");
    sysfs.tree.folder("sys/class/drm/renderD128");
    // A link to a bus that is gone, and one to something that is not an i2c adapter.
    sysfs.tree.link(sysfs.connector("card2-DP-5") / "ddc", sysfs.tree.path("sys/devices/i2c-9"));
    sysfs.tree.link(sysfs.connector("card2-DP-6") / "ddc", sysfs.tree.folder("sys/devices/aux"));

    std::vector<std::string> names;
    for (const DrmConnector& connector : connectedConnectors(sysfs.sysfs())) {
        names.push_back(connector.name);
        SCOPED_TRACE(connector.name);
        EXPECT_EQ(connector.builtin, connector.name == "eDP-1" || connector.name == "DSI-1" ||
                                         connector.name == "LVDS-1");
        EXPECT_EQ(connector.ddcBus,
                  connector.name == "HDMI-A-1" ? std::optional(5u) : std::nullopt);
        EXPECT_EQ(connector.edid.has_value(),
                  connector.name == "HDMI-A-1" || connector.name == "eDP-1");
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"HDMI-A-1", "eDP-1", "DSI-1", "LVDS-1", "DP-5", "DP-6"}));
    EXPECT_TRUE(connectedConnectors(sysfs.tree.path("missing")).empty());
}

TEST(DisplaysTest, IdentifiersStayWhileConnectedAndUuidsFollowTheEdid) {
    FakeSysfs sysfs;
    const auto monitor = makeEdid(kDEL, 0x2009, 7, "DELL P2210");
    // Two connector names whose hashes collide.
    const fs::path first = sysfs.connector("card79-DP-3498", monitor, 1);
    DrmDisplayCatalog catalog(sysfs.sysfs());
    ASSERT_EQ(catalog.onlineDisplays(8), std::vector<DisplayID>{2919778967u});
    const std::string uuid = *catalog.uuid(2919778967u);
    EXPECT_TRUE(std::regex_match(
        uuid, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-5[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}")));

    sysfs.connector("card90-DP-4742", monitor, 2);
    ASSERT_EQ(catalog.onlineDisplays(8), (std::vector<DisplayID>{2919778967u, 2919778968u}));
    EXPECT_NE(*catalog.uuid(2919778967u), uuid) << "twins are told apart by connector";
    EXPECT_NE(*catalog.uuid(2919778967u), *catalog.uuid(2919778968u));

    fs::remove(first / "status");
    EXPECT_EQ(catalog.onlineDisplays(8), std::vector<DisplayID>{2919778968u});
    EXPECT_EQ(catalog.uuid(2919778968u), uuid) << "the same monitor on another connector";
    EXPECT_EQ(catalog.uuid(2919778967u), std::nullopt);

    sysfs.tree.write(first / "status", "connected");
    fs::remove(first / "edid");
    EXPECT_EQ(catalog.onlineDisplays(8), (std::vector<DisplayID>{2919778967u, 2919778968u}));
    EXPECT_EQ(catalog.uuid(2919778967u), "display-2919778967");
    EXPECT_EQ(catalog.onlineDisplays(1), std::vector<DisplayID>{2919778967u});

    EXPECT_EQ(DrmDisplayCatalog(sysfs.sysfs()).uuid(2919778968u), uuid) << "across restarts";
}

TEST(DisplaysTest, CatalogReportsTheEdidNumbersAndTheChosenMainDisplay) {
    FakeSysfs sysfs;
    sysfs.connector("card0-DP-1", makeEdid(kDEL, 0xA0C1, 0x91101D69), 5);
    sysfs.connector("card0-eDP-1", makeEdid(kBOE, 0x05DF, 0));
    sysfs.connector("card0-HDMI-A-1");
    DrmDisplayCatalog catalog(sysfs.sysfs());
    const std::vector<ConnectedDisplay>& displays = catalog.displays();
    ASSERT_EQ(displays.size(), 3u);
    const DisplayID dp = displays[0].id, hdmi = displays[1].id, panel = displays[2].id;

    EXPECT_EQ(catalog.mainDisplay(), panel);
    EXPECT_TRUE(catalog.isBuiltin(panel));
    EXPECT_FALSE(catalog.isBuiltin(dp));
    EXPECT_EQ(catalog.vendorNumber(dp), kDEL);
    EXPECT_EQ(catalog.modelNumber(dp), 0xA0C1u);
    EXPECT_EQ(catalog.serialNumber(dp), 0x91101D69u);
    EXPECT_EQ(catalog.vendorNumber(hdmi) + catalog.modelNumber(hdmi) + catalog.serialNumber(hdmi),
              0u);
    EXPECT_FALSE(catalog.isBuiltin(12345));

    DrmDisplayCatalog chosen(sysfs.sysfs(), [](const std::vector<ConnectedDisplay>& all) {
        return all.back().connector.name == "eDP-1" ? all[1].id : 0;
    });
    EXPECT_EQ(chosen.mainDisplay(), hdmi);

    fs::remove(sysfs.sysfs() / "class/drm/card0-eDP-1");
    catalog.refresh();
    EXPECT_EQ(catalog.mainDisplay(), dp);
    fs::remove_all(sysfs.sysfs() / "class/drm");
    EXPECT_TRUE(catalog.onlineDisplays(8).empty());
    EXPECT_EQ(catalog.mainDisplay(), 0u);
}

TEST(DisplaysTest, MergedConnectorsAreNamedWithTheSysfsOnes) {
    FakeSysfs sysfs;
    sysfs.connector("card0-eDP-1");
    DrmConnector standIn;
    standIn.sysfsName = "randr-VIRTUAL-1";
    standIn.name = "VIRTUAL-1";
    std::size_t seen = 0;
    DrmDisplayCatalog catalog(sysfs.sysfs(), DrmDisplayCatalog::firstBuiltinElseFirst,
                              [&](std::vector<DrmConnector> connectors) {
                                  seen = connectors.size();
                                  connectors.push_back(standIn);
                                  return connectors;
                              });
    EXPECT_EQ(seen, 1u);
    ASSERT_EQ(catalog.onlineDisplays(8).size(), 2u);
    const ConnectedDisplay& merged = catalog.displays()[1];
    EXPECT_EQ(merged.connector.name, "VIRTUAL-1");
    EXPECT_EQ(merged.uuid, "display-" + std::to_string(merged.id));
    EXPECT_EQ(catalog.mainDisplay(), catalog.displays()[0].id);
}

}  // namespace
}  // namespace corvane::linux_desktop
