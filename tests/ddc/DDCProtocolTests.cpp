#include <gtest/gtest.h>

#include "DDCTestSupport.h"
#include "ddc/DDCProtocol.h"

namespace corvane {
namespace {

using namespace ddc_test;
using sim::EntryPoint;
using sim::EntryPointState;

std::optional<VCPReading> readBrightness(MonitorFixture& fixture, std::uint8_t vcp = 0x10) {
    return DDCProtocol::read(fixture.desktop.platform(), *fixture.service, vcp);
}

bool writeBrightness(MonitorFixture& fixture, std::uint16_t value) {
    return DDCProtocol::write(fixture.desktop.platform(), *fixture.service, 0x10, value);
}

// ---- Framing ----

// The frames of the read and write requests are compared byte for byte in the tests below, and
// the fuzz target checks the length byte and checksum of every request; here, the payload's limits.
TEST(DDCProtocolWrap, PayloadsUpTo126BytesAreFramedLongerOnesRefused) {
    const Bytes largest = DDCProtocol::wrap(Bytes(126, 0xAA));
    ASSERT_EQ(largest.size(), 129u);
    EXPECT_EQ(largest[0], 0xFF) << "the largest payload fills the length byte";
    EXPECT_EQ(largest[1], 126);
    for (std::size_t oversized : {127, 255, 100000})
        EXPECT_TRUE(DDCProtocol::wrap(Bytes(oversized, 0xAA)).empty()) << oversized;
}

// ---- Reading ----

TEST(DDCProtocolRead, AReadTakesOneAttemptOrUpToFourWhenTransfersFail) {
    MonitorFixture fixture(50, 100);
    EXPECT_EQ(readBrightness(fixture), (VCPReading{50, 100}));
    EXPECT_EQ(fixture.desktop.sleeper().durations(), ms({10, 50}));
    EXPECT_EQ(fixture.monitor->receivedFrames(), std::vector<Bytes>{kGetBrightnessFrame});
    EXPECT_EQ(fixture.monitor->readCount(), 1u);

    MonitorFixture other(50, 100);
    ASSERT_TRUE(readBrightness(other, 0x12)) << "another control is requested and echoed";
    EXPECT_EQ(other.monitor->receivedFrames(), (std::vector<Bytes>{Bytes{0x82, 0x01, 0x12, 0xAE}}));

    MonitorFixture refused;
    refused.monitor->refuseTransfers(true);
    EXPECT_FALSE(readBrightness(refused));
    EXPECT_EQ(refused.desktop.sleeper().durations(), ms({10, 20, 10, 20, 10, 20, 10}))
        << "a refused request is not followed by a reply pause or a read";
    EXPECT_EQ(refused.monitor->readCount(), 0u);
    EXPECT_EQ(refused.monitor->receivedFrames(), std::vector<Bytes>(4, kGetBrightnessFrame));

    MonitorFixture unreadable(70, 100);
    unreadable.desktop.setEntryPoint(EntryPoint::readI2C, EntryPointState::failing);
    EXPECT_FALSE(readBrightness(unreadable));
    EXPECT_EQ(unreadable.desktop.sleeper().durations(),
              ms({10, 50, 20, 10, 50, 20, 10, 50, 20, 10, 50}));
    EXPECT_EQ(unreadable.monitor->receivedFrames().size(), 4u);
}

// Only the opcode (byte 2), the echoed control (byte 4) and a maximum other than zero decide;
// the reply is read into an 11-byte buffer, zero-filled when it is short.
TEST(DDCProtocolRead, RawRepliesAreJudgedByOpcodeControlAndMaximum) {
    Bytes overlong{0x6E, 0x88, 0x02, 0x00, 0x10, 0x00, 0x00, 0xC8, 0x00, 0x64, 0x00};
    overlong.resize(300, 0xFF);
    const struct {
        const char* what;
        Bytes reply;
        std::optional<VCPReading> expected;
    } cases[] = {
        //                  sender length opcode result code type  max       current   checksum
        {"nonsense in ignored fields",
         {0x00, 0x00, 0x02, 0xFF, 0x10, 0xEE, 0x01, 0x2C, 0x00, 0x96, 0x55}, VCPReading{150, 300}},
        {"wrong opcode", {0x6E, 0x88, 0x03, 0x00, 0x10, 0x00, 0x00, 0x64, 0x00, 0x2A, 0x00},
         std::nullopt},
        {"zero maximum", {0x6E, 0x88, 0x02, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x2A, 0x00},
         std::nullopt},
        {"ends after the maximum", {0x6E, 0x88, 0x02, 0x00, 0x10, 0x00, 0x00, 0x64},
         VCPReading{0, 100}},
        {"overlong", overlong, VCPReading{100, 200}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MonitorFixture fixture;
        fixture.monitor->setRawReply(c.reply);
        EXPECT_EQ(readBrightness(fixture), c.expected);
        // A reply that does not answer the request fails its attempt: all four are made.
        const std::size_t attempts = c.expected ? 1 : 4;
        EXPECT_EQ(fixture.monitor->readCount(), attempts);
        EXPECT_EQ(fixture.monitor->receivedFrames(), std::vector<Bytes>(attempts, kGetBrightnessFrame));
    }
}

TEST(DDCProtocolRead, WithoutBusFunctionsOrOurServiceNothingIsTouched) {
    for (EntryPoint absent : {EntryPoint::writeI2C, EntryPoint::readI2C}) {
        MonitorFixture fixture;
        fixture.desktop.setEntryPoint(absent, EntryPointState::absent);
        EXPECT_FALSE(readBrightness(fixture));
        EXPECT_TRUE(fixture.desktop.sleeper().durations().empty());
        EXPECT_TRUE(fixture.monitor->receivedFrames().empty());
        EXPECT_EQ(fixture.monitor->readCount(), 0u);
    }
    MonitorFixture fixture;
    struct Foreign : AVService {} foreign;
    EXPECT_FALSE(DDCProtocol::read(fixture.desktop.platform(), foreign, 0x10));
    EXPECT_EQ(fixture.desktop.sleeper().elapsed(), milliseconds(100));
}

// ---- Writing ----

// The Set VCP Feature request for brightness 30.
const Bytes kSet30{0x84, 0x03, 0x10, 0x00, 0x1E, 0xB6};

// Values above one byte: DDCController.ValuesAreRoundedAndLimitedOnTheMonitorsScale.
TEST(DDCProtocolWrite, EachValueIsSentTwiceWithBothBytes) {
    MonitorFixture fixture(10, 100);
    EXPECT_TRUE(writeBrightness(fixture, 50));
    Bytes expected{0x84, 0x03, 0x10, 0x00, 0x32, 0x9A};
    EXPECT_EQ(fixture.monitor->receivedFrames(), std::vector<Bytes>(2, expected));
    EXPECT_EQ(fixture.desktop.sleeper().durations(), ms({10, 10}));
    EXPECT_EQ(fixture.monitor->current(), 50);
    EXPECT_EQ(fixture.monitor->readCount(), 0u);
    // The monitor checks length and checksum: a damaged frame leaves it where it was.
    expected.back() ^= 0x01;
    fixture.monitor->write(0x37, 0x51, expected);
    EXPECT_EQ(fixture.monitor->current(), 50);

    MonitorFixture noReads(10, 100);
    noReads.desktop.setEntryPoint(EntryPoint::readI2C, EntryPointState::absent);
    EXPECT_TRUE(writeBrightness(noReads, 30)) << "writing needs no read function";
}

TEST(DDCProtocolWrite, OneAcceptedSendOfThreeAttemptsIsEnough) {
    MonitorFixture second(10, 100);
    second.monitor->failNextTransfers(1);
    EXPECT_TRUE(writeBrightness(second, 80));
    EXPECT_EQ(second.monitor->receivedFrames().size(), 2u);
    EXPECT_EQ(second.desktop.sleeper().elapsed(), milliseconds(20));
    EXPECT_EQ(second.monitor->current(), 80);

    MonitorFixture refused(10, 100);
    refused.monitor->refuseTransfers(true);
    EXPECT_FALSE(writeBrightness(refused, 30));
    EXPECT_EQ(refused.desktop.sleeper().durations(), ms({10, 10, 20, 10, 10, 20, 10, 10}));
    EXPECT_EQ(refused.monitor->receivedFrames(), std::vector<Bytes>(6, kSet30));
    EXPECT_EQ(refused.monitor->current(), 10);

    MonitorFixture absent(10, 100);
    absent.desktop.setEntryPoint(EntryPoint::writeI2C, EntryPointState::absent);
    EXPECT_FALSE(writeBrightness(absent, 30));
    EXPECT_TRUE(absent.desktop.sleeper().durations().empty());
    EXPECT_TRUE(absent.monitor->receivedFrames().empty());
}

}  // namespace
}  // namespace corvane
