#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <future>
#include <limits>
#include <mutex>
#include <thread>

#include "DDCTestSupport.h"
#include "ddc/DDCController.h"
#include "support/RecordedDiagnostics.h"

namespace corvane {
namespace {

using namespace ddc_test;

// The Set VCP Feature frames the monitor received after the controller's initial read.
std::vector<Bytes> writesAfterRead(const sim::SimDDCMonitor& monitor) {
    std::vector<Bytes> writes;
    for (const Bytes& frame : monitor.receivedFrames())
        if (frame != kGetBrightnessFrame) writes.push_back(frame);
    return writes;
}

// The frames of writes that sent each value `times` times: a write the bus takes at once
// sends its frame twice, a write whose three attempts all fail sends it six times.
std::vector<Bytes> sent(std::initializer_list<std::uint16_t> values, std::size_t times = 2) {
    std::vector<Bytes> frames;
    for (std::uint16_t value : values) frames.insert(frames.end(), times, setBrightnessFrame(value));
    return frames;
}

// Queues each fraction, then waits until every one has run.
void writeAll(DDCController& controller, std::initializer_list<double> fractions) {
    for (double fraction : fractions) controller.write(fraction);
    controller.waitUntilIdle();
}

// ---- The first reading ----

// That the reading and the writes sleep on the worker, never on the main thread, is checked
// with two monitors by MonitorReadings.NewMonitorsAreReadAtOnceOffTheMainThreadAndGetSessionsWhenReadingsArrive.
TEST(DDCController, TheFirstReadingsAnswerArrivesOnTheMainLoop) {
    MonitorFixture fixture(50, 100);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    EXPECT_TRUE(fixture.monitor->receivedFrames().empty()) << "made without touching the bus";
    EXPECT_EQ(controller->displayID(), fixture.id);
    std::optional<bool> answered;
    bool onMainThread = false;
    controller->readFirst([&](bool reply) {
        answered = reply;
        onMainThread = fixture.desktop.loop().isMainThread();
    });
    controller->waitUntilIdle();
    EXPECT_FALSE(answered);  // delivered only through the main loop
    fixture.desktop.loop().runPending();
    EXPECT_EQ(answered, std::optional<bool>(true));
    EXPECT_TRUE(onMainThread);
}

// An answer sets the monitor's own scale and level, unclamped. Without a service the defaults
// stay. (A monitor that does not answer is read again by the model and finally starts at the
// defaults: MonitorReadings.AMonitorNotReadyIsReadAgainAndOneThatNeverAnswersStartsAsTheDefaultsSay.)
TEST(DDCController, TheFirstReadingSetsScaleAndLevelOnlyWhenTheMonitorAnswers) {
    MonitorFixture fixture(30, 400);
    auto controller = readController(fixture);
    EXPECT_EQ(controller->maxValue(), 400);
    EXPECT_DOUBLE_EQ(controller->lastValue(), 0.075);
    MonitorFixture aboveMaximum(150, 100);
    EXPECT_DOUBLE_EQ(readController(aboveMaximum)->lastValue(), 1.5);

    MonitorFixture serviceless(30, 400);
    serviceless.service = nullptr;
    bool answered = true;
    auto defaults = readController(serviceless, [&](bool reply) { answered = reply; });
    EXPECT_FALSE(answered);
    EXPECT_EQ(defaults->maxValue(), 100);
    EXPECT_DOUBLE_EQ(defaults->lastValue(), 1.0);
    writeAll(*defaults, {0.5});
    EXPECT_TRUE(serviceless.monitor->receivedFrames().empty());
}

// ---- Writing ----

TEST(DDCController, WritesFromSeveralThreadsAreAllSent) {
    MonitorFixture fixture(0, 100);
    auto controller = readController(fixture);
    std::vector<std::thread> writers;
    for (int t = 0; t < 3; ++t)
        writers.emplace_back([&] {
            for (int i = 0; i < 30; ++i) controller->write(0.25);
        });
    std::atomic<bool> stop{false};
    std::thread reader([&] {
        while (!stop) {
            (void)controller->degraded();
            (void)controller->lastValue();
        }
    });
    for (std::thread& writer : writers) writer.join();
    controller->waitUntilIdle();
    stop = true;
    reader.join();
    EXPECT_EQ(writesAfterRead(*fixture.monitor).size(), 180u);
}

TEST(DDCController, ValuesAreRoundedAndLimitedOnTheMonitorsScale) {
    MonitorFixture percent(0, 100);
    auto controller = readController(percent);
    writeAll(*controller, {0.125, 0.124, 0.375, 0.625, 0.126, -0.2, 1.7,
                           -std::numeric_limits<double>::infinity(), std::nan(""), -std::nan(""),
                           std::numeric_limits<double>::infinity(), 0.4});
    // Halves away from zero: 12.5 → 13 (not the even 12), 37.5 → 38, 62.5 → 63. Outside
    // 0...1 is limited; not-a-number is not sent at all.
    EXPECT_EQ(writesAfterRead(*percent.monitor), sent({13, 12, 38, 63, 13, 0, 100, 0, 100, 40}));
    EXPECT_DOUBLE_EQ(controller->lastValue(), 0.4);

    MonitorFixture wide(0, 0xFFFF);
    controller = readController(wide);
    writeAll(*controller, {0.5, 1.0});  // 32767.5 → 32768
    EXPECT_EQ(writesAfterRead(*wide.monitor), sent({32768, 0xFFFF}));
}

// ---- Failures and degradation ----

// A failed write keeps the last value and is not tried again. Four failures in a row give the
// monitor up for the controller's whole life: the writes still queued are dropped, and so is
// every later one, even when the monitor would answer again. Failures are reported when they
// start and when writes get through again; giving up is reported once.
TEST(DDCController, FourFailedWritesInARowGiveTheMonitorUpForGood) {
    testing::RecordedDiagnostics diagnostics;
    MonitorFixture fixture(10, 100);
    auto controller = readController(fixture);
    fixture.monitor->failNextTransfers(3 * 6);  // three writes of 3 attempts × 2 sends
    writeAll(*controller, {0.2, 0.3, 0.4});
    EXPECT_FALSE(controller->degraded());
    EXPECT_DOUBLE_EQ(controller->lastValue(), 0.1);  // the first reading

    writeAll(*controller, {0.5});  // a success resets the count
    EXPECT_DOUBLE_EQ(controller->lastValue(), 0.5);
    std::vector<Bytes> expected = sent({20, 30, 40}, 6);
    expected.insert(expected.end(), 2, setBrightnessFrame(50));
    EXPECT_EQ(writesAfterRead(*fixture.monitor), expected);

    // Three more failures: six in all, but not four in a row.
    fixture.monitor->failNextTransfers(3 * 6);
    writeAll(*controller, {0.6, 0.7, 0.8});
    EXPECT_FALSE(controller->degraded());
    EXPECT_DOUBLE_EQ(controller->lastValue(), 0.5);

    // The fourth in a row does it; degraded() is read on another thread meanwhile.
    fixture.monitor->refuseTransfers(true);
    std::atomic<bool> idle{false};
    std::thread reader([&] {
        while (!idle && !controller->degraded()) std::this_thread::yield();
    });
    writeAll(*controller, {0.9, 0.95, 1.0});
    idle = true;
    reader.join();
    EXPECT_TRUE(controller->degraded());
    // 18 + 2 + 18 + 6: the writes queued behind the fourth failure were dropped.
    EXPECT_EQ(writesAfterRead(*fixture.monitor).size(), 44u);

    const auto sleptBefore = fixture.desktop.sleeper().durations().size();
    fixture.monitor->refuseTransfers(false);
    writeAll(*controller, {0.9, 0.5});
    EXPECT_EQ(writesAfterRead(*fixture.monitor).size(), 44u);
    EXPECT_EQ(fixture.desktop.sleeper().durations().size(), sleptBefore);

    std::vector<std::pair<DiagnosticLevel, std::string>> lines;
    for (const auto& line : diagnostics.lines()) {
        EXPECT_EQ(line.topic, DiagnosticTopic::ddc);
        lines.emplace_back(line.level, line.message);
    }
    const std::string subject = "display " + std::to_string(fixture.id) + " over DDC/CI: ";
    const std::string refused = subject + "the monitor does not take brightness writes";
    EXPECT_EQ(lines, (std::vector<std::pair<DiagnosticLevel, std::string>>{
                         {DiagnosticLevel::warning, refused},
                         {DiagnosticLevel::info, subject + "working again"},
                         {DiagnosticLevel::warning, refused},
                         {DiagnosticLevel::warning, subject + "given up after 4 failed writes in a row"}}));
}

// ---- Lifetime ----

// The caller drops the controller while its worker is inside the first reading: the running
// job holds the last reference, so the controller dies on its own worker. What was queued
// behind it never runs: the second reading is withdrawn and no write is sent.
TEST(DDCController, JobsQueuedBehindTheControllersEndAreDropped) {
    MonitorFixture fixture(50, 100);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    std::weak_ptr<DDCController> watch = controller;
    std::vector<int> arrived;
    // The worker is held inside the first sleep of the first reading until released.
    std::promise<void> held, release;
    std::shared_future<void> released = release.get_future().share();
    std::once_flag holding;
    fixture.desktop.sleeper().setHook([&](microseconds) {
        std::call_once(holding, [&] {
            held.set_value();
            released.wait();
        });
    });
    controller->readFirst([&](bool) { arrived.push_back(1); });
    held.get_future().wait();
    controller->readFirst([&](bool) { arrived.push_back(2); });
    controller->write(0.2);
    controller->write(0.3);
    controller.reset();
    EXPECT_FALSE(watch.expired());  // the running reading keeps it alive
    release.set_value();
    // Returns once the first reading has arrived and the second, never run, is withdrawn.
    fixture.desktop.loop().runPending();
    EXPECT_EQ(arrived, std::vector<int>{1});
    EXPECT_TRUE(eventually([&] { return watch.expired(); }));
    fixture.desktop.sleeper().setHook({});
    EXPECT_EQ(fixture.monitor->receivedFrames(), std::vector<Bytes>{kGetBrightnessFrame});
}

}  // namespace
}  // namespace corvane
