#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

#include "ModelTest.h"

namespace corvane {
namespace {

using sim::SimDisplayConfig;

class MonitorReadings : public testing::ModelTest {};

TEST_F(MonitorReadings, NewMonitorsAreReadAtOnceOffTheMainThreadAndGetSessionsWhenReadingsArrive) {
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.5));
    DisplayID first = desktop.add(SimDisplayConfig::ddcMonitor("Dell", {40, 100}));
    DisplayID second = desktop.add(SimDisplayConfig::ddcMonitor("BenQ", {70, 100}));
    std::mutex mutex;
    std::condition_variable bothReading;
    std::set<std::thread::id> readers;
    // Each reading waits in its first sleep until both have begun: one thread for both would
    // never get there.
    desktop.sleeper().setHook([&](std::chrono::microseconds) {
        std::unique_lock lock(mutex);
        readers.insert(std::this_thread::get_id());
        bothReading.notify_all();
        bothReading.wait_for(lock, std::chrono::seconds(5), [&] { return readers.size() >= 2; });
    });
    makeModel()->start();
    // Start returned with the panel's card only; the monitors' readings are under way.
    EXPECT_TRUE(hasSession(panel));
    EXPECT_FALSE(hasSession(first));
    EXPECT_EQ(model->displays().size(), 1u);

    desktop.loop().runPending();
    ASSERT_TRUE(hasSession(first) && hasSession(second));
    for (DisplayID id : {first, second}) session(id).ddc()->waitUntilIdle();  // first writes sleep
    desktop.sleeper().setHook({});
    EXPECT_EQ(readers.size(), 2u);
    EXPECT_FALSE(readers.contains(std::this_thread::get_id()));
    // The same start as a reading on the main thread gives: the monitor's own level, the
    // first apply written and nothing stored.
    EXPECT_DOUBLE_EQ(percent(first), 40);
    EXPECT_EQ(desktop.display(first).monitor->receivedFrames().size(), 3u);  // read, write twice
    EXPECT_FALSE(storedLevel(first));
}

TEST_F(MonitorReadings, AMonitorNotReadyIsReadAgainAndOneThatNeverAnswersStartsAsTheDefaultsSay) {
    DisplayID late = desktop.add(SimDisplayConfig::ddcMonitor("Dell", {40, 100}));
    DisplayID silent = desktop.add(SimDisplayConfig::ddcMonitor("BenQ", {40, 100}));
    for (DisplayID id : {late, silent}) desktop.display(id).monitor->refuseTransfers(true);
    startModel();
    EXPECT_FALSE(hasSession(late));  // not driven to 100 % on a failed first reading
    EXPECT_FALSE(hasSession(silent));

    desktop.display(late).monitor->refuseTransfers(false);
    desktop.loop().advance(FirstReadings::kRetryDelay);
    ASSERT_TRUE(hasSession(late));
    EXPECT_DOUBLE_EQ(percent(late), 40);
    for (int retry = 2; retry <= FirstReadings::kRetries; ++retry) {
        EXPECT_FALSE(hasSession(silent)) << retry;
        desktop.loop().advance(FirstReadings::kRetryDelay);
    }
    ASSERT_TRUE(hasSession(silent)) << "after the last retry";
    EXPECT_DOUBLE_EQ(percent(silent), 100);
    EXPECT_EQ(desktop.display(silent).monitor->readCount(), 0u);  // refused, never read
}

TEST_F(MonitorReadings, AReadingOfAMonitorUnpluggedMeanwhileIsDropped) {
    DisplayID monitor = desktop.add(SimDisplayConfig::ddcMonitor("Dell", {40, 100}));
    desktop.display(monitor).monitor->refuseTransfers(true);
    startModel();
    unplug(monitor);
    desktop.display(monitor).monitor->refuseTransfers(false);
    desktop.loop().advance(FirstReadings::kRetryDelay * (FirstReadings::kRetries + 1));
    EXPECT_FALSE(hasSession(monitor));
    EXPECT_TRUE(model->displays().empty());

    plug(monitor);
    desktop.loop().runPending();
    ASSERT_TRUE(hasSession(monitor));
    EXPECT_DOUBLE_EQ(percent(monitor), 40);
}

TEST_F(MonitorReadings, DisplaysDimmedInSoftwareStayDimmedWhenAMonitorsSessionArrives) {
    DisplayID gamma = desktop.add(SimDisplayConfig::gammaOnlyMonitor("Acer"));
    desktop.add(SimDisplayConfig::ddcMonitor("Dell", {40, 100}));
    desktop.preferences().set("corvane.brightness.display-1", 50.0);
    startModel();
    EXPECT_EQ(model->sessions().size(), 2u);
    EXPECT_NEAR(desktop.gamma().factor(gamma), 0.5 * 0.88 + 0.12, 1e-6);
}

}  // namespace
}  // namespace corvane
