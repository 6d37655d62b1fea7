#include "platform/linux/x11/EmbeddedTray.h"

#include <X11/Xlib.h>

#include <string>

namespace corvane::linux_desktop {

bool embeddedTrayPresent(const X11Connection& connection) {
    Display* display = connection.display();
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display));
    Atom atom = XInternAtom(display, selection.c_str(), False);
    return XGetSelectionOwner(display, atom) != None;
}

std::unique_ptr<EmbeddedTrayWatch> EmbeddedTrayWatch::open(const std::string& displayName) {
    std::unique_ptr<X11Connection> connection = X11Connection::open(displayName);
    if (!connection) return nullptr;
    return std::unique_ptr<EmbeddedTrayWatch>(new EmbeddedTrayWatch(std::move(connection)));
}

EmbeddedTrayWatch::EmbeddedTrayWatch(std::unique_ptr<X11Connection> connection)
    : connection_(std::move(connection)) {
    Display* display = connection_->display();
    // Manager announcements are sent to the root window with the structure-notify mask.
    XSelectInput(display, DefaultRootWindow(display), StructureNotifyMask);
    XFlush(display);
}

bool EmbeddedTrayWatch::present() {
    Display* display = connection_->display();
    XEvent event;
    while (XPending(display) > 0) XNextEvent(display, &event);
    return embeddedTrayPresent(*connection_);
}

}  // namespace corvane::linux_desktop
