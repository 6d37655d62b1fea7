#pragma once

#include <string_view>

namespace corvane::linux_desktop {

// Whether this is a Wayland session, where X clients run on Xwayland: their gamma ramps dim
// nothing and their key grabs see no key. It is one when Qt's platform is a Wayland one
// (`qtPlatform` "wayland", "wayland-egl"...), when WAYLAND_DISPLAY is set, or when
// XDG_SESSION_TYPE says "wayland".
bool isWaylandSession(std::string_view qtPlatform);
// The same without Qt's word: from the environment only.
bool isWaylandSession();

}  // namespace corvane::linux_desktop
