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

}  // namespace corvane::linux_desktop
