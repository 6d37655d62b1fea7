#include <gtest/gtest.h>

#include "FakeSysfs.h"
#include "platform/linux/DrmDisplayCatalog.h"
#include "platform/linux/SysfsFiles.h"

namespace corvane::linux_desktop {
namespace {

namespace fs = std::filesystem;
using testing::FakeSysfs;
using testing::makeEdid;

constexpr std::uint16_t kDEL = 0x10AC;
constexpr std::uint16_t kBOE = 0x09E5;

TEST(DisplaysTest, ConnectedConnectorsAreCandidatesWhateverTheirEnabledFileSays) {
    FakeSysfs sysfs;
    sysfs.connector("card0-eDP-1", makeEdid(kBOE, 0x05DF, 0));
    sysfs.connector("card0-HDMI-A-1", makeEdid(kDEL, 0x2009, 7, "DELL P2210"), 5);
    sysfs.connector("card1-DSI-1", {}, std::nullopt, "connected\n\n");
    sysfs.connector("card1-LVDS-1", std::vector<std::uint8_t>(7, 'g'));  // no EDID
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

    sysfs.tree.write("sys/devices/pci0000:00/drm/card0/card0-HDMI-A-1/connector_id", "88\n");
    sysfs.tree.write("sys/devices/pci0000:00/drm/card0/card0-eDP-1/connector_id", "eighty\n");

    std::vector<std::string> names;
    for (const DrmConnector& connector : connectedConnectors(sysfs.sysfs())) {
        EXPECT_EQ(connector.connectorId,
                  connector.name == "HDMI-A-1" ? std::optional(88u) : std::nullopt);
        names.push_back(connector.name);
        SCOPED_TRACE(connector.name);
        EXPECT_EQ(connector.builtin, connector.name == "eDP-1" || connector.name == "DSI-1" ||
                                         connector.name == "LVDS-1");
        EXPECT_EQ(connector.ddcBus, connector.name == "HDMI-A-1" ? std::optional(5u)
                                    : connector.name == "DP-2"   ? std::optional(4u)
                                                                 : std::nullopt);
        EXPECT_EQ(connector.enabled, connector.name != "DP-2");
        EXPECT_EQ(connector.edid.has_value(),
                  connector.name == "HDMI-A-1" || connector.name == "eDP-1");
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"DP-2", "HDMI-A-1", "eDP-1", "DSI-1", "LVDS-1", "DP-5",
                                        "DP-6"}));
}

