#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/linux/x11/WaylandSession.h"

namespace corvane::linux_desktop {
namespace {

// Sets or clears the two variables for the length of a test.
class SessionVariables : public ::testing::Test {
  protected:
    void TearDown() override { set(nullptr, nullptr); }
    static void set(const char* waylandDisplay, const char* sessionType) {
        waylandDisplay ? setenv("WAYLAND_DISPLAY", waylandDisplay, 1) : unsetenv("WAYLAND_DISPLAY");
        sessionType ? setenv("XDG_SESSION_TYPE", sessionType, 1) : unsetenv("XDG_SESSION_TYPE");
    }
};

TEST_F(SessionVariables, QtsPlatformOrEitherVariableMakesAWaylandSession) {
    set(nullptr, nullptr);
    EXPECT_TRUE(isWaylandSession("wayland"));
    EXPECT_TRUE(isWaylandSession("wayland-egl"));
    EXPECT_FALSE(isWaylandSession("xcb"));

    // A session started without XDG_SESSION_TYPE (from a display manager that does not set
    // it) still has its compositor's socket.
    set("wayland-0", nullptr);
    EXPECT_TRUE(isWaylandSession("xcb"));
    set("", "x11");
    EXPECT_FALSE(isWaylandSession("xcb"));
    set(nullptr, "wayland");
    EXPECT_TRUE(isWaylandSession("offscreen"));
}

}  // namespace
}  // namespace corvane::linux_desktop
