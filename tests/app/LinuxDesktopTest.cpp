#include <QGuiApplication>
#include <QScreen>

#include "app/AppTestSupport.h"
#include "app/LinuxDesktop.h"
#include "app/QtScreenCatalog.h"
#include "app/QtSystemNotifications.h"
#include "platform/sim/SimIndicatorPanels.h"
#include "support/PlasmaBrightnessMock.h"

namespace corvane::app {
namespace {

using namespace corvane::app::testing;
using linux_desktop::testing::FakeSysfs;
using linux_desktop::testing::FakeTree;

// The desktop on a fake laptop, with no login manager and no X server: it must manage with
// sysfs, Qt and, where a test starts one on `bus`, Plasma.
class LinuxDesktopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/corvane-test-bus");
        qunsetenv("DISPLAY");
        backlight = addPanelAndMonitor(sysfs);
    }
    void TearDown() override {
        if (!desktop) return;
        model().teardown();
        desktop->loop().stop();
    }

    void startModel(const QDBusConnection& sessionBus) {
        desktop.emplace(LinuxRoots{sysfs.sysfs(), sysfs.tree.path("dev"), home.root()}, panels,
                        WindowSystem::x11, sessionBus);
        made.emplace(*desktop);
        model().start();
    }
    AppModel& model() { return *made->model; }
    DisplaySnapshot shown(bool builtin) {
        for (const DisplaySnapshot& display : model().displays())
            if (display.isBuiltin == builtin) return display;
        return {};
    }

    FakeSysfs sysfs;
    FakeTree home;
    std::filesystem::path backlight;
    PrivateSessionBus bus;
    corvane::testing::PlasmaBrightnessMock plasma;
    sim::SimIndicatorPanels panels;
    std::optional<LinuxDesktop> desktop;
    std::optional<ModelOnDesktop> made;
};

TEST_F(LinuxDesktopTest, RootsComeFromTheEnvironmentElseTheSystemFolders) {
    // A sysfs root taken from the environment is WaylandStartTest's: the program finds the fake
    // laptop's displays there.
    qunsetenv("CORVANE_SYSFS_ROOT");
    qputenv("CORVANE_DEV_ROOT", "");
    qputenv("XDG_CONFIG_HOME", "/tmp/fake/config");
    LinuxRoots roots = LinuxRoots::fromEnvironment();
    EXPECT_EQ(roots.sysfs, "/sys");
    EXPECT_EQ(roots.dev, "/dev");
    EXPECT_EQ(roots.configHome, "/tmp/fake/config");
}

TEST_F(LinuxDesktopTest, ScreensAreQtsInCoreCoordinatesWithoutHeadroom) {
    linux_desktop::DrmDisplayCatalog displays(sysfs.sysfs());
    QtScreenCatalog catalog(displays);
    const QScreen* primary = QGuiApplication::primaryScreen();
    ASSERT_NE(primary, nullptr);

    const std::vector<Screen> screens = catalog.screens();
    ASSERT_EQ(screens.size(), static_cast<std::size_t>(QGuiApplication::screens().size()));
    const Screen& screen = screens.front();
    EXPECT_FALSE(screen.number.has_value());
    EXPECT_EQ(screen.localizedName, primary->name().toStdString());
    const QRect geometry = primary->geometry();
    EXPECT_EQ(screen.frame, (Rect{0, 0, double(geometry.width()), double(geometry.height())}));
    const QRect available = primary->availableGeometry();
    EXPECT_EQ(screen.visibleFrame.maxY(), double(geometry.bottom() + 1 - available.top()));
    EXPECT_EQ(screen.backingScaleFactor, primary->devicePixelRatio());
    EXPECT_EQ(screen.currentHeadroom, 1.0);
    EXPECT_EQ(screen.potentialHeadroom, 1.0);
    ASSERT_TRUE(catalog.mainScreen().has_value());
    EXPECT_EQ(catalog.mainScreen()->frame, screen.frame);
}

