#pragma once

#include <X11/Xlib.h>

namespace corvane::linux_desktop {

// Catches the X errors of the requests made while it lives, instead of Xlib's default handler
// ending the process. One trap at a time, on the main thread.
class X11ErrorTrap {
  public:
    explicit X11ErrorTrap(Display* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // Waits until the server has answered every request so far; true when any failed.
    bool failed();
    // The error code of the first failure, 0 when none.
    unsigned char firstError() const { return firstError_; }

  private:
    static int record(Display* display, XErrorEvent* error);

    Display* display_;
    XErrorHandler previous_;
    unsigned char firstError_ = 0;
};

}  // namespace corvane::linux_desktop
