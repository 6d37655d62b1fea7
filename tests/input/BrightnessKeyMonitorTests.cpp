#include "input/BrightnessKeyMonitor.h"

#include <gtest/gtest.h>

#include <thread>
#include <utility>
#include <vector>

#include "platform/sim/SimMainLoop.h"
#include "platform/sim/SimSystemEventStream.h"

namespace corvane {
namespace {

using sim::auxButtonEvent;
using sim::Focus;
using sim::kBrightnessDownKeyCode;
using sim::kBrightnessUpKeyCode;
using sim::KeyState;

struct ReceivedKey {
    BrightnessKey key;
    bool fine;
    std::thread::id thread;
    friend bool operator==(const ReceivedKey&, const ReceivedKey&) = default;
};

const SystemEvent kUpPress = auxButtonEvent(kBrightnessUpKeyCode, KeyState::pressed);
const SystemEvent kUpRelease = auxButtonEvent(kBrightnessUpKeyCode, KeyState::released);
const SystemEvent kDownPress = auxButtonEvent(kBrightnessDownKeyCode, KeyState::pressed);

class BrightnessKeyMonitorTest : public ::testing::Test {
protected:
    void SetUp() override {
        monitor->onKey = [this](BrightnessKey key, bool fine) {
            received.push_back({key, fine, std::this_thread::get_id()});
        };
    }
    ReceivedKey onMain(BrightnessKey key, bool fine = false) const {
        return {key, fine, std::this_thread::get_id()};
    }
    void wait(double seconds) { loop.advance(Seconds(seconds)); }

    sim::SimMainLoop loop;
    sim::SimSystemEventStream events;
    std::shared_ptr<BrightnessKeyMonitor> monitor = BrightnessKeyMonitor::create(events, loop);
    std::vector<ReceivedKey> received;
};

TEST_F(BrightnessKeyMonitorTest, TapSwallowsBrightnessKeysAndPassesEverythingElse) {
    monitor->start();
    SystemEvent otherKey = auxButtonEvent(4, KeyState::pressed);

    // The clock starts at zero here; the very first press must not count as a bounce.
    EXPECT_FALSE(events.deliver(kUpPress));
    wait(0.1);
    EXPECT_FALSE(events.deliver(kUpRelease));
    EXPECT_TRUE(events.deliver(otherKey, Focus::thisApplication));
    wait(0.1);
    EXPECT_FALSE(events.deliver(kDownPress, Focus::thisApplication));

    EXPECT_EQ(received, (std::vector{onMain(BrightnessKey::up), onMain(BrightnessKey::down)}));
}

TEST_F(BrightnessKeyMonitorTest, PressesCloserThanEightMillisecondsCountOnce) {
    monitor->start();

    // One press seen by the tap and then by a monitor.
    events.deliverToTaps(kUpPress);
    events.deliverToGlobalMonitors(kUpPress);
    wait(0.007999);
    events.deliver(kUpPress);

    wait(0.000001);  // 8 ms after the last accepted press
    events.deliver(kDownPress);
    EXPECT_EQ(received, (std::vector{onMain(BrightnessKey::up), onMain(BrightnessKey::down)}));
}

TEST_F(BrightnessKeyMonitorTest, OnlyOptionMakesAStepFine) {
    monitor->start();
    const std::vector<std::pair<std::uint64_t, bool>> cases = {
        {kShiftModifier, false},
        {kControlModifier, false},
        {kCommandModifier, false},
        {kOptionModifier | kShiftModifier | kCommandModifier, true},
    };
    for (const auto& [modifiers, fine] : cases) {
        received.clear();
        wait(0.01);
        events.deliver(auxButtonEvent(kBrightnessDownKeyCode, KeyState::pressed, modifiers));
        EXPECT_EQ(received, std::vector{onMain(BrightnessKey::down, fine)}) << modifiers;
    }
}

TEST_F(BrightnessKeyMonitorTest, StartsOnceAndStopsCompletely) {
    monitor->start();
    monitor->start();
    EXPECT_EQ(events.tapCount(), 1);
    EXPECT_TRUE(events.isTapEnabled());
    EXPECT_EQ(events.localMonitorCount(), 1);
    EXPECT_EQ(events.globalMonitorCount(), 1);

    // With nothing installed, no key can be caught or swallowed.
    monitor->stop();
    EXPECT_EQ(events.tapCount() + events.localMonitorCount() + events.globalMonitorCount(), 0);

    // A released monitor takes its interception with it.
    monitor->start();
    monitor.reset();
    EXPECT_EQ(events.tapCount() + events.localMonitorCount() + events.globalMonitorCount(), 0);
}

TEST_F(BrightnessKeyMonitorTest, WithoutATapTheMonitorsStillCatchTheKeys) {
    events.setRefusesTaps(true);
    monitor->start();

    // In this application the local monitor swallows presses and releases alike.
    EXPECT_FALSE(events.deliver(kUpPress, Focus::thisApplication));
    wait(0.1);
    EXPECT_FALSE(events.deliver(kUpRelease, Focus::thisApplication));
    wait(0.1);
    // Elsewhere the system-wide monitor sees the press, but the system acts on it too.
    EXPECT_TRUE(events.deliver(kDownPress, Focus::otherApplication));

    EXPECT_EQ(received, (std::vector{onMain(BrightnessKey::up), onMain(BrightnessKey::down)}));
}

TEST_F(BrightnessKeyMonitorTest, DisabledTapIsReenabledAndTheNoticePasses) {
    monitor->start();

    for (std::uint32_t notice : {kTapDisabledByTimeout, kTapDisabledByUserInput}) {
        EXPECT_EQ(events.disableTaps(notice), EventDisposition::pass);
        EXPECT_TRUE(events.isTapEnabled());
    }
    // The tap, not only the system-wide monitor, has the next press.
    EXPECT_FALSE(events.deliver(kUpPress, Focus::otherApplication));
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(BrightnessKeyMonitorTest, PressFromAnotherThreadIsHandedOnOnTheMainThread) {
    monitor->start();
    auto handler = std::exchange(monitor->onKey, nullptr);
    std::thread([this] { events.deliverToGlobalMonitors(kUpPress); }).join();
    loop.runPending();  // nothing was queued for a missing handler

    monitor->onKey = handler;
    wait(0.1);
    std::thread([this] { events.deliverToGlobalMonitors(kDownPress); }).join();

    loop.runPending();
    EXPECT_EQ(received, std::vector{onMain(BrightnessKey::down)});
}

}  // namespace
}  // namespace corvane
