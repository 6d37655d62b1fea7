#include <gtest/gtest.h>
#include <poll.h>

#include "XvfbServer.h"
#include "platform/linux/x11/EmbeddedTray.h"

// Xlib's macros (None, Bool...) last, after every header they could clash with.
#include <X11/Xlib.h>

namespace corvane::linux_desktop {
namespace {

using EmbeddedTray = testing::XvfbTest;

const char* const kTraySelection = "_NET_SYSTEM_TRAY_S0";

// Makes a new window of `panel` own the screen's tray selection; the window.
Window claimTraySelection(Display* panel) {
    const Window tray = XCreateSimpleWindow(panel, DefaultRootWindow(panel), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(panel, XInternAtom(panel, kTraySelection, False), tray, CurrentTime);
    XSync(panel, False);
    return tray;
}

TEST_F(EmbeddedTray, PresentWhileAClientOwnsTheScreensTraySelection) {
    std::unique_ptr<X11Connection> application = X11Connection::open(server_.display());
    std::unique_ptr<X11Connection> panel = X11Connection::open(server_.display());
    ASSERT_TRUE(application && panel);
    EXPECT_FALSE(embeddedTrayPresent(*application));

    claimTraySelection(panel->display());
    EXPECT_TRUE(embeddedTrayPresent(*application));

    // The panel goes: its selection goes with it.
    panel.reset();
    EXPECT_FALSE(embeddedTrayPresent(*application));
}

bool readableWithin(int fd, int milliseconds) {
    pollfd poller{fd, POLLIN, 0};
    return poll(&poller, 1, milliseconds) == 1;
}

// A tray that comes later wakes the watch through its announcement, not through a timer.
TEST_F(EmbeddedTray, AWatchWakesWhenATrayManagerAnnouncesItself) {
    std::unique_ptr<EmbeddedTrayWatch> watch = EmbeddedTrayWatch::open(server_.display());
    std::unique_ptr<X11Connection> panel = X11Connection::open(server_.display());
    ASSERT_TRUE(watch && panel);
    EXPECT_FALSE(watch->present());
    EXPECT_FALSE(readableWithin(watch->fd(), 100));

    Display* display = panel->display();
    const Window root = DefaultRootWindow(display);
    const Atom selection = XInternAtom(display, kTraySelection, False);
    XEvent manager{};
    manager.xclient.type = ClientMessage;
    manager.xclient.window = root;
    manager.xclient.message_type = XInternAtom(display, "MANAGER", False);
    manager.xclient.format = 32;
    manager.xclient.data.l[0] = CurrentTime;
    manager.xclient.data.l[1] = static_cast<long>(selection);
    manager.xclient.data.l[2] = static_cast<long>(claimTraySelection(display));
    XSendEvent(display, root, False, StructureNotifyMask, &manager);
    XSync(display, False);

    ASSERT_TRUE(readableWithin(watch->fd(), 5000));
    EXPECT_TRUE(watch->present());
    EXPECT_FALSE(readableWithin(watch->fd(), 100)) << "the announcement was taken";
}

}  // namespace
}  // namespace corvane::linux_desktop
