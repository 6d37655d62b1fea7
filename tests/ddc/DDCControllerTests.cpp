#include <gtest/gtest.h>

#include <cmath>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <thread>

#include "DDCTestSupport.h"
#include "ddc/DDCController.h"
#include "support/RecordedDiagnostics.h"

namespace corvane {
namespace {

using namespace ddc_test;
using namespace std::chrono_literals;

// The Set VCP Feature frames the monitor received after the controller's initial read.
std::vector<Bytes> writesAfterRead(const sim::SimDDCMonitor& monitor) {
    std::vector<Bytes> frames = monitor.receivedFrames();
    std::vector<Bytes> writes;
    for (const Bytes& frame : frames)
        if (frame != kGetBrightnessFrame) writes.push_back(frame);
    return writes;
}

// Each successful write on a healthy bus is one frame sent twice.
std::vector<Bytes> twice(std::initializer_list<std::uint16_t> values) {
    std::vector<Bytes> frames;
    for (std::uint16_t value : values) {
        frames.push_back(setBrightnessFrame(value));
        frames.push_back(setBrightnessFrame(value));
    }
    return frames;
}

// Holds the worker thread inside its first sleep of a write until released.
class WorkerGate {
public:
    explicit WorkerGate(sim::SimSleeper& sleeper) : sleeper_(sleeper) {
        sleeper_.setHook([this](std::chrono::microseconds) {
            std::unique_lock lock(mutex_);
            if (released_) return;
            held_ = true;
            changed_.notify_all();
            changed_.wait(lock, [&] { return released_; });
        });
    }
    ~WorkerGate() {
        release();
        sleeper_.setHook({});
    }
    void waitUntilHeld() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return held_; });
    }
    void release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

private:
    sim::SimSleeper& sleeper_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    bool released_ = false;
};

// ---- Construction ----

TEST(DDCController, ConstructionReadsTheMonitor) {
    MonitorFixture fixture(50, 100);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    EXPECT_EQ(controller->displayID(), fixture.id);
    EXPECT_EQ(controller->maxValue(), 100);
    EXPECT_DOUBLE_EQ(controller->lastValue(), 0.5);
    EXPECT_FALSE(controller->degraded());
    // The read ran on this thread, before make returned.
    EXPECT_EQ(fixture.desktop.sleeper().durations(), ms({10, 50}));
    EXPECT_EQ(fixture.monitor->receivedFrames(), std::vector<Bytes>{kGetBrightnessFrame});
}

TEST(DDCController, MonitorsOwnScale) {
    MonitorFixture fixture(30, 400);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    EXPECT_EQ(controller->maxValue(), 400);
    EXPECT_DOUBLE_EQ(controller->lastValue(), 0.075);
}

TEST(DDCController, SilentMonitorKeepsTheDefaults) {
    MonitorFixture fixture(30, 400);
    fixture.monitor->refuseTransfers(true);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    EXPECT_EQ(controller->maxValue(), 100);
    EXPECT_DOUBLE_EQ(controller->lastValue(), 1.0);
    EXPECT_FALSE(controller->degraded());
}

TEST(DDCController, CurrentAboveMaximumIsNotClamped) {
    MonitorFixture fixture(150, 100);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    EXPECT_DOUBLE_EQ(controller->lastValue(), 1.5);
}

TEST(DDCController, AbsentBusFunctionsKeepTheDefaults) {
    MonitorFixture fixture(30, 400);
    fixture.desktop.setEntryPoint(sim::EntryPoint::writeI2C, sim::EntryPointState::absent);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    EXPECT_EQ(controller->maxValue(), 100);
    EXPECT_DOUBLE_EQ(controller->lastValue(), 1.0);
    EXPECT_TRUE(fixture.desktop.sleeper().durations().empty());
}

TEST(DDCController, WithoutAServiceNothingIsSent) {
    MonitorFixture fixture;
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, nullptr);
    EXPECT_EQ(controller->maxValue(), 100);
    controller->write(0.5);
    controller->waitUntilIdle();
    EXPECT_TRUE(fixture.monitor->receivedFrames().empty());
}

// ---- Writing ----

TEST(DDCController, WriteReachesTheMonitor) {
    MonitorFixture fixture(50, 100);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    controller->write(0.8);
    controller->waitUntilIdle();
    EXPECT_EQ(fixture.monitor->current(), 80);
    EXPECT_DOUBLE_EQ(controller->lastValue(), 0.8);
    EXPECT_EQ(writesAfterRead(*fixture.monitor), twice({80}));
}

TEST(DDCController, WriteRunsOnTheWorkerNotTheCaller) {
    MonitorFixture fixture(50, 100);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    std::mutex mutex;
    std::vector<std::thread::id> sleepers;
    fixture.desktop.sleeper().setHook([&](std::chrono::microseconds) {
        std::lock_guard lock(mutex);
        sleepers.push_back(std::this_thread::get_id());
    });
    controller->write(0.3);
    controller->waitUntilIdle();
    fixture.desktop.sleeper().setHook({});
    std::lock_guard lock(mutex);
    ASSERT_EQ(sleepers.size(), 2u);
    for (std::thread::id id : sleepers) EXPECT_NE(id, std::this_thread::get_id());
}

