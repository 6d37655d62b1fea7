#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "DDCTestSupport.h"
#include "ddc/SerialQueue.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;
using ddc_test::eventually;

// A one-shot gate a job can wait at.
struct Gate {
    std::promise<void> opener;
    std::shared_future<void> opened = opener.get_future().share();
};

TEST(SerialQueue, JobsRunInEachProducersOrderOnOneOtherThread) {
    SerialQueue queue;
    constexpr int kProducers = 4, kJobs = 500;
    // Touched only by jobs, read after waitUntilIdle.
    std::vector<std::vector<int>> seen(kProducers);
    std::vector<std::thread::id> threads;
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p)
        producers.emplace_back([&, p] {
            for (int i = 0; i < kJobs; ++i)
                queue.async([&, p, i] {
                    seen[p].push_back(i);
                    threads.push_back(std::this_thread::get_id());
                });
        });
    for (std::thread& producer : producers) producer.join();
    queue.waitUntilIdle();
    for (int p = 0; p < kProducers; ++p) {
        ASSERT_EQ(seen[p].size(), static_cast<std::size_t>(kJobs));
        for (int i = 0; i < kJobs; ++i) EXPECT_EQ(seen[p][i], i);
    }
    for (std::thread::id id : threads) {
        EXPECT_EQ(id, threads.front());
        EXPECT_NE(id, std::this_thread::get_id());
    }
}

// waitUntilIdle returns at once on an idle queue and on the worker itself; elsewhere it waits
// for the job that is running. Empty jobs are ignored.
TEST(SerialQueue, WaitUntilIdleWaitsForTheRunningJobButNeverOnTheWorker) {
    SerialQueue queue;
    queue.waitUntilIdle();
    Gate gate;
    std::promise<void> started;
    int runs = 0;  // written by the jobs, read after waitUntilIdle
    queue.async([&] {
        started.set_value();
        gate.opened.wait();
        queue.waitUntilIdle();
        ++runs;
    });
    queue.async(std::function<void()>{});
    queue.async([&] { ++runs; });
    started.get_future().wait();
    // The gate most likely opens while this thread waits; the check holds either way.
    std::thread opener([&] {
        std::this_thread::sleep_for(20ms);
        gate.opener.set_value();
    });
    queue.waitUntilIdle();
    EXPECT_EQ(runs, 2);
    opener.join();
}

TEST(SerialQueue, JobsQueuedFromJobsRunLater) {
    SerialQueue queue;
    std::vector<int> order;
    // Hold the worker until both outer jobs are queued, so the inner one is queued after them.
    Gate gate;
    queue.async([opened = gate.opened] { opened.wait(); });
    queue.async([&] {
        order.push_back(1);
        queue.async([&] { order.push_back(3); });
    });
    queue.async([&] { order.push_back(2); });
    gate.opener.set_value();
    queue.waitUntilIdle();  // covers the first jobs; the last was queued by one of them
    queue.waitUntilIdle();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(SerialQueue, DestructionDropsJobsNotYetRun) {
    auto queue = std::make_unique<SerialQueue>();
    Gate gate;
    std::promise<void> started;
    std::atomic<bool> firstFinished{false};
    std::atomic<int> laterRuns{0};
    auto token = std::make_shared<int>(0);
    std::weak_ptr<int> watch = token;

    queue->async([&] {
        started.set_value();
        gate.opened.wait();
        firstFinished = true;
    });
    started.get_future().wait();
    for (int i = 0; i < 10; ++i) queue->async([&laterRuns, token] { ++laterRuns; });
    token.reset();

    std::thread destroyer([&] { queue.reset(); });
    // The queued jobs are destroyed (their captured token released) while the first job is
    // still held at the gate, i.e. without running.
    EXPECT_TRUE(eventually([&] { return watch.expired(); }));
    gate.opener.set_value();
    destroyer.join();
    EXPECT_TRUE(firstFinished);
    EXPECT_EQ(laterRuns.load(), 0);
}

// The last owner of the queue is a job's capture: the queue is destroyed on its own worker,
// which must detach rather than join itself, and drop what is still queued.
TEST(SerialQueue, DestructionOnTheWorkerDetaches) {
    auto queue = std::make_shared<SerialQueue>();
    std::weak_ptr<SerialQueue> queueWatch = queue;
    Gate gate;
    std::atomic<bool> destroyedOnWorker{false};
    std::atomic<int> laterRuns{0};
    auto token = std::make_shared<int>(0);
    std::weak_ptr<int> watch = token;

    queue->async([opened = gate.opened, owner = queue, &destroyedOnWorker]() mutable {
        opened.wait();
        destroyedOnWorker = owner->isWorkerThread();
        owner.reset();  // the last reference, released inside the job: ~SerialQueue runs here
    });
    queue->async([&laterRuns, token] { ++laterRuns; });
    token.reset();
    queue.reset();  // the first job's capture now holds the only reference
    EXPECT_FALSE(queueWatch.expired());

    gate.opener.set_value();
    EXPECT_TRUE(eventually([&] { return queueWatch.expired() && watch.expired(); }));
    EXPECT_TRUE(destroyedOnWorker.load());
    EXPECT_EQ(laterRuns.load(), 0);

    // Same, but the capture itself is the last owner, released when the worker destroys the job.
    queue = std::make_shared<SerialQueue>();
    queueWatch = queue;
    Gate second;
    queue->async([opened = second.opened, keep = queue] { opened.wait(); });
    queue.reset();
    second.opener.set_value();
    EXPECT_TRUE(eventually([&] { return queueWatch.expired(); }));
}

}  // namespace
}  // namespace corvane
