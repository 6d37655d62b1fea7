#pragma once

#include <QDBusConnection>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/NoBoostOverlays.h"
#include "app/QtMainLoop.h"
#include "app/QtScreenCatalog.h"
#include "app/QtSystemNotifications.h"
#include "app/ThreadSleeper.h"
#include "app/X11EventPump.h"
#include "platform/Platform.h"
#include "platform/linux/BacklightServices.h"
#include "platform/linux/DdcRegistry.h"
#include "platform/linux/DrmDisplayCatalog.h"
#include "platform/linux/JsonPreferencesStore.h"
#include "platform/linux/SysfsPowerSources.h"
#include "platform/linux/XdgAutostart.h"
#include "platform/linux/dbus/KdeAwareFunctions.h"
#include "platform/linux/dbus/KdeScreenBrightness.h"
#include "platform/linux/dbus/LogindBacklightWriter.h"
#include "platform/linux/dbus/LogindWakeSignal.h"
#include "platform/linux/x11/X11Connection.h"
#include "platform/linux/x11/XRandRGamma.h"
#include "ui/Localization.h"

namespace corvane::app {

// Where the windows are shown. In a Wayland session no X connection is opened at all (X
// clients would run on Xwayland, starting it if need be, and reach no real display or key):
// no RandR outputs, no gamma ramps, no key grabs.
enum class WindowSystem { x11, wayland };

// Where the desktop finds the kernel's devices and the user's settings.
struct LinuxRoots {
    std::filesystem::path sysfs = "/sys";
    std::filesystem::path dev = "/dev";
    // The user's configuration folder; none without a home folder, when the preferences stay
    // in memory and launch at login cannot be registered.
    std::optional<std::filesystem::path> configHome;

    // $CORVANE_SYSFS_ROOT and $CORVANE_DEV_ROOT when set (for running against a recorded or
    // fake device tree), else /sys and /dev; the XDG configuration folder.
    static LinuxRoots fromEnvironment();
};

// The real Linux desktop: displays from the DRM connectors (the main one on the X server's
// primary output, else Qt's primary screen, else the built-in panel), screens from Qt,
// panel backlights through the login manager, DDC/CI over i2c-dev, gamma ramps and brightness
// keys from the X server when there is one (never in a Wayland session), the power supplies, the preferences file, the
// autostart entry, and screen and wake notifications. Where KDE Plasma drives brightness
// itself (its org.kde.ScreenBrightness service), the displays it lists are driven through it.
// No boost: no GPU device is offered.
// Made on the main thread inside the QApplication; outlives everything that uses platform().
class LinuxDesktop {
  public:
    // `sessionBus` is where Plasma's brightness service is looked for.
    LinuxDesktop(const LinuxRoots& roots, IndicatorPanels& indicatorPanels, WindowSystem windows,
                 const QDBusConnection& sessionBus);
    LinuxDesktop(const LinuxDesktop&) = delete;
    LinuxDesktop& operator=(const LinuxDesktop&) = delete;

    const Platform& platform() const { return platform_; }
    QtMainLoop& loop() { return loop_; }
    linux_desktop::JsonPreferencesStore& preferences() { return preferences_; }

  private:
    std::optional<std::string> primaryOutputName() const;
    std::string monitorName(DisplayID id) const;

    QtMainLoop loop_;
    std::unique_ptr<linux_desktop::X11Connection> x11_;
    linux_desktop::DrmDisplayCatalog displays_;
    QtScreenCatalog screens_;
    linux_desktop::I2cDevTransport transport_;
    linux_desktop::DdcBusFinder ddcBuses_;
    linux_desktop::DdcRegistry registry_;
    linux_desktop::KdeScreenBrightness kde_;
    PrivateDisplayFunctions functions_;
    linux_desktop::SysfsBacklightWriter sysfsWriter_;
    linux_desktop::LogindBacklightWriter backlightWriter_;
    linux_desktop::BacklightServices backlights_;
    std::unique_ptr<GammaTables> gamma_;
    ThreadSleeper sleeper_;
    linux_desktop::JsonPreferencesStore preferences_;
    ui::TableLocalizer localizer_;
    NoBoostOverlays overlays_;
    linux_desktop::SysfsPowerSources power_;
    linux_desktop::XdgAutostart loginItem_;
    linux_desktop::LogindWakeSignal wake_;
    // Lets the DDC/CI buses settle again after a wake from sleep.
    std::unique_ptr<NotificationObserver> busWake_;
    QtSystemNotifications notifications_;
    X11EventPump events_;
    Platform platform_;
};

}  // namespace corvane::app
