#pragma once

#include "platform/linux/x11/X11Connection.h"

namespace corvane::linux_desktop {

// Whether an embedded (XEmbed) system tray runs on the connection's default screen: some
// client owns the screen's _NET_SYSTEM_TRAY_S<n> selection. Asked afresh on every call.
bool embeddedTrayPresent(const X11Connection& connection);

}  // namespace corvane::linux_desktop
