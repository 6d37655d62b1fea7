#include <gtest/gtest.h>

#include <map>

#include "FakeI2c.h"
#include "FakeSysfs.h"
#include "ddc/DDCDiscovery.h"
#include "ddc/DDCProtocol.h"
#include "platform/linux/DdcRegistry.h"
#include "platform/linux/I2cDevTransport.h"
#include "platform/sim/SimDesktop.h"

namespace corvane::linux_desktop {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::Bytes;
using testing::FakeI2c;
using testing::FakeSysfs;
using testing::makeEdid;

const Bytes kGetBrightness = DDCProtocol::wrap({0x10});              // opcode 0x01: a reply follows
const Bytes kSetBrightness = DDCProtocol::wrap({0x10, 0x00, 0x32});  // opcode 0x03: no reply

constexpr auto kAtStart = I2cDevTransport::Arrival::atStart;
constexpr auto kHotPlugged = I2cDevTransport::Arrival::hotPlugged;

class DdcTest : public ::testing::Test {
  protected:
    std::shared_ptr<FakeI2c> i2c = std::make_shared<FakeI2c>();
    // The fake answers every call: the device path is only a name.
    I2cDevTransport transport{"/dev", i2c};
    Bytes reply = Bytes(11);
};

TEST_F(DdcTest, AnExchangeHoldsTheBusLockFromRequestToReplyAndAddressesOnlyTheMonitor) {
    AVServiceHandle service = transport.ddcService(5, kAtStart);
    ASSERT_TRUE(service);
    EXPECT_EQ(i2c->log, std::vector<std::string>{"open i2c-5 rw"});
    i2c->log.clear();

    EXPECT_EQ(transport.write(*service, 0x37, 0x51, kGetBrightness), 0);
    i2c->buses["i2c-5"].reply = {0x6E, 0x88, 0x02, 0x00, 0x10, 0x00, 0x00, 0x64, 0x00, 0x32, 0xAB};
    EXPECT_EQ(transport.read(*service, 0x37, 0, reply), 0);
    EXPECT_EQ(reply, i2c->buses["i2c-5"].reply);
    EXPECT_EQ(transport.write(*service, 0x37, 0x51, kSetBrightness), 0);
    EXPECT_EQ(i2c->log, (std::vector<std::string>{
                            "lock i2c-5", "address i2c-5 55", "write i2c-5 55",
                            "address i2c-5 55", "read i2c-5 55 11", "unlock i2c-5",
                            "lock i2c-5", "address i2c-5 55", "write i2c-5 55", "unlock i2c-5"}));
    Bytes sent{0x51};
    sent.insert(sent.end(), kSetBrightness.begin(), kSetBrightness.end());
    EXPECT_EQ(i2c->written.back(), sent);

    // Nothing but the monitor's DDC/CI address is ever put on the bus.
    i2c->log.clear();
    for (std::uint32_t chip : {0x50u, 0x36u, 0x38u, 0x37u | 0x100u, 0x6Eu}) {
        EXPECT_EQ(transport.write(*service, chip, 0x51, kSetBrightness), EINVAL);
        EXPECT_EQ(transport.read(*service, chip, 0, reply), EINVAL);
    }
    EXPECT_EQ(transport.read(*service, 0x37, 1, reply), EINVAL);
    EXPECT_EQ(transport.write(*service, 0x37, 0x151, kSetBrightness), EINVAL);
    AVService foreign;
    EXPECT_EQ(transport.write(foreign, 0x37, 0x51, kSetBrightness), EINVAL);
    EXPECT_TRUE(i2c->log.empty());

    service.reset();
    EXPECT_EQ(i2c->log, std::vector<std::string>{"close i2c-5"});
}

TEST_F(DdcTest, TransfersWaitOutTheWriteGapAndOtherProgramsLocks) {
    AVServiceHandle service = transport.ddcService(5, kAtStart);
    // The protocol sends a Set VCP Feature request twice, 10 ms apart: the bus stretches that
    // to the 50 ms monitors need after a write.
    ASSERT_EQ(transport.write(*service, 0x37, 0x51, kSetBrightness), 0);
    i2c->sleepFor(10ms);
    ASSERT_EQ(transport.write(*service, 0x37, 0x51, kSetBrightness), 0);
    EXPECT_EQ(i2c->writeTimes[1] - i2c->writeTimes[0], 50ms);
    i2c->sleepFor(70ms);
    ASSERT_EQ(transport.write(*service, 0x37, 0x51, kSetBrightness), 0);
    EXPECT_EQ(i2c->writeTimes[2] - i2c->writeTimes[1], 70ms) << "no wait once the gap has passed";

    // Another program's exchange: waited for while it lasts, a failure after a second.
    i2c->buses["i2c-5"].lockedByOthersFor = 30;
    const auto before = i2c->clock;
    i2c->sleepFor(100ms);
    EXPECT_EQ(transport.write(*service, 0x37, 0x51, kSetBrightness), 0);
    EXPECT_EQ(i2c->clock - before, 100ms + 30 * 10ms);
    i2c->buses["i2c-5"].lockedByOthersFor = 1000;
    EXPECT_EQ(transport.write(*service, 0x37, 0x51, kSetBrightness), EWOULDBLOCK);
    EXPECT_EQ(i2c->written.size(), 4u);
}

TEST_F(DdcTest, AKernelDdcciDriverOnTheAddressIsOverriddenAndStatusesAreErrnoValues) {
    i2c->buses["i2c-5"].ddcciDriverBound = true;
    AVServiceHandle service = transport.ddcService(5, kAtStart);
    EXPECT_EQ(transport.write(*service, 0x37, 0x51, kSetBrightness), 0);
    EXPECT_EQ(i2c->only("address"),
              (std::vector<std::string>{"address i2c-5 55", "address i2c-5 55 force"}));

    // A monitor that does not answer fails at once, without waiting for the bus to settle.
    i2c->buses["i2c-5"].transferErrno = EREMOTEIO;
    const auto before = i2c->clock;
    EXPECT_EQ(transport.write(*service, 0x37, 0x51, kSetBrightness), EREMOTEIO);
    EXPECT_EQ(transport.read(*service, 0x37, 0, reply), EREMOTEIO);
    EXPECT_LE(i2c->clock - before, 100ms) << "the write gaps only";
    i2c->buses["i2c-5"].transferErrno = 0;
    i2c->buses["i2c-5"].reply = Bytes(5, 0x6E);
    EXPECT_EQ(transport.read(*service, 0x37, 0, reply), EIO) << "a short reply";
}

TEST_F(DdcTest, ABusNotYetGrantedIsWaitedForAfterAHotPlugAndAfterAWake) {
    // At start a bus the user cannot open gives no channel, without waiting.
    i2c->buses["i2c-5"].openErrors = {EACCES};
    EXPECT_FALSE(transport.ddcService(5, kAtStart));
    i2c->buses["i2c-6"].openErrors = {EIO};
    EXPECT_FALSE(transport.ddcService(6, kHotPlugged));
    EXPECT_EQ(i2c->slept, 0ms);

    // Hot-plugged: udev grants the seat's user the new bus 600 ms after the monitor appears.
    i2c->buses["i2c-5"].openErrors = {EACCES, EACCES, ENOENT, ENOENT};
    AVServiceHandle service = transport.ddcService(5, kHotPlugged);
    ASSERT_TRUE(service);
    EXPECT_EQ(transport.write(*service, 0x37, 0x51, kSetBrightness), 0);
    EXPECT_EQ(i2c->slept, 600ms);

    // A bus that never comes up is waited for three seconds at most; then its failures count
    // at once...
    service.reset();
    i2c->buses["i2c-5"].openErrors = std::vector<int>(100, EACCES);
    service = transport.ddcService(5, kHotPlugged);
    i2c->slept = {};
    EXPECT_EQ(transport.write(*service, 0x37, 0x51, kSetBrightness), EACCES);
    EXPECT_EQ(i2c->slept, 3000ms);
    i2c->slept = {};
    EXPECT_EQ(transport.write(*service, 0x37, 0x51, kSetBrightness), EACCES);
    EXPECT_EQ(i2c->slept, 0ms);

    // ...until a wake from sleep, when the bus may be gone for a while again.
    i2c->buses["i2c-5"].openErrors = {ENODEV, ENODEV};
    transport.busesSettling();
    EXPECT_EQ(transport.write(*service, 0x37, 0x51, kSetBrightness), 0);
    EXPECT_EQ(i2c->slept, 400ms);
}

// Which connector's display got which bus.
using Pairing = std::map<std::string, unsigned>;

// A desk laid out in sysfs and i2c-dev as the kernel drivers lay out the desks people have,
// and the Linux DDC/CI pieces on it, walked the way the model's refresh walks them. Every desk
// also has the buses a display utility must never touch: the chipset's SMBus (whose SPD
// EEPROMs answer at 0x50) and a touchpad's DesignWare controller.
class FakeDesk {
  public:
    FakeDesk() {
        const fs::path smbus = sysfs.pciDevice("0000:00:1f.4", "0x0c0500");
        sysfs.adapter(smbus, 0, "SMBus I801 adapter at efa0");
        i2c->buses["i2c-0"].edid = Bytes(256, 0x5A);
        sysfs.adapter("sys/devices/platform/AMDI0010:00", 1, "Synopsys DesignWare I2C adapter");
    }

