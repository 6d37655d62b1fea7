#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace corvane {

// One screen as the desktop describes it.
struct Screen {
    // The display the screen shows ("NSScreenNumber"); a screen without it counts as number 0.
    std::optional<std::uint32_t> number;
    std::string localizedName;
    Rect frame;
    // The frame less the desktop's panels and docks.
    Rect visibleFrame;
    double backingScaleFactor = 1;
    // Extended-range headroom the screen offers now, and the most it can ever offer.
    double currentHeadroom = 1;
    double potentialHeadroom = 1;
};

class ScreenCatalog {
public:
    virtual ~ScreenCatalog() = default;

    virtual std::vector<Screen> screens() const = 0;
    virtual std::optional<Screen> mainScreen() const = 0;
};

}  // namespace corvane
