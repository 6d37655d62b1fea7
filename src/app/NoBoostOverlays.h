#pragma once

#include "platform/OverlayWindows.h"

namespace corvane::app {

// The Linux desktop has no extended-range surfaces to boost with yet: no GPU device is
// offered, so no display takes the boost path.
class NoBoostOverlays final : public OverlayWindows {
  public:
    bool hasDevice() const override { return false; }
    bool makeCommandQueue() override { return false; }
    std::unique_ptr<OverlayWindow> build(const Screen&, double, const PixelSize&) override {
        return nullptr;
    }
};

}  // namespace corvane::app
