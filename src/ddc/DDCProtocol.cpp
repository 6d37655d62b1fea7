#include "ddc/DDCProtocol.h"

#include <array>
#include <chrono>

namespace corvane::DDCProtocol {
namespace {

using std::chrono::milliseconds;

constexpr int kReadAttempts = 4;
constexpr int kWriteAttempts = 3;

void pause(const Platform& platform, milliseconds duration) { platform.sleeper.sleep(duration); }

std::uint16_t bigEndian(std::uint8_t high, std::uint8_t low) {
    return static_cast<std::uint16_t>((static_cast<unsigned>(high) << 8) | low);
}

}  // namespace

std::vector<std::uint8_t> wrap(std::span<const std::uint8_t> payload) {
    if (payload.size() > kMaxPayload) return {};
    const auto count = static_cast<std::uint8_t>(payload.size());
    std::vector<std::uint8_t> frame;
    frame.reserve(payload.size() + 3);
    frame.push_back(static_cast<std::uint8_t>(0x80 + count + 1));
    frame.push_back(count);
    frame.insert(frame.end(), payload.begin(), payload.end());
    std::uint8_t checksum = kChecksumSeed;
    for (std::uint8_t byte : frame) checksum ^= byte;
    frame.push_back(checksum);
    return frame;
}

std::vector<std::uint8_t> wrap(std::initializer_list<std::uint8_t> payload) {
    return wrap(std::span<const std::uint8_t>(payload.begin(), payload.size()));
}

std::optional<VCPReading> read(const Platform& platform, AVService& service, std::uint8_t vcp) {
    const PrivateDisplayFunctions& functions = platform.functions;
    if (!functions.writeI2C || !functions.readI2C) return std::nullopt;

    const std::vector<std::uint8_t> request = wrap({vcp});
    if (request.empty()) return std::nullopt;

    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        if (attempt == 0) {
            pause(platform, milliseconds(10));
        } else {
            pause(platform, milliseconds(20));
            pause(platform, milliseconds(10));
        }

        if (functions.writeI2C(service, kChipAddress, kDataAddress, request) != 0) continue;
        pause(platform, milliseconds(50));

        std::array<std::uint8_t, kReplyLength> reply{};
        if (functions.readI2C(service, kChipAddress, kReadOffset, reply) != 0) continue;

        if (reply[2] != kReplyOpcode || reply[4] != vcp) continue;
        const std::uint16_t max = bigEndian(reply[6], reply[7]);
        if (max == 0) continue;
        return VCPReading{bigEndian(reply[8], reply[9]), max};
    }
    return std::nullopt;
}

bool write(const Platform& platform, AVService& service, std::uint8_t vcp, std::uint16_t value) {
    const PrivateDisplayFunctions& functions = platform.functions;
    if (!functions.writeI2C) return false;

    const std::vector<std::uint8_t> request = wrap(
        {vcp, static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value & 0xFF)});
    if (request.empty()) return false;

    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        if (attempt > 0) pause(platform, milliseconds(20));
        pause(platform, milliseconds(10));
        const std::int32_t first = functions.writeI2C(service, kChipAddress, kDataAddress, request);
        pause(platform, milliseconds(10));
        const std::int32_t second = functions.writeI2C(service, kChipAddress, kDataAddress, request);
        if (first == 0 || second == 0) return true;
    }
    return false;
}

}  // namespace corvane::DDCProtocol
