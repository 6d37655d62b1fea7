#pragma once

#include <memory>
#include <string>

#include "platform/linux/x11/X11Connection.h"

namespace corvane::linux_desktop {

// Whether an embedded (XEmbed) system tray runs on the connection's default screen: some
// client owns the screen's _NET_SYSTEM_TRAY_S<n> selection. Asked afresh on every call.
bool embeddedTrayPresent(const X11Connection& connection);

// Waits for an embedded tray without asking the server on a timer: a tray manager that takes
// the tray selection announces itself with a MANAGER message to the root window, which this
// connection of its own listens for. Its socket turns readable when something was announced.
class EmbeddedTrayWatch {
  public:
    // Connects to `displayName` (or $DISPLAY when empty); null when the server cannot be
    // reached.
    static std::unique_ptr<EmbeddedTrayWatch> open(const std::string& displayName = {});

    int fd() const { return connection_->fd(); }
    // Takes what the server announced, then asks whether a tray runs now.
    bool present();

  private:
    explicit EmbeddedTrayWatch(std::unique_ptr<X11Connection> connection);

    std::unique_ptr<X11Connection> connection_;
};

}  // namespace corvane::linux_desktop