TEST_F(LinuxDesktopTest, ScreenChangesArriveOncePerEventLoopPassAndWakeComesFromItsSource) {
    int wakeObservers = 0;
    QtSystemNotifications notifications([&](std::function<void()>) {
        ++wakeObservers;
        return std::unique_ptr<NotificationObserver>();
    });
    int changes = 0;
    auto observer = notifications.observeScreenParameters([&] { ++changes; });
    QScreen* screen = QGuiApplication::primaryScreen();

    emit screen->geometryChanged(QRect(0, 0, 10, 10));
    emit screen->availableGeometryChanged(QRect(0, 0, 10, 9));
    emit qGuiApp->primaryScreenChanged(screen);
    EXPECT_EQ(changes, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, 1);
    emit screen->geometryChanged(QRect(0, 0, 10, 10));
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, 2);

    observer.reset();
    emit screen->geometryChanged(QRect(0, 0, 10, 10));
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, 2);

    notifications.observeWake([] {});
    EXPECT_EQ(wakeObservers, 1);
}

TEST_F(LinuxDesktopTest, ModelOnTheRealDesktopListsTheFakeDisplaysAndDrivesThePanel) {
    startModel(QDBusConnection(QString()));
    ASSERT_EQ(model().displays().size(), 2u);
    const DisplaySnapshot panel = shown(true);
    EXPECT_EQ(panel.path, ControlPath::hardware);
    EXPECT_FALSE(panel.supportsXDR);
    EXPECT_NEAR(panel.percent, 50, 0.5);
    // No i2c-dev bus to reach the monitor and no X server for its gamma.
    EXPECT_EQ(shown(false).path, ControlPath::unavailable);

    model().apply(25, panel.id);
    EXPECT_EQ(sysfs.tree.read(backlight / "brightness"), "300\n");
    ASSERT_TRUE(desktop->preferences().flush());
    const std::string stored = home.read("corvane-display/preferences.json");
    EXPECT_NE(stored.find("corvane.brightness." + panel.uuid), std::string::npos);
}

// Plasma drives the panel and the monitor: both are set through it, and a change made in
// Plasma is taken over by the poll.
TEST_F(LinuxDesktopTest, DisplaysPlasmaDrivesAreDrivenThroughItAndFollowIt) {
    ASSERT_TRUE(bus.start()) << bus.error().toStdString();
    QDBusConnection connection = bus.connect(QStringLiteral("desktop"));
    ASSERT_TRUE(plasma.start(bus, connection));
    ASSERT_TRUE(plasma.addDisplay("display0", 300, 1200, true, "Built-in Screen"));
    ASSERT_TRUE(plasma.addDisplay("display1", 50, 100, false, "DELL U2720Q"));
    ASSERT_TRUE(plasma.listDisplays({"display0", "display1"}));
    startModel(connection);
    // Plasma's levels as read are KdeScreenBrightnessTest's.
    ASSERT_EQ(model().displays().size(), 2u);
    EXPECT_EQ(shown(false).path, ControlPath::hardware);

    model().apply(40, shown(false).id);
    model().apply(75, shown(true).id);
    ASSERT_TRUE(waitUntil([&] { return plasma.setCalls("display0").size() == 1; }));
    EXPECT_EQ(plasma.setCalls("display0")[0], (QVariantList{900, 1u}));
    ASSERT_TRUE(waitUntil([&] { return plasma.setCalls("display1").size() == 1; }));
    EXPECT_EQ(plasma.setCalls("display1")[0], (QVariantList{40, 1u}));
    // Nothing behind Plasma's back: the sysfs backlight keeps its value.
    EXPECT_EQ(sysfs.tree.read(backlight / "brightness"), "600\n");

    ASSERT_TRUE(plasma.update("display1", {{"Brightness", 80}}));
    EXPECT_TRUE(waitUntil([&] { return std::abs(shown(false).percent - 80) < 0.01; }));
}

}  // namespace
}  // namespace corvane::app
