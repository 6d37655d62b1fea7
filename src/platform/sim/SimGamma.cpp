#include "platform/sim/SimGamma.h"

#include <algorithm>

namespace corvane::sim {
namespace {

// `source` laid over `entries` by linear interpolation, first and last entries on each other,
// as the X server's ramps are resampled to and from the dimmer's tables.
std::vector<float> resampled(std::span<const float> source, std::size_t entries) {
    if (source.size() == entries || source.empty()) return {source.begin(), source.end()};
    std::vector<float> result(entries);
    for (std::size_t i = 0; i < entries; ++i) {
        if (source.size() == 1 || entries == 1) {
            result[i] = source.front();
            continue;
        }
        double position = static_cast<double>(i) * static_cast<double>(source.size() - 1) /
                          static_cast<double>(entries - 1);
        auto below = static_cast<std::size_t>(position);
        if (below + 1 >= source.size()) {
            result[i] = source.back();
            continue;
        }
        double fraction = position - static_cast<double>(below);
        result[i] = static_cast<float>(source[below] * (1 - fraction) + source[below + 1] * fraction);
    }
    return result;
}

}  // namespace

void SimGamma::addTable(DisplayID id, std::size_t length) {
    std::vector<float> ramp(length);
    for (std::size_t i = 0; i < length; ++i)
        ramp[i] = length == 1 ? 1.0f : static_cast<float>(i) / static_cast<float>(length - 1);
    profiles_[id] = Table{ramp, ramp, ramp};
    current_[id] = profiles_[id];
}

void SimGamma::restoreColorProfiles() {
    ++restores_;
    current_ = profiles_;
}

std::int32_t SimGamma::readTransferTable(DisplayID id, std::span<float> red,
                                         std::span<float> green, std::span<float> blue,
                                         std::uint32_t* sampleCount) {
    auto it = current_.find(id);
    if (readFails_ || it == current_.end()) return kFailure;
    // A table longer than the reader's arrays is resampled to fit them, as the X server's
    // longer ramps are; a shorter one is read as it is.
    const Table& table = it->second;
    std::size_t n = std::min({red.size(), green.size(), blue.size(), table.red.size()});
    std::ranges::copy(resampled(table.red, n), red.begin());
    std::ranges::copy(resampled(table.green, n), green.begin());
    std::ranges::copy(resampled(table.blue, n), blue.begin());
    *sampleCount = static_cast<std::uint32_t>(n);
    return 0;
}

std::int32_t SimGamma::writeTransferTable(DisplayID id, std::span<const float> red,
                                          std::span<const float> green,
                                          std::span<const float> blue) {
    auto it = current_.find(id);
    if (writeFails_ || it == current_.end()) return kFailure;
    // A table shorter than the display's is spread over the display's whole table.
    std::size_t length = std::max(red.size(), it->second.red.size());
    Table table{resampled(red, length), resampled(green, length), resampled(blue, length)};
    it->second = table;
    lastWrite_.emplace(id, std::move(table));
    ++writeCount_;
    ++writesPerDisplay_[id];
    return 0;
}

double SimGamma::factor(DisplayID id) const {
    const Table& now = current(id);
    const Table& base = profile(id);
    if (now.red.empty() || base.red.empty() || base.red.back() == 0) return 1;
    return static_cast<double>(now.red.back()) / base.red.back();
}

}  // namespace corvane::sim
