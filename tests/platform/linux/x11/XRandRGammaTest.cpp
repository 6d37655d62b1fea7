#include <gtest/gtest.h>

#include <cstdlib>

#include "XvfbServer.h"
#include "display/SoftwareDimming.h"
#include "platform/linux/x11/RandROutputs.h"
#include "platform/linux/x11/XRandRGamma.h"
#include "platform/sim/SimDesktop.h"

// Last: its macros clash with the headers above.
#include <X11/Xlib.h>

namespace corvane::linux_desktop {
namespace {

using testing::xrandrValue;
using testing::XvfbTest;

constexpr DisplayID kScreenDisplay = 7;

// The core's platform with gamma on the X server.
Platform withGamma(const Platform& base, GammaTables& gamma) {
    return Platform{base.displays,  base.screens,       base.functions, base.displayConnect,
                    gamma,          base.registry,      base.sleeper,   base.preferences,
                    base.localizer, base.overlays,      base.loop,      base.power,
                    base.loginItem, base.notifications, base.events,    base.indicatorPanels};
}

// The one display, shown by the output "screen".
std::optional<std::string> screenOutput(DisplayID id) {
    return id == kScreenDisplay ? std::optional<std::string>("screen") : std::nullopt;
}

using XRandRGammaTest = XvfbTest;

TEST_F(XRandRGammaTest, SoftwareDimmingScalesTheCrtcRampAndExitUndoesIt) {
    {
        XRandRGamma gamma(server_.display(), screenOutput);
        sim::SimDesktop desktop;
        const Platform platform = withGamma(desktop.platform(), gamma);

        SoftwareDimming dimming(platform, kScreenDisplay);
        ASSERT_TRUE(dimming.write(0.5));
        EXPECT_NEAR(brightness(), 0.56, 0.005);

        // Read back through the server: the capture scaled, not compounded by a second write.
        ASSERT_TRUE(dimming.write(0.5));
        std::vector<float> red(256), green(256), blue(256);
        std::uint32_t count = 0;
        ASSERT_EQ(gamma.readTransferTable(kScreenDisplay, red, green, blue, &count), 0);
        EXPECT_EQ(count, 256u);
        for (std::size_t i = 0; i < 256; i += 15) EXPECT_NEAR(blue[i], 0.56 * i / 255.0, 1e-3) << i;

        // Dimming that is still on when the application ends goes with it.
        ASSERT_TRUE(dimming.write(0.25));
        EXPECT_NEAR(brightness(), 0.34, 0.005);
    }
    EXPECT_NEAR(brightness(), 1.0, 0.005);
}

TEST_F(XRandRGammaTest, AWriteIsOneRequestAndOneRoundTripUntilRandRReportsAChange) {
    std::unique_ptr<X11Connection> connection = X11Connection::open(server_.display());
    ASSERT_TRUE(connection);
    Display* display = connection->display();
    XRandRGamma gamma(std::move(connection), screenOutput);
    std::vector<float> red(256, 0.5f), green(256, 0.5f), blue(256, 0.5f);
    auto requestsOfAWrite = [&] {
        const unsigned long before = XNextRequest(display);
        EXPECT_EQ(gamma.writeTransferTable(kScreenDisplay, red, green, blue), 0);
        return XNextRequest(display) - before;
    };
    requestsOfAWrite();  // reads the layout and the ramp before the first change
    // SetCrtcGamma, and the round trip that catches its error.
    EXPECT_EQ(requestsOfAWrite(), 2u);
    EXPECT_EQ(requestsOfAWrite(), 2u);

    // A RandR change (a new primary output): the layout is read again, once.
    ASSERT_TRUE(run("xrandr --output screen --primary"));
    EXPECT_GT(requestsOfAWrite(), 2u);
    EXPECT_EQ(requestsOfAWrite(), 2u);
}

// A restore (which the application also makes when it quits, see RunningApplicationTest) is
// checked here, with a ramp that is not linear.
TEST_F(XRandRGammaTest, ARampSetByAnotherProgramAfterStartIsKeptAndRestored) {
    XRandRGamma gamma(server_.display(), screenOutput);
    // A night-light tool starts after us: untouched by a restore while we changed nothing.
    ASSERT_TRUE(run("xrandr --output screen --gamma 1:0.8:0.6"));
    const std::optional<std::string> nightLight = xrandrValue(server_.display(), "Gamma");
    ASSERT_NE(nightLight.value_or("1.0:1.0:1.0"), "1.0:1.0:1.0");
    gamma.restoreColorProfiles();
    EXPECT_EQ(xrandrValue(server_.display(), "Gamma"), nightLight);

    // Dimming scales the night-light ramp, and a restore brings that ramp back.
    sim::SimDesktop desktop;
    const Platform platform = withGamma(desktop.platform(), gamma);
    SoftwareDimming dimming(platform, kScreenDisplay);
    ASSERT_TRUE(dimming.write(0.5));
    EXPECT_EQ(xrandrValue(server_.display(), "Gamma"), nightLight);
    gamma.restoreColorProfiles();
    EXPECT_EQ(xrandrValue(server_.display(), "Gamma"), nightLight);
    EXPECT_NEAR(brightness(), 1.0, 0.005);
}

TEST_F(XRandRGammaTest, BadInputAndWaylandSessionsGiveAStatusAndNoChange) {
    XRandRGamma gamma(server_.display(), screenOutput);
    std::vector<float> red(256, 0.1f), green(256, 0.1f), blue(256, 0.1f), none;
    std::uint32_t count = 99;
    EXPECT_EQ(gamma.readTransferTable(3, red, green, blue, &count), kGammaNoOutput);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(gamma.writeTransferTable(3, red, green, blue), kGammaNoOutput);
    EXPECT_EQ(gamma.readTransferTable(kScreenDisplay, none, none, none, &count), kGammaBadTable);
    EXPECT_EQ(gamma.writeTransferTable(kScreenDisplay, red, green, none), kGammaBadTable);

    XRandRGamma unreachable(":999", screenOutput);
    EXPECT_FALSE(unreachable.isAvailable());
    EXPECT_EQ(unreachable.writeTransferTable(kScreenDisplay, red, green, blue), kGammaUnavailable);

    // Under Wayland the X server's ramps are not the displays'.
    setenv("WAYLAND_DISPLAY", "wayland-0", 1);
    setenv("XDG_SESSION_TYPE", "wayland", 1);
    XRandRGamma underWayland(server_.display(), screenOutput);
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("XDG_SESSION_TYPE");
    EXPECT_EQ(underWayland.readTransferTable(kScreenDisplay, red, green, blue, &count),
              kGammaUnavailable);
    EXPECT_EQ(underWayland.writeTransferTable(kScreenDisplay, red, green, blue), kGammaUnavailable);
    EXPECT_NEAR(brightness(), 1.0, 0.005);
}

// The output's name is what the application dims the screen by (RunningApplicationTest).
TEST_F(XRandRGammaTest, OutputsListTheScreensConnectedOutputs) {
    ASSERT_TRUE(run("xrandr --output screen --primary"));
    std::unique_ptr<X11Connection> connection = X11Connection::open(server_.display());
    ASSERT_TRUE(connection);
    const RandROutputs outputs = readRandROutputs(*connection);
    ASSERT_EQ(outputs.outputs.size(), 1u);
    const RandROutput& screen = outputs.outputs.front();
    EXPECT_NE(screen.crtc, 0u);
    EXPECT_EQ(screen.width, 1024u);
    EXPECT_EQ(screen.height, 768u);
    EXPECT_FALSE(screen.edid);
    EXPECT_EQ(outputs.primaryName(), "screen");
}

}  // namespace
}  // namespace corvane::linux_desktop
