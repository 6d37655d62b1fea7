#include "app/CorvaneApplication.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTimer>

#include "app/DemoScript.h"
#include "app/DesktopCompositing.h"
#include "app/InstallLocationPrompt.h"
#include "hud/BrightnessHUD.h"
#include "model/AppModel.h"
#include "platform/linux/x11/WaylandSession.h"
#include "ui/IndicatorPanelWidget.h"

namespace corvane::app {
namespace {

// The shared model lives until the process ends and, when it is finally released, reaches
// into the desktop it drives: the desktop is made once and never released.
IndicatorPanels& processIndicatorPanels() {
    static auto* indicatorPanels = new ui::QtIndicatorPanels(desktopComposites());
    return *indicatorPanels;
}

SimulatedDesktop* simulatedDesktop(const LaunchOptions& options) {
    if (!options.simulate) return nullptr;
    static auto* desktop =
        new SimulatedDesktop(SimulatedDesktop::standardDisplays(), &processIndicatorPanels());
    return desktop;
}

WindowSystem windowSystem() {
    return linux_desktop::isWaylandSession(QGuiApplication::platformName().toStdString())
               ? WindowSystem::wayland
               : WindowSystem::x11;
}

LinuxDesktop* linuxDesktop(const LaunchOptions& options) {
    if (options.simulate) return nullptr;
    static auto* desktop = new LinuxDesktop(LinuxRoots::fromEnvironment(), processIndicatorPanels(),
                                            windowSystem(), QDBusConnection::sessionBus());
    return desktop;
}

// Where an embedded tray can run, how to look for one: on the real X11 desktop through a
// connection of its own that hears trays announce themselves; in simulation, where the tray is
// only a convenience, Qt's answer.
TrayHostWatch::TrayCheck embeddedTrayCheck(const LinuxDesktop* desktop,
                                           linux_desktop::EmbeddedTrayWatch* watch) {
    if (windowSystem() == WindowSystem::wayland) return nullptr;
    if (watch) return [watch] { return watch->present(); };
    if (desktop) return nullptr;
    return [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
}

// Quits on the next pass, so that a caller on the bus gets its reply first.
void quitSoon() {
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

}  // namespace

CorvaneApplication::CorvaneApplication(const LaunchOptions& options,
                                       std::optional<QDBusConnection> instanceBus)
    : options_(options),
      simulated_(simulatedDesktop(options)),
      real_(linuxDesktop(options)),
      platform_(simulated_ ? simulated_->platform() : real_->platform()),
      loop_(simulated_ ? simulated_->loop() : real_->loop()) {
    QApplication::setQuitOnLastWindowClosed(false);
    hud_ = BrightnessHUD::create(loop_, platform_.screens, platform_.indicatorPanels);
    AppModel::provideShared(platform_, *hud_);
    model_ = AppModel::shared();

    if (real_ && windowSystem() == WindowSystem::x11)
        embeddedTrayWatch_ = linux_desktop::EmbeddedTrayWatch::open();
    trayWatch_ = std::make_unique<TrayHostWatch>(
        instanceBus.value_or(QDBusConnection(QString())),
        embeddedTrayCheck(real_, embeddedTrayWatch_.get()),
        embeddedTrayWatch_ ? embeddedTrayWatch_->fd() : -1);
    // The demonstration shows the popover as the tray opens it, tray or not.
    bool tray = trayWatch_->available() || options_.demoFolder.has_value();
    shell_ = std::make_unique<ApplicationShell>(*model_, tray, desktopComposites());
    connect(trayWatch_.get(), &TrayHostWatch::appeared, shell_.get(),
            &ApplicationShell::adoptTray);
    if (instanceBus) {
        ApplicationShell* shell = shell_.get();
        busService_ = std::make_unique<DisplayBusService>(
            *model_, ShellActions{[shell] { shell->showPopover(); },
                                  [shell] { shell->closePopover(); }, quitSoon});
        busService_->exportOn(*instanceBus);
    }
    // No key can be grabbed in a Wayland session: the desktop's portal hands them over.
    if (real_ && instanceBus && windowSystem() == WindowSystem::wayland) {
        std::weak_ptr<AppModel> model = model_;
        portalShortcuts_ = std::make_unique<PortalShortcuts>(
            *instanceBus, [model](BrightnessKey key, bool fine) {
                if (auto shared = model.lock()) shared->stepBrightness(key, fine);
            });
    }
    if (simulated_)
        virtualDisplays_ = std::make_unique<VirtualDisplaysWindow>(simulated_->desktop(), *model_);
    if (simulated_ && options_.demoFolder)
        demo_ = std::make_unique<DemoScript>(*options_.demoFolder, *simulated_, *model_, *shell_,
                                             *virtualDisplays_);

    connect(qApp, &QCoreApplication::aboutToQuit, this, &CorvaneApplication::terminate);
    QTimer::singleShot(0, this, &CorvaneApplication::finishLaunching);
}

CorvaneApplication::~CorvaneApplication() = default;

// Runs once the event loop is up. The install prompt is modal: the model starts after it.
void CorvaneApplication::finishLaunching() {
    promptIfRunningOutsideApplications(QCoreApplication::applicationFilePath());
    model_->start();
    if (portalShortcuts_) portalShortcuts_->start();
    shell_->show();
    if (options_.command.kind == RemoteCommand::Kind::show) shell_->showPopover();
    if (virtualDisplays_) virtualDisplays_->show();
    if (demo_) demo_->start();
}

// Levels set in hardware stay as they are; software dimming, boosts and the indicator go, no
// timer fires again, and the preferences reach their file.
void CorvaneApplication::terminate() {
    model_->teardown();
    loop_.stop();
    // The X server keeps a client's gamma ramps after it has gone: without this, software
    // dimming would outlive the application that the user just quit.
    platform_.gamma.restoreColorProfiles();
    if (real_) real_->preferences().flush();
}

}  // namespace corvane::app
