#include "platform/sim/SimGamma.h"

#include <algorithm>

namespace corvane::sim {

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
    const Table& table = it->second;
    std::size_t n = std::min({red.size(), green.size(), blue.size(), table.red.size()});
    std::copy_n(table.red.begin(), n, red.begin());
    std::copy_n(table.green.begin(), n, green.begin());
    std::copy_n(table.blue.begin(), n, blue.begin());
    *sampleCount = static_cast<std::uint32_t>(table.red.size());
    return 0;
}

std::int32_t SimGamma::writeTransferTable(DisplayID id, std::span<const float> red,
                                          std::span<const float> green,
                                          std::span<const float> blue) {
    if (writeFails_ || !current_.contains(id)) return kFailure;
    Table table{{red.begin(), red.end()}, {green.begin(), green.end()}, {blue.begin(), blue.end()}};
    current_[id] = table;
    writes_.emplace_back(id, std::move(table));
    return 0;
}

double SimGamma::factor(DisplayID id) const {
    const Table& now = current(id);
    const Table& base = profile(id);
    if (now.red.empty() || base.red.empty() || base.red.back() == 0) return 1;
    return static_cast<double>(now.red.back()) / base.red.back();
}

}  // namespace corvane::sim
