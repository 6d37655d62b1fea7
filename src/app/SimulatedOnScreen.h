#pragma once

#include <functional>
#include <memory>

#include "app/VirtualScreenMap.h"
#include "platform/IndicatorPanel.h"
#include "platform/OverlayWindows.h"

namespace corvane::app {

// Where the simulated desktop lies on the real screen, asked afresh at each use (virtual
// displays come and go, the real work area changes).
using VirtualScreenPlacement = std::function<VirtualScreenMap()>;

// The indicator's real windows for a simulated desktop: each panel keeps its size and is put
// where its virtual screen lies on the real screen, so that it shows whichever virtual
// display it is shown on.
class OnScreenIndicatorPanels final : public IndicatorPanels {
  public:
    OnScreenIndicatorPanels(IndicatorPanels& real, VirtualScreenPlacement placement);

    std::unique_ptr<IndicatorPanel> make(const Size& size) override;

  private:
    IndicatorPanels& real_;
    VirtualScreenPlacement placement_;
};

// The simulated boost overlays, recorded as before and also marked on the real screen: while
// an overlay boosts its virtual screen, a warm ring, wider the stronger the boost, surrounds
// that screen's place on the real screen. It takes no clicks and never the focus.
class OnScreenOverlayWindows final : public OverlayWindows {
  public:
    OnScreenOverlayWindows(OverlayWindows& simulated, VirtualScreenPlacement placement);

    bool hasDevice() const override { return simulated_.hasDevice(); }
    bool makeCommandQueue() override { return simulated_.makeCommandQueue(); }
    std::unique_ptr<OverlayWindow> build(const Screen& screen, double contentsScale,
                                         const PixelSize& drawableSize) override;

  private:
    OverlayWindows& simulated_;
    VirtualScreenPlacement placement_;
};

}  // namespace corvane::app
