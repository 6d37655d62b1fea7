#include "hud/BrightnessHUD.h"

#include "display/ScreenLookup.h"
#include "hud/HUDLayout.h"
#include "model/Rounding.h"

namespace corvane {
namespace {

// How long the panel stays up after the last show.
constexpr Seconds kHideDelay{1.35};

}  // namespace

std::shared_ptr<BrightnessHUD> BrightnessHUD::create(MainLoop& loop, const ScreenCatalog& screens,
                                                     IndicatorPanels& panels) {
    return std::shared_ptr<BrightnessHUD>(new BrightnessHUD(loop, screens, panels));
}

BrightnessHUD::BrightnessHUD(MainLoop& loop, const ScreenCatalog& screens, IndicatorPanels& panels)
    : loop_(loop), screens_(screens), panels_(panels) {}

void BrightnessHUD::show(double percent, std::optional<int> nits, DisplayID display) {
    std::optional<Screen> screen = screenFor(display);
    if (!screen) return;
    IndicatorPanel& shown = panel();
    shown.setContent(BrightnessHUDView{roundedHalfAwayFromZero(percent), nits});
    shown.setFrame(hudFrame(screen->visibleFrame));
    shown.orderFront();
    scheduleHide();
}

void BrightnessHUD::hide() {
    if (hideWork_) hideWork_->cancel();
    if (panel_) panel_->orderOut();
}

std::optional<Screen> BrightnessHUD::screenFor(DisplayID display) const {
    if (std::optional<Screen> screen = screenOf(screens_, display)) return screen;
    return screens_.mainScreen();
}

IndicatorPanel& BrightnessHUD::panel() {
    if (!panel_) panel_ = panels_.make(kHUDSize);
    return *panel_;
}

// Every show restarts the delay, so the panel stays up while keys keep coming.
void BrightnessHUD::scheduleHide() {
    if (hideWork_) hideWork_->cancel();
    hideWork_ = loop_.scheduleOnce(kHideDelay, [weak = weak_from_this()] {
        auto self = weak.lock();
        if (self && self->panel_) self->panel_->orderOut();
    });
}

}  // namespace corvane
