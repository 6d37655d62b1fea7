#include <gtest/gtest.h>

#include <random>

#include "DDCTestSupport.h"
#include "ddc/DDCProtocol.h"

namespace corvane {
namespace {

using namespace ddc_test;
using sim::EntryPoint;
using sim::EntryPointState;
using sim::SimDDCMonitor;

// ---- Framing ----

TEST(DDCProtocolWrap, GetBrightnessFrame) {
    EXPECT_EQ(DDCProtocol::wrap({0x10}), (Bytes{0x82, 0x01, 0x10, 0xAC}));
}

TEST(DDCProtocolWrap, SetBrightnessFrames) {
    EXPECT_EQ(DDCProtocol::wrap({0x10, 0x00, 0x32}), (Bytes{0x84, 0x03, 0x10, 0x00, 0x32, 0x9A}));
    EXPECT_EQ(DDCProtocol::wrap({0x10, 0x00, 0x64}), (Bytes{0x84, 0x03, 0x10, 0x00, 0x64, 0xCC}));
}

TEST(DDCProtocolWrap, EmptyPayload) {
    // 0x3F ^ 0x81 ^ 0x00 = 0xBE
    EXPECT_EQ(DDCProtocol::wrap(std::span<const std::uint8_t>{}), (Bytes{0x81, 0x00, 0xBE}));
}

TEST(DDCProtocolWrap, LargestPayloadFillsTheLengthByte) {
    Bytes payload(126);
    for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i * 7 + 1);
    Bytes frame = DDCProtocol::wrap(payload);
    ASSERT_EQ(frame.size(), 129u);
    EXPECT_EQ(frame[0], 0xFF);
    EXPECT_EQ(frame[1], 126);
    EXPECT_TRUE(std::equal(payload.begin(), payload.end(), frame.begin() + 2));
    std::uint8_t checksum = 0x3F;
    for (std::size_t i = 0; i + 1 < frame.size(); ++i) checksum ^= frame[i];
    EXPECT_EQ(frame.back(), checksum);
}

TEST(DDCProtocolWrap, OversizedPayloadsAreRefused) {
    EXPECT_TRUE(DDCProtocol::wrap(Bytes(127, 0xAA)).empty());
    EXPECT_TRUE(DDCProtocol::wrap(Bytes(255, 0xAA)).empty());
    EXPECT_TRUE(DDCProtocol::wrap(Bytes(100000, 0xAA)).empty());
}

TEST(DDCProtocolWrap, FramesAreAcceptedByAnHonestMonitor) {
    MonitorFixture fixture(50, 100);
    Bytes frame = DDCProtocol::wrap({0x10, 0x00, 0x21});
    EXPECT_EQ(fixture.monitor->write(0x37, 0x51, frame), 0);
    EXPECT_EQ(fixture.monitor->current(), 0x21);  // the monitor checks length and checksum

    Bytes corrupted = DDCProtocol::wrap({0x10, 0x00, 0x40});
    corrupted.back() ^= 0x01;
    fixture.monitor->write(0x37, 0x51, corrupted);
    EXPECT_EQ(fixture.monitor->current(), 0x21);
}

// ---- Reading ----

TEST(DDCProtocolRead, SuccessfulFirstAttempt) {
    MonitorFixture fixture(50, 100);
    auto reading = DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x10);
    ASSERT_TRUE(reading);
    EXPECT_EQ(*reading, (VCPReading{50, 100}));
    EXPECT_EQ(fixture.desktop.sleeper().durations(), ms({10, 50}));
    EXPECT_EQ(fixture.monitor->receivedFrames(), std::vector<Bytes>{kGetBrightnessFrame});
    EXPECT_EQ(fixture.monitor->readCount(), 1u);
}

TEST(DDCProtocolRead, OtherVCPCodeIsRequestedAndEchoed) {
    MonitorFixture fixture(50, 100);
    auto reading = DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x12);
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->max, 100);
    EXPECT_EQ(fixture.monitor->receivedFrames(), std::vector<Bytes>{DDCProtocol::wrap({0x12})});
    EXPECT_EQ(fixture.monitor->receivedFrames()[0], (Bytes{0x82, 0x01, 0x12, 0xAE}));
}

