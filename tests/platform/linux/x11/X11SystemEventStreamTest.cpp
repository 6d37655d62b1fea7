#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include "XvfbServer.h"
#include "input/BrightnessKeyMonitor.h"
#include "platform/linux/x11/X11SystemEventStream.h"
#include "platform/sim/SimMainLoop.h"

// Last: Xlib's macros (None, Bool) clash with names in the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace corvane::linux_desktop {
namespace {

using testing::haveProgram;
using testing::runOn;
using testing::XvfbServer;

constexpr std::int64_t kUpPressed = 0x20A00;
constexpr std::int64_t kUpReleased = 0x20B00;
constexpr std::int64_t kDownPressed = 0x30A00;

// Hands the stream's events on until `done` holds, for at most five seconds; whether it did.
// slow); whether it did.
template <typename Done>
bool pumpUntil(X11SystemEventStream& stream, Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    stream.processPendingEvents();
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        pollfd poller{stream.connectionFd(), POLLIN, 0};
        poll(&poller, 1, 50);
        stream.processPendingEvents();
    }
    return true;
}

// Hands the stream's events on for a quarter of a second.
void pumpAWhile(X11SystemEventStream& stream) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(250);
    pumpUntil(stream, [&] { return std::chrono::steady_clock::now() > end; });
}

std::vector<std::int64_t> data1Of(const std::vector<SystemEvent>& events) {
    std::vector<std::int64_t> result;
    for (const SystemEvent& event : events) result.push_back(event.data1);
    return result;
}

class X11SystemEventStreamTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!haveProgram("Xvfb") || !haveProgram("xdotool") || !haveProgram("xmodmap"))
            GTEST_SKIP() << "Xvfb, xdotool or xmodmap is not installed";
        ASSERT_TRUE(server_.running()) << "Xvfb did not start";
        ASSERT_TRUE(
            xmodmap("-e 'keycode 232 = XF86MonBrightnessDown' "
                    "-e 'keycode 233 = XF86MonBrightnessUp'"));
    }

    bool xmodmap(const std::string& expressions) {
        return runOn(server_.display(), "xmodmap " + expressions).has_value();
    }
    bool key(const std::string& keys) {
        return runOn(server_.display(), "xdotool key " + keys).has_value();
    }

    XvfbServer server_;
};

TEST_F(X11SystemEventStreamTest, BrightnessKeysReachTheCoresMonitorOncePerPress) {
    X11SystemEventStream stream(server_.display());
    ASSERT_TRUE(stream.isConnected());
    sim::SimMainLoop loop;
    auto monitor = BrightnessKeyMonitor::create(stream, loop);
    std::vector<std::pair<BrightnessKey, bool>> keys;
    monitor->onKey = [&](BrightnessKey key, bool fine) { keys.emplace_back(key, fine); };
    monitor->start();

    // The grab and the raw event both see the press; the monitor hands it on once, and never
    // the release.
    ASSERT_TRUE(key("XF86MonBrightnessUp"));
    ASSERT_TRUE(pumpUntil(stream, [&] { return !keys.empty(); })) << "no key arrived";
    pumpAWhile(stream);
    EXPECT_EQ(keys, (std::vector<std::pair<BrightnessKey, bool>>{{BrightnessKey::up, false}}));

    loop.advance(Seconds(1));
    ASSERT_TRUE(key("alt+XF86MonBrightnessDown"));
    ASSERT_TRUE(pumpUntil(stream, [&] { return keys.size() == 2; })) << "no second key";
    EXPECT_EQ(keys.back(), std::make_pair(BrightnessKey::down, true));

    // Stopped, nothing reaches the core any more.
    monitor->stop();
    loop.advance(Seconds(1));
    ASSERT_TRUE(key("XF86MonBrightnessUp"));
    pumpAWhile(stream);
    EXPECT_EQ(keys.size(), 2u);
}

TEST_F(X11SystemEventStreamTest, TheTapFollowsTheKeyboardMappingAndDisablingReleasesIt) {
    X11SystemEventStream stream(server_.display());
    std::vector<SystemEvent> tapped;
    std::unique_ptr<EventTap> tap = stream.installTap([&](std::uint32_t, const SystemEvent& e) {
        tapped.push_back(e);
        return EventDisposition::swallow;
    });
    ASSERT_TRUE(tap);

    // The keys move to other key codes; the grab moves with them.
    ASSERT_TRUE(
        xmodmap("-e 'keycode 233 = F13' -e 'keycode 232 = F14' "
                "-e 'keycode 200 = XF86MonBrightnessUp'"));
    pumpAWhile(stream);
    ASSERT_TRUE(key("shift+XF86MonBrightnessUp"));
    ASSERT_TRUE(pumpUntil(stream, [&] { return tapped.size() == 2; })) << tapped.size();
    EXPECT_EQ(data1Of(tapped), (std::vector<std::int64_t>{kUpPressed, kUpReleased}));
    EXPECT_EQ(tapped.front().modifierFlags, kShiftModifier);

    // While the tap is disabled another client may take the key.
    tap->setEnabled(false);
    Display* rival = XOpenDisplay(server_.display().c_str());
    ASSERT_TRUE(rival);
    XGrabKey(rival, 200, AnyModifier, DefaultRootWindow(rival), False, GrabModeAsync,
             GrabModeAsync);
    XSync(rival, False);
    ASSERT_TRUE(key("XF86MonBrightnessUp"));
    pumpAWhile(stream);
    EXPECT_EQ(tapped.size(), 2u);
    XCloseDisplay(rival);
}

