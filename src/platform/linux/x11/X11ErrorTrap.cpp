#include "platform/linux/x11/X11ErrorTrap.h"

namespace corvane::linux_desktop {
namespace {

// Where the trap now active records the first error.
unsigned char* activeError = nullptr;

}  // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display) {
    // Errors of earlier requests belong to whoever made them.
    XSync(display_, False);
    previous_ = XSetErrorHandler(&X11ErrorTrap::record);
    activeError = &firstError_;
}

X11ErrorTrap::~X11ErrorTrap() {
    XSync(display_, False);
    XSetErrorHandler(previous_);
    activeError = nullptr;
}

bool X11ErrorTrap::failed() {
    XSync(display_, False);
    return firstError_ != 0;
}

int X11ErrorTrap::record(Display*, XErrorEvent* error) {
    if (activeError && *activeError == 0) *activeError = error->error_code;
    return 0;
}

}  // namespace corvane::linux_desktop
