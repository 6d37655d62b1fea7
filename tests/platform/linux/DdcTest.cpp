#include <fcntl.h>
#include <linux/i2c-dev.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <map>

#include "FakeSysfs.h"
#include "ddc/DDCDiscovery.h"
#include "ddc/DDCProtocol.h"
#include "platform/linux/DdcRegistry.h"

namespace corvane::linux_desktop {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using testing::FakeSysfs;
using testing::makeEdid;

// Records every call; each operation fails with the errno set for it.
class FakeI2cCalls final : public I2cSystemCalls {
  public:
    int open(const std::string& path, int flags) override {
        opened.push_back(path);
        openFlags = flags;
        if (auto it = openErrors.find(path); it != openErrors.end()) return -it->second;
        return nextFd++;
    }
    int ioctl(int fd, unsigned long request, unsigned long argument) override {
        log.push_back("ioctl " + std::to_string(fd) + " " + std::to_string(request) + " " +
                      std::to_string(argument));
        return ioctlErrno ? -ioctlErrno : 0;
    }
    ssize_t read(int fd, std::span<std::uint8_t> buffer) override {
        log.push_back("read " + std::to_string(fd) + " " + std::to_string(buffer.size()));
        if (readErrno) return -readErrno;
        const std::size_t count = std::min(buffer.size(), reply.size());
        std::copy_n(reply.begin(), count, buffer.begin());
        return static_cast<ssize_t>(count);
    }
    ssize_t write(int fd, std::span<const std::uint8_t> bytes) override {
        log.push_back("write " + std::to_string(fd));
        written.emplace_back(bytes.begin(), bytes.end());
        if (writeErrno) return -writeErrno;
        return static_cast<ssize_t>(bytes.size()) - shortBy;
    }
    int close(int fd) override {
        closed.push_back(fd);
        return 0;
    }

    std::map<std::string, int> openErrors;
    std::vector<std::string> opened;
    int openFlags = 0;
    std::vector<std::string> log;
    std::vector<Bytes> written;
    std::vector<int> closed;
    Bytes reply;
    int ioctlErrno = 0, readErrno = 0, writeErrno = 0;
    ssize_t shortBy = 0;
    int nextFd = 10;
};

class DdcTest : public ::testing::Test {
  protected:
    std::string dev(unsigned bus) const {
        return (devRoot / ("i2c-" + std::to_string(bus))).string();
    }
    std::string addressed(int fd) const {
        return "ioctl " + std::to_string(fd) + " " + std::to_string(I2C_SLAVE) + " 55";
    }
    AVServiceHandle open(unsigned bus) {
        DrmConnector connector;
        connector.ddcBus = bus;
        return transport.openDdcBus(connector);
    }

