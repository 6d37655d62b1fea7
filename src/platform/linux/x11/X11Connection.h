#pragma once

#include <memory>
#include <string>

// Xlib's connection type; its headers stay out of this one, as their macros clash with Qt.
struct _XDisplay;

namespace corvane::linux_desktop {

// An open connection to an X server, closed when dropped.
class X11Connection {
  public:
    // Connects to `displayName`, or to $DISPLAY when it is empty; null when the server cannot
    // be reached.
    static std::unique_ptr<X11Connection> open(const std::string& displayName = {});
    // Takes over an open connection.
    explicit X11Connection(_XDisplay* display) : display_(display) {}
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    _XDisplay* display() const { return display_; }
    // The connection's socket, for a main loop to watch for readable data.
    int fd() const;

  private:
    _XDisplay* display_;
};

}  // namespace corvane::linux_desktop