TEST(DisplaysTest, IdentifiersStayWhileConnectedAndUuidsFollowTheEdid) {
    FakeSysfs sysfs;
    const auto monitor = makeEdid(kDEL, 0x2009, 7, "DELL P2210");
    // Two connector names whose hashes collide.
    const fs::path first = sysfs.connector("card79-DP-3498", monitor, 1);
    DrmDisplayCatalog catalog(sysfs.sysfs());
    ASSERT_EQ(catalog.onlineDisplays(8), std::vector<DisplayID>{2919778967u});
    const std::string uuid = *catalog.uuid(2919778967u);

    sysfs.connector("card90-DP-4742", monitor, 2);
    ASSERT_EQ(catalog.onlineDisplays(8), (std::vector<DisplayID>{2919778967u, 2919778968u}));
    EXPECT_NE(*catalog.uuid(2919778967u), uuid) << "twins are told apart by connector";

    fs::remove(first / "status");
    EXPECT_EQ(catalog.onlineDisplays(8), std::vector<DisplayID>{2919778968u});
    EXPECT_EQ(catalog.uuid(2919778968u), uuid) << "the same monitor on another connector";
    EXPECT_EQ(catalog.uuid(2919778967u), std::nullopt);

    sysfs.tree.write(first / "status", "connected");
    fs::remove(first / "edid");
    EXPECT_EQ(catalog.onlineDisplays(8), (std::vector<DisplayID>{2919778967u, 2919778968u}));
    EXPECT_EQ(catalog.uuid(2919778967u), "display-2919778967");

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
    const DisplayID panel = displays[0].id, dp = displays[1].id, hdmi = displays[2].id;

    // Which display is built in and the main one: LinuxDesktopTest's model shows them.
    EXPECT_EQ(catalog.vendorNumber(dp), kDEL);
    EXPECT_EQ(catalog.modelNumber(dp), 0xA0C1u);
    EXPECT_EQ(catalog.serialNumber(dp), 0x91101D69u);
    EXPECT_EQ(catalog.vendorNumber(hdmi) + catalog.modelNumber(hdmi) + catalog.serialNumber(hdmi),
              0u);
    EXPECT_FALSE(catalog.isBuiltin(12345));

    // Listed built-in first, then the main display, then the rest.
    DrmDisplayCatalog chosen(sysfs.sysfs(), [](const std::vector<ConnectedDisplay>& all) {
        for (const ConnectedDisplay& display : all)
            if (display.connector.name == "HDMI-A-1") return display.id;
        return DisplayID{0};
    });
    EXPECT_EQ(chosen.mainDisplay(), hdmi);
    EXPECT_EQ(chosen.onlineDisplays(8), (std::vector<DisplayID>{panel, hdmi, dp}));

    fs::remove(sysfs.sysfs() / "class/drm/card0-eDP-1");
    catalog.refresh();
    EXPECT_EQ(catalog.mainDisplay(), dp);
    // With more connectors than the cap, the laptop's panel still counts.
    for (int port = 2; port <= 20; ++port) sysfs.connector("card0-DP-" + std::to_string(port));
    sysfs.connector("card0-eDP-1", makeEdid(kBOE, 0x05DF, 0));
    EXPECT_EQ(catalog.onlineDisplays(16).front(), panel);
    EXPECT_EQ(catalog.onlineDisplays(16).size(), 16u);
    fs::remove_all(sysfs.sysfs() / "class/drm");
    EXPECT_TRUE(catalog.onlineDisplays(8).empty());
    EXPECT_EQ(catalog.mainDisplay(), 0u);
}

TEST(DisplaysTest, ADamagedEdidIsReadAgainAndAnExtensionsDamageKeepsTheIdentity) {
    FakeSysfs sysfs;
    // A monitor's EDID of two blocks: the base block and one extension.
    const std::vector<std::uint8_t> good =
        readBytes(fs::path(CORVANE_EDID_FIXTURES) / "AOC2460-6A58C8.bin").value();
    std::vector<std::uint8_t> badBase = good, badExtension = good;
    badBase[20] ^= 0x01;
    badExtension[200] ^= 0x01;
    const fs::path edid = sysfs.connector("card0-DP-1", good, 5) / "edid";

    // Read mid-hot-plug: the second reading, a moment later, is whole.
    int pauses = 0;
    sysfs.tree.writeBytes(edid, badBase);
    std::optional<Edid> read = readConnectorEdid(edid, [&] {
        ++pauses;
        sysfs.tree.writeBytes(edid, good);
    });
    ASSERT_TRUE(read);
    EXPECT_EQ(read->bytes, good);
    EXPECT_EQ(pauses, 1);
    EXPECT_TRUE(readConnectorEdid(edid, [&] { ++pauses; }));
    EXPECT_EQ(pauses, 1) << "a whole EDID is read once";
    sysfs.tree.writeBytes(edid, badBase);
    EXPECT_FALSE(readConnectorEdid(edid, [&] { ++pauses; }));
    EXPECT_EQ(pauses, 2);

    // Only the extension damaged: the base block still names the display as before.
    sysfs.tree.writeBytes(edid, good);
    DrmDisplayCatalog catalog(sysfs.sysfs());
    const DisplayID id = catalog.displays().at(0).id;
    const std::string uuid = *catalog.uuid(id);
    sysfs.tree.writeBytes(edid, badExtension);
    ASSERT_EQ(catalog.onlineDisplays(8), std::vector<DisplayID>{id});
    EXPECT_EQ(catalog.uuid(id), uuid);
}

}  // namespace
}  // namespace corvane::linux_desktop
