#pragma once

#include <QDBusConnection>
#include <QObject>
#include <memory>
#include <optional>

#include "app/ApplicationShell.h"
#include "app/DisplayBusService.h"
#include "app/LaunchOptions.h"
#include "app/LinuxDesktop.h"
#include "app/PortalShortcuts.h"
#include "app/SimulatedDesktop.h"
#include "app/TrayHostWatch.h"
#include "app/VirtualDisplaysWindow.h"
#include "platform/linux/x11/EmbeddedTray.h"

namespace corvane {
class AppModel;
class BrightnessHUD;
}  // namespace corvane

namespace corvane::app {

class DemoScript;

// The running application: the desktop it drives (the real one, or with --simulate the
// simulated one), the indicator, the one model, the tray item and popover (the tray may come
// later), the object on the session bus when this process owns the instance's name there, and
// in simulation the virtual displays window. Made inside the QApplication; the model starts
// once the event loop runs and is torn down when the application quits.
class CorvaneApplication : public QObject {
    Q_OBJECT
  public:
    // `instanceBus`: the session bus on which this process owns the instance's name, if any.
    CorvaneApplication(const LaunchOptions& options, std::optional<QDBusConnection> instanceBus);

    ~CorvaneApplication() override;

  private:
    void finishLaunching();
    void terminate();

    LaunchOptions options_;
    // Exactly one of the two desktops, with its platform and main loop.
    SimulatedDesktop* simulated_ = nullptr;
    LinuxDesktop* real_ = nullptr;
    const Platform& platform_;
    QtMainLoop& loop_;
    std::shared_ptr<BrightnessHUD> hud_;
    std::shared_ptr<AppModel> model_;
    std::unique_ptr<linux_desktop::EmbeddedTrayWatch> embeddedTrayWatch_;
    std::unique_ptr<TrayHostWatch> trayWatch_;
    std::unique_ptr<ApplicationShell> shell_;
    std::unique_ptr<DisplayBusService> busService_;
    std::unique_ptr<PortalShortcuts> portalShortcuts_;
    std::unique_ptr<VirtualDisplaysWindow> virtualDisplays_;
    std::unique_ptr<DemoScript> demo_;
};

}  // namespace corvane::app
