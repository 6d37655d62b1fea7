#pragma once

namespace corvane::linux_desktop {

// Whether this is a Wayland session (WAYLAND_DISPLAY set and XDG_SESSION_TYPE "wayland"),
// where X clients run on Xwayland and cannot change the real displays' gamma.
bool isWaylandSession();

}  // namespace corvane::linux_desktop
