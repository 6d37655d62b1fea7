#include <gtest/gtest.h>

#include <map>

#include "FakeDesks.h"
#include "ddc/DDCDiscovery.h"
#include "platform/linux/DdcRegistry.h"
#include "platform/sim/SimDesktop.h"

namespace corvane::linux_desktop {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::FakeDesk;
using testing::holdEdid;
using testing::makeEdid;

const Bytes kDell = makeEdid(0x10AC, 0xA0C1, 0x91101D69, "DELL U2415");
const Bytes kLg = makeEdid(0x1E6D, 0x5B7F, 0, "LG HDR 4K");
const Bytes kTwin = makeEdid(0x04B3, 0x6ACB, 0, "VG248");  // two of them, no serial number

// Which connector's display got which bus.
using Pairing = std::map<std::string, unsigned>;

// The Linux DDC/CI pieces on a fake desk, walked the way the model's refresh walks them.
class Desk {
  public:
    explicit Desk(FakeDesk& desk)
        : desk_(desk),
          // The window system shows every connected connector (NVIDIA's say "disabled").
          catalog_(desk.sysfs.sysfs(), DrmDisplayCatalog::firstBuiltinElseFirst,
                   [](std::vector<DrmConnector> connectors) {
                       for (DrmConnector& connector : connectors) connector.enabled = true;
                       return connectors;
                   }) {}

    // The buses discovery hands to the online external displays, given in `order`.
    Pairing discover(bool reversed = false) {
        std::vector<DisplayID> external;
        for (DisplayID id : catalog_.onlineDisplays(16))
            if (!catalog_.isBuiltin(id)) external.push_back(id);
        if (reversed) std::reverse(external.begin(), external.end());
        Pairing pairing;
        for (const auto& [id, service] : DDCDiscovery::services(platform_, external))
            pairing[catalog_.display(id)->connector.sysfsName] =
                dynamic_cast<I2cBusService&>(*service).bus();
        return pairing;
    }

    I2cDevTransport& transport() { return transport_; }

