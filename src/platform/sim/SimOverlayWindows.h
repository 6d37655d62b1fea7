#pragma once

#include <memory>
#include <vector>

#include "platform/OverlayWindows.h"

namespace corvane::sim {

// What became of one overlay window: where it was built, its frames and every clear colour
// it presented.
struct SimOverlayRecord {
    Screen screen;
    Rect frame;
    double contentsScale = 1;
    PixelSize drawableSize;
    double alpha = 0;
    bool onScreen = true;
    std::vector<double> presentedFactors;
};

// Overlay windows that record what they show instead of drawing it.
class SimOverlayWindows final : public OverlayWindows {
public:
    bool hasDevice() const override { return hasDevice_; }
    bool makeCommandQueue() override;
    std::unique_ptr<OverlayWindow> build(const Screen& screen, double contentsScale,
                                         const PixelSize& drawableSize) override;

    void setHasDevice(bool has) { hasDevice_ = has; }
    void setCanMakeQueue(bool can) { canMakeQueue_ = can; }
    // Whether a drawable can be had for the next frames.
    void setDrawableAvailable(bool available) { drawableAvailable_ = available; }

    // Every window built, in order.
    const std::vector<std::shared_ptr<SimOverlayRecord>>& records() const { return records_; }
    // The window on screen over the display's screen, or nullptr.
    const SimOverlayRecord* shownOver(std::uint32_t screenNumber) const;
    int queueRequests() const { return queueRequests_; }

private:
    class Window;

    bool hasDevice_ = true;
    bool canMakeQueue_ = true;
    bool drawableAvailable_ = true;
    int queueRequests_ = 0;
    std::vector<std::shared_ptr<SimOverlayRecord>> records_;
};

}  // namespace corvane::sim
