#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace corvane::sim {

// An external monitor's DDC/CI side, as an honest peer on the I2C bus: it parses each request
// frame, ignores frames whose length byte or checksum is wrong, answers Get VCP Feature with a
// framed reply and applies Set VCP Feature. Faults can be ordered for tests. Thread-safe: the
// bus is driven from the DDC controllers' worker threads.
class SimDDCMonitor {
public:
    static constexpr std::uint32_t kChipAddress = 0x37;
    static constexpr std::uint32_t kHostAddress = 0x51;
    static constexpr std::int32_t kRefusedStatus = -536870212;  // a busy bus

    enum class ReplyFault { none, wrongOpcode, wrongCode, zeroMaximum };

    SimDDCMonitor(std::uint16_t current, std::uint16_t maximum);

    // The bus side: a write of a request frame and a read of the reply.
    std::int32_t write(std::uint32_t chip, std::uint32_t dataAddress,
                       std::span<const std::uint8_t> frame);
    std::int32_t read(std::uint32_t chip, std::uint32_t offset, std::span<std::uint8_t> buffer);

    // What the monitor shows now, on its own scale.
    std::uint16_t current() const;
    std::uint16_t maximum() const;
    void setCurrent(std::uint16_t value);

    // Every transfer returns a non-zero status while refusing.
    void refuseTransfers(bool refuse);
    // The next `count` transfers (writes or reads) return a non-zero status.
    void failNextTransfers(int count);
    void setReplyFault(ReplyFault fault);
    // Answers every read that follows a Get VCP Feature request with exactly these bytes
    // (cut or zero-padded to the reader's buffer) instead of a framed reply; none restores
    // the framed reply. For replies no honest monitor would send.
    void setRawReply(std::optional<std::vector<std::uint8_t>> bytes);

    // Every frame that arrived, valid or not, in order.
    std::vector<std::vector<std::uint8_t>> receivedFrames() const;
    std::size_t readCount() const;

private:
    bool transferFails();
    void handleFrame(std::span<const std::uint8_t> frame);
    std::vector<std::uint8_t> replyFor(std::uint8_t code) const;

    mutable std::mutex mutex_;
    std::uint16_t current_;
    std::uint16_t maximum_;
    bool refusing_ = false;
    int failuresToCome_ = 0;
    ReplyFault fault_ = ReplyFault::none;
    std::optional<std::vector<std::uint8_t>> rawReply_;
    std::optional<std::uint8_t> requestedCode_;
    std::vector<std::vector<std::uint8_t>> frames_;
    std::size_t reads_ = 0;
};

}  // namespace corvane::sim
