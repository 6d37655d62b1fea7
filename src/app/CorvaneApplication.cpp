#include "app/CorvaneApplication.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTimer>
#include <iostream>

#include "app/DemoScript.h"
#include "app/DesktopCompositing.h"
#include "app/InstallLocationPrompt.h"
#include "hud/BrightnessHUD.h"
#include "model/AppModel.h"
#include "ui/IndicatorPanelWidget.h"

namespace corvane::app {
namespace {

// The shared model lives until the process ends and, when it is finally released, reaches
// into the desktop it drives: the desktop is made once and never released.
SimulatedDesktop& processDesktop() {
    static auto* indicatorPanels = new ui::QtIndicatorPanels(desktopComposites());
    static auto* desktop =
        new SimulatedDesktop(SimulatedDesktop::standardDisplays(), indicatorPanels);
    return *desktop;
}

}  // namespace

CorvaneApplication::CorvaneApplication(const LaunchOptions& options)
    : options_(options), desktop_(processDesktop()) {
    if (!options_.simulate)
        std::cerr << "corvane-display: this desktop has no display backend yet; running on the "
                     "simulated desktop (--simulate also shows its virtual displays)\n";
    QApplication::setQuitOnLastWindowClosed(false);
    const Platform& platform = desktop_.platform();
    hud_ = BrightnessHUD::create(desktop_.loop(), platform.screens, platform.indicatorPanels);
    AppModel::provideShared(platform, *hud_);
    model_ = AppModel::shared();

    // The demonstration shows the popover as the tray opens it, tray or not.
    bool tray = QSystemTrayIcon::isSystemTrayAvailable() || options_.demoFolder.has_value();
    shell_ = std::make_unique<ApplicationShell>(*model_, tray, desktopComposites());
    if (options_.simulate)
        virtualDisplays_ = std::make_unique<VirtualDisplaysWindow>(desktop_.desktop(), *model_);
    if (options_.demoFolder)
        demo_ = std::make_unique<DemoScript>(*options_.demoFolder, desktop_, *model_, *shell_,
                                             *virtualDisplays_);

    connect(qApp, &QCoreApplication::aboutToQuit, this, &CorvaneApplication::terminate);
    QTimer::singleShot(0, this, &CorvaneApplication::finishLaunching);
}

CorvaneApplication::~CorvaneApplication() = default;

// Runs once the event loop is up. The install prompt is modal: the model starts after it.
void CorvaneApplication::finishLaunching() {
    promptIfRunningOutsideApplications(QCoreApplication::applicationFilePath());
    model_->start();
    shell_->show();
    if (virtualDisplays_) virtualDisplays_->show();
    if (demo_) demo_->start();
}

// Display levels stay as they are; boosts and the indicator go, and no timer fires again.
void CorvaneApplication::terminate() {
    model_->teardown();
    desktop_.loop().stop();
}

}  // namespace corvane::app
