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

// waitUntilIdle returns at once on the worker itself; elsewhere it waits for the job that is
// running. Empty jobs are ignored.
TEST(SerialQueue, WaitUntilIdleWaitsForTheRunningJobButNeverOnTheWorker) {
    SerialQueue queue;
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

// The queue's last owner is a job's capture, released when the worker destroys the job: the
// queue is destroyed on its own worker, which must detach rather than join itself. (A queue
// released inside a running job is the controller's case, checked by
// DDCController.JobsQueuedBehindTheControllersEndAreDropped.)
TEST(SerialQueue, DestructionOnTheWorkerDetaches) {
    auto queue = std::make_shared<SerialQueue>();
    std::weak_ptr<SerialQueue> queueWatch = queue;
    Gate gate;
    queue->async([opened = gate.opened, keep = queue] { opened.wait(); });
    queue.reset();
    gate.opener.set_value();
    EXPECT_TRUE(eventually([&] { return queueWatch.expired(); }));
}

}  // namespace
}  // namespace corvane
