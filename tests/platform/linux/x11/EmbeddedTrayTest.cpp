#include <gtest/gtest.h>
#include <poll.h>

#include "XvfbServer.h"
#include "platform/linux/x11/EmbeddedTray.h"

// Xlib's macros (None, Bool...) last, after every header they could clash with.
#include <X11/Xlib.h>

namespace corvane::linux_desktop {
namespace {

using EmbeddedTray = testing::XvfbTest;

bool readableWithin(int fd, int milliseconds) {
    pollfd poller{fd, POLLIN, 0};
    return poll(&poller, 1, milliseconds) == 1;
}

// Makes a new window of `panel` own the screen's tray selection and announces it as tray
// managers do.
void becomeTrayManager(Display* panel) {
    const Window root = DefaultRootWindow(panel);
    const Atom selection = XInternAtom(panel, "_NET_SYSTEM_TRAY_S0", False);
    const Window tray = XCreateSimpleWindow(panel, root, 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(panel, selection, tray, CurrentTime);
    XEvent manager{};
    manager.xclient.type = ClientMessage;
    manager.xclient.window = root;
    manager.xclient.message_type = XInternAtom(panel, "MANAGER", False);
    manager.xclient.format = 32;
    manager.xclient.data.l[0] = CurrentTime;
    manager.xclient.data.l[1] = static_cast<long>(selection);
    manager.xclient.data.l[2] = static_cast<long>(tray);
    XSendEvent(panel, root, False, StructureNotifyMask, &manager);
    XSync(panel, False);
}

// A tray is there while a client owns the screen's tray selection. One that comes later wakes
// the watch through its announcement, not through a timer.
TEST_F(EmbeddedTray, PresentWhileAClientOwnsTheSelectionAndAWatchWakesOnItsAnnouncement) {
    std::unique_ptr<X11Connection> application = X11Connection::open(server_.display());
    std::unique_ptr<EmbeddedTrayWatch> watch = EmbeddedTrayWatch::open(server_.display());
    std::unique_ptr<X11Connection> panel = X11Connection::open(server_.display());
    ASSERT_TRUE(application && watch && panel);
    EXPECT_FALSE(embeddedTrayPresent(*application));
    EXPECT_FALSE(watch->present());
    EXPECT_FALSE(readableWithin(watch->fd(), 100));

    becomeTrayManager(panel->display());
    EXPECT_TRUE(embeddedTrayPresent(*application));
    ASSERT_TRUE(readableWithin(watch->fd(), 5000));
    EXPECT_TRUE(watch->present());
    EXPECT_FALSE(readableWithin(watch->fd(), 100)) << "the announcement was taken";

    // The panel goes: its selection goes with it.
    panel.reset();
    EXPECT_FALSE(embeddedTrayPresent(*application));
}

}  // namespace
}  // namespace corvane::linux_desktop