TEST(DDCController, ManyWritesArriveInOrder) {
    MonitorFixture fixture(0, 1000);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    std::vector<Bytes> expected;
    for (int i = 0; i <= 200; ++i) {
        controller->write(i / 200.0);
        auto raw = static_cast<std::uint16_t>(i * 5);
        expected.push_back(setBrightnessFrame(raw));
        expected.push_back(setBrightnessFrame(raw));
    }
    controller->waitUntilIdle();
    EXPECT_EQ(writesAfterRead(*fixture.monitor), expected);
    EXPECT_EQ(fixture.monitor->current(), 1000);
    EXPECT_DOUBLE_EQ(controller->lastValue(), 1.0);
}

TEST(DDCController, WritesFromSeveralThreadsAreAllSent) {
    MonitorFixture fixture(0, 100);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
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
    auto controller = DDCController::make(percent.desktop.platform(), percent.id, percent.service);
    for (double fraction : {0.125, 0.124, 0.375, 0.625, 0.126, -0.2, 1.7,
                            -std::numeric_limits<double>::infinity(), std::nan(""), -std::nan(""),
                            std::numeric_limits<double>::infinity(), 0.4})
        controller->write(fraction);
    controller->waitUntilIdle();
    // Halves away from zero: 12.5 → 13 (not the even 12), 37.5 → 38, 62.5 → 63. Outside
    // 0...1 is limited; not-a-number is not sent at all.
    EXPECT_EQ(writesAfterRead(*percent.monitor), twice({13, 12, 38, 63, 13, 0, 100, 0, 100, 40}));
    EXPECT_DOUBLE_EQ(controller->lastValue(), 0.4);
    EXPECT_EQ(percent.monitor->current(), 40);
    EXPECT_FALSE(controller->degraded());

    MonitorFixture wide(0, 0xFFFF);
    controller = DDCController::make(wide.desktop.platform(), wide.id, wide.service);
    controller->write(0.5);  // 32767.5 → 32768
    controller->write(1.0);
    controller->waitUntilIdle();
    EXPECT_EQ(writesAfterRead(*wide.monitor), twice({32768, 0xFFFF}));
}

TEST(DDCController, FailedWriteKeepsTheLastValue) {
    MonitorFixture fixture(10, 100);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    controller->write(0.3);
    controller->waitUntilIdle();
    fixture.monitor->failNextTransfers(6);  // one write: 3 attempts × 2 sends
    controller->write(0.9);
    controller->waitUntilIdle();
    EXPECT_DOUBLE_EQ(controller->lastValue(), 0.3);
    EXPECT_EQ(fixture.monitor->current(), 30);
    EXPECT_FALSE(controller->degraded());
    // A failed fraction is not retried: the next write sends only its own value.
    controller->write(0.5);
    controller->waitUntilIdle();
    auto writes = writesAfterRead(*fixture.monitor);
    ASSERT_EQ(writes.size(), 2u + 6u + 2u);
    EXPECT_EQ(writes.back(), setBrightnessFrame(50));
    EXPECT_EQ(writes[writes.size() - 3], setBrightnessFrame(90));
}

// ---- Degradation ----

TEST(DDCController, FourFailedWritesDegrade) {
    MonitorFixture fixture(10, 100);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    fixture.monitor->failNextTransfers(4 * 6);
    for (double fraction : {0.1, 0.2, 0.3})
        controller->write(fraction);
    controller->waitUntilIdle();
    EXPECT_FALSE(controller->degraded());
    controller->write(0.4);
    controller->waitUntilIdle();
    EXPECT_TRUE(controller->degraded());
    EXPECT_EQ(writesAfterRead(*fixture.monitor).size(), 24u);
    EXPECT_DOUBLE_EQ(controller->lastValue(), 0.1);  // the initial reading
}

TEST(DDCController, WritesAfterDegradationCauseNoTraffic) {
    MonitorFixture fixture(10, 100);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    fixture.monitor->refuseTransfers(true);
    for (int i = 0; i < 4; ++i) controller->write(0.5);
    controller->waitUntilIdle();
    ASSERT_TRUE(controller->degraded());
    const auto framesBefore = fixture.monitor->receivedFrames().size();
    const auto sleptBefore = fixture.desktop.sleeper().durations().size();

    fixture.monitor->refuseTransfers(false);  // the monitor would answer again: no matter
    for (int i = 0; i < 10; ++i) controller->write(0.9);
    controller->waitUntilIdle();
    EXPECT_TRUE(controller->degraded());
    EXPECT_EQ(fixture.monitor->receivedFrames().size(), framesBefore);
    EXPECT_EQ(fixture.desktop.sleeper().durations().size(), sleptBefore);
    EXPECT_EQ(fixture.monitor->current(), 10);
}