  private:
    FakeDesk& desk_;
    DrmDisplayCatalog catalog_;
    I2cDevTransport transport_{desk_.sysfs.tree.path("dev"), desk_.i2c};
    DdcBusFinder finder_{desk_.sysfs.sysfs(), transport_};
    DdcRegistry registry_{catalog_, finder_, transport_};
    PrivateDisplayFunctions functions_ = ddcDisplayFunctions(catalog_, registry_, transport_);
    sim::SimDesktop sim_;
    const Platform& base_ = sim_.platform();
    Platform platform_{catalog_,           base_.screens,   functions_,        base_.displayConnect,
                       base_.gamma,        registry_,       base_.sleeper,     base_.preferences,
                       base_.localizer,    base_.overlays,  base_.loop,        base_.power,
                       base_.loginItem,    base_.notifications, base_.events,  base_.indicatorPanels};
};

// The opens that read an EDID (read only; a DDC/CI channel opens its bus read-write).
std::vector<std::string> edidReads(const testing::FakeI2c& i2c) {
    std::vector<std::string> reads;
    for (const std::string& entry : i2c.only("open"))
        if (entry.ends_with(" ro")) reads.push_back(entry);
    return reads;
}

// Every bus the desk's i2c calls opened, and every address they used.
void expectOnlyDisplayBusesTouched(const testing::FakeI2c& i2c, const std::set<std::string>& buses) {
    for (const std::string& entry : i2c.only("open"))
        EXPECT_TRUE(buses.contains(entry.substr(5, entry.find(' ', 5) - 5))) << entry;
    for (unsigned long address : i2c.addressed) EXPECT_TRUE(address == 0x50 || address == 0x37);
    for (const std::string& entry : i2c.only("write")) EXPECT_FALSE(entry.ends_with(" 80")) << entry;
    EXPECT_FALSE(i2c.writtenToEeprom);
}

TEST(DdcDiscoveryTest, NvidiaMonitorsAreFoundByTheEdidOnTheGpusOwnAdapters) {
    FakeDesk desk;
    testing::layOutNvidia(desk, kDell, kLg);
    desk.i2c->buses["i2c-3"].edid = Bytes(256, 0x42);  // garbage at 0x50 is no EDID
    Desk walk(desk);
    EXPECT_EQ(walk.discover(), (Pairing{{"card1-DP-1", 4}, {"card1-HDMI-A-1", 6}}));
    // The EDIDs were read once, read only, from the GPU's adapters alone.
    EXPECT_EQ(edidReads(*desk.i2c), (std::vector<std::string>{"open i2c-3 ro", "open i2c-4 ro",
                                                               "open i2c-5 ro", "open i2c-6 ro"}));
    expectOnlyDisplayBusesTouched(*desk.i2c, {"i2c-3", "i2c-4", "i2c-5", "i2c-6"});
    EXPECT_EQ(walk.discover(), (Pairing{{"card1-DP-1", 4}, {"card1-HDMI-A-1", 6}}));
    EXPECT_EQ(edidReads(*desk.i2c).size(), 4u) << "no new reading while nothing changed";

    // A connector whose EDID fails its checksum matches no bus, even one holding the same bytes.
    Bytes damaged = kLg;
    damaged[20] ^= 0x01;
    desk.sysfs.tree.writeBytes(testing::FakeSysfs::connectorFolder("card1-HDMI-A-1") / "edid",
                               damaged);
    holdEdid(*desk.i2c, 6, damaged, 0);
    EXPECT_EQ(walk.discover(), (Pairing{{"card1-DP-1", 4}}));

    // Two identical monitors on NVIDIA's driver cannot be told apart by EDID: neither gets a
    // bus rather than a guess that may swap them.
    FakeDesk twins;
    testing::layOutNvidia(twins, kTwin, kTwin);
    EXPECT_EQ(Desk(twins).discover(), Pairing{});
}

TEST(DdcDiscoveryTest, IntelAuxChannelsAndMstDockMonitorsGetTheirOwnBuses) {
    FakeDesk desk;
    testing::layOutIntelAux(desk, kDell, kLg);
    testing::layOutMstDock(desk, kTwin, makeEdid(0x04B3, 0x6ACB, 77, "VG248"));
    Desk walk(desk);
    EXPECT_EQ(walk.discover(),
              (Pairing{{"card0-DP-1", 7}, {"card0-DP-2", 8}, {"card0-DP-4", 9}, {"card0-DP-5", 10}}));
    // The AUX channels were known from the folders: only the dock's adapters were read.
    EXPECT_EQ(edidReads(*desk.i2c),
              (std::vector<std::string>{"open i2c-9 ro", "open i2c-10 ro"}));
    expectOnlyDisplayBusesTouched(*desk.i2c, {"i2c-9", "i2c-10", "i2c-7", "i2c-8"});

    // The DDC/CI traffic then goes to 0x37 on the found bus.
    AVServiceHandle dock = walk.transport().ddcService(9, I2cDevTransport::Arrival::atStart);
    EXPECT_EQ(walk.transport().write(*dock, 0x37, 0x51, Bytes{0x84, 0x03, 0x10, 0, 1, 0}), 0);
    EXPECT_EQ(desk.i2c->only("address i2c-9").back(), "address i2c-9 55");
    expectOnlyDisplayBusesTouched(*desk.i2c, {"i2c-9", "i2c-10", "i2c-7", "i2c-8"});
}

TEST(DdcDiscoveryTest, IdenticalMonitorsKeepTheirOwnBusesThroughUnplugAndReplug) {
    FakeDesk desk;
    const fs::path left = desk.sysfs.connector("card0-DP-1", kTwin, 4);
    desk.sysfs.connector("card0-DP-2", kTwin, 5);
    desk.sysfs.connector("card0-eDP-1", makeEdid(0x09E5, 0x05DF, 0), 2);
    Desk walk(desk);
    const Pairing both{{"card0-DP-1", 4}, {"card0-DP-2", 5}};
    EXPECT_EQ(walk.discover(), both);
    EXPECT_EQ(walk.discover(true), both) << "whatever the order the displays come in";

    desk.sysfs.tree.write(left / "status", "disconnected\n");
    EXPECT_EQ(walk.discover(), (Pairing{{"card0-DP-2", 5}}));
    // Plugged in again, its bus not yet known for a moment: it gets none, never its twin's.
    desk.sysfs.tree.write(left / "status", "connected\n");
    fs::remove(left / "ddc");
    EXPECT_EQ(walk.discover(), (Pairing{{"card0-DP-2", 5}}));
    // Its bus back, though udev has not granted it yet: a hot-plugged bus is waited for.
    desk.sysfs.tree.link(left / "ddc", desk.sysfs.tree.folder(desk.sysfs.i2cAdapter(4)));
    desk.i2c->buses["i2c-4"].openErrors = {EACCES};
    EXPECT_EQ(walk.discover(), both);
    EXPECT_TRUE(edidReads(*desk.i2c).empty()) << "every bus came from a link";
}

}  // namespace
}  // namespace corvane::linux_desktop