TEST(DDCProtocolRead, RefusedSendsMakeNoReadAndNoReplyPause) {
    MonitorFixture fixture;
    fixture.monitor->refuseTransfers(true);
    EXPECT_FALSE(DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x10));
    EXPECT_EQ(fixture.desktop.sleeper().durations(), ms({10, 20, 10, 20, 10, 20, 10}));
    EXPECT_EQ(fixture.monitor->readCount(), 0u);
    EXPECT_EQ(fixture.monitor->receivedFrames(), std::vector<Bytes>(4, kGetBrightnessFrame));
}

TEST(DDCProtocolRead, FailingThroughoutSleepsThreeHundredMilliseconds) {
    MonitorFixture fixture;
    fixture.monitor->setReplyFault(SimDDCMonitor::ReplyFault::wrongOpcode);
    EXPECT_FALSE(DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x10));
    EXPECT_EQ(fixture.desktop.sleeper().durations(),
              ms({10, 50, 20, 10, 50, 20, 10, 50, 20, 10, 50}));
    EXPECT_EQ(fixture.desktop.sleeper().elapsed(), milliseconds(300));
    EXPECT_EQ(fixture.monitor->readCount(), 4u);
    EXPECT_EQ(fixture.monitor->receivedFrames().size(), 4u);
}

TEST(DDCProtocolRead, FailedFirstSendRetriesWithoutReading) {
    MonitorFixture fixture(70, 100);
    fixture.monitor->failNextTransfers(1);
    auto reading = DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x10);
    ASSERT_TRUE(reading);
    EXPECT_EQ(*reading, (VCPReading{70, 100}));
    EXPECT_EQ(fixture.desktop.sleeper().durations(), ms({10, 20, 10, 50}));
    EXPECT_EQ(fixture.monitor->readCount(), 1u);
    EXPECT_EQ(fixture.monitor->receivedFrames(), std::vector<Bytes>(2, kGetBrightnessFrame));
}

TEST(DDCProtocolRead, FailingReadTransfersExhaustEveryAttempt) {
    MonitorFixture fixture(70, 100);
    fixture.desktop.setEntryPoint(EntryPoint::readI2C, EntryPointState::failing);
    EXPECT_FALSE(DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x10));
    EXPECT_EQ(fixture.desktop.sleeper().durations(),
              ms({10, 50, 20, 10, 50, 20, 10, 50, 20, 10, 50}));
    EXPECT_EQ(fixture.monitor->receivedFrames().size(), 4u);
}

TEST(DDCProtocolRead, WrongCodeFailsEveryAttempt) {
    MonitorFixture fixture;
    fixture.monitor->setReplyFault(SimDDCMonitor::ReplyFault::wrongCode);
    EXPECT_FALSE(DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x10));
    EXPECT_EQ(fixture.monitor->readCount(), 4u);
}

TEST(DDCProtocolRead, ZeroMaximumFailsTheAttemptAndMovesOn) {
    MonitorFixture fixture;
    fixture.monitor->setReplyFault(SimDDCMonitor::ReplyFault::zeroMaximum);
    EXPECT_FALSE(DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x10));
    EXPECT_EQ(fixture.monitor->readCount(), 4u);
    EXPECT_EQ(fixture.monitor->receivedFrames().size(), 4u);
}

TEST(DDCProtocolRead, WrongChecksumIsAccepted) {
    MonitorFixture fixture;
    //                      sender length opcode result code type  max       current   checksum
    fixture.monitor->setRawReply(Bytes{0x6E, 0x88, 0x02, 0x00, 0x10, 0x00, 0x00, 0x64, 0x00, 0x2A, 0x00});
    auto reading = DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x10);
    ASSERT_TRUE(reading);
    EXPECT_EQ(*reading, (VCPReading{42, 100}));
}

TEST(DDCProtocolRead, IgnoredFieldsAreNotExamined) {
    MonitorFixture fixture;
    // Sender, length, result code, type code and checksum are all nonsense.
    fixture.monitor->setRawReply(Bytes{0x00, 0x00, 0x02, 0xFF, 0x10, 0xEE, 0x01, 0x2C, 0x00, 0x96, 0x55});
    auto reading = DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x10);
    ASSERT_TRUE(reading);
    EXPECT_EQ(*reading, (VCPReading{150, 300}));
}

