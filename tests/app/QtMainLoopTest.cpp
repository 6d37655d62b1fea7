#include <QElapsedTimer>
#include <atomic>
#include <thread>
#include <vector>

#include "app/AppTestSupport.h"
#include "app/QtMainLoop.h"

namespace corvane::app {
namespace {

using namespace corvane::app::testing;
using std::chrono::milliseconds;

TEST(QtMainLoop, PostedTasksRunLaterInPostingOrderAlsoWhenPostedByATask) {
    QtMainLoop loop;
    std::vector<int> order;
    loop.post([&] {
        order.push_back(1);
        loop.post([&] { order.push_back(3); });
    });
    loop.post([&] { order.push_back(2); });
    EXPECT_TRUE(order.empty()) << "a post never runs inline";
    ASSERT_TRUE(waitUntil([&] { return order.size() == 3; }));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(loop.wakeups(), 3u);
}

TEST(QtMainLoop, PostFromAnotherThreadRunsOnTheMainThread) {
    QtMainLoop loop;
    std::atomic<bool> workerSawMain{true};
    bool ranOnMain = false;
    std::thread worker([&] {
        workerSawMain = loop.isMainThread();
        loop.post([&] { ranOnMain = loop.isMainThread(); });
    });
    worker.join();
    EXPECT_FALSE(workerSawMain);
    ASSERT_TRUE(waitUntil([&] { return ranOnMain; }));
}

TEST(QtMainLoop, OnceWorkFiresOnceAfterItsDelayUnlessCancelledOrDropped) {
    QtMainLoop loop;
    int fired = 0, cancelled = 0, dropped = 0;
    TimePoint start = loop.now();
    TimePoint firedAt{};
    auto work = loop.scheduleOnce(Seconds(0.03), [&] {
        ++fired;
        firedAt = loop.now();
    });
    auto cancel = loop.scheduleOnce(Seconds(0.01), [&] { ++cancelled; });
    cancel->cancel();
    loop.scheduleOnce(Seconds(0.01), [&] { ++dropped; });  // handle dropped at once
    ASSERT_TRUE(waitUntil([&] { return fired > 0; }));
    runFor(milliseconds(30));
    EXPECT_EQ(fired, 1);
    EXPECT_GE(firedAt - start, std::chrono::milliseconds(30));
    EXPECT_EQ(cancelled, 0);
    EXPECT_EQ(dropped, 0);
    EXPECT_EQ(loop.scheduledCount(), 0u);
}

TEST(QtMainLoop, SixtyHertzTimerNeverFiresEarlyAndCanCancelItselfFromItsTick) {
    QtMainLoop loop;
    int ticks = 0;
    std::unique_ptr<ScheduledWork> timer;
    timer = loop.scheduleRepeating(Seconds(1.0 / 60), [&] {
        if (++ticks == 30) timer->cancel();
    });
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(waitUntil([&] { return ticks == 30; }));
    // 30 ticks of 1/60 s take at least 500 ms; the timers never fire early. (How closely
    // they keep the rate depends on the machine's load and is not a unit test's business.)
    EXPECT_GE(clock.elapsed(), 490);
    runFor(milliseconds(60));
    EXPECT_EQ(ticks, 30);
}

TEST(QtMainLoop, StopEndsTimersAndDropsPostsIncludingQueuedOnes) {
    QtMainLoop loop;
    int runs = 0;
    auto timer = loop.scheduleRepeating(Seconds(0.005), [&] { ++runs; });
    loop.post([&] { ++runs; });
    loop.stop();
    loop.post([&] { ++runs; });
    auto later = loop.scheduleOnce(Seconds(0), [&] { ++runs; });
    runFor(milliseconds(50));
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(loop.scheduledCount(), 0u);
    timer->cancel();  // after stop: harmless
}

}  // namespace
}  // namespace corvane::app
