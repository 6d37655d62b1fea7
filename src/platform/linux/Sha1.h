#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace corvane::linux_desktop {

using Sha1Digest = std::array<std::uint8_t, 20>;

// The SHA-1 digest of `message` (FIPS 180-4). Used only to derive name-based identifiers.
Sha1Digest sha1(std::span<const std::uint8_t> message);

}  // namespace corvane::linux_desktop