TEST(DDCProtocolRead, CurrentAboveMaximumIsReturnedUnchanged) {
    MonitorFixture fixture;
    fixture.monitor->setRawReply(Bytes{0x6E, 0x88, 0x02, 0x00, 0x10, 0x00, 0x00, 0x64, 0xFF, 0xFF, 0x00});
    auto reading = DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x10);
    ASSERT_TRUE(reading);
    EXPECT_EQ(*reading, (VCPReading{0xFFFF, 100}));
}

TEST(DDCProtocolRead, ShortReplyLeavesZeroesAndFails) {
    MonitorFixture fixture;
    // Ends before the maximum: the zero-filled buffer reads maximum 0.
    fixture.monitor->setRawReply(Bytes{0x6E, 0x88, 0x02, 0x00, 0x10});
    EXPECT_FALSE(DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x10));
    EXPECT_EQ(fixture.monitor->readCount(), 4u);
}

TEST(DDCProtocolRead, ShortReplyWithMaximumReadsZeroCurrent) {
    MonitorFixture fixture;
    fixture.monitor->setRawReply(Bytes{0x6E, 0x88, 0x02, 0x00, 0x10, 0x00, 0x00, 0x64});
    auto reading = DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x10);
    ASSERT_TRUE(reading);
    EXPECT_EQ(*reading, (VCPReading{0, 100}));
}

TEST(DDCProtocolRead, EmptyAndOverlongReplies) {
    MonitorFixture fixture;
    fixture.monitor->setRawReply(Bytes{});
    EXPECT_FALSE(DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x10));

    Bytes overlong{0x6E, 0x88, 0x02, 0x00, 0x10, 0x00, 0x00, 0xC8, 0x00, 0x64, 0x00};
    overlong.resize(300, 0xFF);
    fixture.monitor->setRawReply(overlong);
    auto reading = DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x10);
    ASSERT_TRUE(reading);
    EXPECT_EQ(*reading, (VCPReading{100, 200}));
}

// Arbitrary reply bytes: the result must follow the acceptance rule exactly, and nothing
// may be read or written out of bounds (checked under the sanitizers).
TEST(DDCProtocolRead, ArbitraryRepliesFollowTheAcceptanceRule) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 400; ++round) {
        MonitorFixture fixture;
        Bytes reply(random() % 16);
        for (std::uint8_t& byte : reply) byte = static_cast<std::uint8_t>(random());
        if (round % 3 == 0 && reply.size() > 4) {
            reply[2] = 0x02;
            reply[4] = 0x10;
        }
        fixture.monitor->setRawReply(reply);
        auto reading = DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x10);

        Bytes padded = reply;
        padded.resize(11, 0);
        const std::uint16_t max = static_cast<std::uint16_t>(padded[6] << 8 | padded[7]);
        const std::uint16_t current = static_cast<std::uint16_t>(padded[8] << 8 | padded[9]);
        const bool valid = padded[2] == 0x02 && padded[4] == 0x10 && max != 0;
        ASSERT_EQ(reading.has_value(), valid) << "round " << round;
        if (valid) {
            EXPECT_EQ(*reading, (VCPReading{current, max}));
        }
        EXPECT_EQ(fixture.monitor->readCount(), valid ? 1u : 4u);
    }
}

TEST(DDCProtocolRead, AbsentWriteFunctionTouchesNothing) {
    MonitorFixture fixture;
    fixture.desktop.setEntryPoint(EntryPoint::writeI2C, EntryPointState::absent);
    EXPECT_FALSE(DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x10));
    EXPECT_TRUE(fixture.desktop.sleeper().durations().empty());
    EXPECT_TRUE(fixture.monitor->receivedFrames().empty());
    EXPECT_EQ(fixture.monitor->readCount(), 0u);
}

TEST(DDCProtocolRead, AbsentReadFunctionTouchesNothing) {
    MonitorFixture fixture;
    fixture.desktop.setEntryPoint(EntryPoint::readI2C, EntryPointState::absent);
    EXPECT_FALSE(DDCProtocol::read(fixture.desktop.platform(), *fixture.service, 0x10));
    EXPECT_TRUE(fixture.desktop.sleeper().durations().empty());
    EXPECT_TRUE(fixture.monitor->receivedFrames().empty());
}

