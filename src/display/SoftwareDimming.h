#pragma once

#include <optional>
#include <vector>

#include "platform/Platform.h"

namespace corvane {

// Dims a display by scaling its gamma tables. The tables are captured once, at construction,
// and every level is computed from that capture, so levels never compound. Main thread only.
class SoftwareDimming {
public:
    struct Tables {
        std::vector<float> red, green, blue;
    };

    // Resets every display's tables to their profiles, then captures this display's.
    SoftwareDimming(const Platform& platform, DisplayID id);

    // Scales the captured tables by level × 0.88 + 0.12 (level limited to 0...1); true when
    // the platform took them.
    bool write(double level);

    DisplayID displayID() const { return displayID_; }
    const std::optional<Tables>& original() const { return original_; }

private:
    const Platform* platform_;
    DisplayID displayID_;
    std::optional<Tables> original_;
};

}  // namespace corvane
