#pragma once

#include <cmath>
#include <limits>

namespace corvane {

// Rounds to the nearest integer with halves away from zero. Values beyond the integer range
// saturate and NaN gives 0, so that no conversion is undefined.
inline int roundedHalfAwayFromZero(double value) {
    if (std::isnan(value)) return 0;
    double rounded = std::round(value);
    if (rounded >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (rounded <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(rounded);
}

// Limits a level on the percent scale to 0...100: at or below 0 is 0, above 100 is 100.
// NaN is not a level and reads as 0.
inline double clampedPercent(double percent) {
    if (!(percent > 0)) return 0;
    return percent > 100 ? 100 : percent;
}

// Limits a fraction to 0...1 the same way.
inline double clampedFraction(double fraction) {
    if (!(fraction > 0)) return 0;
    return fraction > 1 ? 1 : fraction;
}

}  // namespace corvane