    FakeSysfs sysfs;
    fs::path devRoot = sysfs.tree.path("dev");
    std::shared_ptr<FakeI2cCalls> calls = std::make_shared<FakeI2cCalls>();
    I2cDevTransport transport{devRoot, calls};
};

TEST_F(DdcTest, TransfersAddressTheMonitorAndCarryTheFrames) {
    AVServiceHandle service = open(5);
    ASSERT_TRUE(service);
    EXPECT_EQ(calls->opened, std::vector<std::string>{dev(5)});
    EXPECT_EQ(calls->openFlags, O_RDWR | O_CLOEXEC);

    const Bytes frame = DDCProtocol::wrap({0x10, 0x00, 0x32});
    EXPECT_EQ(transport.write(*service, 0x37, 0x51, frame), 0);
    Bytes expected{0x51};
    expected.insert(expected.end(), frame.begin(), frame.end());
    EXPECT_EQ(calls->written, std::vector<Bytes>{expected});

    calls->reply = {0x6E, 0x88, 0x02, 0x00, 0x10, 0x00, 0x00, 0x64, 0x00, 0x32, 0xAB};
    Bytes reply(11);
    EXPECT_EQ(transport.read(*service, 0x37, 0, reply), 0);
    EXPECT_EQ(reply, calls->reply);
    EXPECT_EQ(calls->log,
              (std::vector<std::string>{addressed(10), "write 10", addressed(10), "read 10 11"}));

    // Nothing but the monitor's DDC/CI address is ever put on the bus.
    calls->log.clear();
    for (std::uint32_t chip : {0x50u, 0x36u, 0x38u, 0x37u | 0x100u, 0x6Eu}) {
        EXPECT_NE(transport.write(*service, chip, 0x51, frame), 0);
        EXPECT_NE(transport.read(*service, chip, 0, reply), 0);
    }
    EXPECT_NE(transport.read(*service, 0x37, 1, reply), 0);
    EXPECT_NE(transport.write(*service, 0x37, 0x151, frame), 0);
    EXPECT_TRUE(calls->log.empty());

    service.reset();
    EXPECT_EQ(calls->closed, std::vector<int>{10});
}

TEST_F(DdcTest, EveryFailureIsANonZeroStatusAndDeniedBusesGiveNoService) {
    calls->openErrors = {{dev(3), EACCES}, {dev(4), ENOENT}};
    EXPECT_FALSE(open(3));
    EXPECT_FALSE(open(4));
    EXPECT_FALSE(transport.openDdcBus(DrmConnector{}));
    EXPECT_EQ(calls->opened, (std::vector<std::string>{dev(3), dev(4)}));

    AVServiceHandle service = open(5);
    ASSERT_TRUE(service);
    Bytes reply(11);
    const Bytes frame = DDCProtocol::wrap({0x10});
    calls->ioctlErrno = ENXIO;
    EXPECT_EQ(transport.write(*service, 0x37, 0x51, frame), ENXIO);
    EXPECT_EQ(transport.read(*service, 0x37, 0, reply), ENXIO);
    EXPECT_TRUE(calls->written.empty());
    calls->ioctlErrno = 0;

    calls->writeErrno = EIO;
    EXPECT_EQ(transport.write(*service, 0x37, 0x51, frame), EIO);
    calls->writeErrno = 0;
    calls->shortBy = 1;
    EXPECT_EQ(transport.write(*service, 0x37, 0x51, frame), EIO);
    calls->readErrno = EREMOTEIO;
    EXPECT_EQ(transport.read(*service, 0x37, 0, reply), EREMOTEIO);
    calls->readErrno = 0;
    calls->reply = Bytes(5, 0x6E);
    EXPECT_EQ(transport.read(*service, 0x37, 0, reply), EIO);

    AVService foreign;
    EXPECT_NE(transport.write(foreign, 0x37, 0x51, frame), 0);
}

TEST_F(DdcTest, RegistryShowsExternalConnectorsAndOpensOnlyTheirDdcBuses) {
    sysfs.tree.folder(sysfs.i2cAdapter(7));  // an adapter no connector names
    sysfs.connector("card0-eDP-1", makeEdid(0x09E5, 0x05DF, 1, "Panel"), 3);
    sysfs.connector("card0-DP-1", makeEdid(0x10AC, 0x2009, 0x91101D69, "DELL P2210"), 5);
    const fs::path hdmi = sysfs.connector("card0-HDMI-A-1", {}, 6);
    sysfs.connector("card0-DP-2", makeEdid(0x1E6D, 0x5B7F, 9, "LG"));  // no DDC bus
    DdcRegistry registry(sysfs.sysfs(), transport);
    const PrivateDisplayFunctions functions = ddcDisplayFunctions(registry, transport);

    std::vector<std::string> classes;
    std::unique_ptr<RegistryIterator> walk = registry.iterateRecursively("IOService");
    ASSERT_TRUE(walk);
    for (RegistryEntryID entry = walk->next(); entry != 0; entry = walk->next())
        classes.push_back(registry.className(entry));
    EXPECT_EQ(classes, (std::vector<std::string>{"AppleCLCD2", "DCPAVServiceProxy", "AppleCLCD2",
                                                 "AppleCLCD2", "DCPAVServiceProxy"}));
    EXPECT_FALSE(registry.iterateRecursively("IODeviceTree"));

    std::vector<DDCDiscovery::Candidate> candidates =
        DDCDiscovery::collectCandidates(registry, functions.createAVService);
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0].productName, "DELL P2210");
    EXPECT_EQ(candidates[0].vendor, 0x10ACu);
    EXPECT_EQ(candidates[0].product, 0x2009u);
    EXPECT_EQ(candidates[0].serial, 0x91101D69u);
    EXPECT_EQ(candidates[1].productName, "") << "no EDID: nothing carried over from DP-2";
    EXPECT_EQ(candidates[1].vendor, 0u);
    EXPECT_EQ(calls->opened, (std::vector<std::string>{dev(5), dev(6)}));

    Bytes reply(11);
    EXPECT_EQ(functions.writeI2C(*candidates[0].service, 0x37, 0x51, DDCProtocol::wrap({0x10})), 0);
    calls->reply = Bytes(11, 0);
    EXPECT_EQ(functions.readI2C(*candidates[1].service, 0x37, 0, reply), 0);

    // An unplugged connector or a refused bus gives no service; old walks' entries are gone.
    calls->opened.clear();
    calls->openErrors[dev(5)] = EACCES;
    sysfs.tree.write(hdmi / "status", "disconnected");
    const RegistryEntryID stale = 2;
    EXPECT_EQ(DDCDiscovery::collectCandidates(registry, functions.createAVService).size(), 0u);
    EXPECT_EQ(calls->opened, std::vector<std::string>{dev(5)});
    EXPECT_EQ(registry.className(stale), "");
    EXPECT_FALSE(functions.createAVService(stale));
}

}  // namespace
}  // namespace corvane::linux_desktop
