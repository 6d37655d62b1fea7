#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace corvane::linux_desktop {

using UuidBytes = std::array<std::uint8_t, 16>;

// The namespace of the display UUIDs this desktop derives from EDIDs (a fixed random UUID).
inline constexpr UuidBytes kDisplayUuidNamespace = {0x6B, 0x1E, 0x3C, 0x52, 0x9A, 0x47, 0x4D, 0x0F,
                                                    0x8E, 0x21, 0x5C, 0xB7, 0x3D, 0x90, 0xA4, 0x16};

// The name-based (version 5, SHA-1) UUID of `name` in `nameSpace` (RFC 4122, section 4.3), in
// upper-case 8-4-4-4-12 form.
std::string nameBasedUuid(const UuidBytes& nameSpace, std::span<const std::uint8_t> name);

}  // namespace corvane::linux_desktop