TEST(DDCController, ThreeFailuresThenSuccessResetTheCount) {
    MonitorFixture fixture(10, 100);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    fixture.monitor->failNextTransfers(3 * 6);
    for (double fraction : {0.1, 0.2, 0.3, 0.4})
        controller->write(fraction);
    controller->waitUntilIdle();
    EXPECT_FALSE(controller->degraded());
    EXPECT_EQ(fixture.monitor->current(), 40);
    EXPECT_DOUBLE_EQ(controller->lastValue(), 0.4);

    // Three more failures: six in all, but not four in a row.
    fixture.monitor->failNextTransfers(3 * 6);
    for (double fraction : {0.5, 0.6, 0.7})
        controller->write(fraction);
    controller->waitUntilIdle();
    EXPECT_FALSE(controller->degraded());

    // The fourth in a row does it.
    fixture.monitor->failNextTransfers(6);
    controller->write(0.8);
    controller->waitUntilIdle();
    EXPECT_TRUE(controller->degraded());
}

TEST(DDCController, FailuresAreReportedWhenTheyStartAndEndAndGivingUpOnce) {
    testing::RecordedDiagnostics diagnostics;
    MonitorFixture fixture(10, 100);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    fixture.monitor->failNextTransfers(2 * 6);
    for (double fraction : {0.1, 0.2, 0.3}) controller->write(fraction);
    controller->waitUntilIdle();
    fixture.monitor->refuseTransfers(true);
    for (int i = 0; i < 6; ++i) controller->write(0.5);
    controller->waitUntilIdle();
    ASSERT_TRUE(controller->degraded());

    std::vector<std::pair<DiagnosticLevel, std::string>> lines;
    for (const auto& line : diagnostics.lines()) {
        EXPECT_EQ(line.topic, DiagnosticTopic::ddc);
        lines.emplace_back(line.level, line.message);
    }
    const std::string subject = "display " + std::to_string(fixture.id) + " over DDC/CI: ";
    EXPECT_EQ(lines, (std::vector<std::pair<DiagnosticLevel, std::string>>{
                         {DiagnosticLevel::warning,
                          subject + "the monitor does not take brightness writes"},
                         {DiagnosticLevel::info, subject + "working again"},
                         {DiagnosticLevel::warning,
                          subject + "the monitor does not take brightness writes"},
                         {DiagnosticLevel::warning,
                          subject + "given up after 4 failed writes in a row"}}));
}

TEST(DDCController, DegradedIsReadableWhileTheWorkerWrites) {
    MonitorFixture fixture(10, 100);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    fixture.monitor->refuseTransfers(true);
    for (int i = 0; i < 8; ++i) controller->write(0.5);
    while (!controller->degraded()) std::this_thread::yield();  // polled from this thread
    controller->waitUntilIdle();
    EXPECT_TRUE(controller->degraded());
    EXPECT_EQ(writesAfterRead(*fixture.monitor).size(), 24u);
}

// ---- Lifetime ----

TEST(DDCController, DestroyWithJobsQueued) {
    MonitorFixture fixture(0, 1000);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    std::weak_ptr<DDCController> watch = controller;
    for (int i = 1; i <= 500; ++i) controller->write(i / 1000.0);
    controller.reset();
    // Either this was the last reference (the worker was stopped and joined here) or a job was
    // running and held the controller: then that write finishes and the controller dies on its
    // worker right after. Either way it is gone soon, and with it every queued job.
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!watch.expired() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(watch.expired());

    // Whatever was written is a prefix of the order given, and nothing more arrives.
    auto writes = writesAfterRead(*fixture.monitor);
    ASSERT_LE(writes.size(), 1000u);
    ASSERT_EQ(writes.size() % 2, 0u);
    for (std::size_t i = 0; i < writes.size(); ++i)
        EXPECT_EQ(writes[i], setBrightnessFrame(static_cast<std::uint16_t>(i / 2 + 1)));
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(writesAfterRead(*fixture.monitor).size(), writes.size());
}

// The caller drops the controller while its worker is inside a write: the running job holds
// the last reference, so the controller dies on its own worker; the writes still queued are
// never sent.
TEST(DDCController, LastReferenceReleasedOnTheWorker) {
    MonitorFixture fixture(0, 100);
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    std::weak_ptr<DDCController> watch = controller;
    {
        WorkerGate gate(fixture.desktop.sleeper());
        controller->write(0.1);
        gate.waitUntilHeld();
        controller->write(0.2);
        controller->write(0.3);
        controller.reset();
        EXPECT_FALSE(watch.expired());  // the running job keeps it alive
        gate.release();
        auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!watch.expired() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
    }
    ASSERT_TRUE(watch.expired());
    EXPECT_EQ(writesAfterRead(*fixture.monitor), twice({10}));
}

}  // namespace
}  // namespace corvane
