#include "platform/linux/x11/WaylandSession.h"

#include <cstdlib>

namespace corvane::linux_desktop {

bool isWaylandSession(std::string_view qtPlatform) {
    return qtPlatform.starts_with("wayland") || isWaylandSession();
}

bool isWaylandSession() {
    const char* waylandDisplay = std::getenv("WAYLAND_DISPLAY");
    const char* sessionType = std::getenv("XDG_SESSION_TYPE");
    return (waylandDisplay && *waylandDisplay) ||
           (sessionType && std::string_view(sessionType) == "wayland");
}

}  // namespace corvane::linux_desktop
