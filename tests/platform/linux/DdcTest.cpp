#include <fcntl.h>

#include <gtest/gtest.h>

#include <cerrno>

#include "FakeI2c.h"
#include "FakeSysfs.h"
#include "ddc/DDCProtocol.h"
#include "platform/linux/I2cDevTransport.h"

namespace corvane::linux_desktop {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using testing::FakeI2c;
using testing::FakeSysfs;

const Bytes kGetBrightness = DDCProtocol::wrap({0x10});              // opcode 0x01: a reply follows
const Bytes kSetBrightness = DDCProtocol::wrap({0x10, 0x00, 0x32});  // opcode 0x03: no reply

constexpr auto kAtStart = I2cDevTransport::Arrival::atStart;
constexpr auto kHotPlugged = I2cDevTransport::Arrival::hotPlugged;

class DdcTest : public ::testing::Test {
  protected:
    FakeSysfs sysfs;
    std::shared_ptr<FakeI2c> i2c = std::make_shared<FakeI2c>();
    I2cDevTransport transport{sysfs.tree.path("dev"), i2c};
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

}  // namespace
}  // namespace corvane::linux_desktop
