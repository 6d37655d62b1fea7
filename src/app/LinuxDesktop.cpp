#include "app/LinuxDesktop.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QScreen>

#include "app/NoGammaTables.h"
#include "platform/linux/XdgPaths.h"
#include "platform/linux/x11/OutputNames.h"
#include "platform/linux/x11/RandROutputs.h"

namespace corvane::app {
namespace {

using namespace linux_desktop;

std::filesystem::path environmentPath(const char* name, const std::filesystem::path& fallback) {
    std::optional<std::string> value = processEnvironment(name);
    return value && !value->empty() ? std::filesystem::path(*value) : fallback;
}

// Counts a connector a Qt screen shows as enabled: without X (a Wayland session), the
// compositor's screen names are the kernel's connector names.
std::vector<DrmConnector> withQtScreens(std::vector<DrmConnector> connectors) {
    for (const QScreen* screen : QGuiApplication::screens())
        for (DrmConnector& connector : connectors)
            if (sameOutputName(connector.name, screen->name().toStdString()))
                connector.enabled = true;
    return connectors;
}

}  // namespace

LinuxRoots LinuxRoots::fromEnvironment() {
    LinuxRoots roots;
    roots.sysfs = environmentPath("CORVANE_SYSFS_ROOT", roots.sysfs);
    roots.dev = environmentPath("CORVANE_DEV_ROOT", roots.dev);
    roots.configHome = linux_desktop::configHome(processEnvironment);
    return roots;
}

namespace {

std::unique_ptr<GammaTables> gammaTables(WindowSystem windows,
                                         XRandRGamma::OutputNameLookup outputName) {
    if (windows == WindowSystem::wayland) return std::make_unique<NoGammaTables>();
    return std::make_unique<XRandRGamma>(std::string(), std::move(outputName));
}

}  // namespace

LinuxDesktop::LinuxDesktop(const LinuxRoots& roots, IndicatorPanels& indicatorPanels,
                           WindowSystem windows, const QDBusConnection& sessionBus)
    : x11_(windows == WindowSystem::x11 ? X11Connection::open() : nullptr),
      displays_(roots.sysfs, primaryOutputChooser([this] { return primaryOutputName(); }),
                [this](std::vector<DrmConnector> connectors) {
                    if (!x11_) return withQtScreens(std::move(connectors));
                    return withRandROutputs(std::move(connectors), readRandROutputs(*x11_));
                }),
      screens_(displays_),
      transport_(roots.dev),
      ddcBuses_(roots.sysfs, transport_),
      registry_(displays_, ddcBuses_, transport_),
      kde_(sessionBus),
      functions_(kdeAwareFunctions(
          ddcDisplayFunctions(displays_, registry_, transport_), kde_,
          {[this](DisplayID id) { return displays_.isBuiltin(id); },
           [this](DisplayID id) { return monitorName(id); }})),
      backlightWriter_(QDBusConnection::systemBus(), sysfsWriter_),
      backlights_(displays_, roots.sysfs, backlightWriter_),
      gamma_(gammaTables(windows,
                         [this](DisplayID id) -> std::optional<std::string> {
                             const ConnectedDisplay* display = displays_.display(id);
                             if (!display) return std::nullopt;
                             return display->connector.randrOutput;
                         })),
      preferences_(roots.configHome ? std::optional(preferencesFile(*roots.configHome))
                                    : std::nullopt,
                   loop_),
      power_(roots.sysfs),
      loginItem_(roots.configHome ? *roots.configHome / "autostart" : std::filesystem::path(),
                 currentExecutable().value_or(std::filesystem::path("corvane-display"))),
      wake_(QDBusConnection::systemBus()),
      busWake_(wake_.observe([this] { transport_.busesSettling(); })),
      notifications_(
          [this](std::function<void()> handler) { return wake_.observe(std::move(handler)); }),
      events_(windows == WindowSystem::x11),
      platform_{displays_,  screens_,       functions_, backlights_,    *gamma_, registry_,
                sleeper_,   preferences_,   localizer_, overlays_,      loop_,  power_,
                loginItem_, notifications_, events_,    indicatorPanels} {}

std::string LinuxDesktop::monitorName(DisplayID id) const {
    const ConnectedDisplay* display = displays_.display(id);
    if (!display || !display->connector.edid) return {};
    return display->connector.edid->name;
}

// The X server's primary output, else the output of Qt's primary screen.
std::optional<std::string> LinuxDesktop::primaryOutputName() const {
    if (x11_)
        if (std::optional<std::string> primary = readRandROutputs(*x11_).primaryName())
            return primary;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    return screen->name().toStdString();
}

}  // namespace corvane::app
