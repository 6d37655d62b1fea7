#include <gtest/gtest.h>

#include "XvfbServer.h"
#include "platform/linux/x11/EmbeddedTray.h"

// Xlib's macros (None, Bool...) last, after every header they could clash with.
#include <X11/Xlib.h>

namespace corvane::linux_desktop {
namespace {

using testing::XvfbServer;

TEST(EmbeddedTray, PresentWhileAClientOwnsTheScreensTraySelection) {
    XvfbServer server;
    if (!server.running()) GTEST_SKIP() << "Xvfb is not installed";
    std::unique_ptr<X11Connection> application = X11Connection::open(server.display());
    std::unique_ptr<X11Connection> panel = X11Connection::open(server.display());
    ASSERT_TRUE(application && panel);
    EXPECT_FALSE(embeddedTrayPresent(*application));

    Display* display = panel->display();
    Window tray = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, XInternAtom(display, "_NET_SYSTEM_TRAY_S0", False), tray,
                       CurrentTime);
    XSync(display, False);
    EXPECT_TRUE(embeddedTrayPresent(*application));

    // The panel goes: its selection goes with it.
    panel.reset();
    EXPECT_FALSE(embeddedTrayPresent(*application));
}

}  // namespace
}  // namespace corvane::linux_desktop
