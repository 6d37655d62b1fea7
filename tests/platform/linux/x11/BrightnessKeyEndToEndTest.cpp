#include <gtest/gtest.h>
#include <poll.h>

#include "XvfbServer.h"
#include "hud/BrightnessHUD.h"
#include "model/AppModel.h"
#include "platform/linux/x11/X11SystemEventStream.h"
#include "platform/linux/x11/XRandRGamma.h"
#include "platform/sim/SimDesktop.h"

namespace corvane::linux_desktop {
namespace {

using testing::haveProgram;
using testing::runOn;
using testing::xrandrBrightness;
using testing::XvfbServer;

// A key pressed on the X server goes all the way: the key grab hands it to the key monitor,
// the model steps the display, the gamma ramp on the server follows and the indicator shows.
TEST(BrightnessKeyEndToEnd, AKeyOnTheXServerStepsTheDisplayAndShowsTheIndicator) {
    if (!haveProgram("Xvfb") || !haveProgram("xdotool") || !haveProgram("xmodmap") ||
        !haveProgram("xrandr"))
        GTEST_SKIP() << "Xvfb, xdotool, xmodmap or xrandr is not installed";
    XvfbServer server;
    ASSERT_TRUE(server.running()) << "Xvfb did not start";
    ASSERT_TRUE(runOn(server.display(), "xmodmap -e 'keycode 233 = XF86MonBrightnessUp'"));
    ASSERT_TRUE(runOn(server.display(), "xrandr --output screen --gamma 1:1:1 --brightness 1"));

    sim::SimDesktop desktop;
    const DisplayID screen = desktop.add(sim::SimDisplayConfig::uncontrolledMonitor("Xvfb"));
    XRandRGamma gamma(server.display(), [screen](DisplayID id) -> std::optional<std::string> {
        if (id == screen) return "screen";
        return std::nullopt;
    });
    X11SystemEventStream events(server.display());
    ASSERT_TRUE(events.isConnected());
    const Platform& base = desktop.platform();
    const Platform platform{base.displays,  base.screens,   base.functions, base.displayConnect,
                            gamma,          base.registry,  base.sleeper,   base.preferences,
                            base.localizer, base.overlays,  base.loop,      base.power,
                            base.loginItem, base.notifications, events,     base.indicatorPanels};
    auto hud = BrightnessHUD::create(base.loop, base.screens, desktop.indicatorPanels());
    auto model = AppModel::make(platform, *hud);
    model->start();
    const DisplaySession& session = *model->sessions().at(screen);
    ASSERT_EQ(session.path(), ControlPath::software);
    ASSERT_DOUBLE_EQ(session.percent(), 80);

    ASSERT_TRUE(runOn(server.display(), "xdotool key XF86MonBrightnessUp"));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    events.processPendingEvents();
    while (session.percent() == 80 && std::chrono::steady_clock::now() < deadline) {
        pollfd poller{events.connectionFd(), POLLIN, 0};
        poll(&poller, 1, 50);
        events.processPendingEvents();
    }

    EXPECT_DOUBLE_EQ(session.percent(), 86.25);
    const std::optional<double> brightness = xrandrBrightness(server.display());
    ASSERT_TRUE(brightness.has_value());
    EXPECT_NEAR(*brightness, 0.8625 * 0.88 + 0.12, 0.01);
    const auto& panels = desktop.indicatorPanels().records();
    ASSERT_EQ(panels.size(), 1u);
    EXPECT_TRUE(panels.front()->onScreen);
    EXPECT_EQ(panels.front()->contents.back().percent, 86);
    model->teardown();
}

}  // namespace
}  // namespace corvane::linux_desktop
