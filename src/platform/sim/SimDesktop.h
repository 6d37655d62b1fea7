#pragma once

#include <memory>
#include <vector>

#include "platform/Platform.h"
#include "platform/sim/SimDDCMonitor.h"
#include "platform/sim/SimDisplayConnect.h"
#include "platform/sim/SimDisplayConfig.h"
#include "platform/sim/SimGamma.h"
#include "platform/sim/SimIndicatorPanels.h"
#include "platform/sim/SimLocalizer.h"
#include "platform/sim/SimLoginItem.h"
#include "platform/sim/SimMainLoop.h"
#include "platform/sim/SimNotifications.h"
#include "platform/sim/SimOverlayWindows.h"
#include "platform/sim/SimPowerSources.h"
#include "platform/sim/SimPreferences.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimSleeper.h"
#include "platform/sim/SimSystemEventStream.h"

namespace corvane::sim {

// The optional entry points, and what each one does in the simulation.
enum class EntryPoint { getBrightness, setBrightness, infoDictionary, createAVService, readI2C, writeI2C };
enum class EntryPointState { present, absent, failing };

// One simulated display and its hardware.
struct SimDisplay {
    DisplayID id = 0;
    SimDisplayConfig config;
    bool online = true;
    Point origin;
    std::shared_ptr<SimDDCMonitor> monitor;
    RegistryEntryID pipeEntry = 0;
    RegistryEntryID proxyEntry = 0;
};

// A whole desktop in memory: displays, their screens and controls, the registry, the user's
// preferences and a main loop on virtual time. Deterministic; every facility is configurable.
class SimDesktop {
public:
    SimDesktop();
    ~SimDesktop();
    SimDesktop(const SimDesktop&) = delete;
    SimDesktop& operator=(const SimDesktop&) = delete;

    const Platform& platform() const { return *platform_; }

    // Connects a display and returns its ID (1, 2, 3, … in order of addition).
    DisplayID add(SimDisplayConfig config);
    void unplug(DisplayID id);
    void plug(DisplayID id);

    SimDisplay& display(DisplayID id);
    const std::vector<SimDisplay>& allDisplays() const { return displays_; }
    // Sets the backlight as the panel would report it, as when something else moves it.
    void setBacklight(DisplayID id, double level) { display(id).config.backlight = level; }
    void setEntryPoint(EntryPoint entryPoint, EntryPointState state);
    void setCurrentHeadroom(DisplayID id, double headroom) {
        display(id).config.currentHeadroom = headroom;
    }

    SimMainLoop& loop() { return loop_; }
    SimSleeper& sleeper() { return sleeper_; }
    SimPreferences& preferences() { return preferences_; }
    SimLocalizer& localizer() { return localizer_; }
    SimGamma& gamma() { return gamma_; }
    SimRegistry& registry() { return registry_; }
    SimOverlayWindows& overlays() { return overlays_; }
    SimDisplayConnect& displayConnect() { return displayConnect_; }
    SimPowerSources& power() { return power_; }
    SimLoginItem& loginItem() { return loginItem_; }
    SimNotifications& notifications() { return notifications_; }
    SimSystemEventStream& events() { return events_; }
    SimIndicatorPanels& indicatorPanels() { return indicatorPanels_; }

private:
    class Displays;
    class Screens;

    void rebuildFunctions();
    void addRegistryEntries(SimDisplay& display);
    const SimDisplay* online(DisplayID id) const;

    std::vector<SimDisplay> displays_;
    std::map<EntryPoint, EntryPointState> entryPoints_;
    PrivateDisplayFunctions functions_;
    std::unique_ptr<Displays> displayCatalog_;
    std::unique_ptr<Screens> screenCatalog_;
    SimDisplayConnect displayConnect_;
    SimGamma gamma_;
    SimRegistry registry_;
    SimSleeper sleeper_;
    SimPreferences preferences_;
    SimLocalizer localizer_;
    SimOverlayWindows overlays_;
    SimMainLoop loop_;
    SimPowerSources power_;
    SimLoginItem loginItem_;
    SimNotifications notifications_;
    SimSystemEventStream events_;
    SimIndicatorPanels indicatorPanels_;
    std::unique_ptr<Platform> platform_;
    double nextOriginX_ = 0;
};

}  // namespace corvane::sim
