#include "platform/linux/x11/GammaResampling.h"

#include <algorithm>
#include <cmath>

namespace corvane::linux_desktop {
namespace {

constexpr double kRampMax = 65535.0;

// The value of `source` at entry `index` of a table of `entries` laid over the same range.
template <typename T>
double sampleAt(std::span<const T> source, std::size_t index, std::size_t entries) {
    if (source.size() == 1 || entries == 1) return static_cast<double>(source.front());
    const double position = static_cast<double>(index) * static_cast<double>(source.size() - 1) /
                            static_cast<double>(entries - 1);
    const auto below = static_cast<std::size_t>(position);
    if (below + 1 >= source.size()) return static_cast<double>(source.back());
    const double fraction = position - static_cast<double>(below);
    return static_cast<double>(source[below]) * (1 - fraction) +
           static_cast<double>(source[below + 1]) * fraction;
}

}  // namespace

std::vector<float> rampToTable(std::span<const std::uint16_t> ramp, std::size_t entries) {
    if (ramp.empty()) return {};
    std::vector<float> table(entries);
    for (std::size_t i = 0; i < entries; ++i)
        table[i] = static_cast<float>(sampleAt(ramp, i, entries) / kRampMax);
    return table;
}

std::vector<std::uint16_t> tableToRamp(std::span<const float> table, std::size_t entries) {
    if (table.empty()) return {};
    std::vector<float> limited(table.size());
    std::transform(table.begin(), table.end(), limited.begin(), [](float value) {
        return std::isnan(value) ? 0.0f : std::clamp(value, 0.0f, 1.0f);
    });
    std::vector<std::uint16_t> ramp(entries);
    for (std::size_t i = 0; i < entries; ++i) {
        const double value = sampleAt(std::span<const float>(limited), i, entries);
        ramp[i] = static_cast<std::uint16_t>(std::lround(value * kRampMax));
    }
    return ramp;
}

}  // namespace corvane::linux_desktop
