#include "app/SimulatedDesktop.h"

#include <QGuiApplication>
#include <QScreen>
#include <string>

#include "app/SimulatedOnScreen.h"
#include "ui/DesktopCoordinates.h"

namespace corvane::app {
namespace {

Platform withQtParts(const Platform& simulated, MainLoop& loop, Localizer& localizer,
                     OverlayWindows& overlays, IndicatorPanels& indicatorPanels) {
    return Platform{simulated.displays,
                    simulated.screens,
                    simulated.functions,
                    simulated.displayConnect,
                    simulated.gamma,
                    simulated.registry,
                    simulated.sleeper,
                    simulated.preferences,
                    localizer,
                    overlays,
                    loop,
                    simulated.power,
                    simulated.loginItem,
                    simulated.notifications,
                    simulated.events,
                    indicatorPanels};
}

}  // namespace

std::vector<sim::SimDisplayConfig> SimulatedDesktop::standardDisplays() {
    return displays(3);
}

std::vector<sim::SimDisplayConfig> SimulatedDesktop::displays(int count) {
    std::vector<sim::SimDisplayConfig> configs;
    for (int index = 0; index < count; ++index) {
        std::string number = std::to_string(index / 3 + 1);
        sim::SimDisplayConfig config;
        switch (index % 3) {
            case 0:
                config = index == 0 ? sim::SimDisplayConfig::boostPanel()
                                    : sim::SimDisplayConfig::ddcMonitor("Studio Monitor " + number,
                                                                        {70, 100});
                break;
            case 1:
                config = sim::SimDisplayConfig::ddcMonitor("Desk Monitor " + number, {40, 100});
                break;
            default:
                config = sim::SimDisplayConfig::gammaOnlyMonitor("Side Monitor " + number);
        }
        config.main = index == 0;
        config.serial = static_cast<std::uint32_t>(1000 + index);
        configs.push_back(config);
    }
    return configs;
}

SimulatedDesktop::SimulatedDesktop(const std::vector<sim::SimDisplayConfig>& displays,
                                   IndicatorPanels* indicatorPanels)
    : onScreenPanels_(indicatorPanels
                          ? std::make_unique<OnScreenIndicatorPanels>(
                                *indicatorPanels, [this] { return onScreenPlacement(); })
                          : nullptr),
      onScreenOverlays_(indicatorPanels
                            ? std::make_unique<OnScreenOverlayWindows>(
                                  desktop_.overlays(), [this] { return onScreenPlacement(); })
                            : nullptr),
      platform_(withQtParts(desktop_.platform(), loop_, localizer_,
                            onScreenOverlays_ ? *onScreenOverlays_ : desktop_.platform().overlays,
                            onScreenPanels_ ? *onScreenPanels_ : desktop_.indicatorPanels())) {
    for (const sim::SimDisplayConfig& config : displays) desktop_.add(config);
}

VirtualScreenMap SimulatedDesktop::onScreenPlacement() const {
    std::vector<Rect> frames;
    for (const Screen& screen : desktop_.platform().screens.screens())
        frames.push_back(screen.frame);
    const QScreen* real = QGuiApplication::primaryScreen();
    const Rect area = real ? ui::desktop::fromQt(QRectF(real->availableGeometry())) : Rect{};
    return VirtualScreenMap(frames, area);
}

}  // namespace corvane::app