    // The buses discovery hands to the online external displays, given in reverse order when
    // `reversed`.
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

    FakeSysfs sysfs;
    std::shared_ptr<FakeI2c> i2c = std::make_shared<FakeI2c>();

  private:
    // The window system shows every connected connector (NVIDIA's say "disabled").
    DrmDisplayCatalog catalog_{sysfs.sysfs(), DrmDisplayCatalog::firstBuiltinElseFirst,
                               [](std::vector<DrmConnector> connectors) {
                                   for (DrmConnector& connector : connectors)
                                       connector.enabled = true;
                                   return connectors;
                               }};
    I2cDevTransport transport_{sysfs.tree.path("dev"), i2c};
    DdcBusFinder finder_{sysfs.sysfs(), transport_};
    DdcRegistry registry_{catalog_, finder_, transport_};
    PrivateDisplayFunctions functions_ = ddcDisplayFunctions(catalog_, registry_, transport_);
    sim::SimDesktop sim_;
    const Platform& base_ = sim_.platform();
    Platform platform_{catalog_,           base_.screens,   functions_,        base_.displayConnect,
                       base_.gamma,        registry_,       base_.sleeper,     base_.preferences,
                       base_.localizer,    base_.overlays,  base_.loop,        base_.power,
                       base_.loginItem,    base_.notifications, base_.events,  base_.indicatorPanels};
};

// Bytes an EEPROM answers from wherever its pointer stands.
void holdEdid(FakeI2c& i2c, unsigned bus, const Bytes& edid, std::size_t pointer) {
    FakeI2c::Bus& answer = i2c.buses["i2c-" + std::to_string(bus)];
    answer.edid = edid;
    answer.edid.resize(256, 0xFF);  // an EEPROM of 256 bytes
    answer.edidPointer = pointer;
}

// NVIDIA's driver: connected outputs read "disabled", no connector names its bus, and the GPU
// has one "NVIDIA i2c adapter" per port; the monitors sit on buses 4 and 6.
void layOutNvidia(FakeDesk& desk, const Bytes& dp, const Bytes& hdmi) {
    const fs::path gpu = desk.sysfs.pciDevice("0000:01:00.0", "0x030000");
    for (unsigned bus : {3u, 4u, 5u, 6u})
        desk.sysfs.adapter(gpu, bus, "NVIDIA i2c adapter " + std::to_string(bus) + " at 1:00.0");
    desk.sysfs.connector("card1-DP-1", dp, std::nullopt, "connected", "disabled");
    desk.sysfs.connector("card1-HDMI-A-1", hdmi, std::nullopt, "connected", "disabled");
    holdEdid(*desk.i2c, 4, dp, 37);
    holdEdid(*desk.i2c, 6, hdmi, 0);
}

// Intel's driver before late 2023: a DisplayPort connector has no "ddc" link; its AUX
// channel's i2c adapter sits inside the connector folder (DP-1) or inside its drm_dp_aux
// device (DP-2).
void layOutIntelAux(FakeDesk& desk, const Bytes& first, const Bytes& second) {
    desk.sysfs.adapter(desk.sysfs.connector("card0-DP-1", first), 7, "DPDDC-B");
    desk.sysfs.adapter(desk.sysfs.connector("card0-DP-2", second) / "drm_dp_aux1", 8,
                       "AUX C/DDI C/PHY C");
}

// A dock behind DisplayPort MST on amdgpu: the branch connectors have no bus of their own; the
// monitors answer on the GPU's DisplayPort adapters, one of them registered on the GPU, the
// other on a device that is known by its name alone.
void layOutMstDock(FakeDesk& desk, const Bytes& left, const Bytes& right) {
    const fs::path gpu = desk.sysfs.pciDevice("0000:03:00.0", "0x030000");
    desk.sysfs.adapter(gpu, 9, "AMDGPU DM aux hw bus 1");
    desk.sysfs.adapter("sys/devices/virtual/dp-branch", 10, "AMDGPU DM aux hw bus 2");
    desk.sysfs.connector("card0-DP-4", left);
    desk.sysfs.connector("card0-DP-5", right);
    holdEdid(*desk.i2c, 9, left, 128);
    holdEdid(*desk.i2c, 10, right, 200);
}

const Bytes kDell = makeEdid(0x10AC, 0xA0C1, 0x91101D69, "DELL U2415");
const Bytes kLg = makeEdid(0x1E6D, 0x5B7F, 0, "LG HDR 4K");
const Bytes kTwin = makeEdid(0x04B3, 0x6ACB, 0, "VG248");  // two of them, no serial number

// The opens that read an EDID (read only; a DDC/CI channel opens its bus read-write).
std::vector<std::string> edidReads(const FakeI2c& i2c) {
    std::vector<std::string> reads;
    for (const std::string& entry : i2c.only("open"))
        if (entry.ends_with(" ro")) reads.push_back(entry);
    return reads;
}

// Every bus the desk's i2c calls opened, and every address they used.
void expectOnlyDisplayBusesTouched(const FakeI2c& i2c, const std::set<std::string>& buses) {
    for (const std::string& entry : i2c.only("open"))
        EXPECT_TRUE(buses.contains(entry.substr(5, entry.find(' ', 5) - 5))) << entry;
    for (unsigned long address : i2c.addressed) EXPECT_TRUE(address == 0x50 || address == 0x37);
    for (const std::string& entry : i2c.only("write")) EXPECT_FALSE(entry.ends_with(" 80")) << entry;
}

TEST(DdcDiscoveryTest, NvidiaMonitorsAreFoundByTheEdidOnTheGpusOwnAdapters) {
    FakeDesk desk;
    layOutNvidia(desk, kDell, kLg);
    desk.i2c->buses["i2c-3"].edid = Bytes(256, 0x42);  // garbage at 0x50 is no EDID
    EXPECT_EQ(desk.discover(), (Pairing{{"card1-DP-1", 4}, {"card1-HDMI-A-1", 6}}));
    // The EDIDs were read once, read only, from the GPU's adapters alone.
    EXPECT_EQ(edidReads(*desk.i2c), (std::vector<std::string>{"open i2c-3 ro", "open i2c-4 ro",
                                                               "open i2c-5 ro", "open i2c-6 ro"}));
    expectOnlyDisplayBusesTouched(*desk.i2c, {"i2c-3", "i2c-4", "i2c-5", "i2c-6"});
    EXPECT_EQ(desk.discover(), (Pairing{{"card1-DP-1", 4}, {"card1-HDMI-A-1", 6}}));
    EXPECT_EQ(edidReads(*desk.i2c).size(), 4u) << "no new reading while nothing changed";

    // A connector whose EDID fails its checksum matches no bus, even one holding the same bytes.
    Bytes damaged = kLg;
    damaged[20] ^= 0x01;
    desk.sysfs.tree.writeBytes("sys/class/drm/card1-HDMI-A-1/edid", damaged);
    holdEdid(*desk.i2c, 6, damaged, 0);
    EXPECT_EQ(desk.discover(), (Pairing{{"card1-DP-1", 4}}));

    // Two identical monitors on NVIDIA's driver cannot be told apart by EDID: neither gets a
    // bus rather than a guess that may swap them.
    FakeDesk twins;
    layOutNvidia(twins, kTwin, kTwin);
    EXPECT_EQ(twins.discover(), Pairing{});
}

TEST(DdcDiscoveryTest, IntelAuxChannelsAndMstDockMonitorsGetTheirOwnBuses) {
    FakeDesk desk;
    layOutIntelAux(desk, kDell, kLg);
    layOutMstDock(desk, kTwin, makeEdid(0x04B3, 0x6ACB, 77, "VG248"));
    EXPECT_EQ(desk.discover(),
              (Pairing{{"card0-DP-1", 7}, {"card0-DP-2", 8}, {"card0-DP-4", 9}, {"card0-DP-5", 10}}));
    // The AUX channels were known from the folders: only the dock's adapters were read.
    EXPECT_EQ(edidReads(*desk.i2c),
              (std::vector<std::string>{"open i2c-9 ro", "open i2c-10 ro"}));
    expectOnlyDisplayBusesTouched(*desk.i2c, {"i2c-9", "i2c-10", "i2c-7", "i2c-8"});
}

TEST(DdcDiscoveryTest, IdenticalMonitorsKeepTheirOwnBusesThroughUnplugAndReplug) {
    FakeDesk desk;
    const fs::path left = desk.sysfs.connector("card0-DP-1", kTwin, 4);
    desk.sysfs.connector("card0-DP-2", kTwin, 5);
    desk.sysfs.connector("card0-eDP-1", makeEdid(0x09E5, 0x05DF, 0), 2);
    const Pairing both{{"card0-DP-1", 4}, {"card0-DP-2", 5}};
    EXPECT_EQ(desk.discover(), both);
    EXPECT_EQ(desk.discover(true), both) << "whatever the order the displays come in";

    desk.sysfs.tree.write(left / "status", "disconnected\n");
    EXPECT_EQ(desk.discover(), (Pairing{{"card0-DP-2", 5}}));
    // Plugged in again, its bus not yet known for a moment: it gets none, never its twin's.
    desk.sysfs.tree.write(left / "status", "connected\n");
    fs::remove(left / "ddc");
    EXPECT_EQ(desk.discover(), (Pairing{{"card0-DP-2", 5}}));
    // Its bus back, though udev has not granted it yet: a hot-plugged bus is waited for.
    desk.sysfs.tree.link(left / "ddc", desk.sysfs.tree.folder(desk.sysfs.i2cAdapter(4)));
    desk.i2c->buses["i2c-4"].openErrors = {EACCES};
    EXPECT_EQ(desk.discover(), both);
    EXPECT_TRUE(edidReads(*desk.i2c).empty()) << "every bus came from a link";
}

}  // namespace
}  // namespace corvane::linux_desktop
