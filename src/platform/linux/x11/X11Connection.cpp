#include "platform/linux/x11/X11Connection.h"

#include <X11/Xlib.h>

namespace corvane::linux_desktop {

std::unique_ptr<X11Connection> X11Connection::open(const std::string& displayName) {
    Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (!display) return nullptr;
    return std::make_unique<X11Connection>(display);
}

X11Connection::~X11Connection() {
    if (display_) XCloseDisplay(display_);
}

int X11Connection::fd() const {
    return ConnectionNumber(display_);
}

}  // namespace corvane::linux_desktop
