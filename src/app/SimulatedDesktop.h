#pragma once

#include <memory>
#include <vector>

#include "app/QtMainLoop.h"
#include "app/VirtualScreenMap.h"
#include "platform/Platform.h"
#include "platform/sim/SimDesktop.h"
#include "ui/Localization.h"

namespace corvane::app {

// The simulated desktop run by the Qt application: the simulation supplies the displays and
// every other facility, while the main loop is Qt's and the texts are the application's table.
// Given real indicator panels, the desktop is shown on the real screen: the virtual screens are
// drawn to scale on its work area, the indicator appears in its virtual screen's place there
// and boost overlays are marked there too. Without them the indicator's panels are the
// simulation's recorders.
class SimulatedDesktop {
  public:
    // A boost-capable built-in panel, a DDC/CI monitor and a monitor with gamma tables only.
    static std::vector<sim::SimDisplayConfig> standardDisplays();
    // `count` displays: the three standard ones, then more DDC/CI and gamma-only monitors.
    static std::vector<sim::SimDisplayConfig> displays(int count);

    explicit SimulatedDesktop(const std::vector<sim::SimDisplayConfig>& displays,
                              IndicatorPanels* indicatorPanels = nullptr);
    SimulatedDesktop(const SimulatedDesktop&) = delete;
    SimulatedDesktop& operator=(const SimulatedDesktop&) = delete;

    const Platform& platform() const { return platform_; }
    sim::SimDesktop& desktop() { return desktop_; }
    QtMainLoop& loop() { return loop_; }
    // Where the virtual screens lie on the real screen's work area now.
    VirtualScreenMap onScreenPlacement() const;

  private:
    sim::SimDesktop desktop_;
    QtMainLoop loop_;
    ui::TableLocalizer localizer_;
    std::unique_ptr<IndicatorPanels> onScreenPanels_;
    std::unique_ptr<OverlayWindows> onScreenOverlays_;
    Platform platform_;
};

}  // namespace corvane::app
