#pragma once

#include <optional>

namespace corvane {

// What the indicator shows: the level in whole percent and, on boost displays, the estimated
// luminance.
struct BrightnessHUDView {
    int percent = 0;
    std::optional<int> nits;
    friend bool operator==(const BrightnessHUDView&, const BrightnessHUDView&) = default;
};

}  // namespace corvane
