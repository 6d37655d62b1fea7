#include "support/PrivateSessionBus.h"
#include "app/ApplicationShell.h"
#include "app/TrayHostWatch.h"
#include "support/ModelFixture.h"

namespace corvane::app {
namespace {

using corvane::testing::PrivateSessionBus;
using corvane::testing::waitUntil;

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");

class TrayArrivalTest : public corvane::testing::ModelFixture {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus.start()) << bus.error().toStdString();
        desktop.add(sim::SimDisplayConfig::builtinPanel("Panel", 0.5));
        startModel();
    }

    PrivateSessionBus bus;
};

TEST_F(TrayArrivalTest, ATrayHostAppearingLaterTakesTheWindowIntoTheTray) {
    TrayHostWatch watch(bus.connect(QStringLiteral("application")), false);
    EXPECT_FALSE(watch.available());
    ApplicationShell shell(*model, watch.available(), false);
    QObject::connect(&watch, &TrayHostWatch::appeared, &shell, &ApplicationShell::adoptTray);
    int appeared = 0;
    QObject::connect(&watch, &TrayHostWatch::appeared, [&] { ++appeared; });

    // Without a tray: the window, which closes and comes back while the application runs.
    shell.show();
    EXPECT_EQ(shell.menuBarItem(), nullptr);
    EXPECT_EQ(shell.popover().style(), PopoverWindow::Style::window);
    EXPECT_TRUE(shell.popover().isVisible());
    shell.closePopover();
    EXPECT_FALSE(shell.popover().isVisible());
    shell.showPopover();
    EXPECT_TRUE(shell.popover().isVisible());

    // The panel's tray host takes its name on the bus.
    QDBusConnection panel = bus.connect(QStringLiteral("panel"));
    ASSERT_TRUE(panel.registerService(kWatcher));
    ASSERT_TRUE(waitUntil([&] { return appeared == 1; }));
    EXPECT_TRUE(watch.available());
    ASSERT_NE(shell.menuBarItem(), nullptr);
    EXPECT_EQ(shell.popover().style(), PopoverWindow::Style::popover);
    EXPECT_FALSE(shell.popover().isVisible());
    shell.showPopover();
    EXPECT_TRUE(shell.popover().isVisible());

    // A host that restarts is no second arrival.
    ASSERT_TRUE(panel.unregisterService(kWatcher));
    ASSERT_TRUE(panel.registerService(kWatcher));
    waitUntil([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_EQ(appeared, 1);
}

TEST_F(TrayArrivalTest, ATrayHostAlreadyThereIsATray) {
    QDBusConnection panel = bus.connect(QStringLiteral("panel"));
    ASSERT_TRUE(panel.registerService(kWatcher));
    TrayHostWatch watch(bus.connect(QStringLiteral("application")), false);
    EXPECT_TRUE(watch.available());
}

}  // namespace
}  // namespace corvane::app
