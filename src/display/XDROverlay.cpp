#include "display/XDROverlay.h"

#include <algorithm>
#include <cmath>

#include "display/ScreenLookup.h"

namespace corvane {
namespace {

constexpr double kSupportedHeadroom = 1.5;
constexpr double kSmallestBoost = 0.004;
constexpr double kLargestGain = 1.66;
constexpr Seconds kRepresentInterval{0.2};

// One side of the surface in pixels: at least 2, also for an empty or unknown size.
double pixelsFor(double points, double scale) {
    double pixels = points * scale;
    return pixels > 2 ? pixels : 2;
}

PixelSize drawableSizeFor(const Screen& screen) {
    return {pixelsFor(screen.frame.width, screen.backingScaleFactor),
            pixelsFor(screen.frame.height, screen.backingScaleFactor)};
}

// How far above standard white the screen can go now, at most 1.66; NaN counts as none.
double availableGain(double headroom) {
    double extra = headroom > 1 ? headroom - 1 : 0;
    return std::min(extra, kLargestGain);
}

}  // namespace

XDROverlay::XDROverlay(const Platform& platform, DisplayID id)
    : platform_(&platform), displayID_(id), hasDevice_(platform.overlays.hasDevice()) {}

std::shared_ptr<XDROverlay> XDROverlay::make(const Platform& platform, DisplayID id) {
    return std::make_shared<XDROverlay>(platform, id);
}

bool XDROverlay::isSupported(const Platform& platform, DisplayID id) {
    auto screen = screenOf(platform.screens, id);
    return screen && screen->potentialHeadroom > kSupportedHeadroom;
}

void XDROverlay::setBoost(double fraction) {
    if (std::isnan(fraction)) return;
    double limited = std::clamp(fraction, 0.0, 1.0);
    if (limited < kSmallestBoost) {
        tearDown();
        return;
    }
    if (!window_) build();
    apply(limited);
}

void XDROverlay::tearDown() {
    if (timer_) timer_->cancel();
    timer_.reset();
    if (window_) window_->orderOut();
    window_.reset();
    shown_ = false;
    factor_ = 1;
}

void XDROverlay::build() {
    auto screen = screenOf(platform_->screens, displayID_);
    if (!screen || !hasDevice_) return;
    window_ =
        platform_->overlays.build(*screen, screen->backingScaleFactor, drawableSizeFor(*screen));
    if (!window_) return;
    present();
    // Re-presenting keeps the window fitted to the screen and retries a skipped first frame.
    std::weak_ptr<XDROverlay> weak = weak_from_this();
    timer_ = platform_->loop.scheduleRepeating(kRepresentInterval, [weak] {
        if (auto overlay = weak.lock()) overlay->present();
    });
}

void XDROverlay::apply(double fraction) {
    auto screen = screenOf(platform_->screens, displayID_);
    if (!screen) return;
    factor_ = availableGain(screen->currentHeadroom) * fraction + 1;
    present();
}

void XDROverlay::present() {
    if (!window_ || !hasQueue()) return;
    if (auto screen = screenOf(platform_->screens, displayID_)) {
        if (window_->frame() != screen->frame) window_->setFrame(screen->frame);
        PixelSize wanted = drawableSizeFor(*screen);
        if (window_->drawableSize() != wanted) window_->setDrawableSize(wanted);
    }
    if (!window_->present(factor_) || shown_) return;
    // Shown only once a frame is in place: an unfilled multiply surface would darken the screen.
    window_->setAlpha(1);
    shown_ = true;
}

bool XDROverlay::hasQueue() {
    if (!queue_) queue_ = hasDevice_ && platform_->overlays.makeCommandQueue();
    return *queue_;
}

}  // namespace corvane
