#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace corvane::linux_desktop {

// What the system reads from a display's EDID. Texts are the descriptor bytes as stored
// (printable ASCII in practice, but any byte other than 0x0A may occur).
struct Edid {
    std::uint16_t vendorCode = 0;  // the manufacturer's PNP ID, bytes 8-9 big-endian
    std::string vendor;            // the same ID as three letters, "?" for a letter out of range
    std::uint16_t product = 0;
    std::uint32_t serial = 0;
    std::string name;                              // monitor-name descriptor, or empty
    std::string serialText;                        // serial-number descriptor, or empty
    std::vector<std::string> alphanumericStrings;  // in descriptor order
    // The valid blocks: the base block and the extensions that follow it intact.
    std::size_t blocks = 0;
    std::vector<std::uint8_t> bytes;  // the valid blocks' bytes
    // Whether every extension the base block announces is there and intact.
    bool complete() const { return blocks == announcedBlocks; }
    std::size_t announcedBlocks = 0;

    // The base block's bytes.
    std::vector<std::uint8_t> baseBlock() const;
};

inline constexpr std::size_t kEdidBlockSize = 128;

// Parses an EDID. None when the base block is short, lacks the fixed header or fails its
// checksum. Extensions are counted up to the base block's extension count and stop at the
// first one that is short or fails its checksum; the rest of the bytes are ignored.
std::optional<Edid> parseEdid(std::span<const std::uint8_t> bytes);

}  // namespace corvane::linux_desktop
