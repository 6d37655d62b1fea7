#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include "XvfbServer.h"
#include "hud/BrightnessHUD.h"
#include "model/AppModel.h"
#include "platform/linux/x11/X11SystemEventStream.h"
#include "platform/linux/x11/XRandRGamma.h"
#include "platform/sim/SimDesktop.h"

// Last: Xlib's macros (None, Bool) clash with names in the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace corvane::linux_desktop {
namespace {

using testing::XvfbTest;
using X11SystemEventStreamTest = XvfbTest;

constexpr std::int64_t kUpPressed = 0x20A00;
constexpr std::int64_t kUpReleased = 0x20B00;
constexpr std::int64_t kDownPressed = 0x30A00;
constexpr std::int64_t kDownReleased = 0x30B00;

// Hands the stream's events on until `done` holds, for at most five seconds; whether it did.
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

// A tap that keeps every event it is given, and swallows it.
std::unique_ptr<EventTap> recordingTap(X11SystemEventStream& stream,
                                       std::vector<SystemEvent>& tapped) {
    return stream.installTap([&tapped](std::uint32_t, const SystemEvent& event) {
        tapped.push_back(event);
        return EventDisposition::swallow;
    });
}

// Another client of the server, holding a passive grab of `keycode` with `modifiers`.
std::unique_ptr<X11Connection> rivalGrabbing(const std::string& display, int keycode,
                                             unsigned modifiers) {
    std::unique_ptr<X11Connection> rival = X11Connection::open(display);
    if (!rival) return nullptr;
    Display* x = rival->display();
    XGrabKey(x, keycode, modifiers, DefaultRootWindow(x), False, GrabModeAsync, GrabModeAsync);
    XSync(x, False);
    return rival;
}

// A key pressed on the X server goes all the way: the key grab hands it to the key monitor,
// the model steps the display and the gamma ramp on the server follows. (The step's size and
// the indicator it shows are AppModelCommands'.)
TEST_F(X11SystemEventStreamTest, AKeyOnTheXServerStepsTheDisplaysGammaRamp) {
    sim::SimDesktop desktop;
    const DisplayID screen = desktop.add(sim::SimDisplayConfig::uncontrolledMonitor("Xvfb"));
    XRandRGamma gamma(server_.display(), [screen](DisplayID id) {
        return id == screen ? std::optional<std::string>("screen") : std::nullopt;
    });
    X11SystemEventStream events(server_.display());
    const Platform& base = desktop.platform();
    const Platform platform{
        base.displays,  base.screens,       base.functions, base.displayConnect,
        gamma,          base.registry,      base.sleeper,   base.preferences,
        base.localizer, base.overlays,      base.loop,      base.power,
        base.loginItem, base.notifications, events,         base.indicatorPanels};
    auto hud = BrightnessHUD::create(base.loop, base.screens, desktop.indicatorPanels());
    auto model = AppModel::make(platform, *hud);
    model->start();
    const DisplaySession& session = *model->sessions().at(screen);
    ASSERT_DOUBLE_EQ(session.percent(), 80);

    ASSERT_TRUE(run("xdotool key XF86MonBrightnessUp"));
    EXPECT_TRUE(pumpUntil(events, [&] { return session.percent() != 80; }));
    EXPECT_NEAR(brightness(), 0.8625 * 0.88 + 0.12, 0.01);
    model->teardown();
}

TEST_F(X11SystemEventStreamTest, TheTapFollowsTheKeyboardMappingAndDisablingReleasesIt) {
    X11SystemEventStream stream(server_.display());
    std::vector<SystemEvent> tapped;
    std::unique_ptr<EventTap> tap = recordingTap(stream, tapped);
    ASSERT_TRUE(tap);

    // The keys move to other key codes; the grab moves with them.
    ASSERT_TRUE(
        run("xmodmap -e 'keycode 233 = F13' -e 'keycode 232 = F14' "
            "-e 'keycode 200 = XF86MonBrightnessUp'"));
    pumpAWhile(stream);
    ASSERT_TRUE(run("xdotool key shift+XF86MonBrightnessUp"));
    ASSERT_TRUE(pumpUntil(stream, [&] { return tapped.size() == 2; })) << tapped.size();
    EXPECT_EQ(tapped[0].data1, kUpPressed);
    EXPECT_EQ(tapped[1].data1, kUpReleased);
    EXPECT_EQ(tapped.front().modifierFlags, kShiftModifier);

    // While the tap is disabled another client may take the key.
    tap->setEnabled(false);
    const auto rival = rivalGrabbing(server_.display(), 200, AnyModifier);
    ASSERT_TRUE(rival);
    ASSERT_TRUE(run("xdotool key XF86MonBrightnessUp"));
    pumpAWhile(stream);
    EXPECT_EQ(tapped.size(), 2u);
}

TEST_F(X11SystemEventStreamTest, KeysTheDesktopHoldsAreLeftToItAndPartlyHeldOnesAreTapped) {
    std::vector<SystemEvent> tapped;
    {
        // A desktop that grabs the plain key: no tap, and the raw events are not acted on
        // either, or each press would step twice.
        const auto desktop = rivalGrabbing(server_.display(), 233, 0);
        ASSERT_TRUE(desktop);
        X11SystemEventStream stream(server_.display());
        EXPECT_FALSE(recordingTap(stream, tapped));
        std::vector<SystemEvent> seen;
        ASSERT_TRUE(stream.addGlobalMonitor([&](const SystemEvent& e) { seen.push_back(e); }));
        ASSERT_TRUE(run("xdotool key XF86MonBrightnessDown"));
        pumpAWhile(stream);
        EXPECT_TRUE(seen.empty());
    }

    // A desktop that grabs the key with Control only: the plain key is ours.
    const auto rival = rivalGrabbing(server_.display(), 233, ControlMask);
    ASSERT_TRUE(rival);
    X11SystemEventStream stream(server_.display());
    auto tap = recordingTap(stream, tapped);
    ASSERT_TRUE(tap);
    ASSERT_TRUE(run("xdotool key XF86MonBrightnessDown"));
    ASSERT_TRUE(pumpUntil(stream, [&] { return tapped.size() == 2; })) << tapped.size();
    EXPECT_EQ(tapped.front().data1, kDownPressed);

    // A tap that is gone hears nothing more.
    tap.reset();
    ASSERT_TRUE(run("xdotool key XF86MonBrightnessDown"));
    pumpAWhile(stream);
    EXPECT_EQ(tapped.size(), 2u);
}

// Gives the input focus to a new window of this process.
void focusWindowOfThisProcess(Display* display) {
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 50, 50, 0, 0, 0);
    const unsigned long pid = static_cast<unsigned long>(getpid());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    XMapWindow(display, window);
    XSync(display, False);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
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

    ASSERT_TRUE(run("xdotool key XF86MonBrightnessUp"));
    ASSERT_TRUE(pumpUntil(stream, [&] { return global.size() == 2; })) << global.size();
    EXPECT_TRUE(local.empty());

    std::unique_ptr<X11Connection> ours = X11Connection::open(server_.display());
    ASSERT_TRUE(ours);
    focusWindowOfThisProcess(ours->display());
    ASSERT_TRUE(run("xdotool key XF86MonBrightnessDown"));
    ASSERT_TRUE(pumpUntil(stream, [&] { return local.size() == 2; })) << local.size();
    EXPECT_EQ(local[0].data1, kDownPressed);
    EXPECT_EQ(local[1].data1, kDownReleased);
    EXPECT_EQ(global.size(), 2u);

    // A removed monitor hears nothing more.
    stream.removeMonitor(*localToken);
    ASSERT_TRUE(run("xdotool key XF86MonBrightnessDown"));
    pumpAWhile(stream);
    EXPECT_EQ(local.size(), 2u);
}

}  // namespace
}  // namespace corvane::linux_desktop
