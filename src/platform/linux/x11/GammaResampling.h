#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace corvane::linux_desktop {

// The number of entries of the float tables the dimmer reads and writes.
inline constexpr std::size_t kGammaTableEntries = 256;

// Resamples a 16-bit ramp to `entries` floats in 0...1 by linear interpolation; the first and
// last entries of both fall on each other. Empty when either side is empty.
std::vector<float> rampToTable(std::span<const std::uint16_t> ramp, std::size_t entries);

// Resamples a float table to a 16-bit ramp of `entries` by linear interpolation, limiting each
// value to 0...1 first. Empty when either side is empty.
std::vector<std::uint16_t> tableToRamp(std::span<const float> table, std::size_t entries);

}  // namespace corvane::linux_desktop