TEST_F(X11SystemEventStreamTest, KeysTheDesktopHoldsAreLeftToItAndPartlyHeldOnesAreTapped) {
    // A desktop that grabs the plain key: no tap, and the raw events are not acted on either,
    // or each press would step twice.
    Display* desktop = XOpenDisplay(server_.display().c_str());
    ASSERT_TRUE(desktop);
    XGrabKey(desktop, 233, 0, DefaultRootWindow(desktop), False, GrabModeAsync, GrabModeAsync);
    XSync(desktop, False);
    {
        X11SystemEventStream stream(server_.display());
        EXPECT_FALSE(stream.installTap(
            [](std::uint32_t, const SystemEvent&) { return EventDisposition::swallow; }));
        std::vector<SystemEvent> seen;
        ASSERT_TRUE(stream.addGlobalMonitor([&](const SystemEvent& e) { seen.push_back(e); }));
        ASSERT_TRUE(key("XF86MonBrightnessDown"));
        pumpAWhile(stream);
        EXPECT_TRUE(seen.empty());
    }
    XCloseDisplay(desktop);

    // A desktop that grabs the key with Control only: the plain key is ours.
    Display* rival = XOpenDisplay(server_.display().c_str());
    ASSERT_TRUE(rival);
    XGrabKey(rival, 233, ControlMask, DefaultRootWindow(rival), False, GrabModeAsync,
             GrabModeAsync);
    XSync(rival, False);
    X11SystemEventStream stream(server_.display());
    std::vector<SystemEvent> tapped;
    auto tap = stream.installTap([&](std::uint32_t, const SystemEvent& e) {
        tapped.push_back(e);
        return EventDisposition::swallow;
    });
    ASSERT_TRUE(tap);
    ASSERT_TRUE(key("XF86MonBrightnessDown"));
    ASSERT_TRUE(pumpUntil(stream, [&] { return tapped.size() == 2; })) << tapped.size();
    EXPECT_EQ(tapped.front().data1, kDownPressed);
    XCloseDisplay(rival);
}

// A window of this process, with the input focus.
Window focusedWindowOfThisProcess(Display* display) {
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 50, 50, 0, 0, 0);
    const unsigned long pid = static_cast<unsigned long>(getpid());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    XMapWindow(display, window);
    XSync(display, False);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
    return window;
}

TEST_F(X11SystemEventStreamTest, MonitorsSeeTheKeysByWhereTheFocusIs) {
    X11SystemEventStream stream(server_.display());
    std::vector<SystemEvent> local, global;
    const auto localToken = stream.addLocalMonitor([&](const SystemEvent& e) {
        local.push_back(e);
        return EventDisposition::swallow;
    });
    ASSERT_TRUE(localToken);
    ASSERT_TRUE(stream.addGlobalMonitor([&](const SystemEvent& e) { global.push_back(e); }));

    ASSERT_TRUE(key("XF86MonBrightnessUp"));
    ASSERT_TRUE(pumpUntil(stream, [&] { return global.size() == 2; })) << global.size();
    EXPECT_TRUE(local.empty());

    Display* ours = XOpenDisplay(server_.display().c_str());
    ASSERT_TRUE(ours);
    focusedWindowOfThisProcess(ours);
    ASSERT_TRUE(key("XF86MonBrightnessDown"));
    ASSERT_TRUE(pumpUntil(stream, [&] { return local.size() == 2; })) << local.size();
    EXPECT_EQ(data1Of(local), (std::vector<std::int64_t>{kDownPressed, 0x30B00}));
    EXPECT_EQ(global.size(), 2u);

    // A removed monitor hears nothing more.
    stream.removeMonitor(*localToken);
    ASSERT_TRUE(key("XF86MonBrightnessDown"));
    pumpAWhile(stream);
    EXPECT_EQ(local.size(), 2u);
    XCloseDisplay(ours);
}

}  // namespace
}  // namespace corvane::linux_desktop
