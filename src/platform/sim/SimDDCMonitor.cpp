#include "platform/sim/SimDDCMonitor.h"

namespace corvane::sim {
namespace {

constexpr std::uint8_t kMonitorWriteAddress = 0x6E;
constexpr std::uint8_t kReplyChecksumSeed = 0x50;  // the host's virtual address in replies
constexpr std::uint8_t kGetVCPFeature = 0x01;
constexpr std::uint8_t kGetVCPFeatureReply = 0x02;
constexpr std::uint8_t kSetVCPFeature = 0x03;

std::uint8_t xorOf(std::span<const std::uint8_t> bytes, std::uint8_t seed) {
    for (std::uint8_t byte : bytes) seed ^= byte;
    return seed;
}

}  // namespace

SimDDCMonitor::SimDDCMonitor(std::uint16_t current, std::uint16_t maximum)
    : current_(current), maximum_(maximum) {}

bool SimDDCMonitor::transferFails() {
    if (refusing_) return true;
    if (failuresToCome_ > 0) {
        --failuresToCome_;
        return true;
    }
    return false;
}

std::int32_t SimDDCMonitor::write(std::uint32_t chip, std::uint32_t dataAddress,
                                  std::span<const std::uint8_t> frame) {
    std::lock_guard lock(mutex_);
    frames_.emplace_back(frame.begin(), frame.end());
    if (chip != kChipAddress || transferFails()) return kRefusedStatus;
    if (dataAddress == kHostAddress) handleFrame(frame);
    return 0;
}

// A frame is: length byte (0x80 | n), n bytes (opcode and arguments), checksum over the
// monitor's write address, the host address and every byte before it.
void SimDDCMonitor::handleFrame(std::span<const std::uint8_t> frame) {
    if (frame.size() < 3 || (frame[0] & 0x80) == 0) return;
    std::size_t count = frame[0] & 0x7F;
    if (frame.size() != count + 2) return;
    std::uint8_t seed = kMonitorWriteAddress ^ kHostAddress;
    if (xorOf(frame.first(count + 1), seed) != frame[count + 1]) return;
    std::span<const std::uint8_t> body = frame.subspan(1, count);
    if (body[0] == kGetVCPFeature && body.size() == 2) {
        requestedCode_ = body[1];
    } else if (body[0] == kSetVCPFeature && body.size() == 4 && body[1] == 0x10) {
        current_ = static_cast<std::uint16_t>(body[2] << 8 | body[3]);
    }
}

std::vector<std::uint8_t> SimDDCMonitor::replyFor(std::uint8_t code) const {
    std::uint16_t maximum = fault_ == ReplyFault::zeroMaximum ? 0 : maximum_;
    std::uint16_t current = code == 0x10 ? current_ : 0;
    std::vector<std::uint8_t> reply{
        kMonitorWriteAddress,
        0x88,
        fault_ == ReplyFault::wrongOpcode ? std::uint8_t{0x07} : kGetVCPFeatureReply,
        static_cast<std::uint8_t>(code == 0x10 ? 0x00 : 0x01),
        fault_ == ReplyFault::wrongCode ? static_cast<std::uint8_t>(code + 1) : code,
        0x00,
        static_cast<std::uint8_t>(maximum >> 8),
        static_cast<std::uint8_t>(maximum & 0xFF),
        static_cast<std::uint8_t>(current >> 8),
        static_cast<std::uint8_t>(current & 0xFF),
    };
    reply.push_back(xorOf(reply, kReplyChecksumSeed));
    return reply;
}

std::int32_t SimDDCMonitor::read(std::uint32_t chip, std::uint32_t offset,
                                 std::span<std::uint8_t> buffer) {
    std::lock_guard lock(mutex_);
    ++reads_;
    if (chip != kChipAddress || offset != 0 || transferFails()) return kRefusedStatus;
    if (!requestedCode_) return kRefusedStatus;  // nothing was asked: the monitor NAKs
    std::vector<std::uint8_t> reply = rawReply_ ? *rawReply_ : replyFor(*requestedCode_);
    requestedCode_.reset();
    for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = i < reply.size() ? reply[i] : 0;
    return 0;
}

std::uint16_t SimDDCMonitor::current() const {
    std::lock_guard lock(mutex_);
    return current_;
}

std::uint16_t SimDDCMonitor::maximum() const {
    std::lock_guard lock(mutex_);
    return maximum_;
}

void SimDDCMonitor::setCurrent(std::uint16_t value) {
    std::lock_guard lock(mutex_);
    current_ = value;
}

void SimDDCMonitor::refuseTransfers(bool refuse) {
    std::lock_guard lock(mutex_);
    refusing_ = refuse;
}

void SimDDCMonitor::failNextTransfers(int count) {
    std::lock_guard lock(mutex_);
    failuresToCome_ = count;
}

void SimDDCMonitor::setReplyFault(ReplyFault fault) {
    std::lock_guard lock(mutex_);
    fault_ = fault;
}

void SimDDCMonitor::setRawReply(std::optional<std::vector<std::uint8_t>> bytes) {
    std::lock_guard lock(mutex_);
    rawReply_ = std::move(bytes);
}

std::vector<std::vector<std::uint8_t>> SimDDCMonitor::receivedFrames() const {
    std::lock_guard lock(mutex_);
    return frames_;
}

std::size_t SimDDCMonitor::readCount() const {
    std::lock_guard lock(mutex_);
    return reads_;
}

}  // namespace corvane::sim
