#pragma once

#include <QObject>
#include <memory>

#include "app/ApplicationShell.h"
#include "app/LaunchOptions.h"
#include "app/LinuxDesktop.h"
#include "app/SimulatedDesktop.h"
#include "app/VirtualDisplaysWindow.h"

namespace corvane {
class AppModel;
class BrightnessHUD;
}  // namespace corvane

namespace corvane::app {

class DemoScript;

// The running application: the desktop it drives (the real one, or with --simulate the
// simulated one), the indicator, the one model, the tray item and popover, and in simulation
// the virtual displays window. Made inside the QApplication;
// the model starts once the event loop runs and is torn down when the application quits.
class CorvaneApplication : public QObject {
    Q_OBJECT
  public:
    explicit CorvaneApplication(const LaunchOptions& options);
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
    std::unique_ptr<ApplicationShell> shell_;
    std::unique_ptr<VirtualDisplaysWindow> virtualDisplays_;
    std::unique_ptr<DemoScript> demo_;
};

}  // namespace corvane::app
