#include "display/SoftwareDimming.h"

#include <algorithm>
#include <cmath>

namespace corvane {
namespace {

constexpr std::size_t kCapacity = 256;

// The gain for a level: 0.12 at level 0, so the display never goes fully dark, exactly 1 at 1.
float gainFor(double level) {
    float limited = level <= 0 ? 0.0f : level >= 1 ? 1.0f : static_cast<float>(level);
    return limited * 0.88f + 0.12f;
}

std::vector<float> scaled(const std::vector<float>& table, float gain) {
    std::vector<float> result(table.size());
    std::transform(table.begin(), table.end(), result.begin(),
                   [gain](float entry) { return entry * gain; });
    return result;
}

// The display's tables as the platform reports them, at most 256 entries each.
std::optional<SoftwareDimming::Tables> capture(GammaTables& gamma, DisplayID id) {
    SoftwareDimming::Tables tables{std::vector<float>(kCapacity), std::vector<float>(kCapacity),
                                   std::vector<float>(kCapacity)};
    std::uint32_t count = 0;
    if (gamma.readTransferTable(id, tables.red, tables.green, tables.blue, &count) != 0 ||
        count == 0)
        return std::nullopt;
    std::size_t kept = std::min<std::size_t>(kCapacity, count);
    for (auto* table : {&tables.red, &tables.green, &tables.blue}) table->resize(kept);
    return tables;
}

}  // namespace

SoftwareDimming::SoftwareDimming(const Platform& platform, DisplayID id)
    : platform_(&platform), displayID_(id) {
    // Resets every display, so that the capture sees this one undimmed.
    platform.gamma.restoreColorProfiles();
    original_ = capture(platform.gamma, id);
}

bool SoftwareDimming::write(double level) {
    if (!original_ || std::isnan(level)) return false;
    float gain = gainFor(level);
    std::vector<float> red = scaled(original_->red, gain);
    std::vector<float> green = scaled(original_->green, gain);
    std::vector<float> blue = scaled(original_->blue, gain);
    return platform_->gamma.writeTransferTable(displayID_, red, green, blue) == 0;
}

}  // namespace corvane
