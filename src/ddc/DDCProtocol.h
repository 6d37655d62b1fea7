#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <vector>

#include "platform/Platform.h"

namespace corvane {

// A VCP control's value as the monitor reports it, on the monitor's own scale.
struct VCPReading {
    std::uint16_t current = 0;
    std::uint16_t max = 0;

    friend bool operator==(const VCPReading&, const VCPReading&) = default;
};

// DDC/CI framing and the two VCP transactions the system needs. Stateless; every operation
// may run on any thread and blocks it for its sleeps and bus transfers.
namespace DDCProtocol {

inline constexpr std::uint32_t kChipAddress = 0x37;   // the display's DDC/CI address, 7-bit form
inline constexpr std::uint32_t kDataAddress = 0x51;   // the host's source address
inline constexpr std::uint32_t kReadOffset = 0;
inline constexpr std::size_t kReplyLength = 11;
inline constexpr std::uint8_t kChecksumSeed = 0x6E ^ 0x51;  // 0x3F
inline constexpr std::uint8_t kReplyOpcode = 0x02;          // Get VCP Feature reply
inline constexpr std::uint8_t kBrightness = 0x10;           // VCP luminance
inline constexpr std::size_t kMaxPayload = 126;             // keeps 0x80 + n + 1 within a byte

// Frames a payload: length byte 0x80 + n + 1, the byte n, the payload, and the checksum
// (the seed XOR every byte before it). A payload longer than kMaxPayload is refused with an
// empty result, which every caller treats as a failed transfer.
std::vector<std::uint8_t> wrap(std::span<const std::uint8_t> payload);
std::vector<std::uint8_t> wrap(std::initializer_list<std::uint8_t> payload);

// Reads a VCP control: up to 4 attempts of request, pause, 11-byte reply. None when the
// I2C functions are absent or no attempt gives a usable reply.
std::optional<VCPReading> read(const Platform& platform, AVService& service, std::uint8_t vcp);

// Sets a VCP control: up to 3 attempts of two sends each. True when the bus accepted at
// least one send; no reply is read.
bool write(const Platform& platform, AVService& service, std::uint8_t vcp, std::uint16_t value);

}  // namespace DDCProtocol
}  // namespace corvane
