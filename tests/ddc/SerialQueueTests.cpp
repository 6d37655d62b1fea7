#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "ddc/SerialQueue.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;

// A one-shot gate a job can wait at.
class Gate {
public:
    void open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    void wait() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

// Waits (with a generous limit) until `condition` holds.
template <typename Condition>
bool eventually(Condition condition) {
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

TEST(SerialQueue, RunsJobsInOrderOnOneOtherThread) {
    SerialQueue queue;
    std::vector<int> order;  // touched only by jobs, read after waitUntilIdle
    std::vector<std::thread::id> threads;
    for (int i = 0; i < 1000; ++i)
        queue.async([&, i] {
            order.push_back(i);
            threads.push_back(std::this_thread::get_id());
        });
    queue.waitUntilIdle();
    ASSERT_EQ(order.size(), 1000u);
    for (int i = 0; i < 1000; ++i) EXPECT_EQ(order[i], i);
    for (std::thread::id id : threads) {
        EXPECT_EQ(id, threads.front());
        EXPECT_NE(id, std::this_thread::get_id());
    }
}

TEST(SerialQueue, WaitUntilIdleWaitsForARunningJob) {
    SerialQueue queue;
    Gate gate;
    bool finished = false;  // written by the job, read after waitUntilIdle
    std::promise<void> started;
    queue.async([&] {
        started.set_value();
        gate.wait();
        finished = true;
    });
    started.get_future().wait();
    std::thread opener([&] {
        std::this_thread::sleep_for(20ms);
        gate.open();
    });
    queue.waitUntilIdle();
    EXPECT_TRUE(finished);
    opener.join();
}

TEST(SerialQueue, WaitUntilIdleOnAnIdleQueueReturns) {
    SerialQueue queue;
    queue.waitUntilIdle();
    int runs = 0;
    queue.async([&] { ++runs; });
    queue.waitUntilIdle();
    queue.waitUntilIdle();
    EXPECT_EQ(runs, 1);
}

TEST(SerialQueue, WaitUntilIdleInsideAJobDoesNotDeadlock) {
    SerialQueue queue;
    bool ran = false;
    queue.async([&] {
        queue.waitUntilIdle();
        ran = true;
    });
    queue.waitUntilIdle();
    EXPECT_TRUE(ran);
}

TEST(SerialQueue, JobsQueuedFromJobsRunLater) {
    SerialQueue queue;
    std::vector<int> order;
    // Hold the worker until both outer jobs are queued, so the inner one is queued after them.
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    queue.async([released] { released.wait(); });
    queue.async([&] {
        order.push_back(1);
        queue.async([&] { order.push_back(3); });
    });
    queue.async([&] { order.push_back(2); });
    release.set_value();
    queue.waitUntilIdle();  // covers the first jobs; the last was queued by one of them
    queue.waitUntilIdle();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(SerialQueue, ConcurrentProducersKeepTheirOwnOrder) {
    SerialQueue queue;
    constexpr int kProducers = 4, kJobs = 500;
    std::vector<std::vector<int>> seen(kProducers);  // touched only on the worker
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p)
        producers.emplace_back([&, p] {
            for (int i = 0; i < kJobs; ++i) queue.async([&, p, i] { seen[p].push_back(i); });
        });
    for (std::thread& producer : producers) producer.join();
    queue.waitUntilIdle();
    for (int p = 0; p < kProducers; ++p) {
        ASSERT_EQ(seen[p].size(), static_cast<std::size_t>(kJobs));
        for (int i = 0; i < kJobs; ++i) EXPECT_EQ(seen[p][i], i);
    }
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
        gate.wait();
        firstFinished = true;
    });
    started.get_future().wait();
    for (int i = 0; i < 10; ++i) queue->async([&laterRuns, token] { ++laterRuns; });
    token.reset();

    std::thread destroyer([&] { queue.reset(); });
    // The queued jobs are destroyed (their captured token released) while the first job is
    // still held at the gate, i.e. without running.
    EXPECT_TRUE(eventually([&] { return watch.expired(); }));
    gate.open();
    destroyer.join();
    EXPECT_TRUE(firstFinished);
    EXPECT_EQ(laterRuns.load(), 0);
}

TEST(SerialQueue, DestructionOfAnIdleQueueJoins) {
    std::atomic<int> runs{0};
    {
        SerialQueue queue;
        for (int i = 0; i < 5; ++i) queue.async([&] { ++runs; });
        queue.waitUntilIdle();
    }
    EXPECT_EQ(runs.load(), 5);
}

// The last owner of the queue is a job's capture: the queue is destroyed on its own worker,
// which must detach rather than join itself, and drop what is still queued.
TEST(SerialQueue, DestructionOnTheWorkerDetaches) {
    auto queue = std::make_shared<SerialQueue>();
    Gate gate;
    std::atomic<bool> destroyedOnWorker{false};
    std::atomic<int> laterRuns{0};
    auto token = std::make_shared<int>(0);
    std::weak_ptr<int> watch = token;

    struct Owner {
        std::shared_ptr<SerialQueue> queue;
        std::atomic<bool>* flag = nullptr;
        ~Owner() {
            flag->store(queue->isWorkerThread());
            queue.reset();  // the last reference: ~SerialQueue runs here
        }
    };
    auto owner = std::make_shared<Owner>();
    owner->queue = queue;
    owner->flag = &destroyedOnWorker;
    queue->async([&gate, owner]() mutable {
        gate.wait();
        owner.reset();  // the job releases the last owner inside its body
    });
    owner.reset();
    queue->async([&laterRuns, token] { ++laterRuns; });
    token.reset();
    std::weak_ptr<SerialQueue> queueWatch = queue;
    queue.reset();  // the first job's owner now holds the only reference
    EXPECT_FALSE(queueWatch.expired());

    gate.open();
    EXPECT_TRUE(eventually([&] { return queueWatch.expired() && watch.expired(); }));
    EXPECT_TRUE(destroyedOnWorker.load());
    EXPECT_EQ(laterRuns.load(), 0);
}

// Same, but the capture itself is the last owner, released when the worker destroys the job.
TEST(SerialQueue, DestructionWhenTheJobItselfIsTheLastOwner) {
    auto queue = std::make_shared<SerialQueue>();
    std::weak_ptr<SerialQueue> watch = queue;
    Gate gate;
    queue->async([&gate, keep = queue] { gate.wait(); });
    queue.reset();
    gate.open();
    EXPECT_TRUE(eventually([&] { return watch.expired(); }));
}

TEST(SerialQueue, EmptyJobsAreIgnored) {
    SerialQueue queue;
    queue.async(std::function<void()>{});
    int runs = 0;
    queue.async([&] { ++runs; });
    queue.waitUntilIdle();
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace corvane