TEST(DDCProtocolRead, ServiceOfAnotherKindFailsSafely) {
    MonitorFixture fixture;
    struct Foreign : AVService {} foreign;
    EXPECT_FALSE(DDCProtocol::read(fixture.desktop.platform(), foreign, 0x10));
    EXPECT_EQ(fixture.desktop.sleeper().elapsed(), milliseconds(100));
}

// ---- Writing ----

TEST(DDCProtocolWrite, SuccessSendsTheFrameTwice) {
    MonitorFixture fixture(10, 100);
    EXPECT_TRUE(DDCProtocol::write(fixture.desktop.platform(), *fixture.service, 0x10, 50));
    Bytes expected{0x84, 0x03, 0x10, 0x00, 0x32, 0x9A};
    EXPECT_EQ(fixture.monitor->receivedFrames(), std::vector<Bytes>(2, expected));
    EXPECT_EQ(fixture.desktop.sleeper().durations(), ms({10, 10}));
    EXPECT_EQ(fixture.monitor->current(), 50);
    EXPECT_EQ(fixture.monitor->readCount(), 0u);
}

TEST(DDCProtocolWrite, BothValueBytesAreSent) {
    MonitorFixture fixture(10, 0xFFFF);
    EXPECT_TRUE(DDCProtocol::write(fixture.desktop.platform(), *fixture.service, 0x10, 0x1234));
    EXPECT_EQ(fixture.monitor->receivedFrames().front(), setBrightnessFrame(0x1234));
    EXPECT_EQ(fixture.monitor->current(), 0x1234);
}

TEST(DDCProtocolWrite, FirstSendFailsSecondSucceeds) {
    MonitorFixture fixture(10, 100);
    fixture.monitor->failNextTransfers(1);
    EXPECT_TRUE(DDCProtocol::write(fixture.desktop.platform(), *fixture.service, 0x10, 80));
    EXPECT_EQ(fixture.monitor->receivedFrames().size(), 2u);
    EXPECT_EQ(fixture.desktop.sleeper().elapsed(), milliseconds(20));
    EXPECT_EQ(fixture.monitor->current(), 80);
}

TEST(DDCProtocolWrite, FailedAttemptRetriesAfterTwentyMilliseconds) {
    MonitorFixture fixture(10, 100);
    fixture.monitor->failNextTransfers(2);
    EXPECT_TRUE(DDCProtocol::write(fixture.desktop.platform(), *fixture.service, 0x10, 30));
    EXPECT_EQ(fixture.desktop.sleeper().durations(), ms({10, 10, 20, 10, 10}));
    EXPECT_EQ(fixture.monitor->receivedFrames(), std::vector<Bytes>(4, setBrightnessFrame(30)));
}

TEST(DDCProtocolWrite, RefusedThroughoutSleepsOneHundredMilliseconds) {
    MonitorFixture fixture(10, 100);
    fixture.monitor->refuseTransfers(true);
    EXPECT_FALSE(DDCProtocol::write(fixture.desktop.platform(), *fixture.service, 0x10, 30));
    EXPECT_EQ(fixture.desktop.sleeper().durations(), ms({10, 10, 20, 10, 10, 20, 10, 10}));
    EXPECT_EQ(fixture.desktop.sleeper().elapsed(), milliseconds(100));
    EXPECT_EQ(fixture.monitor->receivedFrames(), std::vector<Bytes>(6, setBrightnessFrame(30)));
    EXPECT_EQ(fixture.monitor->current(), 10);
}

TEST(DDCProtocolWrite, AbsentWriteFunctionTouchesNothing) {
    MonitorFixture fixture(10, 100);
    fixture.desktop.setEntryPoint(EntryPoint::writeI2C, EntryPointState::absent);
    EXPECT_FALSE(DDCProtocol::write(fixture.desktop.platform(), *fixture.service, 0x10, 30));
    EXPECT_TRUE(fixture.desktop.sleeper().durations().empty());
    EXPECT_TRUE(fixture.monitor->receivedFrames().empty());
}

TEST(DDCProtocolWrite, AbsentReadFunctionDoesNotMatter) {
    MonitorFixture fixture(10, 100);
    fixture.desktop.setEntryPoint(EntryPoint::readI2C, EntryPointState::absent);
    EXPECT_TRUE(DDCProtocol::write(fixture.desktop.platform(), *fixture.service, 0x10, 30));
    EXPECT_EQ(fixture.monitor->current(), 30);
}

}  // namespace
}  // namespace corvane
