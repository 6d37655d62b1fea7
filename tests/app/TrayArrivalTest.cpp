#include "app/AppTestSupport.h"
#include "app/ApplicationShell.h"
#include "app/TrayHostWatch.h"
#include "ui/MenuPopoverView.h"
#include "support/ModelFixture.h"

namespace corvane::app {
namespace {

using namespace corvane::app::testing;

// python3-dbusmock standing in for the panel's StatusNotifierWatcher, which comes up after
// the application and has its tray host registered a moment later.
class TrayArrivalTest : public corvane::testing::ModelFixture {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus.start()) << bus.error().toStdString();
        desktop.add(sim::SimDisplayConfig::builtinPanel("Panel", 0.5));
        startModel();
        panel = bus.connect(QStringLiteral("panel"));
    }
    void TearDown() override { corvane::testing::stopProcess(watcher); }

    void startWatcher() {
        ASSERT_TRUE(startDBusMock(watcher, bus, panel, TrayHostWatch::kWatcherService,
                                  TrayHostWatch::kWatcherPath, TrayHostWatch::kWatcherService))
            << "the watcher mock did not come up (is python3-dbusmock installed?)";
    }
    ::testing::AssertionResult mock(const char* method, const QVariantList& arguments) {
        return replied(callMock(panel, TrayHostWatch::kWatcherService, TrayHostWatch::kWatcherPath,
                                method, arguments));
    }
    ::testing::AssertionResult markHostRegistered() {
        return mock("AddProperty",
                    {TrayHostWatch::kWatcherService, "IsStatusNotifierHostRegistered", true});
    }
    ::testing::AssertionResult announceHost() {
        return mock("EmitSignal", {TrayHostWatch::kWatcherService, "StatusNotifierHostRegistered",
                                   "", QVariantList()});
    }

    PrivateSessionBus bus;
    QDBusConnection panel{QString()};
    QProcess watcher;
};

TEST_F(TrayArrivalTest, ATrayHostAppearingLaterTakesTheWindowIntoTheTray) {
    TrayHostWatch watch(bus.connect(QStringLiteral("application")), nullptr);
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
    // The room the window has is passed on to the content, which scrolls its cards within it.
    EXPECT_GT(shell.popoverView().heightLimit(), 0);
    shell.closePopover();
    EXPECT_FALSE(shell.popover().isVisible());
    shell.showPopover();
    EXPECT_TRUE(shell.popover().isVisible());

    // The watcher alone is no tray yet: Qt would find no host to show the icon.
    ASSERT_NO_FATAL_FAILURE(startWatcher());
    runFor(std::chrono::milliseconds(200));
    EXPECT_EQ(appeared, 0);
    EXPECT_EQ(shell.menuBarItem(), nullptr);

    ASSERT_TRUE(markHostRegistered());
    ASSERT_TRUE(announceHost());
    ASSERT_TRUE(waitUntil([&] { return appeared == 1; }));
    EXPECT_TRUE(watch.available());
    ASSERT_NE(shell.menuBarItem(), nullptr);
    EXPECT_EQ(shell.popover().style(), PopoverWindow::Style::popover);
    EXPECT_FALSE(shell.popover().isVisible());
    shell.showPopover();
    EXPECT_TRUE(shell.popover().isVisible());

    // A second host is no second arrival.
    ASSERT_TRUE(announceHost());
    runFor(std::chrono::milliseconds(200));
    EXPECT_EQ(appeared, 1);
}

TEST_F(TrayArrivalTest, AWatcherWithItsHostAlreadyThereIsATray) {
    ASSERT_NO_FATAL_FAILURE(startWatcher());
    ASSERT_TRUE(markHostRegistered());
    TrayHostWatch watch(bus.connect(QStringLiteral("application")), nullptr);
    EXPECT_TRUE(watch.available());
}

}  // namespace
}  // namespace corvane::app
