#pragma once

namespace corvane::app {

// Whether the desktop blends translucent windows with what lies behind them. Wayland always
// does; on X11 it does while a compositing manager owns the _NET_WM_CM_S0 selection; the
// off-screen platform keeps every window's alpha; anything else is taken as opaque.
bool desktopComposites();

}  // namespace corvane::app
