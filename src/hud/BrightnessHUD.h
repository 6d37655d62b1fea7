#pragma once

#include <memory>
#include <optional>

#include "platform/DisplayCatalog.h"
#include "platform/IndicatorPanel.h"
#include "platform/MainLoop.h"
#include "platform/ScreenCatalog.h"

namespace corvane {

// The on-screen indicator: a small panel near the bottom of the screen whose level just
// changed, showing the level and, on boost displays, the estimated luminance. It hides itself
// a moment after the last show. One panel serves every screen; it is made on the first show
// and kept. Main thread only. The loop, the screens and the panel factory outlive it.
class BrightnessHUD : public std::enable_shared_from_this<BrightnessHUD> {
public:
    static std::shared_ptr<BrightnessHUD> create(MainLoop& loop, const ScreenCatalog& screens,
                                                 IndicatorPanels& panels);
    BrightnessHUD(const BrightnessHUD&) = delete;
    BrightnessHUD& operator=(const BrightnessHUD&) = delete;

    // Shows `percent` (percent scale) and `nits`, if any, on the screen of `display`, or the
    // main screen when that display has none, and (re)starts the hide delay. Nothing happens
    // without any screen.
    void show(double percent, std::optional<int> nits, DisplayID display);
    // Hides the panel at once and cancels the pending hide.
    void hide();

private:
    BrightnessHUD(MainLoop& loop, const ScreenCatalog& screens, IndicatorPanels& panels);

    std::optional<Screen> screenFor(DisplayID display) const;
    IndicatorPanel& panel();
    void scheduleHide();

    MainLoop& loop_;
    const ScreenCatalog& screens_;
    IndicatorPanels& panels_;
    std::unique_ptr<IndicatorPanel> panel_;
    std::unique_ptr<ScheduledWork> hideWork_;
};

}  // namespace corvane
