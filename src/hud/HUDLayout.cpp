#include "hud/HUDLayout.h"

#include <algorithm>

namespace corvane {

Rect hudFrame(const Rect& visibleFrame) {
    return {visibleFrame.midX() - kHUDSize.width / 2, visibleFrame.minY() + kHUDBottomOffset,
            kHUDSize.width, kHUDSize.height};
}

double hudBarFillWidth(double trackWidth, int percent) {
    double share = trackWidth * percent / 100;
    return std::clamp(share, kHUDBarStubWidth, std::max(trackWidth, kHUDBarStubWidth));
}

}  // namespace corvane
